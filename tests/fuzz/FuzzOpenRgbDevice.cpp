// A controller description as an OpenRGB server might send it, read at each
// protocol version the client speaks: a read fails with a reason, or gives a
// device whose parts fit together and holds no more text than the reply's bytes.

#include "simulator/openrgb/OpenRgbCodec.h"

#include "tests/fuzz/FuzzHarness.h"

using FuzzHarness::Fail;

static void Check(const OpenRgb::Device& device, size_t size)
{
    if (device.colors.size() != device.leds.size())
        Fail("a colour count that differs from the LED count", device.name);
    size_t zoneLeds = 0;
    size_t text = device.name.size() + device.vendor.size() + device.description.size() + device.version.size()
                  + device.serial.size() + device.location.size();
    for (const OpenRgb::Zone& zone : device.zones) {
        zoneLeds += zone.ledsCount;
        text += zone.name.size();
        for (const OpenRgb::Segment& segment : zone.segments)
            if (uint64_t(segment.startIndex) + segment.ledsCount > zone.ledsCount)
                Fail("a segment beyond its zone", zone.name);
        if (zone.matrix) {
            if (uint64_t(zone.matrix->height) * zone.matrix->width != zone.matrix->map.size())
                Fail("a matrix whose size is not its cells", zone.name);
            for (uint32_t cell : zone.matrix->map)
                if (cell != OpenRgb::MatrixMap::NoLed && cell >= zone.ledsCount)
                    Fail("a matrix cell beyond its zone", zone.name);
        }
    }
    if (zoneLeds != device.leds.size())
        Fail("zones that do not share out the LEDs", device.name);
    for (const OpenRgb::Mode& mode : device.modes)
        text += mode.name.size();
    for (const OpenRgb::Led& led : device.leds)
        text += led.name.size();
    if (text > size)
        Fail("more text than bytes", device.name);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (uint32_t protocol = OpenRgbCodec::OldestProtocol; protocol <= OpenRgbCodec::NewestProtocol; ++protocol) {
        const auto decoded = OpenRgbCodec::DecodeControllerData(data, size, protocol);
        if (decoded.Ok())
            Check(decoded.value, size);
        else if (decoded.error.find(": ") == std::string::npos)
            Fail("a failure that names no field", decoded.error);
    }
    if (size >= OpenRgbCodec::HeaderSize) {
        const auto header = OpenRgbCodec::DecodeHeader(data);
        if (header.Ok() && header.value.size > OpenRgbCodec::MaxDataSize)
            Fail("a header beyond the size limit accepted", std::to_string(header.value.size));
    }
    return 0;
}
