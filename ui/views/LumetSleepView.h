#pragma once

#include "ui/views/LumetNullView.h"

class QLabel;

// The view of the sleep effect: a message and a picture; its profile keeps
// every LED dark (colour 0) while sending the LEDs' hues unchanged.
class LumetSleepView : public LumetNullView
{
    Q_OBJECT

public:
    LumetSleepView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                   int effectId);
    ~LumetSleepView() override;

protected:
    void InitUi() override;
    std::string BuildXmlProfile() override;

private:
    QLabel* pictureLabel = nullptr;
};
