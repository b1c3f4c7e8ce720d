#include "ui/controls/LumetDeviceDotButtonGroup.h"

#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "ui/controls/LumetArrowKeys.h"
#include "ui/controls/LumetDeviceDotPushButton.h"
#include "ui/controls/LumetImage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMetaType>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <optional>

namespace {

// The LED last picked, by name, key and location. It lives beyond any one
// group: the views build a new group for every load.
struct RememberedLed
{
    std::string name;
    std::string key;
    std::string location;

    bool Matches(const LedInfo* led) const
    {
        return led->GetName() == name && led->GetKey() == key && led->GetLocation() == location;
    }
};

std::optional<RememberedLed>& Remembered()
{
    static std::optional<RememberedLed> remembered;
    return remembered;
}

QString Translated(const std::string& text)
{
    return QCoreApplication::translate("LumetClass", text.c_str());
}

const QString AreaDir = QStringLiteral(":/Lumet/Resources/color_area/");

QString ImageButtonStyle(const QString& name, bool disabledLook)
{
    QString style = QStringLiteral("QPushButton{border:none;background-color:transparent;"
                                   "background-image:url(%1%2_n.png);background-repeat:no-repeat;}"
                                   "QPushButton:hover{background-image:url(%1%2_o.png);}"
                                   "QPushButton:pressed{background-image:url(%1%2_d.png);}")
                        .arg(AreaDir, name);
    if (disabledLook)
        style += QStringLiteral("QPushButton:disabled{background-image:url(%1%2_un.png);}").arg(AreaDir, name);
    return style;
}

// The indicators are background pictures, not "image:" ones: Qt makes an
// icon of every "image:" anew for each group that parses the sheet, and each
// icon painted leaves its own copies in the pixmap cache, so every view made
// again on APPLY added to what the panel kept. A background picture is
// cached once by its file name.
const QString ChoiceStyle = QStringLiteral(
    "QRadioButton, QCheckBox{background-color:transparent;color:#c8c8c8;font-family:arial;font-size:12px;"
    "spacing:6px;}"
    "QRadioButton:disabled, QCheckBox:disabled{color:#4d4d4d;}"
    "QRadioButton::indicator, QCheckBox::indicator{width:14px;height:14px;}"
    "QRadioButton::indicator:unchecked{background-image:url(:/Lumet/Resources/color_area/radio_off.png);}"
    "QRadioButton::indicator:unchecked:hover{background-image:url(:/Lumet/Resources/color_area/radio_off_o.png);}"
    "QRadioButton::indicator:checked{background-image:url(:/Lumet/Resources/color_area/radio_on.png);}"
    "QRadioButton::indicator:disabled{background-image:url(:/Lumet/Resources/color_area/radio_un.png);}"
    "QCheckBox::indicator:unchecked{background-image:url(:/Lumet/Resources/color_area/check_off.png);}"
    "QCheckBox::indicator:unchecked:hover{background-image:url(:/Lumet/Resources/color_area/check_off_o.png);}"
    "QCheckBox::indicator:checked{background-image:url(:/Lumet/Resources/color_area/check_on.png);}"
    "QCheckBox::indicator:disabled{background-image:url(:/Lumet/Resources/color_area/check_un.png);}");

} // namespace

