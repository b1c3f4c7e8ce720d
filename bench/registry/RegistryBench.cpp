// A large registry file against start-up: a 4 MB export with 50,000 values in
// 5,000 keys (20,000 in the panel's own key, some set twice or deleted, and
// 500 keys deleted whole), the kind of file a machine collects over the years.
// Start-up of `vornlight` to its first status shown with that file against
// start-up with no registry file, and the parse alone.
//
//   bench_registry [RUNS] [PANEL]   (PANEL: another build of the panel)

#include "app/linux/RegistryFile.h"
#include "bench/common/BenchSession.h"
#include "bench/common/BenchTiming.h"

#include <QFile>

namespace {

QByteArray LargeExport()
{
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n";
    const auto value = [&](const QByteArray& name, int i) {
        text += '"' + name + "\"=\"" + QByteArray(56, 'x') + QByteArray::number(i) + "\"\r\n";
    };
    text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
            "{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}]\r\n\"DisplayVersion\"=\"1.4.2\"\r\n\r\n";
    // Neither "LUMET" nor "needReboot" in the panel's key: the panel starts.
    text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ORVEL\\LUMET]\r\n";
    for (int i = 0; i < 18000; ++i)
        value("Setting" + QByteArray::number(i), i);
    for (int i = 17000; i < 18000; ++i)
        value("SETTING" + QByteArray::number(i), -i);
    for (int i = 0; i < 1000; ++i)
        text += "\"setting" + QByteArray::number(i) + "\"=-\r\n";
    for (int k = 0; k < 4999; ++k) {
        text += "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product" + QByteArray::number(k) + "]\r\n";
        for (int i = 0; i < 6; ++i)
            value("Value" + QByteArray::number(i), k);
    }
    for (int k = 4499; k < 4999; ++k)
        text += "\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product" + QByteArray::number(k) + "]\r\n";
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace BenchTiming;
    const int runs = Runs(argc, argv, 5);
    BenchSession session;
    qputenv("VORNLIGHT_QUIT_AFTER_MS", "0");
    const QByteArray bytes = LargeExport();
    QFile file(session.File("large.reg"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()
        || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        return Fail("the registry file could not be written");
    file.close();
    std::printf("registry file: %.2f MB, %d lines\n", static_cast<double>(bytes.size()) / 1e6, bytes.count('\n'));

    if (!session.Start())
        return 1;
    const std::string panel = argc > 2 ? argv[2] : LUMET_BIN_DIR "/vornlight";
    BenchSession::Run large{panel, file.fileName()}, none{panel};
    if (!session.Alternate(runs, large, none))
        return Fail("a run of the panel failed");
    Report("start-up with the 4 MB registry", Median(large.ms), "ms", Median(none.ms), "no registry file",
           "not noticeably slower");

    const double parseMs = MedianMs(runs, [&] {
        if (!dali::RegistryFile::Parse(bytes).key("HKEY_LOCAL_MACHINE\\Software\\ORVEL\\LUMET"))
            std::abort();
    });
    Report("parse of the 4 MB registry alone", parseMs, "ms", Median(none.ms), "start-up, no registry file", "(figure)");
    return 0;
}
