#include "model/DeviceAggregator.h"

#include "app/ProgramDirectory.h"
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/ModelDocument.h"
#include "model/StatusParser.h"
#include "service/ServiceClient.h"
#include "service/ServiceText.h"

#include <atomic>
#include <mutex>

const char* const DeviceAggregator::NoGroupError =
    "No ARDEX RGB DRAM module(s) found on your computer system!\n\nProgram will be terminated.";

namespace {

std::atomic<DeviceAggregator*> instance{nullptr};
std::mutex instanceLock;

// Diagnostic copies of the received documents, switched on from the command
// line; only ever touched on the GUI thread.
bool dumpCapability = false;
bool dumpStatus = false;

// Where a diagnostic copy goes; empty when the program directory is unknown,
// in which case no copy is written.
std::string DumpPath(const char* fileName)
{
    const std::string directory = GetProgramDirectory();
    return directory.empty() ? std::string() : directory + fileName;
}

} // namespace

DeviceAggregator* DeviceAggregator::Instance()
{
    DeviceAggregator* current = instance.load(std::memory_order_acquire);
    if (current)
        return current;
    std::lock_guard<std::mutex> guard(instanceLock);
    current = instance.load(std::memory_order_relaxed);
    if (!current) {
        current = new DeviceAggregator();
        instance.store(current, std::memory_order_release);
    }
    return current;
}

DeviceAggregator::DeviceAggregator() = default;

DeviceAggregator::~DeviceAggregator() = default;

void DeviceAggregator::SetDumpCapability(bool on)
{
    dumpCapability = on;
}

void DeviceAggregator::SetDumpStatus(bool on)
{
    dumpStatus = on;
}

bool DeviceAggregator::IsGroupEnabled() const
{
    return group && group->IsEnabled();
}

std::vector<DeviceMaster*> DeviceAggregator::GetDevices() const
{
    std::vector<DeviceMaster*> list;
    list.reserve(devices.size());
    for (const auto& device : devices)
        list.push_back(device.get());
    return list;
}

void DeviceAggregator::LoadCapabilityModel()
{
    const std::string dumpPath = dumpCapability ? DumpPath("CapabilityModel.xml") : std::string();
    const std::unique_ptr<tinyxml2::XMLDocument> document = ModelDocument::Parse(FetchCapabilityText());
    if (dumpCapability)
        ModelDocument::Save(*document, dumpPath);

    ClearCapabilityModel();
    CapabilityParser::Result model = CapabilityParser::Read(*document);
    groupOwner = std::move(model.group);
    group = groupOwner.get();
    for (auto& device : model.devices)
        AddDevice(std::move(device));

    if (!group)
        throw std::string(NoGroupError);
    emit CapabilityModelChanged();
}

void DeviceAggregator::LoadStatusModel()
{
    const std::string dumpPath = dumpStatus ? DumpPath("Status.xml") : std::string();
    const std::string text = FetchStatusText();
    if (text.empty())
        return;
    const std::unique_ptr<tinyxml2::XMLDocument> document = ModelDocument::Parse(text);
    if (dumpStatus)
        ModelDocument::Save(*document, dumpPath);

    ClearGroupLedSettings();
    StatusParser::Apply(*document, group, deviceIndex);
    emit StatusModelChanged();
}

void DeviceAggregator::AddDevice(std::unique_ptr<DeviceMaster> device)
{
    if (!device)
        return;
    deviceIndex[device->GetKey()] = device.get();
    devices.push_back(std::move(device));
}

void DeviceAggregator::ClearCapabilityModel()
{
    deviceIndex.clear();
    devices.clear();
    group = nullptr;
    groupOwner.reset();
}

void DeviceAggregator::ClearGroupLedSettings()
{
    StatusParser::ClearGroup(group);
}

std::string DeviceAggregator::FetchCapabilityText()
{
    return ServiceText::Narrow(ServiceClient::Instance().GetCapability());
}

std::string DeviceAggregator::FetchStatusText()
{
    return ServiceText::Narrow(ServiceClient::Instance().GetStatus());
}
