#pragma once

#include "ui/views/LumetBaseView.h"

#include <QObject>

// Maps an effect id to its view class and creates the view. One per process.
class LumetViewFactory : public QObject
{
    Q_OBJECT

public:
    static LumetViewFactory* GetInstance();

    // The caller owns the view (a child of parent). Never fails: an id without
    // a view class gives the null view showing "[Unknown effect]".
    LumetBaseView* CreateView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                              PowerState ps, int effectId);

    // Keep "SetProfile.xml" in the program directory after each built profile.
    static void SetKeepProfileFile(bool keep);

private:
    LumetViewFactory() = default;
};
