#pragma once

// The group of tests/data/effectviews parsed with the real capability and
// status parsers: three LEDs (DIMM_A1 red, DIMM_B1 green, MB_IO blue), the
// group setting "Gradient" from 0.25 over half a turn, end to start, music
// index 2, effect speed 1, path order MB_IO 2, DIMM_B1 1, DIMM_A1 0.
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/StatusParser.h"

#include <QFile>

#include <memory>
#include <string>
#include <utility>

namespace EffectViewFixture {

using Edits = std::initializer_list<std::pair<std::string, std::string>>;

inline std::string Document(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/effectviews/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll().toStdString();
}

// The group with the fixture status applied, each edit replacing the first
// occurrence of a text in it; without the status when withStatus is false.
inline std::unique_ptr<DeviceMaster> Group(Edits edits = {}, bool withStatus = true)
{
    std::unique_ptr<DeviceMaster> group = CapabilityParser::Parse(Document("capability.xml")).group;
    std::string status = Document("status.xml");
    for (const auto& [from, to] : edits) {
        if (status.find(from) == std::string::npos)
            qFatal("the status fixture lacks %s", from.c_str());
        status.replace(status.find(from), from.size(), to);
    }
    if (group && withStatus)
        StatusParser::ApplyText(status, group.get(), {});
    return group;
}

} // namespace EffectViewFixture
