#include "ui/views/LumetNullView.h"

#include <QCoreApplication>
#include <QLabel>

LumetNullView::LumetNullView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                             int effectId)
    : LumetBaseView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetNullView::InitUi();
}

LumetNullView::~LumetNullView()
{
    delete messageLabel;
}

void LumetNullView::ShowView(bool)
{
    show();
}

void LumetNullView::SetMessage(const std::string& message)
{
    messageLabel->setText(QCoreApplication::translate("LumetClass", message.c_str()));
}

void LumetNullView::InitUi()
{
    messageLabel = new QLabel(this);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    // x 209, y 135 of the page.
    messageLabel->move(28, 38);
    messageLabel->setFixedWidth(500);
    // Translations can run past 500 pixels; the label's height holds two lines.
    messageLabel->setWordWrap(true);
    messageLabel->setStyleSheet(QStringLiteral(
        "QLabel{background-color:transparent;border:none;color:#8c8c8c;font-family:arial;font-size:12px;}"));
}

void LumetNullView::LoadDefaults() {}

void LumetNullView::LoadFromModel() {}

std::string LumetNullView::BuildXmlProfile()
{
    return std::string();
}
