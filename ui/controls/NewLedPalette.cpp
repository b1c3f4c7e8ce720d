#include "ui/controls/NewLedPalette.h"

#include "ui/controls/LedColor.h"
#include "ui/controls/LedPaletteTriangleThumb.h"
#include "ui/controls/NewLedPaletteThumb.h"
#include "ui/controls/PaletteGeometry.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>

#include <cmath>

using namespace PaletteGeometry;

namespace {

const QString ResourceDir = QStringLiteral(":/Lumet/Resources/new palette/");

// Hue (0..1) of a palette angle that may lie a turn below zero.
float HueOfAngle(float angle)
{
    return (angle < 0.0f ? angle + TwoPi : angle) / TwoPi;
}

// One of the palette's images, decoded once per process (the GUI thread's):
// every colour view makes a palette, and APPLY and UNDO make the view afresh.
QImage SourceImage(const QString& name)
{
    static QHash<QString, QImage> decoded;
    auto it = decoded.constFind(name);
    if (it == decoded.constEnd())
        it = decoded.insert(name, QImage(ResourceDir + name));
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
    placeTriangleThumb(TriangleCorners[1]);
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
    redButton = createPureColorButton("pure_color_red.png", 36);
    greenButton = createPureColorButton("pure_color_green.png", 63);
    blueButton = createPureColorButton("pure_color_blue.png", 90);

    // The arc from the start thumb clockwise to the hue thumb.
    sweep_ = (startAngle_ > hueAngle_ ? hueAngle_ + TwoPi : hueAngle_) - startAngle_;
    setMode(0);
}

QPushButton* NewLedPalette::createPureColorButton(const char* image, int y)
{
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(image).section(QLatin1Char('.'), 0, 0));
    button->setGeometry(0, y, 10, 10);
    button->setFocusPolicy(Qt::NoFocus);
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
    update();
}

void NewLedPalette::setColor(float hue, float saturation, float lightness, bool moveTriangleThumb)
{
    if (mode_ == 1 || mode_ == 3)
        return;
    if (moveTriangleThumb)
        placeTriangleThumb(PointForColor(saturation, lightness));
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
    const QPoint centre = triangleThumb->pos() + QPoint(triangleThumb->width() / 2, triangleThumb->height() / 2);
    const SaturationLightness sl = ColorAtPoint(static_cast<float>(centre.x()), static_cast<float>(centre.y()));
    saturation = sl.saturation;
    lightness = sl.lightness;
}

void NewLedPalette::triangleThumbPos(int& x, int& y) const
{
    x = triangleThumb->x();
    y = triangleThumb->y();
}

void NewLedPalette::moveTriangleThumb(int x, int y)
{
    triangleThumb->move(x, y);
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

    const float endAngle = end * TwoPi;
    if (endAngle != hueAngle_) {
        hueAngle_ = endAngle;
        liveHueAngle_ = endAngle;
        refreshRing();
        emit onPositionChanged();
        emit onColorChanged();
    }
    const float newStart = start * TwoPi;
    if (newStart != startAngle_) {
        startAngle_ = newStart;
        liveStartAngle_ = newStart;
        moveRingThumb(startThumb, startAngle_);
        update();
        emit onPositionChanged();
        emit onColorChanged();
    }
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

void NewLedPalette::placeTriangleThumb(QPoint centre)
{
    triangleThumb->move(TriangleThumbTopLeft(centre, triangleThumb->size()));
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
        const std::optional<float> angle = AngleOfPoint(p);
        if (angle && *angle != hueAngle_) {
            hueAngle_ = *angle;
            liveHueAngle_ = *angle;
            refreshRing();
            emit onPositionChanged();
            emit onColorChanged();
        }
        return;
    }
    // The triangle only takes presses while it is shown; in the other modes a
    // press would change saturation and lightness the user cannot see.
    if (mode_ != 0)
        return;
    placeTriangleThumb(p);
    emit onColorChanged();
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
    if (mode_ == 1) {
        sweep_ += WrapDeltaOnce(a - liveHueAngle_);
        // The end thumb stops on the start thumb and after a full turn.
        if (sweep_ < 0.0f) {
            sweep_ = 0.0f;
            a = liveHueAngle_;
        } else if (sweep_ > TwoPi) {
            sweep_ = TwoPi;
            a = liveHueAngle_;
        }
    }
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
    if (liveHueAngle_ != hueAngle_) {
        hueAngle_ = liveHueAngle_;
        refreshRing();
        emit onPositionChanged();
        emit onColorChanged();
    }
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
    if (mode_ == 1) {
        sweep_ -= WrapDeltaOnce(a - liveStartAngle_);
        if (sweep_ < 0.0f) {
            sweep_ = 0.0f;
            a = liveStartAngle_;
        } else if (sweep_ > TwoPi) {
            sweep_ = TwoPi;
            a = liveStartAngle_;
        }
    }
    liveStartAngle_ = a;
    moveRingThumb(startThumb, a);
}

void NewLedPalette::onStartThumbMouseRelease(QMouseEvent*)
{
    if (!startDragging)
        return;
    startDragging = false;
    if (liveStartAngle_ != startAngle_) {
        startAngle_ = liveStartAngle_;
        moveRingThumb(startThumb, startAngle_);
        emit onPositionChanged();
        emit onColorChanged();
    }
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
    placeTriangleThumb(dragTopLeft(triangleThumb, trianglePressPoint, event) + half);
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