LumetDeviceDotButtonGroup::LumetDeviceDotButtonGroup(QWidget* parent, PowerState ps)
    : QGroupBox(parent), powerState(ps), scene(ps == 1 ? 0 : 1)
{
    // The signals carry these aliases by name (queued connections, spies).
    qRegisterMetaType<ColorGradient>("ColorGradient");
    qRegisterMetaType<ColorSequence>("ColorSequence");

    setObjectName(QStringLiteral("deviceDotGroup"));
    // The choices' look is set here once for all three: Qt parses a sheet
    // again for every widget that carries its own.
    setStyleSheet(QStringLiteral("QGroupBox#deviceDotGroup{border:none;background-color:transparent;}") + ChoiceStyle);
    setGeometry(209, 224, 428, 178);

    colorLabel = new QLabel(Translated("COLOR"), this);
    colorLabel->setStyleSheet(QStringLiteral(
        "QLabel{background-color:transparent;border:none;color:#c8c8c8;font-family:arial;font-size:12px;}"));
    colorLabel->setGeometry(0, 0, 200, 16);

    ledArea = new QGroupBox(this);
    ledArea->setObjectName(QStringLiteral("ledArea"));
    ledArea->setStyleSheet(QStringLiteral("QGroupBox#ledArea{border:none;background-color:transparent;"
                                          "background-image:url(:/Lumet/Resources/color_area/led_area.png);"
                                          "background-repeat:no-repeat;}"));
    ledArea->resize(420, 90);

    mask = new QLabel(this);
    mask->setObjectName(QStringLiteral("ledAreaMask"));
    mask->setPixmap(LumetImage::LoadPixmap(AreaDir + QStringLiteral("led_area_mask.png")));
    mask->setGeometry(8, 58, 420, 90);
    mask->hide();

    previousPageButton = new QPushButton(ledArea);
    previousPageButton->setObjectName(QStringLiteral("previousPageButton"));
    previousPageButton->setStyleSheet(ImageButtonStyle(QStringLiteral("page_prev"), false));
    previousPageButton->setGeometry(0, 36, 18, 18);
    previousPageButton->setFocusPolicy(Qt::TabFocus);
    previousPageButton->setAccessibleName(Translated(QT_TRANSLATE_NOOP("LumetClass", "Previous LEDs")));
    previousPageButton->hide();
    nextPageButton = new QPushButton(ledArea);
    nextPageButton->setObjectName(QStringLiteral("nextPageButton"));
    nextPageButton->setStyleSheet(ImageButtonStyle(QStringLiteral("page_next"), false));
    nextPageButton->setGeometry(406, 36, 18, 18);
    nextPageButton->setFocusPolicy(Qt::TabFocus);
    nextPageButton->setAccessibleName(Translated(QT_TRANSLATE_NOOP("LumetClass", "Next LEDs")));
    nextPageButton->hide();

    firstRadio = new QRadioButton(this);
    firstRadio->setObjectName(QStringLiteral("firstRadio"));
    firstRadio->move(8, 20);
    firstRadio->setFixedWidth(100);
    firstRadio->setCheckable(true);
    firstRadio->setAutoExclusive(true);
    firstRadio->setChecked(true);
    secondRadio = new QRadioButton(this);
    secondRadio->setObjectName(QStringLiteral("secondRadio"));
    secondRadio->move(214, 20);
    secondRadio->setFixedWidth(100);
    secondRadio->setCheckable(true);
    secondRadio->setAutoExclusive(true);
    radioGroup = new QButtonGroup(this);
    radioGroup->addButton(firstRadio);
    radioGroup->addButton(secondRadio);

    colorSpanButton = new QPushButton(this);
    colorSpanButton->setObjectName(QStringLiteral("colorSpanButton"));
    colorSpanButton->resize(34, 20);
    colorSpanButton->setCheckable(false);
    colorSpanButton->setFocusPolicy(Qt::TabFocus);
    colorSpanButton->setAccessibleName(Translated(QT_TRANSLATE_NOOP("LumetClass", "Color for all LEDs")));
    colorSpanButton->setAccessibleDescription(Translated(QT_TRANSLATE_NOOP("LumetClass", "Gives every LED the color of the picked LED.")));
    colorSpanButton->setStyleSheet(ImageButtonStyle(QStringLiteral("color_span"), true));

    reverseCheckBox = new QCheckBox(Translated("Reverse"), this);
    reverseCheckBox->setObjectName(QStringLiteral("reverseCheckBox"));
    reverseCheckBox->move(8, 58);

    placeLedArea();
    placeColorSpanButton();
    mask->raise();

    connect(previousPageButton, &QPushButton::clicked, this, &LumetDeviceDotButtonGroup::onPageButtonClicked);
    connect(nextPageButton, &QPushButton::clicked, this, &LumetDeviceDotButtonGroup::onPageButtonClicked);
    connect(firstRadio, &QRadioButton::toggled, this, &LumetDeviceDotButtonGroup::OnRadioButtonChecked);
    connect(secondRadio, &QRadioButton::toggled, this, &LumetDeviceDotButtonGroup::OnRadioButtonChecked);
    connect(colorSpanButton, &QPushButton::clicked, this, &LumetDeviceDotButtonGroup::OnColorSpanButtonClicked);
    connect(reverseCheckBox, &QCheckBox::toggled, this, &LumetDeviceDotButtonGroup::OnReverseCheckBoxChecked);
}

void LumetDeviceDotButtonGroup::ForgetRememberedSelection()
{
    Remembered().reset();
}

