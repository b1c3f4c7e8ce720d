// The OpenRGB client against the real OpenRGB server with simulated devices,
// and against peers that send broken or hostile bytes.

#include "simulator/openrgb/OpenRgbClient.h"
#include "tests/openrgb/OpenRgbServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <thread>

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

// The index of the controller of that name; devices.size() where there is none.
uint32_t IndexOf(const std::vector<Device>& devices, const std::string& name)
{
    uint32_t i = 0;
    while (i < devices.size() && devices[i].name != name)
        ++i;
    return i;
}

std::vector<Color> Gradient(size_t count, uint8_t seed)
{
    std::vector<Color> colors;
    for (size_t i = 0; i < count; ++i)
        colors.push_back({uint8_t(seed + 30 * i), uint8_t(255 - 20 * i), uint8_t(seed ^ i)});
    return colors;
}

QByteArray Header(uint32_t id, uint32_t size, uint32_t device = 0)
{
    const OpenRgbCodec::Bytes header = OpenRgbCodec::EncodeHeader(device, id, size);
    return QByteArray(reinterpret_cast<const char*>(header.data()), int(header.size()));
}

QByteArray Packet(uint32_t id, const QByteArray& data, uint32_t device = 0)
{
    return Header(id, uint32_t(data.size()), device) + data;
}

QByteArray U32(uint32_t value)
{
    return QByteArray(reinterpret_cast<const char*>(&value), 4); // the host's order: little-endian, as on the wire
}

// One connection on a local port that answers each request that wants a
// reply with the next of its replies, whatever was asked; after the last,
// the peer closes, or reads on and says nothing until the client goes.
class ScriptedPeer
{
public:
    ScriptedPeer(const QList<QByteArray>& replies, bool closeAfter) : listener(LoopbackSocket(port))
    {
        ::listen(listener, 1);
        thread = std::thread([this, replies, closeAfter] { Run(replies, closeAfter); });
    }

    // The client, made after the peer, has gone: its connection is closed.
    // A peer never called on leaves accept once its socket is shut.
    ~ScriptedPeer()
    {
        ::shutdown(listener, SHUT_RDWR);
        thread.join();
        ::close(listener);
    }

    uint16_t port = 0;

private:
    void Run(QList<QByteArray> replies, bool closeAfter)
    {
        using namespace OpenRgbCodec;
        const int fd = ::accept(listener, nullptr, nullptr);
        uint8_t header[HeaderSize];
        while (fd >= 0 && !(closeAfter && replies.isEmpty())
               && ::recv(fd, header, sizeof header, MSG_WAITALL) == ssize_t(sizeof header)) {
            const auto request = DecodeHeader(header).value;
            std::vector<char> data(request.size);
            if (!data.empty() && ::recv(fd, data.data(), data.size(), MSG_WAITALL) != ssize_t(data.size()))
                break;
            const bool wantsReply = request.id == RequestProtocolVersion || request.id == RequestControllerCount
                                    || request.id == RequestControllerData;
            if (wantsReply && !replies.isEmpty()) {
                const QByteArray reply = replies.takeFirst();
                ::send(fd, reply.constData(), size_t(reply.size()), MSG_NOSIGNAL);
            }
        }
        ::close(fd);
    }

    int listener = -1;
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
    static bool Ready(OpenRgbClient& client, const OpenRgbServer& server, std::vector<Device>& devices)
    {
        if (!client.Connect("127.0.0.1", server.Port()))
            return false;
        const auto read = client.Controllers();
        devices = read.value_or(std::vector<Device>());
        return read.has_value();
    }

    static void Protocols()
    {
        QTest::addColumn<uint>("protocol");
        for (uint protocol = 3; protocol <= 5; ++protocol)
            QTest::newRow(qPrintable(QStringLiteral("protocol %1").arg(protocol))) << protocol;
    }

private slots:
    void stockDevices_data() { Protocols(); }

