// The start-up baseline: the smallest widgets program showing a frameless
// window of the panel's size, ending as the panel does (VORNLIGHT_QUIT_AFTER_MS).

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(860, 700);
    window.show();
    if (const char* ms = std::getenv("VORNLIGHT_QUIT_AFTER_MS"))
        QTimer::singleShot(std::atoi(ms), &app, &QCoreApplication::quit);
    return app.exec();
}
