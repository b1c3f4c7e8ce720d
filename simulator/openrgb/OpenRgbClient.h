#pragma once

#include "simulator/openrgb/OpenRgbCodec.h"
#include "simulator/openrgb/OpenRgbRecords.h"
#include "simulator/openrgb/TcpConnection.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A client of an OpenRGB SDK server (protocol 3 to 5) over TCP.
//
// Every call returns within its time limit: a server that is silent, frozen
// or gone gives an error (Error() says why), never a hang. A failure of the
// connection itself closes it; Connect() again to go on. A reply that is
// only late leaves the connection open (IsConnected()): the server, when it
// answers a connection that is gone, dies of a broken pipe. The LED and mode
// commands have no reply and do not wait for one, so a frame costs one
// send. The server's notice that its device list changed is noticed whenever
// it arrives, also while a reply is awaited: from then on the controller
// indexes are stale and commands are refused until Controllers() (or
// ControllerCount() and ControllerData()) reads the list again.
//
// One thread uses a client at a time; it is not shared.
class OpenRgbClient
{
public:
    struct Options
    {
        std::string clientName = "Vornlight";
        // The newest protocol offered; the server's newest if that is older.
        uint32_t highestProtocol = OpenRgbCodec::NewestProtocol;
        int connectTimeoutMs = 1000;
        // For each reply, and for room to send into.
        int replyTimeoutMs = 2000;
    };

    OpenRgbClient() = default;
    explicit OpenRgbClient(Options options) : options(std::move(options)) {}

    // Connects (closing any earlier connection), agrees on the protocol
    // version and names this client to the server.
    bool Connect(const std::string& host, uint16_t port);
    // Replies still owed after time-outs are given up: the server may die of
    // a broken pipe when it sends them.
    void Disconnect();
    bool IsConnected() const { return connection.IsOpen(); }
    // The version agreed on; 0 while not connected.
    uint32_t Protocol() const { return protocol; }
    // Why the last call failed.
    const std::string& Error() const { return error; }

    // Reads every controller: their count and each one's description. A
    // change of the list while reading starts the reading again.
    std::optional<std::vector<OpenRgb::Device>> Controllers();
    // The server takes one client's packets in order: the reply to this
    // round trip also says that every command sent before it was taken.
    std::optional<uint32_t> ControllerCount();
    std::optional<OpenRgb::Device> ControllerData(uint32_t device);

    // The commands name a controller by its index in the list last read,
    // and are checked against what was read of it.
    // colors: one per LED of the device.
    bool UpdateLeds(uint32_t device, const std::vector<OpenRgb::Color>& colors);
    // colors: one per LED of the zone.
    bool UpdateZoneLeds(uint32_t device, uint32_t zone, const std::vector<OpenRgb::Color>& colors);
    // Switches the device to the mode for colours set per LED.
    bool SetCustomMode(uint32_t device);
    // Makes modeIndex the active mode with mode's settings (speed, colours,
    // direction...); start from the mode as read, so that its value goes
    // back unchanged. Settings outside what the mode declares are refused
    // (see Mode::Misfit). SaveMode also keeps it in the device.
    bool UpdateMode(uint32_t device, uint32_t modeIndex, const OpenRgb::Mode& mode);
    bool SaveMode(uint32_t device, uint32_t modeIndex, const OpenRgb::Mode& mode);
    // These change a controller's description without notice from the
    // server: read the controller again before the next command to it.
    bool ResizeZone(uint32_t device, uint32_t zone, uint32_t size);
    bool AddSegment(uint32_t device, uint32_t zone, const OpenRgb::Segment& segment); // protocol 5
    // Asks the server to detect its devices again (protocol 5); it tells of
    // the new list with device list notices.
    bool RescanDevices();

    // Takes in what the server sent, without waiting: notices, and the close
    // of the connection. False once the connection is gone. The commands do
    // this themselves before they send.
    bool Poll();
    // The server said its device list changed since the list was last read.
    bool DeviceListChanged() const { return listChanged; }
    // Replies that came too late are still owed: the server is stalled, and
    // more requests would only add to what it must answer.
    bool AwaitsLateReplies() const { return !abandoned.empty(); }

private:
    bool Fail(const std::string& reason);
    // Closes the connection for reason; false.
    bool Lose(const std::string& reason);
    // Fails because there is no connection, saying how the last one ended.
    bool NotConnected();
    // Closes the connection and forgets what was read over it.
    void Close();
    bool SendPacket(const OpenRgbCodec::Bytes& packet);
    // Sends request and waits for the reply of packet id from device. A
    // reply that does not come in time is dropped when it comes, or, with
    // closeOnTimeout, the connection is closed.
    bool Request(const OpenRgbCodec::Bytes& request, uint32_t id, uint32_t device, const char* what,
                 OpenRgbCodec::Bytes& reply, bool closeOnTimeout = false);
    // Takes the next complete packet out of the inbox, handling notices and
    // late replies; false when none is complete (or the inbox holds
    // garbage: then the connection is lost).
    bool NextPacket(OpenRgbCodec::Header& header, OpenRgbCodec::Bytes& data);
    // Takes in packets for up to ms, handling notices; false once the connection is gone.
    bool Listen(int ms);
    // Waits until the server stops telling of list changes, within the reply time.
    bool Settle();
    // The controller a command may be sent to, or null (with the error set).
    const OpenRgb::Device* Usable(uint32_t device);
    bool SendMode(uint32_t device, uint32_t modeIndex, const OpenRgb::Mode& mode, bool save);

    Options options;
    TcpConnection connection;
    std::string address;
    std::string error;
    std::string lostReason;
    uint32_t protocol = 0;
    bool listChanged = false;
    // The list as last read: its count, and each controller read since.
    std::optional<uint32_t> count;
    std::map<uint32_t, OpenRgb::Device> known;
    std::vector<uint8_t> inbox;
    // Requests whose replies came too late, oldest first.
    std::vector<OpenRgbCodec::Header> abandoned;
    OpenRgbCodec::Bytes frame;
};
