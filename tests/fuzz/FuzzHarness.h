#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// What the fuzz targets share: their input as bytes, the fixtures of the
// source tree, and a failure the fuzzer (or the replay test) catches.
namespace FuzzHarness {

inline std::string Input(const uint8_t* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }

[[noreturn]] inline void Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "%s\n%s\n", what, detail.c_str());
    std::abort();
}

// A document of the source tree (path relative to its top), read whole.
inline std::string Fixture(const char* relativePath)
{
    std::ostringstream text;
    text << std::ifstream(std::string(LUMET_SOURCE_DIR) + "/" + relativePath, std::ios::binary).rdbuf();
    if (text.str().empty())
        Fail("missing fixture", relativePath);
    return text.str();
}

} // namespace FuzzHarness
