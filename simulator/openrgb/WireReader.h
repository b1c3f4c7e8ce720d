#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads little-endian fields from a byte buffer without ever reading past its
// end. The first failure sticks: every later read fails too, and Error() names
// the field where decoding went wrong, with the records around it
// ("zones[1].segments[0].name: ...").
class WireReader
{
public:
    WireReader(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool U16(const char* field, uint16_t& out);
    bool U32(const char* field, uint32_t& out);
    bool I32(const char* field, int32_t& out);
    // A u16 length that counts the terminating NUL, then the bytes. The text
    // ends at the first NUL; the last byte must be one.
    bool String(const char* field, std::string& out);
    // A u16 count of records of at least minimumBytes each: refused when the
    // bytes that remain cannot hold that many.
    bool Count(const char* field, size_t minimumBytes, uint16_t& out);
    // Bytes the caller reads itself with Take (after checking Remaining).
    const uint8_t* Take(const char* field, size_t bytes);

    // Records the failure at field (unless one is recorded already); false.
    bool Fail(const char* field, const std::string& reason);

    size_t Remaining() const { return size - offset; }
    bool Failed() const { return !error.empty(); }
    const std::string& Error() const { return error; }

    // While alive, names the record being read ("modes", 3) in errors.
    class Scope
    {
    public:
        Scope(WireReader& reader, const char* name, size_t index = NoIndex);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        WireReader& reader;
    };
    static constexpr size_t NoIndex = static_cast<size_t>(-1);

private:
    struct Place
    {
        const char* name;
        size_t index;
    };

    const uint8_t* data;
    size_t size;
    size_t offset = 0;
    std::string error;
    std::vector<Place> places;
};
