#pragma once

#include <QImage>

class QPainter;

// The program's icon for the desktop (menus, launchers), square, at any size.
QImage drawAppIcon(int size);

// The icon's emblem without its tile, on a 64-unit grid: scale the painter to
// draw it at another size.
void paintEmblem(QPainter& p);
