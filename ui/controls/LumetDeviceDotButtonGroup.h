#pragma once

#include "ui/controls/LumetColorChoice.h"

#include <QGroupBox>

#include <string>
#include <vector>

class DeviceMaster;
class LedInfo;
class LumetDeviceDotPushButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The "COLOR" area of the colour effect views: one button per LED of a
// device, six to a page, of which the user picks one; the view's palette
// colour is written into the picked LED's setting (scene 0 for power state 1,
// scene 1 otherwise) and the palette's triangle-thumb position into the LED.
// It also carries a colour-span button (copy the picked LED's colour to all
// LEDs), two gradient radio buttons and a reverse check box.
//
// Wiring in a view (static view as the example):
//   group->LoadDevice(master);                   // on every load
//   palette  onColorChanged()  -> view reads getColor/triangleThumbPos and emits
//   view     PaletteColorChanged(h, s, l, x, y) -> group OnPaletteColorChanged
//   group    DeviceButtonChanged(), PageIndexChanged(int) -> view shows
//            GetSelectedColor / GetSelectedPosition on the palette
//   group    ColorSpanButtonClicked() -> view reports its state changed
//
// The LED last picked is remembered across loads and across groups (the
// views create a new group on every load), so it stays picked after APPLY
// while it still exists. LEDs without a current setting for the group's scene
// get no button. The group keeps pointers into the device model: reload it
// (LoadDevice) after every model change.
class LumetDeviceDotButtonGroup : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int DotsPerPage = 6;

    LumetDeviceDotButtonGroup(QWidget* parent, PowerState ps);

    // Rebuilds the buttons from the device's LEDs (null: none), shows the page
    // of the remembered LED and picks it (else the first LED).
    void LoadDevice(DeviceMaster* device);
    // The picked LED's colour; 0, 0, 0 when nothing is picked.
    void GetSelectedColor(float& hue, float& saturation, float& lightness) const;
    // The picked LED's palette position; (-1, -1) when it has none yet or
    // nothing is picked.
    void GetSelectedPosition(int& x, int& y);
    // True when the first radio button is not checked.
    bool IsSecondRadioChecked() const;

    // Configuration. With the radio buttons shown the LED area sits at (8, 58)
    // and the colour-span button at (8, 158); without them at (8, 28) and (8, 128).
    void SetRadioButtonsVisible(bool visible);
    // Only while the LED area is shown.
    void SetColorSpanVisible(bool visible);
    // Hides or shows the LED area with the colour-span button; the reverse
    // check box is hidden in every case (no view shows it).
    void SetLedAreaHidden(bool hidden);
    // false covers the LED buttons with a mask that takes their clicks.
    void SetDotsEnabled(bool enabled);
    // Texts pass through QCoreApplication::translate("LumetClass", ...).
    void SetFirstRadioText(const std::string& text);
    void SetSecondRadioText(const std::string& text);
    void SetColorSpanToolTip(const std::string& text);
    // Second radio button when the group setting's colorType is 1, else the
    // first (also without a setting).
    void SetGradientFromSetting(DeviceMaster* device);
    // Checks the reverse check box when the group setting has endToStart
    // (emits ReverseCheckBoxChecked when that changes its state).
    void SetReverseFromSetting(DeviceMaster* device);

    // State, for views and tests.
    int GetScene() const { return scene; }
    int GetPageCount() const { return pageCount; }
    int GetPageIndex() const { return pageIndex; }
    LumetDeviceDotPushButton* GetSelectedDot() const { return selected; }
    std::vector<LumetDeviceDotPushButton*> GetDots() const { return dots; }
    DeviceMaster* GetDevice() const { return device; }

    // Forgets the LED last picked (for a freshly loaded rig).
    static void ForgetRememberedSelection();

signals:
    void PageIndexChanged(int pageIndex);
    void RadioButtonChecked(ColorGradient cg);
    void ReverseCheckBoxChecked(ColorSequence cs);
    void ColorSpanButtonClicked();
    void DeviceButtonChanged();

public slots:
    // Stores the colour and the palette position in the picked LED only.
    // No signal: the view reports its own state change.
    void OnPaletteColorChanged(float hue, float saturation, float lightness, int triangleThumbPosX,
                               int triangleThumbPosY);

private slots:
    void onPageButtonClicked();
    // Shows page p (0-based) when it exists and picks its first LED.
    void onPageIndexChanged(int pageIndex);
    void onDeviceButtonClicked();
    void OnRadioButtonChecked(bool checked);
    // From the colour-span button: copies the picked LED's colour and position
    // to every other LED, then emits ColorSpanButtonClicked().
    void OnColorSpanButtonClicked();
    void OnReverseCheckBoxChecked(bool checked);

protected:
    // Left and Right on an LED button pick its neighbour, on the next page
    // when it lies there.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addDot(LedInfo* led);
    void restoreRememberedSelection();
    void rememberSelected();
    // Places the LED area, its mask and the colour-span button by whether the
    // radio buttons are shown.
    void placeLedArea();
    void placeColorSpanButton();

    std::vector<LumetDeviceDotPushButton*> dots;
    int pageCount = -1;
    int pageIndex = -1;
    LumetDeviceDotPushButton* selected = nullptr;
    PowerState powerState;
    int scene;
    DeviceMaster* device = nullptr;

    QLabel* colorLabel;
    QGroupBox* ledArea;
    QLabel* mask;
    QPushButton* previousPageButton;
    QPushButton* nextPageButton;
    QRadioButton* firstRadio;
    QRadioButton* secondRadio;
    QButtonGroup* radioGroup;
    QPushButton* colorSpanButton;
    QCheckBox* reverseCheckBox;
    bool ledAreaHidden = false;
    bool radiosShown = true;
    bool spanShown = true;
};
