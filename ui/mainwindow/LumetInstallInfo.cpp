#include "ui/mainwindow/LumetInstallInfo.h"

#include "app/RegReader.h"

namespace {

const char* const panelKey = "Software\\ORVEL\\LUMET";
const char* const uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const productCode = "E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680";

} // namespace

bool LumetInstallInfo::IsRebootPending()
{
    dali::RegReader reader;
    std::string flag;
    const bool pending = reader.open(dali::RegRoot::LocalMachine, panelKey, false, false)
        && reader.values().count() >= 1 && reader.readString("needReboot", flag) && !flag.empty();
    reader.close();
    return pending;
}

std::string LumetInstallInfo::ReadVersion()
{
    const std::string path = std::string(uninstallKey) + "\\{" + productCode + "}";
    dali::RegReader reader;
    std::string version;
    if (!reader.open(dali::RegRoot::LocalMachine, path.c_str(), false, false) || !reader.readString("DisplayVersion", version))
        version.clear();
    reader.close();
    return version;
}
