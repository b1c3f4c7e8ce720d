#pragma once

// The GUI thread's share of the lighting service's object system: on Windows
// a single-threaded COM apartment, entered while this object lives (the
// service's objects can only be created inside one); elsewhere nothing.
class LumetApartment
{
public:
    LumetApartment();
    ~LumetApartment();
    LumetApartment(const LumetApartment&) = delete;
    LumetApartment& operator=(const LumetApartment&) = delete;

    // Whether this object entered the apartment and so must leave it again.
    bool IsEntered() const { return entered; }

private:
    bool entered = false;
};
