// openrgb-probe [--wait SECONDS] [--modules] HOST:PORT
//
// Prints each controller an OpenRGB SDK server serves: its type, name, active
// mode and its LEDs' colours as red,green,blue, runs of one colour shortened
// ("255,0,0 x8"). --wait keeps trying until the server reports a controller;
// --modules prints the memory modules only. Ends with 1 when the server does
// not answer.
#include "simulator/openrgb/OpenRgbClient.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

const char* TypeName(OpenRgb::DeviceType type)
{
    switch (type) {
    case OpenRgb::DeviceType::Motherboard:
        return "main board";
    case OpenRgb::DeviceType::Dram:
        return "memory module";
    case OpenRgb::DeviceType::Gpu:
        return "graphics card";
    case OpenRgb::DeviceType::Keyboard:
        return "keyboard";
    case OpenRgb::DeviceType::Mouse:
        return "mouse";
    default:
        return "device";
    }
}

std::string Colors(const std::vector<OpenRgb::Color>& colors)
{
    std::string text;
    for (size_t i = 0; i < colors.size();) {
        size_t run = 1;
        while (i + run < colors.size() && colors[i + run] == colors[i])
            ++run;
        const OpenRgb::Color& c = colors[i];
        text += (text.empty() ? "" : " ") + std::to_string(c.red) + "," + std::to_string(c.green) + ","
            + std::to_string(c.blue) + (run > 1 ? " x" + std::to_string(run) : "");
        i += run;
    }
    return text;
}

int Usage()
{
    std::fprintf(stderr, "usage: openrgb-probe [--wait SECONDS] [--modules] HOST:PORT\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    double waitSeconds = 0;
    bool modulesOnly = false;
    std::string address;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--wait") == 0 && i + 1 < argc)
            waitSeconds = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--modules") == 0)
            modulesOnly = true;
        else if (address.empty() && argv[i][0] != '-')
            address = argv[i];
        else
            return Usage();
    }
    const size_t colon = address.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return Usage();
    const std::string host = address.substr(0, colon);
    const int port = std::atoi(address.c_str() + colon + 1);
    if (port <= 0 || port > 65535)
        return Usage();

    OpenRgbClient::Options options;
    options.clientName = "Vornlight probe";
    OpenRgbClient client(options);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
    std::optional<std::vector<OpenRgb::Device>> devices;
    for (;;) {
        if (client.IsConnected() || client.Connect(host, static_cast<uint16_t>(port)))
            devices = client.Controllers();
        if ((devices && !devices->empty()) || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!devices) {
        std::fprintf(stderr, "openrgb-probe: %s\n", client.Error().c_str());
        return 1;
    }
    for (const OpenRgb::Device& d : *devices) {
        if (modulesOnly && d.type != OpenRgb::DeviceType::Dram)
            continue;
        const OpenRgb::Mode* mode = d.ActiveMode();
        std::printf("%s \"%s\", mode %s: %s\n", TypeName(d.type), d.name.c_str(), mode ? mode->name.c_str() : "-",
                    Colors(d.colors).c_str());
    }
    return 0;
}
