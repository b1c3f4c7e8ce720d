#include "model/ModelDocument.h"

namespace ModelDocument {

std::unique_ptr<tinyxml2::XMLDocument> Parse(const std::string& text)
{
    auto document = std::make_unique<tinyxml2::XMLDocument>(true, tinyxml2::PRESERVE_WHITESPACE);
    // c_str() ends the text at its first zero byte; tinyxml2 empties the
    // document itself when the text does not parse.
    document->Parse(text.c_str());
    return document;
}

void Save(tinyxml2::XMLDocument& document, const std::string& path)
{
    if (path.empty())
        return;
    document.SaveFile(path.c_str(), false);
}

std::string ChildText(const tinyxml2::XMLElement* parent, const char* child)
{
    const tinyxml2::XMLElement* element = parent ? parent->FirstChildElement(child) : nullptr;
    const char* text = element ? element->GetText() : nullptr;
    return text ? std::string(text) : std::string();
}

std::string Attribute(const tinyxml2::XMLElement* element, const char* name)
{
    const char* value = element ? element->Attribute(name) : nullptr;
    return value ? std::string(value) : std::string();
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool IsNotAvailable(const std::string& text)
{
    return Lower(text) == "na";
}

} // namespace ModelDocument
