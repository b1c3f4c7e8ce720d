#pragma once

#include "ui/views/LumetEffectView.h"

// The views in which the user colours the LEDs one by one (static, breathing,
// strobing, comet, wave): a per-LED colour group and a palette, wired so that
//   - a palette change goes to the group's picked LED (PaletteColorChanged)
//     and counts as a user change (ViewStateChanged);
//   - picking another LED or page shows that LED's stored colour on the
//     palette with the palette disconnected, so showing it is no user change;
//   - the colour span counts as a user change.
// By itself it is the static view's pattern: the group at (28, 38) without
// radio buttons, the full-colour palette at (476, 44, 170, 387), and a
// profile with each LED's colour.
class LumetColorView : public LumetEffectView
{
    Q_OBJECT

public:
    ~LumetColorView() override;

    LumetDeviceDotButtonGroup* GetColorGroup() const { return colourGroup; }
    NewLedPalette* GetPalette() const { return palette; }

signals:
    void PaletteColorChanged(float hue, float saturation, float lightness, int triangleThumbPosX,
                             int triangleThumbPosY);

public slots:
    // The user moved a palette thumb: the picked LED takes the colour.
    virtual void OnPaletteColorChanged();

protected slots:
    // Another LED or page was picked (and at the end of every load): the
    // palette shows the picked LED's colour and position.
    void OnDeviceButtonChanged();
    void OnViewStateChanged();

protected:
    LumetColorView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                   int effectId);

    void InitUi() override;
    void LoadDefaults() override;
    void LoadFromModel() override;
    std::string BuildXmlProfile() override;

    static const QRect PaletteGeometry;
    static const ColorGroupLook PlainLook;

    // Creates the group and the palette and makes the connections above.
    void CreateColorControls(const ColorGroupLook& look, const QRect& paletteGeometry, int paletteMode);
    // Deletes the palette, then the group.
    void DestroyColorControls();
    // Loads the group from the device and shows the picked LED's colour.
    void LoadColorGroup();

private:
    void ConnectPalette();
    void DisconnectPalette();

    LumetDeviceDotButtonGroup* colourGroup = nullptr;
    NewLedPalette* palette = nullptr;
};
