#include "model/ModeList.h"

#include "app/NumberText.h"
#include "model/ModeInfo.h"

ModeList::ModeList(DeviceMaster* owner) : owner(owner) {}

ModeList::~ModeList() = default;

bool ModeList::AddMode(std::unique_ptr<ModeInfo> mode)
{
    if (!mode)
        return false;
    // A key that is empty, not a number or out of range has no number to be
    // listed under; such a mode is left out rather than filed under 0.
    const std::optional<int> number = NumberText::ParseInt(mode->GetKey());
    if (!number)
        return false;
    index[*number] = std::move(mode);
    return true;
}

ModeInfo* ModeList::FindByKey(const std::string& key) const
{
    const std::optional<int> number = NumberText::ParseInt(key);
    if (!number)
        return nullptr;
    const auto it = index.find(*number);
    return it == index.end() ? nullptr : it->second.get();
}

std::vector<ModeInfo*> ModeList::GetModes() const
{
    std::vector<ModeInfo*> modes;
    modes.reserve(index.size());
    for (const auto& entry : index)
        modes.push_back(entry.second.get());
    return modes;
}