    // The stock devices read at each protocol's layout; colours set by one
    // client, to the whole device and to one zone of the main board, read
    // back by another.
    void stockDevices()
    {
        NEEDS_SERVER(stock);
        QFETCH(uint, protocol);
        OpenRgbClient writer(Quick(protocol)), reader(Quick());
        std::vector<Device> devices;
        QVERIFY2(Ready(writer, stock, devices), writer.Error().c_str());
        QCOMPARE(writer.Protocol(), protocol);
        QStringList seen;
        for (const Device& d : devices) {
            QString text = QString::fromStdString(d.name + " | " + d.location + " | " + d.serial + " |");
            for (const OpenRgb::Zone& zone : d.zones)
                text += QStringLiteral(" %1").arg(zone.ledsCount);
            seen << text;
            QCOMPARE(d.colors.size(), d.leds.size());
        }
        seen.sort();
        QCOMPARE(seen, QStringList({"Debug DRAM | Debug DRAM Location String | Debug DRAM Serial String | 10",
                                    "Debug Keyboard | Debug Keyboard Location String | Debug Keyboard Serial String | 1 10 104",
                                    "Debug Motherboard | Debug Motherboard Location String | Debug Motherboard Serial String | 1 10",
                                    "Test DRAM A1 | I2C: test bus, address 0x71 | TEST-DRAM-A1 | 8",
                                    "Test DRAM B1 | I2C: test bus, address 0x73 | TEST-DRAM-B1 | 8"}));
        const Device& keyboard = devices[IndexOf(devices, "Debug Keyboard")];
        QVERIFY(keyboard.zones[2].matrix && keyboard.zones[2].matrix->width == 21);
        // What protocol 5 added: names the debug devices give their LEDs.
        QCOMPARE(keyboard.ledAltNames.size(), protocol >= 5 ? keyboard.leds.size() : size_t(0));

        const uint32_t dram = IndexOf(devices, "Test DRAM A1");
        const uint32_t board = IndexOf(devices, "Debug Motherboard");
        const std::vector<Color> moduleColors = Gradient(8, uint8_t(protocol));
        std::vector<Color> boardColors = Gradient(11, uint8_t(protocol + 50));
        const std::vector<Color> zoneColors = Gradient(10, uint8_t(protocol + 90));
        QVERIFY2(writer.UpdateLeds(dram, moduleColors) && writer.UpdateLeds(board, boardColors)
                     && writer.UpdateZoneLeds(board, 1, zoneColors),
                 writer.Error().c_str());
        QVERIFY(!writer.UpdateLeds(dram, Gradient(7, 0)));
        QVERIFY2(writer.Error().find("7 colours") != std::string::npos, writer.Error().c_str());
        QVERIFY(writer.ControllerCount()); // answered once everything sent before was taken

        QVERIFY2(Ready(reader, stock, devices), reader.Error().c_str());
        QCOMPARE(devices[dram].colors, moduleColors);
        boardColors.resize(1);
        boardColors.insert(boardColors.end(), zoneColors.begin(), zoneColors.end());
        QCOMPARE(devices[board].colors, boardColors);
    }

    void hardwareModes_data() { Protocols(); }

    // The mode-declaring build: a speed range that runs backwards and mode
    // colours, set by one client at each protocol's layout of a mode and
    // read back by another; saving a mode sets it too.
    void hardwareModes()
    {
        NEEDS_SERVER(modes);
        QFETCH(uint, protocol);
        OpenRgbClient writer(Quick(protocol)), reader(Quick());
        std::vector<Device> devices;
        QVERIFY2(Ready(writer, modes, devices), writer.Error().c_str());
        const uint32_t dram = IndexOf(devices, "Test DRAM with modes");
        const uint32_t board = IndexOf(devices, "Test Motherboard");
        QVERIFY(dram < devices.size() && board < devices.size());

        const int breathing = devices[dram].FindMode("Breathing");
        QVERIFY(breathing > 0);
        OpenRgb::Mode fast = devices[dram].modes[size_t(breathing)];
        QVERIFY(fast.value == 2 && fast.speedMin == 4 && fast.speedMax == 0 && devices[dram].modes[0].value == 65535);
        QVERIFY(fast.Has(OpenRgb::HasSpeed) && fast.Has(OpenRgb::HasRandomColor));
        const int still = devices[board].FindMode("Static");
        QVERIFY(still > 0);
        OpenRgb::Mode tinted = devices[board].modes[size_t(still)];
        QVERIFY(tinted.Has(OpenRgb::HasModeSpecificColor) && tinted.colorsMin == 1 && tinted.brightnessMax == 100);

        fast.speed = fast.SpeedAt(0.25 * (6 - protocol));
        tinted.colors = {Color{0, uint8_t(40 * protocol), 255}};
        tinted.brightness = 10 * protocol;
        const bool save = protocol == 5;
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
    }

    // A resized zone and an added segment change a controller without a
    // notice: the client wants it read again before the next command.
    void zoneChanges()
    {
        NEEDS_SERVER(modes);
        OpenRgbClient client(Quick());
        std::vector<Device> devices;
        QVERIFY2(Ready(client, modes, devices), client.Error().c_str());
        const uint32_t board = IndexOf(devices, "Test Motherboard");
        const OpenRgb::Segment left{"Left", 1, 0, 6};
        QVERIFY(!client.ResizeZone(board, 1, 61));
        QVERIFY2(client.ResizeZone(board, 1, 12), client.Error().c_str());
        QVERIFY(!client.AddSegment(board, 1, left));
        auto changed = client.ControllerData(board);
        QVERIFY2(changed && changed->zones[1].ledsCount == 12 && changed->leds.size() == 15, client.Error().c_str());
        QVERIFY2(client.AddSegment(board, 1, left), client.Error().c_str());
        changed = client.ControllerData(board);
        QVERIFY(changed && changed->zones[1].segments.size() == 1 && changed->zones[1].segments[0].name == "Left");
        QVERIFY(client.ResizeZone(board, 1, 30));
    }

