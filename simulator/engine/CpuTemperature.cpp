#include "simulator/engine/CpuTemperature.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace {

// A sysfs value is a short line; anything longer is not one.
constexpr qint64 MaxFileBytes = 64;

QByteArray ReadSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(MaxFileBytes);
}

// hwmon0, hwmon1, ..., hwmon10 in the order of their numbers.
QStringList MonitorsInOrder(const QString& root)
{
    QStringList monitors = QDir(root).entryList({QStringLiteral("hwmon*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(monitors.begin(), monitors.end(), [](const QString& a, const QString& b) {
        return a.midRef(5).toInt() < b.midRef(5).toInt();
    });
    return monitors;
}

QString FirstInput(const QDir& monitor)
{
    if (monitor.exists(QStringLiteral("temp1_input")))
        return monitor.filePath(QStringLiteral("temp1_input"));
    static const QRegularExpression input(QStringLiteral("^temp(\\d+)_input$"));
    QString best;
    int bestNumber = 0;
    for (const QString& name : monitor.entryList({QStringLiteral("temp*_input")}, QDir::Files)) {
        const QRegularExpressionMatch m = input.match(name);
        const int number = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (number > 0 && (best.isEmpty() || number < bestNumber)) {
            best = monitor.filePath(name);
            bestNumber = number;
        }
    }
    return best;
}

} // namespace

CpuTemperature::CpuTemperature(const QString& root) : root(root) {}

QString CpuTemperature::FindSensor(const QString& root)
{
    static const std::array<QByteArray, 5> names = {"k10temp", "coretemp", "zenpower", "cpu_thermal", "acpitz"};
    const QStringList monitors = MonitorsInOrder(root);
    for (const QByteArray& wanted : names) {
        for (const QString& m : monitors) {
            const QDir monitor(QDir(root).filePath(m));
            if (ReadSmallFile(monitor.filePath(QStringLiteral("name"))).trimmed() != wanted)
                continue;
            const QString input = FirstInput(monitor);
            if (!input.isEmpty())
                return input;
        }
    }
    return QString();
}

std::optional<float> CpuTemperature::ParseMillidegrees(const QByteArray& text)
{
    bool ok = false;
    const long long milli = text.trimmed().toLongLong(&ok);
    if (!ok || milli < -40000 || milli > 150000)
        return std::nullopt;
    return static_cast<float>(milli) / 1000.0f;
}

std::optional<float> CpuTemperature::Read()
{
    if (!sensor.isEmpty()) {
        if (const std::optional<float> celsius = ParseMillidegrees(ReadSmallFile(sensor)))
            return celsius;
    }
    sensor = FindSensor(root);
    if (sensor.isEmpty())
        return std::nullopt;
    return ParseMillidegrees(ReadSmallFile(sensor));
}
