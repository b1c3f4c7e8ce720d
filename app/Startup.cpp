#include "app/Startup.h"

#include <QApplication>
#include <QWidget>

int RunPanel(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w(nullptr, Qt::FramelessWindowHint);
    w.setWindowTitle(QStringLiteral("Vornlight Beta"));
    w.resize(860, 700);
    w.show();
    return app.exec();
}
