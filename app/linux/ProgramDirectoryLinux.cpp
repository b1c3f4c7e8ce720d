#include "app/ProgramDirectory.h"

#include <unistd.h>

#include <vector>

std::string GetProgramDirectory()
{
    // readlink does not terminate and truncates silently: grow until it fits.
    std::vector<char> buf(128);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return std::string();
        if (static_cast<size_t>(n) < buf.size()) {
            std::string path(buf.data(), static_cast<size_t>(n));
            const size_t slash = path.rfind('/');
            return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        }
        buf.resize(buf.size() * 2);
    }
}
