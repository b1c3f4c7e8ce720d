#include "app/RegReader.h"

namespace dali {

RegReader::RegReader() = default;

RegReader::~RegReader()
{
    close();
}

void RegReader::close()
{
    if (openFlag) {
        ReleaseKey(key);
        key = nullptr;
        openFlag = false;
    }
    keySet = RegKeySet();
    valueSet = RegValueSet();
}

} // namespace dali
