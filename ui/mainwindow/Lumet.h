#pragma once

#include <QWidget>

// The panel's main window: frameless, 860 x 700, titled "Vornlight Beta".
// Takes the three diagnostic switches of the command line and hands them to
// the device model and the views before anything is loaded.
class Lumet : public QWidget
{
    Q_OBJECT

public:
    Lumet(QWidget* parent, bool capXml, bool statusXml, bool setProfileXml);
};
