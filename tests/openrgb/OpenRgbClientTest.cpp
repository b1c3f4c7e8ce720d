// The OpenRGB client against the real OpenRGB server with simulated devices,
// and against peers that send broken or hostile bytes.

#include "simulator/openrgb/OpenRgbClient.h"
#include "tests/openrgb/OpenRgbServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <thread>
#include <tuple>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using OpenRgb::Color;
using OpenRgb::Device;

namespace {

OpenRgbClient::Options Quick(uint32_t protocol = 5, int replyTimeoutMs = 1000)
{
    OpenRgbClient::Options options;
    options.highestProtocol = protocol;
    options.replyTimeoutMs = replyTimeoutMs;
    return options;
}

int IndexOf(const std::vector<Device>& devices, const std::string& name)
{
    for (size_t i = 0; i < devices.size(); ++i)
        if (devices[i].name == name)
            return int(i);
    return -1;
}

std::vector<Color> Gradient(size_t count, uint8_t seed)
{
    std::vector<Color> colors;
    for (size_t i = 0; i < count; ++i)
        colors.push_back({uint8_t(seed + 30 * i), uint8_t(255 - 20 * i), uint8_t(seed ^ i)});
    return colors;
}

QByteArray Header(uint32_t device, uint32_t id, uint32_t size)
{
    const OpenRgbCodec::Bytes header = OpenRgbCodec::EncodeHeader(device, id, size);
    return QByteArray(reinterpret_cast<const char*>(header.data()), int(header.size()));
}

QByteArray Packet(uint32_t device, uint32_t id, const QByteArray& data)
{
    return Header(device, id, uint32_t(data.size())) + data;
}

QByteArray U32(uint32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (8 * i));
    return bytes;
}

// One connection on a local port that answers each request that wants a
// reply with the next of its replies, whatever was asked; after the last,
// the peer closes, or reads on and says nothing.
class ScriptedPeer
{
public:
    ScriptedPeer(const QList<QByteArray>& replies, bool closeAfter)
    {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 1);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        thread = std::thread([this, replies, closeAfter] { Run(replies, closeAfter); });
    }

    ~ScriptedPeer()
    {
        done = true;
        thread.join();
        ::close(listener);
    }

    uint16_t port = 0;

private:
    // Reads exactly size bytes unless the test ends or the client goes.
    bool Read(int fd, char* into, size_t size)
    {
        while (size > 0 && !done) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) != 1)
                continue;
            const ssize_t n = ::recv(fd, into, size, 0);
            if (n <= 0)
                return false;
            into += n;
            size -= size_t(n);
        }
        return size == 0;
    }

    void Run(QList<QByteArray> replies, bool closeAfter)
    {
        pollfd waiting{listener, POLLIN, 0};
        if (::poll(&waiting, 1, 5000) != 1)
            return;
        const int fd = ::accept(listener, nullptr, nullptr);
        char header[OpenRgbCodec::HeaderSize];
        while (!(closeAfter && replies.isEmpty()) && Read(fd, header, sizeof header)) {
            const auto request = OpenRgbCodec::DecodeHeader(reinterpret_cast<const uint8_t*>(header)).value;
            std::vector<char> data(request.size);
            if (!Read(fd, data.data(), data.size()))
                break;
            const bool wantsReply = request.id == OpenRgbCodec::RequestProtocolVersion
                                    || request.id == OpenRgbCodec::RequestControllerCount
                                    || request.id == OpenRgbCodec::RequestControllerData;
            if (wantsReply && !replies.isEmpty()) {
                const QByteArray reply = replies.takeFirst();
                ::send(fd, reply.constData(), size_t(reply.size()), MSG_NOSIGNAL);
            }
        }
        ::close(fd);
    }

    int listener = -1;
    std::atomic<bool> done{false};
    std::thread thread;
};

} // namespace

#define NEEDS_SERVER(server)                                                                                          \
    do {                                                                                                              \
        if (OpenRgbServer::Folder().isEmpty())                                                                        \
            QSKIP("no OpenRGB test server at " LUMET_OPENRGB_DIR);                                                    \
        QVERIFY2((server).Start(), qPrintable((server).Error()));                                                    \
    } while (false)

class OpenRgbClientTest : public QObject
{
    Q_OBJECT

