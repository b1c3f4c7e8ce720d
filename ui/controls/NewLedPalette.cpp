#include "ui/controls/NewLedPalette.h"

#include "ui/controls/LedColor.h"
#include "ui/controls/LedPaletteTriangleThumb.h"
#include "ui/controls/LumetFocusFrame.h"
#include "ui/controls/LumetImage.h"
#include "ui/controls/NewLedPaletteThumb.h"
#include "ui/controls/PaletteGeometry.h"

#include <QCoreApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>

#include <cmath>
#include <cstdlib>

using namespace PaletteGeometry;

namespace {

const QString ResourceDir = QStringLiteral(":/Lumet/Resources/new palette/");

// Hue (0..1) of a palette angle that may lie a turn below zero.
float HueOfAngle(float angle)
{
    return (angle < 0.0f ? angle + TwoPi : angle) / TwoPi;
}

// One keyboard step on the ring, and in the triangle's lightness.
const float Degree = TwoPi / 360.0f;
const float LightnessStep = 0.01f;

// One of the palette's images at the screen's density, decoded once per
// process (the GUI thread's): every colour view makes a palette, and APPLY
// and UNDO make the view afresh.
QImage SourceImage(const QString& name)
{
    static QHash<QString, QImage> decoded;
    const QString path = LumetImage::PathFor(ResourceDir + name, LumetImage::ScreenRatio());
    auto it = decoded.constFind(path);
    if (it == decoded.constEnd())
        it = decoded.insert(path, QImage(path));
    return *it;
}

} // namespace

NewLedPalette::NewLedPalette(QWidget* parent)
    : QWidget(parent),
      colorRing(SourceImage(QStringLiteral("hue_00.png"))),
      greyRing(SourceImage(QStringLiteral("hue_01.png"))),
      triangleSource(SourceImage(QStringLiteral("triangle.png"))),
      startAngle_(Pi),
      liveStartAngle_(Pi)
{
    triangle = triangleSource;

    hueThumb = new NewLedPaletteThumb(this, 1);
    hueThumb->setObjectName(QStringLiteral("hueThumb"));
    hueThumb->setGeometry(20, 20, RingThumbSide, RingThumbSide);
    triangleThumb = new LedPaletteTriangleThumb(this);
    triangleThumb->setObjectName(QStringLiteral("triangleThumb"));
    triangleThumb->setGeometry(0, 0, TriangleThumbSide, TriangleThumbSide);
    startThumb = new NewLedPaletteThumb(this, 0);
    startThumb->setObjectName(QStringLiteral("startThumb"));
    startThumb->setGeometry(0, 0, RingThumbSide, RingThumbSide);
    hueThumb->raise();

    connect(hueThumb, &NewLedPaletteThumb::onMouseMove, this, &NewLedPalette::onThumbMouseMove);
    connect(hueThumb, &NewLedPaletteThumb::onMousePress, this, &NewLedPalette::onThumbMousePress);
    connect(hueThumb, &NewLedPaletteThumb::onMouseRelease, this, &NewLedPalette::onThumbMouseRelease);
    connect(startThumb, &NewLedPaletteThumb::onMouseMove, this, &NewLedPalette::onStartThumbMouseMove);
    connect(startThumb, &NewLedPaletteThumb::onMousePress, this, &NewLedPalette::onStartThumbMousePress);
    connect(startThumb, &NewLedPaletteThumb::onMouseRelease, this, &NewLedPalette::onStartThumbMouseRelease);
    connect(triangleThumb, &LedPaletteTriangleThumb::onMouseMove, this, &NewLedPalette::onTriangleThumbMouseMove);
    connect(triangleThumb, &LedPaletteTriangleThumb::onMousePress, this, &NewLedPalette::onTriangleThumbMousePress);
    connect(triangleThumb, &LedPaletteTriangleThumb::onMouseRelease, this,
            &NewLedPalette::onTriangleThumbMouseRelease);

    refreshRing();
    moveRingThumb(startThumb, startAngle_);
    setTriangleColour(ColorAtPoint(TriangleCorners[1]));
    emit onColorChanged();

    // One sheet for the three pure-colour buttons, each rule picked by the
    // button's name: Qt parses a sheet again for every widget that carries one.
    static const QString pureColorStyle = [] {
        QString style;
        for (const char* name : {"pure_color_red", "pure_color_green", "pure_color_blue"})
            style += QStringLiteral("QPushButton#%1{background-color: transparent;border:none;text-align: "
                                    "bottom;color:#3e3e3e;background-image: url(:/Lumet/Resources/new "
                                    "palette/%1.png);}")
                         .arg(QLatin1String(name));
        return style;
    }();
    setStyleSheet(pureColorStyle);
    // The buttons read the sheet as they are made. Qt keeps that parse under
    // the palette and lets it go with the palette only once it has polished
    // the palette: one made and dropped before it ever showed (the comet
    // views make their controls twice) would leave it behind for good.
    ensurePolished();
    redButton = createPureColorButton("pure_color_red.png", 36);
    greenButton = createPureColorButton("pure_color_green.png", 63);
    blueButton = createPureColorButton("pure_color_blue.png", 90);
    redButton->setAccessibleName(QCoreApplication::translate("LumetClass", "Red"));
    greenButton->setAccessibleName(QCoreApplication::translate("LumetClass", "Green"));
    blueButton->setAccessibleName(QCoreApplication::translate("LumetClass", "Blue"));
    setAccessibleName(QCoreApplication::translate("LumetClass", "Color palette"));
    // The focus frame goes round the ring, not the empty space below it.
    setProperty(LumetFocusFrame::AreaProperty, QRect(ImageLeft, ImageTop, HighlightSide, HighlightSide));

    // The arc from the start thumb clockwise to the hue thumb.
    sweep_ = (startAngle_ > hueAngle_ ? hueAngle_ + TwoPi : hueAngle_) - startAngle_;
    setMode(0);
}

