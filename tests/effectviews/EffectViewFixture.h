#pragma once

// The model the effect view tests work on: the group of tests/data/effectviews
// parsed with the real capability and status parsers (three LEDs, the group
// setting "Gradient" from 0.25 over half a turn, end to start, music index 2,
// effect speed 1, path order MB_IO 2, DIMM_B1 1, DIMM_A1 0).
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/StatusParser.h"

#include <QFile>
#include <QString>

#include <memory>
#include <string>

namespace EffectViewFixture {

inline std::string Document(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/effectviews/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll().toStdString();
}

// The group with its status applied; statusText replaces the fixture status.
inline std::unique_ptr<DeviceMaster> Group(const std::string& statusText = Document("status.xml"))
{
    CapabilityParser::Result model = CapabilityParser::Parse(Document("capability.xml"));
    if (!model.group)
        qFatal("the capability fixture has no group");
    StatusParser::ApplyText(statusText, model.group.get(), {});
    return std::move(model.group);
}

// The fixture status with one text replaced (the first occurrence).
inline std::string StatusWith(const std::string& from, const std::string& to)
{
    std::string text = Document("status.xml");
    const std::size_t at = text.find(from);
    if (at == std::string::npos)
        qFatal("the status fixture lacks %s", from.c_str());
    return text.replace(at, from.size(), to);
}

} // namespace EffectViewFixture
