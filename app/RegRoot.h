#pragma once

namespace dali {

// The predefined registry roots the panel reads from.
enum class RegRoot
{
    LocalMachine,
    CurrentUser,
};

// The platform's view of one open key: an HKEY on Windows, a snapshot of the
// key read from the registry file on Linux.
struct RegKeyHandle;

} // namespace dali