QPushButton* NewLedPalette::createPureColorButton(const char* image, int y)
{
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(image).section(QLatin1Char('.'), 0, 0));
    button->setGeometry(0, y, 10, 10);
    // Reached by Tab; a click leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QPushButton::clicked, this, &NewLedPalette::onPureColorClicked);
    return button;
}

void NewLedPalette::setMode(int mode)
{
    mode_ = mode;
    if (mode >= 0 && mode <= 3) {
        hueThumb->setVisible(mode != 3);
        startThumb->setVisible(mode == 1);
        triangleThumb->setVisible(mode == 0);
        const bool buttons = mode == 0 || mode == 2;
        redButton->setVisible(buttons);
        greenButton->setVisible(buttons);
        blueButton->setVisible(buttons);
    }
    describeMode();
    update();
}

void NewLedPalette::describeMode()
{
    const char* keys = nullptr;
    switch (mode_) {
    case 0:
        keys = QT_TRANSLATE_NOOP("LumetClass", "Left and Right turn the hue; Up and Down make the color darker or lighter.");
        break;
    case 1:
        keys = QT_TRANSLATE_NOOP("LumetClass", "Left and Right move the end of the color range; Up and Down move its start.");
        break;
    case 2:
        keys = QT_TRANSLATE_NOOP("LumetClass", "Left and Right turn the hue.");
        break;
    default:
        break;
    }
    // Inactive, the palette takes no input from the keyboard either.
    setFocusPolicy(keys ? Qt::StrongFocus : Qt::NoFocus);
    setAccessibleDescription(keys ? QCoreApplication::translate("LumetClass", keys) : QString());
}

void NewLedPalette::setColor(float hue, float saturation, float lightness, bool moveTriangleThumb)
{
    if (mode_ == 1 || mode_ == 3)
        return;
    if (moveTriangleThumb)
        setTriangleColour(LimitedColor(saturation, lightness));
    // Hue goes round: a status's 1.25 is a quarter turn, and a number that is
    // no hue at all shows as red rather than as a thumb off the ring.
    if (!(hue >= 0.0f && hue <= 1.0f))
        hue = std::isfinite(hue) ? hue - std::floor(hue) : 0.0f;
    hueAngle_ = hue * TwoPi;
    liveHueAngle_ = hueAngle_;
    refreshRing();
    emit onColorChanged();
}

void NewLedPalette::getColor(float& hue, float& saturation, float& lightness) const
{
    hue = HueOfAngle(hueAngle_);
    saturation = triangleColour.saturation;
    lightness = triangleColour.lightness;
}

void NewLedPalette::triangleThumbPos(int& x, int& y) const
{
    x = triangleThumb->x();
    y = triangleThumb->y();
}

