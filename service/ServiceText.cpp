#include "service/ServiceText.h"

namespace ServiceText {

std::string Narrow(const std::u16string& text)
{
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(text[i] & 0xff);
    return out;
}

std::u16string Widen(const std::string& text)
{
    std::u16string out(text.size(), u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
    return out;
}

} // namespace ServiceText
