#include "simulator/openrgb/OpenRgbCodec.h"

#include "simulator/openrgb/WireReader.h"

#include <cstring>
#include <limits>

namespace OpenRgbCodec {

using namespace OpenRgb;

namespace {

const char Magic[4] = {'O', 'R', 'G', 'B'};

void PutU16(Bytes& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(Bytes& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutI32(Bytes& out, int32_t v)
{
    uint32_t raw = 0;
    std::memcpy(&raw, &v, sizeof raw);
    PutU32(out, raw);
}

void PutColor(Bytes& out, const Color& c)
{
    out.insert(out.end(), {c.red, c.green, c.blue, 0});
}

// A u16 length that counts the NUL, then the text and the NUL.
bool PutString(Bytes& out, const std::string& text)
{
    if (text.size() >= std::numeric_limits<uint16_t>::max())
        return false;
    PutU16(out, static_cast<uint16_t>(text.size() + 1));
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
    return true;
}

// Overwrites the header's data size (and, where the data starts with its own
// u32 size, that one too) once the packet is complete.
void SetU32At(Bytes& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void StartPacket(Bytes& out, uint32_t device, uint32_t id)
{
    out.assign(Magic, Magic + 4);
    PutU32(out, device);
    PutU32(out, id);
    PutU32(out, 0);
}

// Fills in the sizes; in place, so a reused frame buffer is never copied.
void FinishPacket(Bytes& out, bool sizedData)
{
    const uint32_t size = static_cast<uint32_t>(out.size() - HeaderSize);
    SetU32At(out, 12, size);
    if (sizedData)
        SetU32At(out, HeaderSize, size);
}

Bytes Packet(uint32_t device, uint32_t id, const Bytes& data = {})
{
    Bytes out;
    StartPacket(out, device, id);
    out.insert(out.end(), data.begin(), data.end());
    FinishPacket(out, false);
    return out;
}

// Smallest encodings, used to refuse counts the remaining bytes cannot hold.
constexpr size_t MinString = 3;
constexpr size_t MinLed = MinString + 4;
constexpr size_t MinSegment = MinString + 12;
constexpr size_t ColorBytes = 4;

size_t MinMode(uint32_t protocol)
{
    return MinString + 4 * 9 + (protocol >= 3 ? 12 : 0) + 2;
}

size_t MinZone(uint32_t protocol)
{
    return MinString + 16 + 2 + (protocol >= 4 ? 2 : 0) + (protocol >= 5 ? 4 : 0);
}

bool ReadColors(WireReader& in, const char* countField, std::vector<Color>& out)
{
    uint16_t count = 0;
    if (!in.Count(countField, ColorBytes, count))
        return false;
    const uint8_t* at = in.Take("colors", size_t(count) * ColorBytes);
    if (!at)
        return false;
    out.resize(count);
    for (size_t i = 0; i < count; ++i)
        out[i] = {at[4 * i], at[4 * i + 1], at[4 * i + 2]};
    return true;
}

void WriteMode(Bytes& out, const Mode& mode, uint32_t protocol)
{
    PutString(out, mode.name);
    PutI32(out, mode.value);
    PutU32(out, mode.flags);
    PutU32(out, mode.speedMin);
    PutU32(out, mode.speedMax);
    if (protocol >= 3) {
        PutU32(out, mode.brightnessMin);
        PutU32(out, mode.brightnessMax);
    }
    PutU32(out, mode.colorsMin);
    PutU32(out, mode.colorsMax);
    PutU32(out, mode.speed);
    if (protocol >= 3)
        PutU32(out, mode.brightness);
    PutU32(out, mode.direction);
    PutU32(out, static_cast<uint32_t>(mode.colorMode));
    PutU16(out, static_cast<uint16_t>(mode.colors.size()));
    for (const Color& c : mode.colors)
        PutColor(out, c);
}

bool ReadMode(WireReader& in, Mode& mode, uint32_t protocol)
{
    uint32_t colorMode = 0;
    in.String("name", mode.name);
    in.I32("value", mode.value);
    in.U32("flags", mode.flags);
    in.U32("speed_min", mode.speedMin);
    in.U32("speed_max", mode.speedMax);
    if (protocol >= 3) {
        in.U32("brightness_min", mode.brightnessMin);
        in.U32("brightness_max", mode.brightnessMax);
    }
    in.U32("colors_min", mode.colorsMin);
    in.U32("colors_max", mode.colorsMax);
    in.U32("speed", mode.speed);
    if (protocol >= 3)
        in.U32("brightness", mode.brightness);
    in.U32("direction", mode.direction);
    in.U32("color_mode", colorMode);
    mode.colorMode = static_cast<ColorMode>(colorMode);
    return ReadColors(in, "num_colors", mode.colors);
}

bool ReadMatrix(WireReader& in, Zone& zone)
{
    uint16_t length = 0;
    if (!in.U16("matrix_len", length))
        return false;
    if (length == 0)
        return true;
    MatrixMap matrix;
    if (length < 8 || (length - 8) % 4 != 0)
        return in.Fail("matrix_len", std::to_string(length) + " is not 8 bytes of size and whole cells");
    if (!in.U32("matrix_height", matrix.height) || !in.U32("matrix_width", matrix.width))
        return false;
    const uint64_t cells = uint64_t(matrix.height) * matrix.width;
    if (cells != (length - 8u) / 4u)
        return in.Fail("matrix_len", std::to_string(length) + " bytes do not hold " + std::to_string(matrix.height)
                                         + " x " + std::to_string(matrix.width) + " cells");
    const uint8_t* at = in.Take("matrix_data", size_t(cells) * 4);
    if (!at)
        return false;
    matrix.map.resize(size_t(cells));
    for (size_t i = 0; i < matrix.map.size(); ++i) {
        const uint8_t* cell = at + 4 * i;
        matrix.map[i] = uint32_t(cell[0]) | uint32_t(cell[1]) << 8 | uint32_t(cell[2]) << 16 | uint32_t(cell[3]) << 24;
        if (matrix.map[i] != MatrixMap::NoLed && matrix.map[i] >= zone.ledsCount)
            return in.Fail("matrix_data", "cell " + std::to_string(i) + " names LED " + std::to_string(matrix.map[i])
                                              + " of a zone of " + std::to_string(zone.ledsCount));
    }
    zone.matrix = std::move(matrix);
    return true;
}

bool ReadZone(WireReader& in, Zone& zone, uint32_t protocol)
{
    int32_t type = 0;
    in.String("name", zone.name);
    in.I32("type", type);
    zone.type = static_cast<ZoneType>(type);
    in.U32("leds_min", zone.ledsMin);
    in.U32("leds_max", zone.ledsMax);
    in.U32("leds_count", zone.ledsCount);
    if (!ReadMatrix(in, zone))
        return false;
    if (protocol >= 4) {
        uint16_t count = 0;
        if (!in.Count("num_segments", MinSegment, count))
            return false;
        zone.segments.resize(count);
        for (size_t i = 0; i < count; ++i) {
            WireReader::Scope scope(in, "segments", i);
            Segment& segment = zone.segments[i];
            in.String("name", segment.name);
            in.I32("type", segment.type);
            in.U32("start_idx", segment.startIndex);
            if (!in.U32("leds_count", segment.ledsCount))
                return false;
            if (uint64_t(segment.startIndex) + segment.ledsCount > zone.ledsCount)
                return in.Fail("leds_count", "LEDs " + std::to_string(segment.startIndex) + " + "
                                                 + std::to_string(segment.ledsCount) + " run past the zone's "
                                                 + std::to_string(zone.ledsCount));
        }
    }
    if (protocol >= 5)
        in.U32("flags", zone.flags);
    return !in.Failed();
}

} // namespace

Bytes EncodeHeader(uint32_t device, uint32_t id, uint32_t size)
{
    Bytes out;
    StartPacket(out, device, id);
    SetU32At(out, 12, size);
    return out;
}

Bytes EncodeProtocolVersionRequest(uint32_t highestVersion)
{
    Bytes data;
    PutU32(data, highestVersion);
    return Packet(0, RequestProtocolVersion, data);
}

Bytes EncodeClientName(const std::string& name)
{
    // The name is a C string: it ends at its first NUL.
    const std::string text = name.substr(0, name.find('\0'));
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    return Packet(0, SetClientName, data);
}

Bytes EncodeControllerCountRequest()
{
    return Packet(0, RequestControllerCount);
}

Bytes EncodeControllerDataRequest(uint32_t device, uint32_t protocol)
{
    Bytes data;
    PutU32(data, protocol);
    return Packet(device, RequestControllerData, data);
}

Bytes EncodeRescanRequest()
{
    return Packet(0, RequestRescanDevices);
}

Bytes EncodeSetCustomMode(uint32_t device)
{
    return Packet(device, SetCustomMode);
}

Bytes EncodeResizeZone(uint32_t device, int32_t zone, int32_t size)
{
    Bytes data;
    PutI32(data, zone);
    PutI32(data, size);
    return Packet(device, ResizeZone, data);
}

Bytes EncodeAddSegment(uint32_t device, uint32_t zone, const Segment& segment)
{
    Bytes out;
    StartPacket(out, device, AddSegment);
    PutU32(out, 0);
    PutU32(out, zone);
    if (!PutString(out, segment.name))
        return {};
    PutI32(out, segment.type);
    PutU32(out, segment.startIndex);
    PutU32(out, segment.ledsCount);
    FinishPacket(out, true);
    return out;
}

namespace {

// The LED packets of a device or (with zone) of one of its zones.
bool EncodeLeds(Bytes& out, uint32_t device, const uint32_t* zone, const std::vector<Color>& colors)
{
    out.clear();
    if (colors.size() > std::numeric_limits<uint16_t>::max())
        return false;
    StartPacket(out, device, zone ? UpdateZoneLeds : UpdateLeds);
    PutU32(out, 0);
    if (zone)
        PutU32(out, *zone);
    PutU16(out, static_cast<uint16_t>(colors.size()));
    for (const Color& c : colors)
        PutColor(out, c);
    FinishPacket(out, true);
    return true;
}

} // namespace

bool EncodeUpdateLeds(Bytes& out, uint32_t device, const std::vector<Color>& colors)
{
    return EncodeLeds(out, device, nullptr, colors);
}

bool EncodeUpdateZoneLeds(Bytes& out, uint32_t device, uint32_t zone, const std::vector<Color>& colors)
{
    return EncodeLeds(out, device, &zone, colors);
}

Bytes EncodeMode(uint32_t device, int32_t modeIndex, const Mode& mode, uint32_t protocol, bool save)
{
    if (mode.name.size() >= std::numeric_limits<uint16_t>::max()
        || mode.colors.size() > std::numeric_limits<uint16_t>::max())
        return {};
    Bytes out;
    StartPacket(out, device, save ? SaveMode : UpdateMode);
    PutU32(out, 0);
    PutI32(out, modeIndex);
    WriteMode(out, mode, protocol);
    FinishPacket(out, true);
    return out;
}

Result<Header> DecodeHeader(const uint8_t* bytes)
{
    Result<Header> result;
    if (std::memcmp(bytes, Magic, 4) != 0) {
        result.error = "header: the packet does not start with \"ORGB\"";
        return result;
    }
    WireReader in(bytes + 4, HeaderSize - 4);
    in.U32("device", result.value.device);
    in.U32("id", result.value.id);
    in.U32("size", result.value.size);
    if (result.value.size > MaxDataSize)
        result.error = "header: packet " + std::to_string(result.value.id) + " announces "
                       + std::to_string(result.value.size) + " bytes of data, more than the "
                       + std::to_string(MaxDataSize) + " a reply may have";
    return result;
}

Result<uint32_t> DecodeU32(const uint8_t* data, size_t size, const char* field)
{
    Result<uint32_t> result;
    WireReader in(data, size);
    if (in.U32(field, result.value) && in.Remaining() != 0)
        in.Fail(field, std::to_string(in.Remaining()) + " bytes follow the value");
    result.error = in.Error();
    return result;
}

Result<Device> DecodeControllerData(const uint8_t* data, size_t size, uint32_t protocol)
{
    Result<Device> result;
    if (protocol < OldestProtocol || protocol > NewestProtocol) {
        result.error = "protocol " + std::to_string(protocol) + " cannot be read";
        return result;
    }
    Device& device = result.value;
    WireReader in(data, size);
    uint32_t dataSize = 0;
    if (in.U32("data_size", dataSize) && dataSize != size)
        in.Fail("data_size", "says " + std::to_string(dataSize) + " bytes, the reply has " + std::to_string(size));

    int32_t type = 0;
    in.I32("type", type);
    device.type = static_cast<DeviceType>(type);
    in.String("name", device.name);
    in.String("vendor", device.vendor);
    in.String("description", device.description);
    in.String("version", device.version);
    in.String("serial", device.serial);
    in.String("location", device.location);

    uint16_t count = 0;
    if (in.Count("num_modes", MinMode(protocol), count))
        device.modes.resize(count);
    in.I32("active_mode", device.activeMode);
    for (size_t i = 0; i < device.modes.size() && !in.Failed(); ++i) {
        WireReader::Scope scope(in, "modes", i);
        ReadMode(in, device.modes[i], protocol);
    }

    if (in.Count("num_zones", MinZone(protocol), count))
        device.zones.resize(count);
    uint64_t zoneLeds = 0;
    for (size_t i = 0; i < device.zones.size() && !in.Failed(); ++i) {
        WireReader::Scope scope(in, "zones", i);
        if (ReadZone(in, device.zones[i], protocol))
            zoneLeds += device.zones[i].ledsCount;
    }

    if (in.Count("num_leds", MinLed, count))
        device.leds.resize(count);
    for (size_t i = 0; i < device.leds.size() && !in.Failed(); ++i) {
        WireReader::Scope scope(in, "leds", i);
        in.String("name", device.leds[i].name);
        in.U32("value", device.leds[i].value);
    }
    if (!in.Failed() && zoneLeds != device.leds.size())
        in.Fail("num_leds", std::to_string(device.leds.size()) + " LEDs, but the zones hold " + std::to_string(zoneLeds));

    if (ReadColors(in, "num_colors", device.colors) && device.colors.size() != device.leds.size())
        in.Fail("num_colors", std::to_string(device.colors.size()) + " colours for " + std::to_string(device.leds.size())
                                  + " LEDs");

    if (protocol >= 5) {
        if (in.Count("num_led_alt_names", MinString, count))
            device.ledAltNames.resize(count);
        for (size_t i = 0; i < device.ledAltNames.size() && !in.Failed(); ++i) {
            WireReader::Scope scope(in, "led_alt_names", i);
            in.String("name", device.ledAltNames[i]);
        }
        in.U32("flags", device.flags);
    }
    if (!in.Failed() && in.Remaining() != 0)
        in.Fail("data_size", std::to_string(in.Remaining()) + " bytes follow the device");

    result.error = in.Error();
    if (!result.Ok())
        result.value = Device();
    return result;
}

} // namespace OpenRgbCodec
