#include "RigDocuments.h"

namespace RigDocuments {

namespace {

const char* const groupLeds[] = {"DIMM_A1", "DIMM_A2"};

std::string ModeList(const Modes& modes)
{
    std::string text = "<ecmodelist>";
    for (const auto& mode : modes)
        text += "<mode key=\"" + mode.first + "\"><name>" + mode.second + "</name></mode>";
    return text + "</ecmodelist>";
}

std::string Led(const std::string& key, const char* location, const char* name)
{
    return "<led key=\"" + key + "\"><location>" + location + "</location><locationname>" + name
        + "</locationname><type>ARGB</type></led>";
}

std::string LedSetting(const std::string& key, int color, const char* hue)
{
    return "<led key=\"" + key + "\"><color>" + std::to_string(color) + "</color><hue>" + hue
        + "</hue><saturation>1.000000</saturation><lightness>0.500000</lightness><speed>0</speed>"
          "<direction>0</direction></led>";
}

const std::string head = "<root><header>ORVEL_LUMET</header><version>1.0</version>";

std::string MainboardDevice()
{
    return "<device key=\"Mainboard\"><ledlist>" + Led("MB_IO", "5", "Back I/O") + "</ledlist>"
        + ModeList({{"1", "Static"}, {"101", "Sleep"}}) + "</device>";
}

} // namespace

const Modes& DefaultModes()
{
    static const Modes modes = {
        {"1", "Static"}, {"2", "Breathing"}, {"4", "Color Cycle"}, {"6", "Ripple"}, {"101", "Sleep"}};
    return modes;
}

std::string Capability(const Modes& modes)
{
    std::string leds;
    for (const char* key : groupLeds)
        leds += Led(key, "1004", "PellixDram");
    return head + "<device key=\"Group\"><ledlist>" + leds + "</ledlist>" + ModeList(modes) + "</device>"
        + MainboardDevice() + "</root>";
}

std::string CapabilityWithoutGroup()
{
    return head + MainboardDevice() + "</root>";
}

std::string Status(const std::string& modeKey, bool ledsOn)
{
    std::string settings;
    settings += LedSetting(groupLeds[0], 255, "0.000000");
    settings += LedSetting(groupLeds[1], 65280, "0.333333");
    return head + "<device key=\"Group\"><isenabled>" + (ledsOn ? "1" : "0") + "</isenabled><scene><state>S0</state>"
        + "<mode key=\"" + modeKey + "\"><iscolorsynced>1</iscolorsynced><color_type>Plain</color_type>" + settings
        + "</mode></scene></device><device key=\"Mainboard\"><scene><state>S0</state><mode key=\"1\">"
        + LedSetting("MB_IO", 16711680, "0.666667") + "</mode></scene></device></root>";
}

std::string StatusWithoutGroupScene()
{
    return head + "<device key=\"Group\"><isenabled>1</isenabled></device></root>";
}

} // namespace RigDocuments
