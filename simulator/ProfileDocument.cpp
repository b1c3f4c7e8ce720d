#include "simulator/ProfileDocument.h"

#include "app/NumberText.h"

#include <tinyxml2.h>

namespace {

std::string TextOf(const tinyxml2::XMLElement* element)
{
    const char* text = element ? element->GetText() : nullptr;
    return text ? std::string(text) : std::string();
}

} // namespace

bool ProfileDocument::Parse(const std::string& text, ProfileDocument& doc, std::string& fault)
{
    tinyxml2::XMLDocument xml(true, tinyxml2::PRESERVE_WHITESPACE);
    if (text.find('\0') != std::string::npos) {
        fault = "the profile document holds a NUL character";
        return false;
    }
    if (xml.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) {
        fault = std::string("the profile document does not parse: ") + (xml.ErrorStr() ? xml.ErrorStr() : "");
        return false;
    }
    const tinyxml2::XMLElement* root = xml.RootElement();
    if (!root || std::string(root->Name()) != "root" || root->NextSiblingElement()) {
        fault = "the profile document needs exactly one root element \"root\"";
        return false;
    }
    const std::string header = TextOf(root->FirstChildElement("header"));
    if (header != "ORVEL_LUMET") {
        fault = "wrong header \"" + header + "\" (expected \"ORVEL_LUMET\")";
        return false;
    }
    const std::string funcText = TextOf(root->FirstChildElement("funcid"));
    // Exactly one of the three function numbers; "4 " or "04" is not one.
    const std::optional<int> funcid = NumberText::ParseInt(funcText);
    const char* version = nullptr;
    switch (funcid && NumberText::FormatInt(*funcid) == funcText ? *funcid : 0) {
    case 1:
    case 5: version = "1.0"; break;
    case 4: version = "1.1"; break;
    default:
        fault = "unknown funcid \"" + funcText + "\" (expected 1, 4 or 5)";
        return false;
    }
    const std::string versionText = TextOf(root->FirstChildElement("version"));
    if (versionText != version) {
        fault = "wrong version \"" + versionText + "\" for funcid " + funcText + " (expected \"" + version + "\")";
        return false;
    }
    const tinyxml2::XMLElement* device = root->FirstChildElement("device");
    if (!device || !device->Attribute("key")) {
        fault = "the profile document names no device (element \"device\" with attribute \"key\")";
        return false;
    }
    doc.funcid = *funcid;
    doc.deviceKey = device->Attribute("key");
    return true;
}
