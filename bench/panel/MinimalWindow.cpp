// The baseline of the start-up benchmark: the smallest Qt widgets program that
// shows a frameless window of the panel's size, built with the same compiler
// and flags, ending the same way the panel does under test
// (VORNLIGHT_QUIT_AFTER_MS).

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setFixedSize(860, 700);
    window.show();
    if (const char* ms = std::getenv("VORNLIGHT_QUIT_AFTER_MS"))
        QTimer::singleShot(std::atoi(ms), &app, &QCoreApplication::quit);
    return app.exec();
}