void NewLedPalette::moveTriangleThumb(int x, int y)
{
    const QPoint at = triangleThumb->pos();
    // Within a pixel of the thumb's own place, the position was rounded from
    // the colour in force (perhaps under another rule of rounding): that
    // colour stays. Further off, the thumb shows a colour of its own.
    if (std::abs(x - at.x()) > 1 || std::abs(y - at.y()) > 1)
        triangleColour = ColorAtPoint(QPointF(x + triangleThumb->width() * 0.5, y + triangleThumb->height() * 0.5));
    triangleThumb->move(x, y);
}

void NewLedPalette::setTriangleColour(SaturationLightness colour)
{
    triangleColour = colour;
    triangleThumb->move(TriangleThumbTopLeft(PointForColor(colour.saturation, colour.lightness), triangleThumb->size()));
}

void NewLedPalette::setRange(float start, float sweep)
{
    if (mode_ != 1 || !(start >= 0.0f && start <= 1.0f) || !(sweep >= 0.0f && sweep <= 1.0f))
        return;
    sweep_ = 2.0f * sweep * Pi;
    // The end from the fractions given, so it matches the start and sweep exactly.
    float end = start + sweep;
    if (end > 1.0f)
        end -= 1.0f;

    commitHue(end * TwoPi);
    commitStart(start * TwoPi);
}

void NewLedPalette::commitHue(float angle)
{
    if (angle == hueAngle_)
        return;
    hueAngle_ = angle;
    liveHueAngle_ = angle;
    refreshRing();
    emit onPositionChanged();
    emit onColorChanged();
}

void NewLedPalette::commitStart(float angle)
{
    if (angle == startAngle_)
        return;
    startAngle_ = angle;
    liveStartAngle_ = angle;
    moveRingThumb(startThumb, startAngle_);
    emit onPositionChanged();
    emit onColorChanged();
}

float NewLedPalette::followSweep(float from, float to, float sign)
{
    sweep_ += sign * WrapDeltaOnce(to - from);
    if (sweep_ < 0.0f) {
        sweep_ = 0.0f;
        return from;
    }
    if (sweep_ > TwoPi) {
        sweep_ = TwoPi;
        return from;
    }
    return to;
}

void NewLedPalette::getRange(float& start, float& sweep) const
{
    start = startAngle_ / TwoPi;
    sweep = sweep_ / TwoPi;
}

void NewLedPalette::refreshRing()
{
    moveRingThumb(hueThumb, hueAngle_);
    recolorTriangle(HueOfAngle(liveHueAngle_));
    update();
}

void NewLedPalette::recolorTriangle(float hue)
{
    if (hue == triangleHue)
        return;
    // Every new view makes a palette that tints the same triangle to the same
    // hue again (a quarter of an APPLY): the last tint is kept for the process.
    static struct
    {
        qint64 source = 0;
        float hue = -1.0f;
        QImage image;
    } lastTint;
    if (lastTint.source != triangleSource.cacheKey() || lastTint.hue != hue) {
        lastTint.image = LedColor::TintToHue(triangleSource, hue);
        lastTint.source = triangleSource.cacheKey();
        lastTint.hue = hue;
    }
    triangle = lastTint.image;
    triangleHue = hue;
}

void NewLedPalette::moveRingThumb(NewLedPaletteThumb* thumb, float angle)
{
    thumb->move(RingThumbTopLeft(angle, hueThumb->size()));
    thumb->setAngle(angle);
    thumb->update();
    update();
}

QPoint NewLedPalette::dragTopLeft(const QWidget* thumb, QPoint pressPoint, const QMouseEvent* event)
{
    return thumb->pos() - pressPoint + event->pos();
}

void NewLedPalette::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->pos();
    if (IsOnRing(p, hueThumb->height() / 2)) {
        if (mode_ != 0 && mode_ != 2)
            return;
        // The angle of the point pressed: the hue under the pointer.
        if (const std::optional<float> angle = AngleOfPoint(p))
            commitHue(*angle);
        return;
    }
    // The triangle only takes presses while it is shown; in the other modes a
    // press would change saturation and lightness the user cannot see.
    if (mode_ != 0)
        return;
    setTriangleColour(ColorAtPoint(ClampToTriangle(p)));
    emit onColorChanged();
}

