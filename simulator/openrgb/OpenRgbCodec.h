#pragma once

#include "simulator/openrgb/OpenRgbRecords.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The OpenRGB SDK protocol's packets as bytes: every request the client sends
// and every reply it reads, as pure functions. A packet is a 16-byte header
// ("ORGB", u32 device index, u32 packet id, u32 data size) and its data; all
// integers are little-endian. Decoding checks every count and length against
// the bytes that remain and fails with an error that names the field.
namespace OpenRgbCodec {

using Bytes = std::vector<uint8_t>;

enum PacketId : uint32_t {
    RequestControllerCount = 0,
    RequestControllerData = 1,
    RequestProtocolVersion = 40,
    SetClientName = 50,
    DeviceListUpdated = 100,
    RequestRescanDevices = 140,
    ResizeZone = 1000,
    AddSegment = 1002,
    UpdateLeds = 1050,
    UpdateZoneLeds = 1051,
    SetCustomMode = 1100,
    UpdateMode = 1101,
    SaveMode = 1102,
};

constexpr size_t HeaderSize = 16;
// No reply of a real server comes near this (a keyboard's description is a
// few KiB); a header that announces more is refused before anything is read.
constexpr uint32_t MaxDataSize = 4u << 20;
// The protocol versions this codec reads and writes.
constexpr uint32_t OldestProtocol = 3;
constexpr uint32_t NewestProtocol = 5;

struct Header
{
    uint32_t device = 0;
    uint32_t id = 0;
    uint32_t size = 0;
};

// What a decoder gives: the value, or why there is none.
template <typename T>
struct Result
{
    T value{};
    std::string error;

    bool Ok() const { return error.empty(); }
};

// Requests. A packet for no device in particular goes to index 0.
Bytes EncodeHeader(uint32_t device, uint32_t id, uint32_t size);
Bytes EncodeProtocolVersionRequest(uint32_t highestVersion);
Bytes EncodeClientName(const std::string& name);
Bytes EncodeControllerCountRequest();
Bytes EncodeControllerDataRequest(uint32_t device, uint32_t protocol);
Bytes EncodeRescanRequest();
Bytes EncodeSetCustomMode(uint32_t device);
Bytes EncodeResizeZone(uint32_t device, int32_t zone, int32_t size);
Bytes EncodeAddSegment(uint32_t device, uint32_t zone, const OpenRgb::Segment& segment);
// The LED commands write into out (cleared first), so that a caller sending
// frames reuses one buffer. They fail (false, out empty) for more colours
// than a packet can count (65535).
bool EncodeUpdateLeds(Bytes& out, uint32_t device, const std::vector<OpenRgb::Color>& colors);
bool EncodeUpdateZoneLeds(Bytes& out, uint32_t device, uint32_t zone, const std::vector<OpenRgb::Color>& colors);
// UpdateMode, or SaveMode with save set, laid out for the negotiated protocol.
// Empty when the mode's name or colours do not fit a packet's counts.
Bytes EncodeMode(uint32_t device, int32_t modeIndex, const OpenRgb::Mode& mode, uint32_t protocol, bool save);

// Replies.
// The header at the start of bytes (at least HeaderSize of them): refused for
// a wrong magic or a data size over MaxDataSize.
Result<Header> DecodeHeader(const uint8_t* bytes);
// A reply that is one u32 (controller count, protocol version); field names it.
Result<uint32_t> DecodeU32(const uint8_t* data, size_t size, const char* field);
// The data of a REQUEST_CONTROLLER_DATA reply, read at the protocol version
// the request named (3 to 5).
Result<OpenRgb::Device> DecodeControllerData(const uint8_t* data, size_t size, uint32_t protocol);

} // namespace OpenRgbCodec
