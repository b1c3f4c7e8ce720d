#pragma once

#include "ui/views/LumetNullView.h"

#include <QString>

#include <memory>

class QLabel;
class QTimer;

// The view of the colour cycle effect: the service cycles the colours by
// itself, so the view shows a message and a looping preview, and its profile
// carries the LEDs' current colours unchanged.
class LumetColorCycleView : public LumetNullView
{
    Q_OBJECT

public:
    static const int FrameCount = 25;
    static const int FramePeriodMs = 200;

    LumetColorCycleView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                        int effectId);
    ~LumetColorCycleView() override;

    // Restarts the animation and shows the view.
    void ShowView(bool defaults = false) override;

    // Shows the current frame and advances the process-wide frame counter,
    // so a new view continues where the last one stopped.
    void StepFrame();
    bool IsAnimating() const;

    // ":/Lumet/Resources/ani/0010009.png" for frame 9.
    static QString FramePath(int frame);
    // 1..25, wrapping from 25 to 1.
    static int NextFrame(int frame);
    // The frame the next step shows.
    static int CurrentFrame();

protected:
    void InitUi() override;
    std::string BuildXmlProfile() override;
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* animationLabel = nullptr;
    std::unique_ptr<QTimer> animationTimer;
};
