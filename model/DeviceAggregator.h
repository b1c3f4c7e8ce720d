#pragma once

#include <QObject>

#include <map>
#include <memory>
#include <string>
#include <vector>

class DeviceMaster;

// Owner of the device model: fetches the capability and status documents from
// the lighting service, builds the model and announces each change. One per
// process, created on first use and never destroyed.
class DeviceAggregator : public QObject
{
    Q_OBJECT

public:
    static DeviceAggregator* Instance();

    // The text raised (as a std::string exception) when a capability document
    // holds no synchronized group.
    static const char* const NoGroupError;

    // Fetches, parses and replaces the whole model, then emits
    // CapabilityModelChanged. Throws NoGroupError (std::string) when the
    // document names no "Group". Every pointer into the old model is invalid
    // once this starts.
    void LoadCapabilityModel();
    // Fetches and applies the status; emits StatusModelChanged when the
    // service returned a document. An empty answer changes nothing.
    void LoadStatusModel();

    DeviceMaster* GetGroup() const { return group; }
    bool IsGroupEnabled() const;
    std::vector<DeviceMaster*> GetDevices() const;
    std::map<std::string, DeviceMaster*> GetDeviceIndex() const { return deviceIndex; }

    static void SetDumpCapability(bool on);
    static void SetDumpStatus(bool on);

signals:
    void CapabilityModelChanged();
    void StatusModelChanged();

private:
    DeviceAggregator();
    ~DeviceAggregator() override;

    void AddDevice(std::unique_ptr<DeviceMaster> device);
    void ClearCapabilityModel();
    void ClearGroupLedSettings();
    std::string FetchCapabilityText();
    std::string FetchStatusText();

    DeviceMaster* group = nullptr;
    std::unique_ptr<DeviceMaster> groupOwner;
    std::vector<std::unique_ptr<DeviceMaster>> devices;
    std::map<std::string, DeviceMaster*> deviceIndex;
};
