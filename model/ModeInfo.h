#pragma once

#include <string>

// One effect a device offers: its number as text and its name.
class ModeInfo
{
public:
    ModeInfo(std::string key, std::string name) : key(std::move(key)), name(std::move(name)) {}

    std::string GetKey() const { return key; }
    std::string GetName() const { return name; }

private:
    std::string key;
    std::string name;
};
