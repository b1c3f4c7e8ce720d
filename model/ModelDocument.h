#pragma once

#include <tinyxml2.h>

#include <memory>
#include <string>

// Reading the documents the lighting service sends: how they are parsed, saved
// for diagnosis and navigated. A missing element or attribute reads as an
// empty text, so the parsers never have to check for null.
namespace ModelDocument {

// Parses the text up to its first zero byte, entities processed and whitespace
// preserved. A text that does not parse gives an empty document.
std::unique_ptr<tinyxml2::XMLDocument> Parse(const std::string& text);

// Writes the document with the indented printer; an empty path or a failed
// write is ignored (the copy is only for diagnosis).
void Save(tinyxml2::XMLDocument& document, const std::string& path);

// The text of the first child element with that name, or "".
std::string ChildText(const tinyxml2::XMLElement* parent, const char* child);
// The value of the attribute, or "".
std::string Attribute(const tinyxml2::XMLElement* element, const char* name);
// ASCII lower case; the documents hold 7-bit text.
std::string Lower(std::string text);
// "na" in any letter case: a value that does not apply.
bool IsNotAvailable(const std::string& text);

} // namespace ModelDocument
