#include "simulator/core/ProfileDocument.h"

#include "simulator/core/RigLayout.h"

#include <tinyxml2.h>

namespace {

std::string TextOf(const tinyxml2::XMLElement* element)
{
    const char* text = element ? element->GetText() : nullptr;
    return text ? std::string(text) : std::string();
}

const char* VersionOf(const std::string& funcid)
{
    if (funcid == "1" || funcid == "5")
        return "1.0";
    if (funcid == "4")
        return "1.1";
    return nullptr;
}

} // namespace

bool ProfileDocument::Parse(const std::string& target, const std::string& text, const RigLayout& layout,
                            ProfileDocument& doc, std::string& fault)
{
    // tinyxml2 would stop quietly at a NUL and take the rest as read.
    if (text.find('\0') != std::string::npos) {
        fault = "the profile document holds a NUL character";
        return false;
    }
    tinyxml2::XMLDocument xml(true, tinyxml2::PRESERVE_WHITESPACE);
    if (xml.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) {
        fault = std::string("the profile document does not parse: ") + xml.ErrorStr();
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
    const char* version = VersionOf(funcText);
    if (!version) {
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
    ProfileDocument read;
    read.funcid = funcText[0] - '0';
    read.deviceKey = device->Attribute("key");
    // Switching and resetting concern the whole rig: the panel sends them for
    // "Group" and "Mainboard" whether the rig has such devices at the moment
    // or not.
    auto known = [&](const std::string& key) {
        return layout.FindDevice(key) || (read.funcid != 4 && (key == "Group" || key == "Mainboard"));
    };
    if (!known(read.deviceKey)) {
        fault = "unknown device \"" + read.deviceKey + "\"";
        return false;
    }
    if (!known(target)) {
        fault = "unknown target device \"" + target + "\"";
        return false;
    }

    switch (read.funcid) {
    case 1: {
        const tinyxml2::XMLElement* enabled = device->FirstChildElement("isenabled");
        const std::string value = TextOf(enabled);
        if (!enabled || (value != "0" && value != "1")) {
            fault = enabled ? "isenabled \"" + value + "\" is not 0 or 1" : "funcid 1 needs an isenabled element";
            return false;
        }
        read.enable = value == "1";
        break;
    }
    case 4: {
        // An effect goes to the device the panel shows; a document for another
        // device under this key is a mix-up, not an order.
        if (target != read.deviceKey) {
            fault = "the target key \"" + target + "\" and the document's device \"" + read.deviceKey + "\" differ";
            return false;
        }
        const tinyxml2::XMLElement* scene = device->FirstChildElement("scene");
        if (!scene) {
            fault = "funcid 4 needs a scene";
            return false;
        }
        for (; scene; scene = scene->NextSiblingElement("scene")) {
            SceneUpdate update;
            if (!SceneUpdate::Read(scene, read.deviceKey, &layout, update, fault))
                return false;
            read.scenes.push_back(std::move(update));
        }
        break;
    }
    case 5:
        if (!device->FirstChildElement("resetall")) {
            fault = "funcid 5 needs a resetall element";
            return false;
        }
        break;
    }
    doc = std::move(read);
    return true;
}
