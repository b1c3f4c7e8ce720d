#include "ui/views/LumetColorView.h"

#include "ui/controls/LumetDeviceDotButtonGroup.h"
#include "ui/controls/NewLedPalette.h"

const QRect LumetColorView::PaletteGeometry(476, 44, 170, 387);
const LumetEffectView::ColorGroupLook LumetColorView::PlainLook{};

LumetColorView::LumetColorView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                               PowerState ps, int effectId)
    : LumetEffectView(parent, deviceMaster, alignment, ps, effectId)
{
}

LumetColorView::~LumetColorView()
{
    DestroyColorControls();
}

void LumetColorView::InitUi()
{
    CreateColorControls(PlainLook, PaletteGeometry, 0);
}

void LumetColorView::LoadDefaults() {}

void LumetColorView::LoadFromModel()
{
    LoadColorGroup();
}

std::string LumetColorView::BuildXmlProfile()
{
    return BuildEffectProfile(EffectProfile::Parts(EffectProfile::LedValues::Colour));
}

void LumetColorView::CreateColorControls(const ColorGroupLook& look, const QRect& paletteGeometry, int paletteMode)
{
    colourGroup = CreateColorGroup(look);
    palette = CreatePalette(paletteGeometry, paletteMode);
    ConnectPalette();
    connect(this, &LumetColorView::PaletteColorChanged, colourGroup,
            &LumetDeviceDotButtonGroup::OnPaletteColorChanged);
    connect(colourGroup, &LumetDeviceDotButtonGroup::DeviceButtonChanged, this,
            &LumetColorView::OnDeviceButtonChanged);
    connect(colourGroup, &LumetDeviceDotButtonGroup::PageIndexChanged, this, &LumetColorView::OnDeviceButtonChanged);
    connect(colourGroup, &LumetDeviceDotButtonGroup::ColorSpanButtonClicked, this,
            &LumetColorView::OnViewStateChanged);
}

void LumetColorView::DestroyColorControls()
{
    delete palette;
    palette = nullptr;
    delete colourGroup;
    colourGroup = nullptr;
}

void LumetColorView::LoadColorGroup()
{
    colourGroup->LoadDevice(GetDeviceMaster());
    OnDeviceButtonChanged();
}

void LumetColorView::OnPaletteColorChanged()
{
    float hue = 0.0f;
    float saturation = 0.0f;
    float lightness = 0.0f;
    int x = 0;
    int y = 0;
    palette->getColor(hue, saturation, lightness);
    palette->triangleThumbPos(x, y);
    emit PaletteColorChanged(hue, saturation, lightness, x, y);
    emit ViewStateChanged();
}

void LumetColorView::OnDeviceButtonChanged()
{
    // A device without LEDs leaves nothing to show.
    if (!colourGroup->GetSelectedDot())
        return;
    float hue = 0.0f;
    float saturation = 0.0f;
    float lightness = 0.0f;
    int x = -1;
    int y = -1;
    colourGroup->GetSelectedColor(hue, saturation, lightness);
    colourGroup->GetSelectedPosition(x, y);

    // Read back, the palette would report a slightly different colour
    // (its triangle mapping is not exact): keep the stored one.
    DisconnectPalette();
    palette->setColor(hue, saturation, lightness, true);
    if (x != -1 && y != -1) {
        palette->moveTriangleThumb(x, y);
    } else {
        // The LED has no position yet: it takes the one the palette chose.
        palette->triangleThumbPos(x, y);
        emit PaletteColorChanged(hue, saturation, lightness, x, y);
    }
    ConnectPalette();
}

void LumetColorView::OnViewStateChanged()
{
    emit ViewStateChanged();
}

void LumetColorView::ConnectPalette()
{
    connect(palette, &NewLedPalette::onColorChanged, this, &LumetColorView::OnPaletteColorChanged);
}

void LumetColorView::DisconnectPalette()
{
    disconnect(palette, &NewLedPalette::onColorChanged, this, &LumetColorView::OnPaletteColorChanged);
}
