#pragma once

#include <string>

// The first level of a profile document as the service reads it: the
// protocol header, the version that goes with the function, the function and
// the device the document names. Read strictly: whatever does not fit is a
// fault that names the element.
struct ProfileDocument
{
    int funcid = 0;
    std::string deviceKey;

    // Fills doc from text; false with the fault when the text is not a
    // profile document.
    static bool Parse(const std::string& text, ProfileDocument& doc, std::string& fault);
};
