#include "simulator/openrgb/WireReader.h"

#include <cstring>

WireReader::Scope::Scope(WireReader& reader, const char* name, size_t index) : reader(reader)
{
    reader.places.push_back({name, index});
}

WireReader::Scope::~Scope()
{
    reader.places.pop_back();
}

const uint8_t* WireReader::Take(const char* field, size_t bytes)
{
    if (Failed())
        return nullptr;
    if (bytes > Remaining()) {
        Fail(field, "needs " + std::to_string(bytes) + " bytes, " + std::to_string(Remaining()) + " remain");
        return nullptr;
    }
    const uint8_t* at = data + offset;
    offset += bytes;
    return at;
}

bool WireReader::U16(const char* field, uint16_t& out)
{
    const uint8_t* at = Take(field, 2);
    if (!at)
        return false;
    out = static_cast<uint16_t>(at[0] | (at[1] << 8));
    return true;
}

bool WireReader::U32(const char* field, uint32_t& out)
{
    const uint8_t* at = Take(field, 4);
    if (!at)
        return false;
    out = static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) | (static_cast<uint32_t>(at[2]) << 16)
          | (static_cast<uint32_t>(at[3]) << 24);
    return true;
}

bool WireReader::I32(const char* field, int32_t& out)
{
    uint32_t raw = 0;
    if (!U32(field, raw))
        return false;
    std::memcpy(&out, &raw, sizeof out);
    return true;
}

bool WireReader::String(const char* field, std::string& out)
{
    uint16_t length = 0;
    if (!U16(field, length))
        return false;
    if (length == 0)
        return Fail(field, "length 0 leaves no room for the terminating NUL");
    const uint8_t* at = Take(field, length);
    if (!at)
        return false;
    if (at[length - 1] != 0)
        return Fail(field, "does not end in a NUL");
    out.assign(reinterpret_cast<const char*>(at), std::strlen(reinterpret_cast<const char*>(at)));
    return true;
}

bool WireReader::Count(const char* field, size_t minimumBytes, uint16_t& out)
{
    if (!U16(field, out))
        return false;
    if (minimumBytes > 0 && out > Remaining() / minimumBytes)
        return Fail(field, std::to_string(out) + " records of at least " + std::to_string(minimumBytes)
                               + " bytes cannot fit in the " + std::to_string(Remaining()) + " that remain");
    return true;
}

bool WireReader::Fail(const char* field, const std::string& reason)
{
    if (Failed())
        return false;
    for (const Place& place : places) {
        error += place.name;
        if (place.index != NoIndex)
            error += "[" + std::to_string(place.index) + "]";
        error += ".";
    }
    error += field;
    error += ": ";
    error += reason;
    return false;
}
