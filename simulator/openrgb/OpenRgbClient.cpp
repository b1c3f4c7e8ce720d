#include "simulator/openrgb/OpenRgbClient.h"

#include <algorithm>
#include <chrono>

using namespace OpenRgbCodec;
using OpenRgb::Device;

namespace {

using Clock = TcpConnection::Clock;

// A list change comes as a burst of notices (one per device found); the
// list is read once the server has been quiet this long.
constexpr int QuietMs = 50;
constexpr int ReadAttempts = 5;
constexpr int MaxListenReads = 64;
constexpr size_t MaxAbandoned = 4;
// Far more than any machine has; a count beyond it is not believed.
constexpr uint32_t MaxControllers = 4096;

} // namespace

bool OpenRgbClient::Fail(const std::string& reason)
{
    error = reason;
    return false;
}

bool OpenRgbClient::Lose(const std::string& reason)
{
    Close();
    lostReason = address + ": " + reason;
    return Fail(lostReason);
}

bool OpenRgbClient::NotConnected()
{
    return Fail(lostReason.empty() ? std::string("not connected") : "not connected: " + lostReason);
}

void OpenRgbClient::Disconnect()
{
    Close();
    lostReason.clear();
}

void OpenRgbClient::Close()
{
    connection.Close();
    protocol = 0;
    listChanged = false;
    count.reset();
    known.clear();
    inbox.clear();
    abandoned.clear();
}

bool OpenRgbClient::Connect(const std::string& host, uint16_t port)
{
    Disconnect();
    address = "OpenRGB server " + host + ":" + std::to_string(port);
    if (options.highestProtocol < OldestProtocol || options.highestProtocol > NewestProtocol)
        return Fail("protocol " + std::to_string(options.highestProtocol) + " is not one this client speaks");
    std::string reason;
    if (!connection.Open(host, port, options.connectTimeoutMs, reason))
        return Fail(address + ": " + reason);

    Bytes reply;
    if (!Request(EncodeProtocolVersionRequest(options.highestProtocol), RequestProtocolVersion, 0,
                 "the protocol version (a server older than protocol 1 sends none)", reply, true))
        return false;
    const Result<uint32_t> version = DecodeU32(reply.data(), reply.size(), "protocol_version");
    if (!version.Ok())
        return Lose(version.error);
    const uint32_t agreed = std::min(options.highestProtocol, version.value);
    if (agreed < OldestProtocol)
        return Lose("the server speaks SDK protocol " + std::to_string(agreed) + "; protocol "
                    + std::to_string(OldestProtocol) + " (OpenRGB 0.7) or newer is needed");
    if (!SendPacket(EncodeClientName(options.clientName)))
        return false;
    protocol = agreed;
    error.clear();
    return true;
}

bool OpenRgbClient::SendPacket(const Bytes& packet)
{
    if (!IsConnected())
        return NotConnected();
    std::string reason;
    if (!connection.Send(packet.data(), packet.size(), options.replyTimeoutMs, reason))
        return Lose(reason);
    return true;
}

bool OpenRgbClient::NextPacket(Header& header, Bytes& data)
{
    while (inbox.size() >= HeaderSize) {
        const Result<Header> decoded = DecodeHeader(inbox.data());
        if (!decoded.Ok())
            return Lose(decoded.error);
        if (inbox.size() - HeaderSize < decoded.value.size)
            return false;
        header = decoded.value;
        const auto begin = inbox.begin() + HeaderSize;
        data.assign(begin, begin + header.size);
        inbox.erase(inbox.begin(), begin + header.size);
        if (header.id == DeviceListUpdated) {
            listChanged = true;
            continue;
        }
        // The server answers one client's requests in order: the first
        // late reply of a kind is the one given up on first.
        const auto late = std::find_if(abandoned.begin(), abandoned.end(), [&](const Header& request) {
            return request.id == header.id && request.device == header.device;
        });
        if (late != abandoned.end()) {
            abandoned.erase(late);
            continue;
        }
        return true;
    }
    return false;
}

