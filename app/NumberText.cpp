#include "app/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// Skips the blanks strtol would skip and an optional sign; from_chars takes
// neither a leading '+' nor whitespace.
std::string_view Unblank(std::string_view text, bool& negative)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'
                               || text[i] == '\f' || text[i] == '\v'))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return text.substr(i);
}

} // namespace

namespace NumberText {

std::optional<int> ParseInt(std::string_view text)
{
    bool negative = false;
    const std::string_view digits = Unblank(text, negative);
    unsigned long long magnitude = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, 10);
    if (ec != std::errc() || end == digits.data())
        return std::nullopt;
    const unsigned long long limit = negative ? 0x80000000ULL : 0x7fffffffULL;
    if (magnitude > limit)
        return std::nullopt;
    return negative ? static_cast<int>(-static_cast<long long>(magnitude)) : static_cast<int>(magnitude);
}

std::optional<float> ParseFloat(std::string_view text)
{
    bool negative = false;
    const std::string_view digits = Unblank(text, negative);
    // A second sign ("+-1") is not a number.
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-'))
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                           std::chars_format::general);
    if (ec != std::errc() || end == digits.data() || !std::isfinite(value))
        return std::nullopt;
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(negative ? -value : value);
}

std::string FormatFloat(double value)
{
    char buf[512];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    if (ec != std::errc())
        return "0.000000";
    return std::string(buf, end);
}

std::string FormatInt(long long value)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

std::string FormatUnsigned(unsigned long long value)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

} // namespace NumberText
