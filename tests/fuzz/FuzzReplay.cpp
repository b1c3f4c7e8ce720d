// Runs a fuzz target over the files it was given (or, without arguments, over
// its seed corpus and every input that once made it fail), so a build without
// libFuzzer checks them as an ordinary test.

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        paths << QString::fromLocal8Bit(argv[i]);
    if (paths.isEmpty()) {
        paths << QStringLiteral(LUMET_FUZZ_CORPUS);
        // Only targets that once failed have regressions.
        if (QDir(QStringLiteral(LUMET_FUZZ_REGRESSIONS)).exists())
            paths << QStringLiteral(LUMET_FUZZ_REGRESSIONS);
    }

    QStringList files;
    for (const QString& path : paths) {
        const QDir dir(path);
        if (!dir.exists()) {
            files << path;
            continue;
        }
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files << dir.filePath(name);
    }
    int count = 0;
    for (const QString& name : files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
        ++count;
    }
    std::printf("%d inputs replayed\n", count);
    // A corpus that went missing must not pass as checked.
    return count > 0 ? 0 : 1;
}
