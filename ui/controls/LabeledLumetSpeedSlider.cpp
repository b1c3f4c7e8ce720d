#include "ui/controls/LabeledLumetSpeedSlider.h"

#include "ui/controls/LumetSpeedSlider.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

QString Translated(const std::string& text)
{
    return QCoreApplication::translate("LumetClass", text.c_str());
}

} // namespace

LabeledLumetSpeedSlider::LabeledLumetSpeedSlider(QWidget* parent, int x, int y, int kind, int minimum)
    : QGroupBox(parent)
{
    titleLabel = new QLabel(this);
    titleLabel->move(15, 0);
    titleLabel->setFixedWidth(300);
    slider_ = new LumetSpeedSlider(this, 0, 22, kind, minimum);
    slider_->lower();
    leftLabel = new QLabel(this);
    rightLabel = new QLabel(this);
    // The captions' boxes reach 4 pixels below the group; set at their top, a
    // descender ("Langsam") stays inside it.
    leftLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    rightLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);

    // The labels' looks live in the group's one sheet, each picked by name:
    // Qt parses a sheet again for every widget that carries one.
    titleLabel->setObjectName(QStringLiteral("speedTitle"));
    leftLabel->setObjectName(QStringLiteral("speedLeftCaption"));
    rightLabel->setObjectName(QStringLiteral("speedRightCaption"));
    setStyleSheet(QStringLiteral(
        "QGroupBox {border: 0px;}"
        "QLabel#speedTitle{background-color:transparent;border:none;color:#c8c8c8;font-family:arial;font-size:12px;}"
        "QLabel#speedLeftCaption,QLabel#speedRightCaption{background-color: transparent;border:none;color:#8c8c8c;"
        "font-family: arial;font-size: 12px;}"));

    connect(slider_, &QSlider::valueChanged, this, &LabeledLumetSpeedSlider::sliderPositionChanged);

    if (kind == 0) {
        setGeometry(x, y, 246, 58);
        leftPlace = QRect(20, 42, 35, 20);
        rightPlace = QRect(198, 42, 35, 20);
    } else if (kind == 1) {
        setGeometry(x, y, 336, 58);
        leftPlace = QRect(20, 42, 35, 20);
        rightPlace = QRect(286, 42, 35, 20);
    }
    if (leftPlace.isValid()) {
        leftLabel->setGeometry(leftPlace);
        rightLabel->setGeometry(rightPlace);
    }
}

QRect LabeledLumetSpeedSlider::CaptionGeometry(const QRect& place, int textWidth, bool keepRightEdge)
{
    if (textWidth <= place.width())
        return place;
    QRect wide = place;
    if (keepRightEdge)
        wide.setLeft(place.right() + 1 - textWidth);
    else
        wide.setWidth(textWidth);
    return wide;
}

// Translations run longer than the English "Slow" and "Fast" ("Langsam",
// "Statisch"); a caption is widened rather than cut off.
void LabeledLumetSpeedSlider::fitCaption(QLabel* label, const QRect& place, bool keepRightEdge)
{
    if (!place.isValid())
        return;
    label->ensurePolished();
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text()) + 2;
    label->setGeometry(CaptionGeometry(place, textWidth, keepRightEdge));
}

void LabeledLumetSpeedSlider::setTitle(const std::string& text)
{
    titleLabel->setText(Translated(text));
    slider_->setAccessibleName(titleLabel->text());
}

void LabeledLumetSpeedSlider::setLeftText(const std::string& text)
{
    leftLabel->setText(Translated(text));
    fitCaption(leftLabel, leftPlace, false);
    describeEnds();
}

void LabeledLumetSpeedSlider::setRightText(const std::string& text)
{
    rightLabel->setText(Translated(text));
    fitCaption(rightLabel, rightPlace, true);
    describeEnds();
}

// The captions stand beside the slider, not in it: a screen reader learns
// them from the description.
void LabeledLumetSpeedSlider::describeEnds()
{
    slider_->setAccessibleDescription(QCoreApplication::translate("LumetClass", "From %1 at the left to %2 at the right.")
                                          .arg(leftLabel->text(), rightLabel->text()));
}

void LabeledLumetSpeedSlider::setEndTexts(const std::string& left, const std::string& right)
{
    setLeftText(left);
    setRightText(right);
}

int LabeledLumetSpeedSlider::minimum() const
{
    return slider_->minimum();
}

int LabeledLumetSpeedSlider::maximum() const
{
    return slider_->maximum();
}

int LabeledLumetSpeedSlider::value() const
{
    return slider_->value();
}

void LabeledLumetSpeedSlider::setValue(int aValue)
{
    slider_->setValue(aValue);
}

void LabeledLumetSpeedSlider::sliderPositionChanged(int)
{
    emit valueChanged(slider_->value());
}
