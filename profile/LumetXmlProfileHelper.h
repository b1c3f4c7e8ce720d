#pragma once

#include <QObject>

#include <string>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
class XMLNode;
} // namespace tinyxml2

// Element builder and printer of the profile documents sent to the lighting
// service. Everything here is static; the class has no state of its own.
class LumetXmlProfileHelper : public QObject
{
    Q_OBJECT

public:
    explicit LumetXmlProfileHelper(QObject* parent = nullptr);
    ~LumetXmlProfileHelper() override;

    // Creates element `name` with attribute "key" (only when key is not
    // empty) and text `text` (set even when empty, so the element prints as a
    // start and an end tag), appends it as the last child of parent (the
    // document itself for the root) and returns it.
    static tinyxml2::XMLElement* AppendElement(tinyxml2::XMLDocument& document, tinyxml2::XMLNode* parent,
                                               const std::string& name, const std::string& key,
                                               const std::string& text);

    // The text of a finished profile: tinyxml2's indented printer, no XML
    // declaration. Printed in memory, so an unwritable program directory or a
    // stale file there cannot change what is sent. While the keep switch is on
    // the text is also written to ProfileFilePath() (a failed write is
    // ignored); while it is off no such file is left behind.
    static std::string PrintProfile(const tinyxml2::XMLDocument& document);

    // "SetProfile.xml" in the program directory; empty when the directory is unknown.
    static std::string ProfileFilePath();

    // Process-wide, off at start; set from the "setProfileXml" switch.
    static void SetKeepProfileFile(bool keep);
    static bool IsKeepProfileFile();
};
