#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one conversion between numbers and document text. Documents are C-locale
// text whatever the user's locale, so nothing here goes through the C locale.
//
// Parsing is tolerant: leading blanks and a sign are accepted, trailing text is
// ignored, and a text that is empty, not a number, out of range or not finite
// gives no value (the caller keeps 0 or skips the entry).
namespace NumberText {

std::optional<int> ParseInt(std::string_view text);
std::optional<float> ParseFloat(std::string_view text);

// "%f": six decimals, '.' as separator ("0.500000").
std::string FormatFloat(double value);
// Plain decimal ("-3", "255").
std::string FormatInt(long long value);
std::string FormatUnsigned(unsigned long long value);

} // namespace NumberText
