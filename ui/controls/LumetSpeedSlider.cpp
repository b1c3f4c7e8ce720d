#include "ui/controls/LumetSpeedSlider.h"

#include <algorithm>

namespace {

struct KindShape
{
    int width;
    int notches;
    const char* folder;
    const char* background;
    const char* grooveWidth;
};

const KindShape* ShapeOf(int kind)
{
    static const KindShape shapes[] = {
        {246, 3, "size01", "slider_bg01.png", "176px"},
        {336, 5, "size02", "slider_bg02.png", "266px"},
    };
    return kind == 0 || kind == 1 ? &shapes[kind] : nullptr;
}

} // namespace

std::string LumetSpeedSlider::StyleSheetFor(int kind, int notch)
{
    const KindShape* shape = ShapeOf(kind);
    if (!shape || notch < 1 || notch > shape->notches)
        return std::string();
    const std::string dir = std::string(":/Lumet/Resources/component/slider/") + shape->folder + "/";
    return std::string("QSlider::handle{background-image: url(:/Lumet/Resources/component/slider/button_n.png);"
                       "background-repeat: no-repeat;} "
                       "QSlider::handle:pressed{background-image: url(:/Lumet/Resources/component/slider/"
                       "button_d.png);background-repeat: no-repeat;} "
                       "QSlider::handle:hover{background-image: url(:/Lumet/Resources/component/slider/"
                       "button_o.png);background-repeat: no-repeat;} "
                       "QSlider::handle:horizontal {width: 12px;} ") +
           "QSlider{background-image: url(" + dir + shape->background + ");background-repeat: no-repeat;} " +
           "QSlider::groove{background-image: url(" + dir + "rate" + std::to_string(notch) +
           ".png);background-repeat: no-repeat;height: 23px;width: " + shape->grooveWidth + ";}";
}

LumetSpeedSlider::LumetSpeedSlider(QWidget* parent, int x, int y, int kind, int minimum)
    : QSlider(Qt::Horizontal, parent), kind_(kind)
{
    setSingleStep(1);
    setPageStep(1);
    if (const KindShape* shape = ShapeOf(kind)) {
        setGeometry(x, y, shape->width, 36);
        setRange(minimum, minimum + shape->notches - 1);
        for (int notch = 1; notch <= shape->notches; ++notch)
            appendStyleSheet(StyleSheetFor(kind, notch));
    }
    // Start in the middle (position 0) where the range allows it.
    storedPosition = std::clamp(0, this->minimum(), maximum());
    if (sliderPosition() == storedPosition)
        applyStyle(storedPosition);
    else
        QSlider::setValue(storedPosition);
}

void LumetSpeedSlider::appendStyleSheet(std::string styleSheet)
{
    styleSheets.push_back(std::move(styleSheet));
}

int LumetSpeedSlider::value() const
{
    return spansZero() ? -storedPosition : storedPosition;
}

void LumetSpeedSlider::setValue(int aValue)
{
    // A stored value from a document may lie outside the range: take the
    // nearest end, as the slider itself would. Negated in a wider type: the
    // lowest int has no positive counterpart.
    const long long wanted = spansZero() ? -static_cast<long long>(aValue) : aValue;
    storedPosition = static_cast<int>(std::clamp<long long>(wanted, minimum(), maximum()));
    if (sliderPosition() == storedPosition)
        applyStyle(storedPosition);
    else
        QSlider::setValue(storedPosition);
}

void LumetSpeedSlider::sliderChange(SliderChange change)
{
    if (change != SliderValueChange)
        return;
    const int position = sliderPosition();
    if (position != storedPosition)
        storedPosition = position;
    applyStyle(position);
}

void LumetSpeedSlider::applyStyle(int position)
{
    const int index = position - minimum();
    if (index < 0 || index >= static_cast<int>(styleSheets.size()))
        return;
    shownStyle = index;
    setStyleSheet(QString::fromStdString(styleSheets[static_cast<size_t>(index)]));
}
