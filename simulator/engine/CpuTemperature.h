#pragma once

#include <QString>

#include <optional>

class QByteArray;

// The CPU temperature from the kernel's hardware monitors: under the root
// folder (/sys/class/hwmon), the monitor whose "name" is the first of
// k10temp, coretemp, zenpower, cpu_thermal that exists, else acpitz (the
// board's ACPI zone, near the CPU on most machines); its temp1_input, or its
// lowest-numbered tempN_input, in millidegrees Celsius.
class CpuTemperature
{
public:
    static constexpr const char* DefaultRoot = "/sys/class/hwmon";

    explicit CpuTemperature(const QString& root = QString::fromLatin1(DefaultRoot));

    // Degrees Celsius; empty when no sensor reads or what it reads is not a
    // plausible temperature. The sensor is looked for again after a failed
    // read, since monitors are numbered anew when a driver reloads.
    std::optional<float> Read();

    // The input file read last, empty before a sensor was found.
    QString SensorPath() const { return sensor; }

    // The input file of the CPU's sensor under root, empty when there is none.
    static QString FindSensor(const QString& root);
    // A temperature file's text ("45500\n") in degrees Celsius; empty for
    // text that is not a whole number of millidegrees between -40 and 150
    // degrees (a sensor that fails reads as such nonsense).
    static std::optional<float> ParseMillidegrees(const QByteArray& text);

private:
    QString root;
    QString sensor;
};
