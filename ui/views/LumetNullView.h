#pragma once

#include "ui/views/LumetBaseView.h"

class QLabel;

// A view that only shows a message. Effects without a view of their own get
// it with "[Unknown effect]"; its profile is empty, so APPLY sends nothing.
class LumetNullView : public LumetBaseView
{
    Q_OBJECT

public:
    LumetNullView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                  int effectId);
    ~LumetNullView() override;

    void ShowView(bool defaults = false) override;
    void SetMessage(const std::string& message) override;

protected:
    void InitUi() override;
    void LoadDefaults() override;
    void LoadFromModel() override;
    std::string BuildXmlProfile() override;

private:
    QLabel* messageLabel = nullptr;
};