bool OpenRgbClient::Request(const Bytes& request, uint32_t id, uint32_t device, const char* what, Bytes& reply,
                            bool closeOnTimeout)
{
    if (!SendPacket(request))
        return false;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(options.replyTimeoutMs);
    for (;;) {
        Header header;
        while (NextPacket(header, reply)) {
            // Anything else is nothing this client asked for.
            if (header.id != id)
                continue;
            if (header.device != device)
                return Lose("the reply for " + std::string(what) + " names controller "
                            + std::to_string(header.device) + ", not " + std::to_string(device));
            return true;
        }
        if (!IsConnected())
            return false;
        const int left = TcpConnection::MsUntil(deadline);
        if (left == 0) {
            const std::string reason =
                "no reply for " + std::string(what) + " within " + std::to_string(options.replyTimeoutMs) + " ms";
            // A server that is only slow dies of a broken pipe if the
            // connection is gone when it answers: it is kept, and the
            // reply dropped when it comes, unless too many are owed.
            if (closeOnTimeout || abandoned.size() >= MaxAbandoned)
                return Lose(reason);
            abandoned.push_back({device, id, 0});
            return Fail(address + ": " + reason);
        }
        std::string reason;
        switch (connection.Receive(inbox, left, reason)) {
        case TcpConnection::Received::Data:
        case TcpConnection::Received::Nothing:
            break;
        case TcpConnection::Received::Closed:
            return Lose("the server closed the connection while " + std::string(what) + " was awaited");
        case TcpConnection::Received::Failed:
            return Lose(reason);
        }
    }
}

bool OpenRgbClient::Listen(int ms)
{
    if (!IsConnected())
        return NotConnected();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    // A server that never stops sending is cut off after so many reads.
    for (int reads = 0; reads < MaxListenReads; ++reads) {
        std::string reason;
        const TcpConnection::Received got = connection.Receive(inbox, TcpConnection::MsUntil(deadline), reason);
        if (got == TcpConnection::Received::Closed)
            return Lose("the server closed the connection");
        if (got == TcpConnection::Received::Failed)
            return Lose(reason);
        Header header;
        Bytes data;
        while (NextPacket(header, data)) {
        }
        if (!IsConnected())
            return false;
        if (got == TcpConnection::Received::Nothing && TcpConnection::MsUntil(deadline) == 0)
            return true;
    }
    return true;
}

bool OpenRgbClient::Poll()
{
    return Listen(0);
}

bool OpenRgbClient::Settle()
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(options.replyTimeoutMs);
    while (listChanged && TcpConnection::MsUntil(deadline) > 0) {
        listChanged = false;
        if (!Listen(std::min(QuietMs, TcpConnection::MsUntil(deadline))))
            return false;
    }
    return true;
}

std::optional<uint32_t> OpenRgbClient::ControllerCount()
{
    // Notices that came before this request are answered by its reply;
    // one that comes while it is awaited leaves the list stale.
    if (!Poll())
        return std::nullopt;
    const bool stale = listChanged;
    listChanged = false;
    Bytes reply;
    if (!Request(EncodeControllerCountRequest(), RequestControllerCount, 0, "the controller count", reply))
        return std::nullopt;
    const Result<uint32_t> decoded = DecodeU32(reply.data(), reply.size(), "controller_count");
    if (!decoded.Ok()) {
        Lose(decoded.error);
        return std::nullopt;
    }
    if (decoded.value > MaxControllers) {
        Lose("controller_count: " + std::to_string(decoded.value) + " controllers, more than the "
             + std::to_string(MaxControllers) + " this client takes");
        return std::nullopt;
    }
    // Without a notice the controllers read are still the ones at their indexes.
    if (stale || count != decoded.value)
        known.clear();
    count = decoded.value;
    return count;
}

std::optional<Device> OpenRgbClient::ControllerData(uint32_t device)
{
    if (!Poll())
        return std::nullopt;
    if (listChanged || !count) {
        Fail(listChanged ? "the server's device list changed: read the controller count again"
                         : "read the controller count first");
        return std::nullopt;
    }
    if (device >= *count) {
        Fail("no controller " + std::to_string(device) + ": the server has " + std::to_string(*count));
        return std::nullopt;
    }
    Bytes reply;
    if (!Request(EncodeControllerDataRequest(device, protocol), RequestControllerData, device,
                 "a controller's description", reply))
        return std::nullopt;
    Result<Device> decoded = DecodeControllerData(reply.data(), reply.size(), protocol);
    if (!decoded.Ok()) {
        // The stream is still in step, but a server that sends this is not
        // one to go on with.
        Lose("controller " + std::to_string(device) + ": " + decoded.error);
        return std::nullopt;
    }
    known[device] = decoded.value;
    return std::move(decoded.value);
}

std::optional<std::vector<Device>> OpenRgbClient::Controllers()
{
    for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
        if (!Poll() || !Settle())
            return std::nullopt;
        const std::optional<uint32_t> n = ControllerCount();
        if (!n)
            return std::nullopt;
        std::vector<Device> devices;
        devices.reserve(*n);
        for (uint32_t i = 0; i < *n && !listChanged; ++i) {
            std::optional<Device> device = ControllerData(i);
            if (!device && !(listChanged && IsConnected()))
                return std::nullopt;
            if (device)
                devices.push_back(std::move(*device));
        }
        if (!listChanged)
            return devices;
    }
    Fail("the server's device list kept changing while it was read");
    return std::nullopt;
}