    OpenRgbServer stock{OpenRgbServer::Devices::Stock};
    OpenRgbServer modes{OpenRgbServer::Devices::Modes};

    // A connected client that has read the list; the list is devices.
    bool Ready(OpenRgbClient& client, const OpenRgbServer& server, std::vector<Device>& devices)
    {
        if (!client.Connect("127.0.0.1", server.Port()))
            return false;
        const auto read = client.Controllers();
        devices = read.value_or(std::vector<Device>());
        return read.has_value();
    }

private slots:
    void stockDevices_data()
    {
        QTest::addColumn<uint>("protocol");
        QTest::newRow("protocol 3") << 3u;
        QTest::newRow("protocol 4") << 4u;
        QTest::newRow("protocol 5") << 5u;
    }

    void stockDevices()
    {
        NEEDS_SERVER(stock);
        QFETCH(uint, protocol);
        OpenRgbClient client(Quick(protocol));
        std::vector<Device> devices;
        QVERIFY2(Ready(client, stock, devices), client.Error().c_str());
        QCOMPARE(client.Protocol(), protocol);
        QCOMPARE(devices.size(), size_t(stock.ControllerCount()));

        // name, type, location, serial, LEDs per zone
        const std::tuple<std::string, OpenRgb::DeviceType, std::string, std::string, std::vector<uint32_t>> expected[] = {
            {"Test DRAM A1", OpenRgb::DeviceType::Dram, "I2C: test bus, address 0x71", "TEST-DRAM-A1", {8}},
            {"Test DRAM B1", OpenRgb::DeviceType::Dram, "I2C: test bus, address 0x73", "TEST-DRAM-B1", {8}},
            {"Debug DRAM", OpenRgb::DeviceType::Dram, "Debug DRAM Location String", "Debug DRAM Serial String", {10}},
            {"Debug Motherboard", OpenRgb::DeviceType::Motherboard, "Debug Motherboard Location String",
             "Debug Motherboard Serial String", {1, 10}},
            {"Debug Keyboard", OpenRgb::DeviceType::Keyboard, "Debug Keyboard Location String",
             "Debug Keyboard Serial String", {1, 10, 104}},
        };
        for (const auto& [name, type, location, serial, zones] : expected) {
            const int index = IndexOf(devices, name);
            QVERIFY2(index >= 0, name.c_str());
            const Device& d = devices[size_t(index)];
            std::vector<uint32_t> ledsPerZone;
            for (const OpenRgb::Zone& zone : d.zones)
                ledsPerZone.push_back(zone.ledsCount);
            QVERIFY(d.type == type && d.location == location && d.serial == serial && ledsPerZone == zones);
            QCOMPARE(d.colors.size(), d.leds.size());
        }
        const Device& keyboard = devices[size_t(IndexOf(devices, "Debug Keyboard"))];
        QVERIFY(keyboard.zones[2].matrix);
        QCOMPARE(keyboard.zones[2].matrix->width, 21u);
        // What protocol 5 added: names the debug devices give their LEDs.
        QCOMPARE(keyboard.ledAltNames.size(), protocol >= 5 ? keyboard.leds.size() : size_t(0));
    }

    // Colours set by one client, read back by another: the whole device,
    // then one zone of the main board, and colours that cannot fit refused.
    void ledsReadBack()
    {
        NEEDS_SERVER(stock);
        OpenRgbClient writer(Quick()), reader(Quick(4));
        std::vector<Device> devices;
        QVERIFY2(Ready(writer, stock, devices), writer.Error().c_str());
        const uint32_t dram = uint32_t(IndexOf(devices, "Test DRAM A1"));
        const uint32_t board = uint32_t(IndexOf(devices, "Debug Motherboard"));

        const std::vector<Color> moduleColors = Gradient(8, 11);
        const std::vector<Color> boardColors = Gradient(11, 3);
        const std::vector<Color> zoneColors = Gradient(10, 97);
        QVERIFY2(writer.UpdateLeds(dram, moduleColors), writer.Error().c_str());
        QVERIFY(writer.UpdateLeds(board, boardColors));
        QVERIFY(writer.UpdateZoneLeds(board, 1, zoneColors));
        QVERIFY(!writer.UpdateLeds(dram, Gradient(7, 0)));
        QVERIFY2(writer.Error().find("7 colours") != std::string::npos, writer.Error().c_str());
        QVERIFY(writer.ControllerCount()); // everything sent before was taken

        QVERIFY2(Ready(reader, stock, devices), reader.Error().c_str());
        QCOMPARE(devices[dram].colors, moduleColors);
        std::vector<Color> expected = zoneColors;
        expected.insert(expected.begin(), boardColors.front());
        QCOMPARE(devices[board].colors, expected);
    }

