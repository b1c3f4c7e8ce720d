// A stand-in for the PulseAudio simple API whose reads never return, as the
// real library's can when its sound server dies at the wrong moment. The
// number of reads begun lets a test wait until the monitor is stuck in one.
#include <pulse/error.h>
#include <pulse/simple.h>

#include <atomic>
#include <chrono>
#include <thread>

struct pa_simple
{
};

extern "C" {

__attribute__((visibility("default"))) std::atomic<int> stuck_pulse_reads{0};

pa_simple* pa_simple_new(const char*, const char*, pa_stream_direction_t, const char*, const char*,
                         const pa_sample_spec*, const pa_channel_map*, const pa_buffer_attr*, int*)
{
    static pa_simple stream;
    return &stream;
}

int pa_simple_read(pa_simple*, void*, size_t, int*)
{
    ++stuck_pulse_reads;
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

void pa_simple_free(pa_simple*) {}

const char* pa_strerror(int)
{
    return "stuck";
}
}