void LumetDeviceDotButtonGroup::addDot(LedInfo* led)
{
    auto* dot = new LumetDeviceDotPushButton(ledArea, led);
    dot->move(0, 0);
    dot->setVisible(false);
    float hue = 0.0f, saturation = 0.0f, lightness = 0.0f;
    dot->ReadColor(scene, hue, saturation, lightness);
    // The setting already holds these values: only the dot takes the hue, so
    // that merely loading changes nothing that a profile would send.
    dot->SetDotHue(hue);
    dots.push_back(dot);
    connect(dot, &QPushButton::clicked, this, &LumetDeviceDotButtonGroup::onDeviceButtonClicked);
    dot->installEventFilter(this);
    pageCount = (static_cast<int>(dots.size()) + DotsPerPage - 1) / DotsPerPage;
}

void LumetDeviceDotButtonGroup::LoadDevice(DeviceMaster* device)
{
    // The picked dot goes with the dots: nothing may point at a deleted one.
    selected = nullptr;
    for (LumetDeviceDotPushButton* dot : dots)
        delete dot;
    dots.clear();
    pageCount = -1;
    pageIndex = -1;
    previousPageButton->hide();
    nextPageButton->hide();

    if (device) {
        for (LedInfo* led : device->GetLeds()) {
            const std::string location = led->GetLocation();
            if (powerState == 2 && (location == "6" || location == "7"))
                continue;
            // An LED the status gave no setting for this scene has no colour
            // to show or to edit.
            if (!led->GetSetting(scene))
                continue;
            addDot(led);
        }
    }
    onPageIndexChanged(0);
    restoreRememberedSelection();
    this->device = device;
}

void LumetDeviceDotButtonGroup::onPageIndexChanged(int p)
{
    if (p < 0 || p >= pageCount)
        return;
    pageIndex = p;
    const int first = DotsPerPage * p;
    const int last = std::min(first + DotsPerPage, static_cast<int>(dots.size()));
    for (LumetDeviceDotPushButton* dot : dots)
        dot->setVisible(false);
    for (int i = first; i < last; ++i) {
        LumetDeviceDotPushButton* dot = dots[static_cast<size_t>(i)];
        dot->move(19 + 67 * (i - first), 0);
        dot->setVisible(true);
    }
    selected = dots[static_cast<size_t>(first)];
    selected->setChecked(true);
    if (!Remembered())
        rememberSelected();
    previousPageButton->setVisible(p > 0);
    nextPageButton->setVisible(p < pageCount - 1);
    emit PageIndexChanged(p);
}

void LumetDeviceDotButtonGroup::onPageButtonClicked()
{
    onPageIndexChanged(sender() == previousPageButton ? pageIndex - 1 : pageIndex + 1);
    rememberSelected();
}

