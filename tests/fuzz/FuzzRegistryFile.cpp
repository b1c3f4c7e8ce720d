// A registry export file as the Linux registry reader finds it, then every
// look-up the panel makes in it.

#include "app/linux/RegistryFile.h"
#include "tests/fuzz/FuzzHarness.h"

#include <QByteArray>
#include <QString>

static const char* const Keys[] = {
    "HKEY_LOCAL_MACHINE\\Software\\ORVEL\\LUMET",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}",
    "HKEY_LOCAL_MACHINE\\Software",
    "HKEY_LOCAL_MACHINE",
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const dali::RegistryFile file = dali::RegistryFile::Parse(bytes);
    for (const char* key : Keys) {
        const QString path = QString::fromLatin1(key);
        const dali::RegistryFile::ValueList values = file.values(path);
        if (!values.empty() && !file.hasKey(path))
            FuzzHarness::Fail("a key with values is not a key", key);
        file.subKeyCount(path);
        // An invalid UTF-8 byte, U+FFFD, is the most a byte can become: three.
        for (const auto& value : values)
            if (value.data.size() > size * 3)
                FuzzHarness::Fail("a value larger than its file allows", key);
    }
    return 0;
}