    // The mode-declaring build: modes with speed ranges (one reversed) and
    // mode colours, changed by one client as another reads back, at each
    // protocol's layout of a mode; saving a mode sets it too.
    void hardwareModes_data()
    {
        QTest::addColumn<uint>("protocol");
        QTest::addColumn<double>("pace");
        QTest::addColumn<bool>("save");
        QTest::newRow("protocol 3") << 3u << 1.0 << false;
        QTest::newRow("protocol 4") << 4u << 0.75 << false;
        QTest::newRow("protocol 5, saved") << 5u << 0.25 << true;
    }

    void hardwareModes()
    {
        NEEDS_SERVER(modes);
        QFETCH(uint, protocol);
        QFETCH(double, pace);
        QFETCH(bool, save);
        OpenRgbClient writer(Quick(protocol)), reader(Quick());
        std::vector<Device> devices;
        QVERIFY2(Ready(writer, modes, devices), writer.Error().c_str());
        const uint32_t dram = uint32_t(IndexOf(devices, "Test DRAM with modes"));
        const uint32_t board = uint32_t(IndexOf(devices, "Test Motherboard"));
        QVERIFY(dram < devices.size() && board < devices.size());

        const int breathing = devices[dram].FindMode("Breathing");
        QVERIFY(breathing > 0);
        OpenRgb::Mode fast = devices[dram].modes[size_t(breathing)];
        QCOMPARE(fast.value, 2);
        QVERIFY(fast.Has(OpenRgb::HasSpeed) && fast.Has(OpenRgb::HasRandomColor));
        QCOMPARE(fast.speedMin, 4u); // slowest
        QCOMPARE(fast.speedMax, 0u); // fastest
        QCOMPARE(devices[dram].modes[0].value, 65535);

        const int still = devices[board].FindMode("Static");
        QVERIFY(still > 0);
        OpenRgb::Mode tinted = devices[board].modes[size_t(still)];
        QVERIFY(tinted.Has(OpenRgb::HasModeSpecificColor));
        QCOMPARE(tinted.colorsMin, 1u);
        QCOMPARE(tinted.brightnessMax, 100u);

        fast.speed = fast.SpeedAt(pace);
        tinted.colors = {Color{0, uint8_t(40 * protocol), 255}};
        tinted.brightness = 10 * protocol;
        QVERIFY2(save ? writer.SaveMode(dram, uint32_t(breathing), fast) : writer.UpdateMode(dram, uint32_t(breathing), fast),
                 writer.Error().c_str());
        QVERIFY(writer.UpdateMode(board, uint32_t(still), tinted));
        QVERIFY(!writer.UpdateMode(board, 9, tinted));
        OpenRgb::Mode tooSlow = fast;
        tooSlow.speed = 5;
        QVERIFY(!writer.UpdateMode(dram, uint32_t(breathing), tooSlow));
        QVERIFY2(writer.Error().find("speed 5") != std::string::npos, writer.Error().c_str());
        QVERIFY(writer.ControllerCount());

        QVERIFY2(Ready(reader, modes, devices), reader.Error().c_str());
        QCOMPARE(devices[dram].activeMode, breathing);
        QCOMPARE(devices[dram].ActiveMode()->speed, fast.speed);
        QCOMPARE(devices[board].activeMode, still);
        QCOMPARE(devices[board].ActiveMode()->colors, tinted.colors);
        QCOMPARE(devices[board].ActiveMode()->brightness, tinted.brightness);

        // Back to colours per LED.
        QVERIFY(writer.SetCustomMode(dram));
        QVERIFY(writer.ControllerCount());
        const auto again = reader.ControllerData(dram);
        QVERIFY2(again, reader.Error().c_str());
        QCOMPARE(again->activeMode, again->FindMode("Direct"));
    }

