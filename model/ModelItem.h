#pragma once

#include <string>

// Common base of devices and LEDs: a key and a display name.
class ModelItem
{
public:
    ModelItem(std::string key, std::string name) : key(std::move(key)), name(std::move(name)) {}
    virtual ~ModelItem() = default;

    std::string GetKey() const { return key; }
    std::string GetName() const { return name; }
    void SetKey(const std::string& k) { key = k; }
    void SetName(const std::string& n) { name = n; }

protected:
    std::string key;
    std::string name;
};
