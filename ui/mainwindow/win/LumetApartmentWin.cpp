#include "ui/mainwindow/LumetApartment.h"

#include <objbase.h>

LumetApartment::LumetApartment()
{
    // S_FALSE (already entered on this thread) still needs its matching
    // CoUninitialize; a thread in another apartment model gets none.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    entered = SUCCEEDED(result);
}

LumetApartment::~LumetApartment()
{
    if (entered)
        CoUninitialize();
}
