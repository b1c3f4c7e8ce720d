#include "ui/mainwindow/LumetApartment.h"

// D-Bus needs no per-thread set-up.
LumetApartment::LumetApartment() = default;

LumetApartment::~LumetApartment() = default;
