#include "ui/views/LumetBaseView.h"

#include "model/DeviceMaster.h"

namespace {

const int ViewWidth = 679;
const int ViewHeight = 604;

std::string KeyOf(const DeviceMaster* master)
{
    return master ? master->GetKey() : std::string();
}

} // namespace

LumetBaseView::LumetBaseView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                             int effectId)
    : QGroupBox(parent),
      parentWidget_(parent),
      deviceMaster(deviceMaster),
      alignment(alignment),
      powerState(ps),
      effectId(effectId),
      deviceKey(KeyOf(deviceMaster))
{
    setGeometry(originX, originY, ViewWidth, ViewHeight);
    setStyleSheet(QStringLiteral("QGroupBox{border:0px;}"));
}

LumetBaseView::~LumetBaseView() = default;

std::string LumetBaseView::GetXmlProfile()
{
    return BuildXmlProfile();
}

void LumetBaseView::SetMessage(const std::string&) {}

void LumetBaseView::SetDeviceMaster(DeviceMaster* master)
{
    deviceMaster = master;
    // The profile names the device its LEDs come from.
    deviceKey = KeyOf(master);
    LoadFromModel();
}

std::string LumetBaseView::BuildEffectProfile(const EffectProfile::Parts& parts) const
{
    return EffectProfile::Build(deviceMaster, deviceKey, effectId, parts);
}