    // A resized zone and an added segment change a controller without a
    // notice: the client wants it read again before the next command.
    void zoneChanges()
    {
        NEEDS_SERVER(modes);
        OpenRgbClient client(Quick());
        std::vector<Device> devices;
        QVERIFY2(Ready(client, modes, devices), client.Error().c_str());
        const uint32_t board = uint32_t(IndexOf(devices, "Test Motherboard"));
        QVERIFY(!client.ResizeZone(board, 1, 61));
        QVERIFY2(client.ResizeZone(board, 1, 12), client.Error().c_str());
        QVERIFY(!client.AddSegment(board, 1, OpenRgb::Segment{"Left", 1, 0, 6}));
        QVERIFY(!client.UpdateLeds(board, Gradient(15, 0)));

        auto changed = client.ControllerData(board);
        QVERIFY2(changed, client.Error().c_str());
        QCOMPARE(changed->zones[1].ledsCount, 12u);
        QCOMPARE(changed->leds.size(), size_t(15));
        QVERIFY2(client.UpdateLeds(board, Gradient(15, 0)), client.Error().c_str());
        QVERIFY(client.AddSegment(board, 1, OpenRgb::Segment{"Left", 1, 0, 6}));
        changed = client.ControllerData(board);
        QVERIFY(changed && changed->zones[1].segments.size() == 1);
        QCOMPARE(changed->zones[1].segments[0].name, std::string("Left"));
        QVERIFY(client.ResizeZone(board, 1, 30));
    }

    // A rescan makes the server tell every client that its list changed: an
    // idle client notices, refuses its stale indexes and reads the list again.
    void deviceListUpdated()
    {
        NEEDS_SERVER(stock);
        OpenRgbClient asking(Quick()), idle(Quick());
        std::vector<Device> devices;
        QVERIFY2(Ready(asking, stock, devices) && Ready(idle, stock, devices), idle.Error().c_str());
        const uint32_t dram = uint32_t(IndexOf(devices, "Test DRAM B1"));
        QVERIFY(!idle.DeviceListChanged());

        QVERIFY2(asking.RescanDevices(), asking.Error().c_str());
        QElapsedTimer clock;
        clock.start();
        while (!idle.DeviceListChanged() && clock.elapsed() < 5000 && idle.Poll())
            QThread::msleep(10);
        QVERIFY(idle.DeviceListChanged());
        QVERIFY(!idle.UpdateLeds(dram, Gradient(8, 1)));
        QVERIFY2(idle.Error().find("list changed") != std::string::npos, idle.Error().c_str());

        const auto reread = idle.Controllers();
        QVERIFY2(reread, idle.Error().c_str());
        QCOMPARE(reread->size(), size_t(stock.ControllerCount()));
        QVERIFY(!idle.DeviceListChanged());
        QVERIFY2(idle.UpdateLeds(uint32_t(IndexOf(*reread, "Test DRAM B1")), Gradient(8, 1)), idle.Error().c_str());
        QVERIFY(asking.Controllers());
    }

    // A notice that comes between a request and its reply.
    void noticeWhileAwaitingReply()
    {
        ScriptedPeer peer({Packet(0, OpenRgbCodec::RequestProtocolVersion, U32(5)),
                           Packet(0, OpenRgbCodec::DeviceListUpdated, {})
                               + Packet(0, OpenRgbCodec::RequestControllerCount, U32(0))},
                          false);
        OpenRgbClient client(Quick());
        QVERIFY2(client.Connect("127.0.0.1", peer.port), client.Error().c_str());
        QCOMPARE(client.ControllerCount(), std::optional<uint32_t>(0));
        QVERIFY(client.DeviceListChanged());
    }