const Device* OpenRgbClient::Usable(uint32_t device)
{
    if (!Poll())
        return nullptr;
    if (listChanged) {
        Fail("the server's device list changed: read the controllers again");
        return nullptr;
    }
    if (!count || device >= *count) {
        Fail(count ? "no controller " + std::to_string(device) + ": the server has " + std::to_string(*count)
                   : std::string("read the controllers first"));
        return nullptr;
    }
    const auto read = known.find(device);
    if (read == known.end()) {
        Fail("controller " + std::to_string(device) + " was not read since the list or the controller changed");
        return nullptr;
    }
    return &read->second;
}

bool OpenRgbClient::UpdateLeds(uint32_t device, const std::vector<OpenRgb::Color>& colors)
{
    const Device* d = Usable(device);
    if (!d)
        return false;
    if (colors.size() != d->leds.size())
        return Fail(std::to_string(colors.size()) + " colours for the " + std::to_string(d->leds.size()) + " LEDs of "
                    + d->name);
    if (!EncodeUpdateLeds(frame, device, colors))
        return Fail("too many colours for one packet to " + d->name);
    return SendPacket(frame);
}

bool OpenRgbClient::UpdateZoneLeds(uint32_t device, uint32_t zone, const std::vector<OpenRgb::Color>& colors)
{
    const Device* d = Usable(device);
    if (!d)
        return false;
    if (zone >= d->zones.size())
        return Fail(d->name + " has no zone " + std::to_string(zone));
    if (colors.size() != d->zones[zone].ledsCount)
        return Fail(std::to_string(colors.size()) + " colours for the " + std::to_string(d->zones[zone].ledsCount)
                    + " LEDs of " + d->name + ", zone " + d->zones[zone].name);
    if (!EncodeUpdateZoneLeds(frame, device, zone, colors))
        return Fail("too many colours for one packet to " + d->name);
    return SendPacket(frame);
}

bool OpenRgbClient::SetCustomMode(uint32_t device)
{
    return Usable(device) && SendPacket(EncodeSetCustomMode(device));
}

bool OpenRgbClient::SendMode(uint32_t device, uint32_t modeIndex, const OpenRgb::Mode& mode, bool save)
{
    const Device* d = Usable(device);
    if (!d)
        return false;
    if (modeIndex >= d->modes.size())
        return Fail(d->name + " has no mode " + std::to_string(modeIndex));
    const std::string misfit = d->modes[modeIndex].Misfit(mode);
    if (!misfit.empty())
        return Fail(d->name + ": " + misfit);
    const Bytes packet = EncodeMode(device, static_cast<int32_t>(modeIndex), mode, protocol, save);
    if (packet.empty())
        return Fail("mode " + mode.name.substr(0, 64) + " has too long a name or too many colours");
    return SendPacket(packet);
}

bool OpenRgbClient::UpdateMode(uint32_t device, uint32_t modeIndex, const OpenRgb::Mode& mode)
{
    return SendMode(device, modeIndex, mode, false);
}

bool OpenRgbClient::SaveMode(uint32_t device, uint32_t modeIndex, const OpenRgb::Mode& mode)
{
    return SendMode(device, modeIndex, mode, true);
}

bool OpenRgbClient::ResizeZone(uint32_t device, uint32_t zone, uint32_t size)
{
    const Device* d = Usable(device);
    if (!d)
        return false;
    if (zone >= d->zones.size())
        return Fail(d->name + " has no zone " + std::to_string(zone));
    const OpenRgb::Zone& z = d->zones[zone];
    if (size < z.ledsMin || size > z.ledsMax)
        return Fail("zone " + z.name + " of " + d->name + " takes " + std::to_string(z.ledsMin) + " to "
                    + std::to_string(z.ledsMax) + " LEDs, not " + std::to_string(size));
    if (!SendPacket(EncodeResizeZone(device, static_cast<int32_t>(zone), static_cast<int32_t>(size))))
        return false;
    known.erase(device);
    return true;
}

bool OpenRgbClient::AddSegment(uint32_t device, uint32_t zone, const OpenRgb::Segment& segment)
{
    const Device* d = Usable(device);
    if (!d)
        return false;
    if (protocol < 5)
        return Fail("segments are added from protocol 5 on; this connection speaks " + std::to_string(protocol));
    if (zone >= d->zones.size())
        return Fail(d->name + " has no zone " + std::to_string(zone));
    const Bytes packet = EncodeAddSegment(device, zone, segment);
    if (packet.empty())
        return Fail("the segment's name is too long");
    if (!SendPacket(packet))
        return false;
    known.erase(device);
    return true;
}

bool OpenRgbClient::RescanDevices()
{
    if (!Poll())
        return false;
    if (protocol < 5)
        return Fail("a rescan is asked for from protocol 5 on; this connection speaks " + std::to_string(protocol));
    return SendPacket(EncodeRescanRequest());
}
