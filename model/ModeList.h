#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class DeviceMaster;
class ModeInfo;

// The effects of one device, ordered by their number (the order in which the
// effect buttons are listed). Owns its modes.
class ModeList
{
public:
    explicit ModeList(DeviceMaster* owner);
    ~ModeList();
    ModeList(const ModeList&) = delete;
    ModeList& operator=(const ModeList&) = delete;

    DeviceMaster* GetOwner() const { return owner; }

    // Enters the mode under the integer value of its key; a later mode with the
    // same number replaces the earlier one. A key that is not a number is
    // skipped (returns false) and the mode is destroyed.
    bool AddMode(std::unique_ptr<ModeInfo> mode);
    // The mode with the number that key reads as, or null.
    ModeInfo* FindByKey(const std::string& key) const;
    // Ascending number order.
    std::vector<ModeInfo*> GetModes() const;

private:
    DeviceMaster* owner;
    std::map<int, std::unique_ptr<ModeInfo>> index;
};
