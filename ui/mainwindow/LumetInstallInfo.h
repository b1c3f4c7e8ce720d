#pragma once

#include <string>

// What the installer leaves in the registry for the panel: a pending reboot
// and the installed version. Missing keys or values read as "no" and "".
class LumetInstallInfo
{
public:
    // True when the panel's key holds at least one value and "needReboot"
    // reads as a non-empty string ("0" included).
    static bool IsRebootPending();
    // "DisplayVersion" of the panel's uninstall entry, unchanged.
    static std::string ReadVersion();
};