void NewLedPalette::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool dragging = hueDragging || startDragging || triangleDragging;
    if (dragging || event->modifiers() != Qt::NoModifier || mode_ < 0 || mode_ > 2) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        // Clockwise is the way the hue grows.
        const float turned = WrapAngleOnce(hueAngle_ + (key == Qt::Key_Right ? Degree : -Degree));
        commitHue(mode_ == 1 ? followSweep(hueAngle_, turned, 1.0f) : turned);
        return;
    }
    const bool up = key == Qt::Key_Up;
    if (up || key == Qt::Key_Down) {
        if (mode_ == 0) {
            // The dark corner is at the top: Up darkens, Down lightens.
            setTriangleColour(StepLightness(triangleColour, up ? -LightnessStep : LightnessStep));
            emit onColorChanged();
            return;
        }
        if (mode_ == 1) {
            const float turned = WrapAngleOnce(startAngle_ + (up ? -Degree : Degree));
            commitStart(followSweep(startAngle_, turned, -1.0f));
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void NewLedPalette::onThumbMousePress(QMouseEvent* event)
{
    hueDragging = event->button() == Qt::LeftButton;
    if (!hueDragging)
        return;
    huePressPoint = event->pos();
    hueThumb->raise();
}

void NewLedPalette::onThumbMouseMove(QMouseEvent* event)
{
    if (!hueDragging)
        return;
    const std::optional<float> found =
        AngleOfThumbTopLeft(dragTopLeft(hueThumb, huePressPoint, event), hueThumb->size());
    if (!found)
        return; // at the ring centre: no angle, the thumb stays
    float a = WrapAngleOnce(*found);
    // The end thumb stops on the start thumb and after a full turn.
    if (mode_ == 1)
        a = followSweep(liveHueAngle_, a, 1.0f);
    liveHueAngle_ = a;
    recolorTriangle(HueOfAngle(a));
    moveRingThumb(hueThumb, a);
    emit onPositionChanging(liveHueAngle_);
}

void NewLedPalette::onThumbMouseRelease(QMouseEvent*)
{
    if (!hueDragging)
        return;
    hueDragging = false;
    commitHue(liveHueAngle_);
    refreshRing();
}

void NewLedPalette::onStartThumbMousePress(QMouseEvent* event)
{
    startDragging = event->button() == Qt::LeftButton;
    if (!startDragging)
        return;
    startPressPoint = event->pos();
    startThumb->raise();
}

void NewLedPalette::onStartThumbMouseMove(QMouseEvent* event)
{
    if (!startDragging)
        return;
    const std::optional<float> found =
        AngleOfThumbTopLeft(dragTopLeft(startThumb, startPressPoint, event), startThumb->size());
    if (!found)
        return;
    float a = WrapAngleOnce(*found);
    if (mode_ == 1)
        a = followSweep(liveStartAngle_, a, -1.0f);
    liveStartAngle_ = a;
    moveRingThumb(startThumb, a);
}

void NewLedPalette::onStartThumbMouseRelease(QMouseEvent*)
{
    if (!startDragging)
        return;
    startDragging = false;
    commitStart(liveStartAngle_);
    moveRingThumb(startThumb, startAngle_);
}

void NewLedPalette::onTriangleThumbMousePress(QMouseEvent* event)
{
    triangleDragging = event->button() == Qt::LeftButton;
    if (triangleDragging)
        trianglePressPoint = event->pos();
}

void NewLedPalette::onTriangleThumbMouseMove(QMouseEvent* event)
{
    if (!triangleDragging)
        return;
    const QPoint half(triangleThumb->width() / 2, triangleThumb->height() / 2);
    setTriangleColour(ColorAtPoint(ClampToTriangle(dragTopLeft(triangleThumb, trianglePressPoint, event) + half)));
    emit onColorChanged();
    update();
}

void NewLedPalette::onTriangleThumbMouseRelease(QMouseEvent*)
{
    triangleDragging = false;
}

void NewLedPalette::onPureColorClicked()
{
    const QObject* button = sender();
    float hue;
    if (button == redButton)
        hue = 0.0f;
    else if (button == greenButton)
        hue = 0.33333334f;
    else if (button == blueButton)
        hue = 0.6666667f;
    else
        return;
    setColor(hue, 1.0f, 0.5f, true);
}

void NewLedPalette::paintEvent(QPaintEvent*)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    const QPoint origin(ImageLeft, ImageTop);
    switch (mode_) {
    case 0:
        painter.drawImage(origin, colorRing);
        painter.drawImage(origin, triangle);
        break;
    case 1:
        painter.drawImage(origin, greyRing);
        painter.save();
        painter.setClipRegion(RangeHighlightRegion(liveStartAngle_, sweep_));
        painter.drawImage(origin, colorRing);
        painter.restore();
        break;
    case 2:
    case 3:
        painter.drawImage(origin, isEnabled() ? colorRing : greyRing);
        break;
    default:
        break;
    }
}
