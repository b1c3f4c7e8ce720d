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
    rightLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    titleLabel->setStyleSheet(QStringLiteral(
        "QLabel{background-color:transparent;border:none;color:#c8c8c8;font-family:arial;font-size:12px;}"));
    const QString caption = QStringLiteral(
        "QLabel{background-color: transparent;border:none;color:#8c8c8c;font-family: arial;font-size: 12px;}");
    leftLabel->setStyleSheet(caption);
    rightLabel->setStyleSheet(caption);
    setStyleSheet(QStringLiteral("QGroupBox {border: 0px;}"));

    connect(slider_, &QSlider::valueChanged, this, &LabeledLumetSpeedSlider::sliderPositionChanged);

    if (kind == 0) {
        setGeometry(x, y, 246, 58);
        leftLabel->setGeometry(20, 42, 35, 20);
        rightLabel->setGeometry(198, 42, 35, 20);
    } else if (kind == 1) {
        setGeometry(x, y, 336, 58);
        leftLabel->setGeometry(20, 42, 35, 20);
        rightLabel->setGeometry(286, 42, 35, 20);
    }
}

void LabeledLumetSpeedSlider::setTitle(const std::string& text)
{
    titleLabel->setText(Translated(text));
}

void LabeledLumetSpeedSlider::setLeftText(const std::string& text)
{
    leftLabel->setText(Translated(text));
}

void LabeledLumetSpeedSlider::setRightText(const std::string& text)
{
    rightLabel->setText(Translated(text));
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
