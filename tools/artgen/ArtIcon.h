#pragma once

#include <QImage>

// The program's icon for the desktop (menus, launchers), square, at any size.
QImage drawAppIcon(int size);
