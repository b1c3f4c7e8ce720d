#include "ui/mainwindow/Lumet.h"

#include "model/DeviceAggregator.h"
#include "ui/views/LumetViewFactory.h"

#include <QCoreApplication>

Lumet::Lumet(QWidget* parent, bool capXml, bool statusXml, bool setProfileXml)
    : QWidget(parent, Qt::FramelessWindowHint)
{
    DeviceAggregator::SetDumpCapability(capXml);
    DeviceAggregator::SetDumpStatus(statusXml);
    LumetViewFactory::SetKeepProfileFile(setProfileXml);
    setWindowTitle(QCoreApplication::translate("LumetClass", "Vornlight Beta"));
    setFixedSize(860, 700);
}
