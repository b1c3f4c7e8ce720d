// Runs a fuzz target over the files it is given, else over its seed corpus and
// every input that once made it fail: an ordinary test without libFuzzer.

#include "tests/fuzz/FuzzHarness.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    QStringList paths{QStringLiteral(LUMET_FUZZ_CORPUS), QStringLiteral(LUMET_FUZZ_REGRESSIONS)};
    if (argc > 1)
        paths.clear();
    for (int i = 1; i < argc; ++i)
        paths << QString::fromLocal8Bit(argv[i]);
    int count = 0;
    for (const QString& path : paths) {
        // A folder stands for its files; only targets that once failed have regressions.
        QStringList files{path};
        if (QFileInfo(path).isDir() || path == QStringLiteral(LUMET_FUZZ_REGRESSIONS)) {
            files.clear();
            for (const QString& name : QDir(path).entryList(QDir::Files, QDir::Name))
                files << QDir(path).filePath(name);
        }
        for (const QString& name : files) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly))
                FuzzHarness::Fail("cannot read", name.toStdString());
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
            ++count;
        }
    }
    std::printf("%d inputs replayed\n", count);
    // A corpus that went missing must not pass as checked.
    return count > 0 ? 0 : 1;
}