    // The server frozen, then killed and back on the same port.
    void serverGoneAndBack()
    {
        OpenRgbServer server;
        NEEDS_SERVER(server);
        OpenRgbClient client(Quick(5, 300));
        std::vector<Device> devices;
        QVERIFY2(Ready(client, server, devices), client.Error().c_str());

        // A late reply keeps the connection (closing it would kill the
        // server once it runs again) and is dropped when it comes.
        server.Freeze();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!client.ControllerCount());
        QVERIFY2(clock.elapsed() >= 250 && clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(client.Error().find("no reply") != std::string::npos, client.Error().c_str());
        QVERIFY(client.UpdateLeds(0, devices[0].colors));
        server.Thaw();
        QCOMPARE(client.ControllerCount(), std::optional<uint32_t>(server.ControllerCount()));
        QVERIFY2(client.UpdateLeds(0, devices[0].colors), client.Error().c_str());

        server.Kill();
        clock.restart();
        QVERIFY(!client.UpdateLeds(0, devices[0].colors));
        QVERIFY2(client.Error().find("closed") != std::string::npos, client.Error().c_str());
        QVERIFY(!client.IsConnected());
        QVERIFY(!client.ControllerCount());
        QVERIFY2(client.Error().find("not connected") != std::string::npos, client.Error().c_str());
        QVERIFY(!client.Connect("127.0.0.1", server.Port()));
        QVERIFY(clock.elapsed() < 1000);

        QVERIFY2(server.Start(), qPrintable(server.Error()));
        QVERIFY2(Ready(client, server, devices), client.Error().c_str());
        QVERIFY(client.UpdateLeds(0, devices[0].colors));
        server.Stop();
    }

    void hostilePeers_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<bool>("closeAfter");
        QTest::addColumn<int>("failingStep"); // 0 connect, 1 count, 2 controller data
        QTest::addColumn<QString>("error");

        const QByteArray version = Packet(0, OpenRgbCodec::RequestProtocolVersion, U32(5));
        const QByteArray one = Packet(0, OpenRgbCodec::RequestControllerCount, U32(1));
        QFile file(QStringLiteral(LUMET_TEST_DATA "/openrgb/dram-segment-v5.bin"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray lying = file.readAll();
        lying[lying.indexOf(QByteArray("\x1a\x00" "Custom LED", 12)) - 1] = char(0xFF); // num_leds

        using Replies = QList<QByteArray>;
        QTest::newRow("header cut short") << Replies{QByteArray("ORGB\0\0\0\0", 8)} << true << 0 << "closed";
        QTest::newRow("silence") << Replies{} << false << 0 << "no reply";
        QTest::newRow("not the protocol") << Replies{"HTTP/1.1 400 Bad Request\r\n\r\n"} << false << 0 << "ORGB";
        QTest::newRow("huge reply announced")
            << Replies{Header(0, OpenRgbCodec::RequestProtocolVersion, 0xFFFFFFFFu)} << false << 0 << "announces";
        QTest::newRow("protocol 2") << Replies{Packet(0, OpenRgbCodec::RequestProtocolVersion, U32(2))} << false << 0
                                    << "protocol 2";
        QTest::newRow("version too long") << Replies{Packet(0, OpenRgbCodec::RequestProtocolVersion, U32(5) + 'x')}
                                          << false << 0 << "follow the value";
        QTest::newRow("count beyond belief")
            << Replies{version, Packet(0, OpenRgbCodec::RequestControllerCount, U32(0xFFFFFFFFu))} << false << 1
            << "controller_count";
        QTest::newRow("reply for another controller")
            << Replies{version, one, Packet(7, OpenRgbCodec::RequestControllerData, lying)} << false << 2
            << "names controller 7";
        QTest::newRow("lying controller data")
            << Replies{version, one, Packet(0, OpenRgbCodec::RequestControllerData, lying)} << false << 2
            << "num_leds";
        QTest::newRow("controller data cut short")
            << Replies{version, one, Packet(0, OpenRgbCodec::RequestControllerData, lying).left(200)} << true << 2
            << "closed";
    }

    void hostilePeers()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(bool, closeAfter);
        QFETCH(int, failingStep);
        QFETCH(QString, error);
        ScriptedPeer peer(replies, closeAfter);
        OpenRgbClient client(Quick(5, 400));
        QElapsedTimer clock;
        clock.start();
        bool ok = client.Connect("127.0.0.1", peer.port);
        if (ok && failingStep >= 1)
            ok = client.ControllerCount().has_value();
        if (ok && failingStep >= 2)
            ok = client.ControllerData(0).has_value();
        QVERIFY(!ok);
        QVERIFY(clock.elapsed() < 1500);
        QVERIFY2(client.Error().find(error.toStdString()) != std::string::npos, client.Error().c_str());
        QVERIFY(!client.IsConnected());
    }
};

QTEST_APPLESS_MAIN(OpenRgbClientTest)
#include "OpenRgbClientTest.moc"
