#pragma once

#include <string>

// The service speaks UTF-16; the panel's documents are byte strings of 7-bit
// text. Narrowing keeps the low byte of each UTF-16 unit, widening copies each
// byte into one unit.
namespace ServiceText {

std::string Narrow(const std::u16string& text);
std::u16string Widen(const std::string& text);

} // namespace ServiceText
