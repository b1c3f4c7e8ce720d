#include "app/RegReader.h"
#include "app/linux/RegKeyHandleLinux.h"
#include "app/linux/RegistryFile.h"

#include <cstring>

namespace dali {

namespace {

QString RootName(RegRoot root)
{
    switch (root) {
    case RegRoot::LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegRoot::CurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER");
    }
    return QString();
}

} // namespace

// Every reader shares one parse of the file, made again only when the file
// changed. The 64-bit view does not exist here; the file is read-only, so
// create only succeeds for a key that is already there.
bool RegReader::open(RegRoot root, const char* subKey, bool create, bool use64BitView)
{
    (void)create;
    (void)use64BitView;
    close();
    if (!subKey)
        return false;
    std::shared_ptr<const RegistryFile> file = RegistryFile::Shared();
    const QString sub = QString::fromUtf8(subKey);
    const QString path = sub.isEmpty() ? RootName(root) : RootName(root) + QLatin1Char('\\') + sub;
    if (!sub.isEmpty() && !file->hasKey(path))
        return false;
    const RegistryFile::Key* listed = file->key(path);
    const uint32_t subKeys = file->subKeyCount(path);
    key = new RegKeyHandle{std::move(file), listed, subKeys};
    openFlag = true;
    keySet = RegKeySet(key);
    valueSet = RegValueSet(key);
    return true;
}

bool RegReader::readString(const char* name, std::string& out) const
{
    if (!openFlag || !name || !key->key)
        return false;
    const RegistryFile::Value* value = key->key->find(QString::fromUtf8(name));
    if (!value
        || (value->type != RegistryFile::TypeString && value->type != RegistryFile::TypeExpandString
            && value->type != RegistryFile::TypeMultiString))
        return false;
    // Up to the first NUL: the first string of a multi-string.
    out.assign(value->data.c_str(), strnlen(value->data.c_str(), value->data.size()));
    return true;
}

void RegReader::ReleaseKey(RegKeyHandle* key)
{
    delete key;
}

} // namespace dali