bool LumetDeviceDotButtonGroup::eventFilter(QObject* watched, QEvent* event)
{
    // At the first and the last LED nothing moves; nor while the mask takes
    // the LEDs' clicks.
    const int step = LumetArrowKeys::Step(event, Qt::Key_Left, Qt::Key_Right);
    if (step && LumetArrowKeys::IsAmong(dots, watched)) {
        LumetDeviceDotPushButton* next = mask->isVisible() ? nullptr : LumetArrowKeys::Neighbour(dots, watched, step);
        if (next) {
            const int page = static_cast<int>(std::find(dots.begin(), dots.end(), next) - dots.begin()) / DotsPerPage;
            if (page != pageIndex)
                onPageIndexChanged(page);
            LumetArrowKeys::Press(next, step);
        }
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

void LumetDeviceDotButtonGroup::onDeviceButtonClicked()
{
    auto* dot = qobject_cast<LumetDeviceDotPushButton*>(sender());
    if (!dot || std::find(dots.begin(), dots.end(), dot) == dots.end())
        return;
    selected = dot;
    rememberSelected();
    emit DeviceButtonChanged();
}

void LumetDeviceDotButtonGroup::rememberSelected()
{
    if (!selected)
        return;
    const LedInfo* led = selected->GetLed();
    Remembered() = RememberedLed{led->GetName(), led->GetKey(), led->GetLocation()};
}

void LumetDeviceDotButtonGroup::restoreRememberedSelection()
{
    const std::optional<RememberedLed>& remembered = Remembered();
    auto match = dots.end();
    if (remembered) {
        match = std::find_if(dots.begin(), dots.end(),
                             [&](const LumetDeviceDotPushButton* dot) { return remembered->Matches(dot->GetLed()); });
    }
    if (match == dots.end()) {
        // Gone (or never picked): the first LED of the page stands in for it.
        rememberSelected();
        return;
    }
    const int page = static_cast<int>(match - dots.begin()) / DotsPerPage;
    if (page != pageIndex)
        onPageIndexChanged(page);
    if (selected != *match) {
        selected = *match;
        selected->setChecked(true);
    }
}

void LumetDeviceDotButtonGroup::GetSelectedColor(float& hue, float& saturation, float& lightness) const
{
    hue = saturation = lightness = 0.0f;
    if (selected)
        selected->ReadColor(scene, hue, saturation, lightness);
}

void LumetDeviceDotButtonGroup::GetSelectedPosition(int& x, int& y)
{
    x = y = -1;
    if (!selected)
        return;
    const LedInfo::Point p = selected->ReadPosition();
    x = p.x;
    y = p.y;
}

bool LumetDeviceDotButtonGroup::IsSecondRadioChecked() const
{
    return !firstRadio->isChecked();
}

void LumetDeviceDotButtonGroup::OnPaletteColorChanged(float hue, float saturation, float lightness,
                                                      int triangleThumbPosX, int triangleThumbPosY)
{
    if (!selected)
        return;
    selected->WriteColor(scene, hue, saturation, lightness);
    selected->WritePosition(triangleThumbPosX, triangleThumbPosY);
}

void LumetDeviceDotButtonGroup::OnColorSpanButtonClicked()
{
    if (!selected)
        return;
    float hue, saturation, lightness;
    if (!selected->ReadColor(scene, hue, saturation, lightness))
        return;
    const LedInfo::Point position = selected->ReadPosition();
    if (sender() == colorSpanButton) {
        for (LumetDeviceDotPushButton* dot : dots) {
            if (dot == selected)
                continue;
            dot->WriteColor(scene, hue, saturation, lightness);
            dot->WritePosition(position.x, position.y);
        }
    }
    emit ColorSpanButtonClicked();
}

void LumetDeviceDotButtonGroup::OnRadioButtonChecked(bool checked)
{
    if (!checked)
        return;
    if (sender() == firstRadio)
        emit RadioButtonChecked(0);
    else if (sender() == secondRadio)
        emit RadioButtonChecked(1);
}

void LumetDeviceDotButtonGroup::OnReverseCheckBoxChecked(bool checked)
{
    emit ReverseCheckBoxChecked(checked ? 1 : 0);
}

void LumetDeviceDotButtonGroup::placeLedArea()
{
    const QPoint at(8, radiosShown ? 58 : 28);
    ledArea->move(at);
    mask->move(at);
}

void LumetDeviceDotButtonGroup::placeColorSpanButton()
{
    colorSpanButton->move(8, radiosShown ? 158 : 128);
}

void LumetDeviceDotButtonGroup::SetRadioButtonsVisible(bool visible)
{
    if (visible != radiosShown) {
        radiosShown = visible;
        placeLedArea();
        if (spanShown)
            placeColorSpanButton();
    }
    firstRadio->setVisible(visible);
    secondRadio->setVisible(visible);
}

void LumetDeviceDotButtonGroup::SetColorSpanVisible(bool visible)
{
    if (ledAreaHidden)
        return;
    if (visible && !spanShown)
        placeColorSpanButton();
    colorSpanButton->setVisible(visible);
    spanShown = visible;
}

void LumetDeviceDotButtonGroup::SetLedAreaHidden(bool hidden)
{
    if (hidden != ledAreaHidden) {
        if (hidden) {
            ledArea->hide();
            colorSpanButton->hide();
        } else {
            ledArea->show();
            placeColorSpanButton();
            colorSpanButton->setVisible(spanShown);
        }
        ledAreaHidden = hidden;
    }
    reverseCheckBox->hide();
}

void LumetDeviceDotButtonGroup::SetDotsEnabled(bool enabled)
{
    mask->setVisible(!enabled);
}

void LumetDeviceDotButtonGroup::SetFirstRadioText(const std::string& text)
{
    firstRadio->setText(Translated(text));
}

void LumetDeviceDotButtonGroup::SetSecondRadioText(const std::string& text)
{
    secondRadio->setText(Translated(text));
}

void LumetDeviceDotButtonGroup::SetColorSpanToolTip(const std::string& text)
{
    colorSpanButton->setToolTip(Translated(text));
}

void LumetDeviceDotButtonGroup::SetGradientFromSetting(DeviceMaster* device)
{
    const EffectSetting* setting = device ? device->GetGroupSetting() : nullptr;
    (setting && setting->colorType == 1 ? secondRadio : firstRadio)->setChecked(true);
    this->device = device;
}

void LumetDeviceDotButtonGroup::SetReverseFromSetting(DeviceMaster* device)
{
    const EffectSetting* setting = device ? device->GetGroupSetting() : nullptr;
    reverseCheckBox->setChecked(setting && setting->endToStart);
    this->device = device;
}
