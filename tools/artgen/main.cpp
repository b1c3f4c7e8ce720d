// artgen OUTDIR: draws every image of the panel into OUTDIR/Lumet/Resources/,
// each also at twice the size beside it ("name@2x.png", which Qt picks on
// high-density screens), and writes OUTDIR/lumet_resources.qrc listing them
// all under :/Lumet/Resources/.
// artgen --icon SIZE FILE: draws the desktop icon at SIZE x SIZE into FILE.
#include "ArtIcon.h"
#include "ArtSink.h"
#include "ArtStyle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--icon") {
        bool ok = false;
        const int size = QByteArray(argv[2]).toInt(&ok);
        if (!ok || size < 16 || size > 1024 || !drawAppIcon(size).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
            std::fprintf(stderr, "artgen: cannot draw the icon\n");
            return 1;
        }
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTDIR | artgen --icon SIZE FILE\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    ArtSink sink;
    registerWindowArt(sink);
    registerControlsArt(sink);
    registerViewsArt(sink);

    QString qrc;
    QTextStream qs(&qrc);
    qs << "<RCC>\n  <qresource prefix=\"/\">\n";
    for (const auto& item : sink.items) {
        for (int scale : {1, 2}) {
            QString rel = QStringLiteral("Lumet/Resources/") + item.path;
            if (scale != 1)
                rel.insert(rel.lastIndexOf(QLatin1Char('.')), QStringLiteral("@%1x").arg(scale));
            const QString file = outDir + QLatin1Char('/') + rel;
            QDir().mkpath(QFileInfo(file).absolutePath());
            art::scale = scale;
            const QImage img = item.draw();
            if (img.isNull() || !img.save(file, "PNG")) {
                std::fprintf(stderr, "artgen: cannot draw %s\n", qPrintable(rel));
                return 1;
            }
            qs << "    <file>" << rel << "</file>\n";
        }
    }
    art::scale = 1;
    qs << "  </qresource>\n</RCC>\n";
    qs.flush();

    QFile out(outDir + QStringLiteral("/lumet_resources.qrc"));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(qrc.toUtf8()) < 0) {
        std::fprintf(stderr, "artgen: cannot write the resource list\n");
        return 1;
    }
    return 0;
}
