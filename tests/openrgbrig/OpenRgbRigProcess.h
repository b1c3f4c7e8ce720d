#pragma once

#include "simulator/openrgb/OpenRgbRecords.h"
#include "tests/openrgb/OpenRgbServer.h"
#include "tests/simulator/SimulatorProcess.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The OpenRGB test server with the built vornlight-service driving it on the
// test's session bus, its state in a folder of its own, and a second SDK
// client that reads back what the devices show. Everything ends with the
// object, the service first: it must not see the server go.
class OpenRgbRigProcess
{
public:
    using Devices = std::vector<OpenRgb::Device>;

    explicit OpenRgbRigProcess(OpenRgbServer::Devices devices = OpenRgbServer::Devices::Stock) : server(devices) {}
    ~OpenRgbRigProcess() { service.reset(); }

    OpenRgbServer server;

    // The service with the server's address, its state folder, and extra.
    bool StartService(const QStringList& extra = {});
    // The server (unless it runs), then the service, until it lists the group.
    bool Start(const QStringList& extra = {});
    QString Problem() const { return problem; }
    void StopService();
    SimulatorProcess& Service() { return *service; }

    // What the server reports now; reads until test holds (the last in Last()).
    std::optional<Devices> Read();
    bool WaitFor(const std::function<bool(const Devices&)>& test, int timeoutMs = 10000);
    const Devices& Last() const { return last; }

    // The group's LED keys in the service's capability; none without a group.
    static std::vector<std::string> GroupLeds();
    // A profile of effect mode: every LED in color (packed) at ledSpeed, with
    // the group values in extra.
    static std::string Profile(int mode, unsigned color, const std::string& ledSpeed = "na",
                               const std::string& extra = {}, const std::vector<std::string>& leds = GroupLeds());
    // The group values of a rainbow over the whole circle, for Profile's extra.
    static std::string RainbowValues(int speed, bool startToEnd);
    // Whether the service took the document for the device key.
    static bool Apply(const std::string& document, const char* key = "Group");

    // Whether every LED of the device, of every device of the type (one at
    // least), shows color.
    static bool Shows(const OpenRgb::Device& device, OpenRgb::Color color);
    static bool AllShow(const Devices& devices, OpenRgb::DeviceType type, OpenRgb::Color color);

private:
    QString problem;
    QTemporaryDir dir;
    std::unique_ptr<SimulatorProcess> service;
    Devices last;
};