    // A notice that comes between a request and its reply leaves the list
    // stale: nothing is read from it or sent by it until it is read again.
    void noticeWhileAwaitingReply()
    {
        ScriptedPeer peer({Packet(OpenRgbCodec::RequestProtocolVersion, U32(5)),
                           Packet(OpenRgbCodec::DeviceListUpdated, {})
                               + Packet(OpenRgbCodec::RequestControllerCount, U32(1))},
                          false);
        OpenRgbClient client(Quick());
        QVERIFY2(client.Connect("127.0.0.1", peer.port), client.Error().c_str());
        QCOMPARE(client.ControllerCount(), std::optional<uint32_t>(1));
        QVERIFY(client.DeviceListChanged() && !client.ControllerData(0));
        QVERIFY2(client.Error().find("list changed") != std::string::npos, client.Error().c_str());
        QVERIFY(!client.UpdateLeds(0, {Color{}}));
        QVERIFY2(client.Error().find("list changed") != std::string::npos, client.Error().c_str());
    }

    // A frozen server: a reply that comes late keeps the connection (closing
    // it would kill the server once it runs again) and is dropped when it
    // comes, not taken for the answer to the next request.
    void frozenServer()
    {
        OpenRgbServer server;
        NEEDS_SERVER(server);
        OpenRgbClient client(Quick(5, 300));
        std::vector<Device> devices;
        QVERIFY2(Ready(client, server, devices), client.Error().c_str());
        server.Freeze();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!client.ControllerData(0));
        QVERIFY2(clock.elapsed() >= 250 && clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(client.Error().find("no reply") != std::string::npos, client.Error().c_str());
        QVERIFY(client.IsConnected() && client.UpdateLeds(0, devices[0].colors));
        server.Thaw();
        const auto second = client.ControllerData(1);
        QVERIFY2(second && second->name == devices[1].name, client.Error().c_str());
    }

    void hostilePeers_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<bool>("closeAfter");
        QTest::addColumn<int>("failingStep"); // 0 connect, 1 count, 2 controller data
        QTest::addColumn<QString>("error");

        const QByteArray version = Packet(OpenRgbCodec::RequestProtocolVersion, U32(5));
        const QByteArray one = Packet(OpenRgbCodec::RequestControllerCount, U32(1));
        QFile file(QStringLiteral(LUMET_TEST_DATA "/openrgb/dram-segment-v5.bin"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray lying = file.readAll();
        lying[lying.indexOf(QByteArray("\x1a\x00" "Custom LED", 12)) - 1] = char(0xFF); // num_leds
        const QByteArray data = Packet(OpenRgbCodec::RequestControllerData, lying);

        using Replies = QList<QByteArray>;
        QTest::newRow("header cut short") << Replies{QByteArray("ORGB\0\0\0\0", 8)} << true << 0 << "closed";
        QTest::newRow("silence") << Replies{} << false << 0 << "no reply";
        QTest::newRow("not the protocol") << Replies{"HTTP/1.1 400 Bad Request\r\n\r\n"} << false << 0 << "ORGB";
        QTest::newRow("huge reply announced")
            << Replies{Header(OpenRgbCodec::RequestProtocolVersion, 0xFFFFFFFFu)} << false << 0 << "announces";
        QTest::newRow("protocol 2") << Replies{Packet(OpenRgbCodec::RequestProtocolVersion, U32(2))} << false << 0
                                    << "protocol 2";
        QTest::newRow("version too long") << Replies{Packet(OpenRgbCodec::RequestProtocolVersion, U32(5) + 'x')}
                                          << false << 0 << "follow the value";
        QTest::newRow("count beyond belief")
            << Replies{version, Packet(OpenRgbCodec::RequestControllerCount, U32(0xFFFFFFFFu))} << false << 1
            << "controller_count";
        QTest::newRow("reply for another controller")
            << Replies{version, one, Packet(OpenRgbCodec::RequestControllerData, lying, 7)} << false << 2
            << "names controller 7";
        QTest::newRow("lying controller data") << Replies{version, one, data} << false << 2 << "num_leds";
        QTest::newRow("controller data cut short") << Replies{version, one, data.left(200)} << true << 2 << "closed";
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
