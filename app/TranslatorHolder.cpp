#include "app/TranslatorHolder.h"

#include "app/ProgramDirectory.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

TranslatorHolder::TranslatorHolder() : TranslatorHolder(QLocale::system().name())
{
}

TranslatorHolder::TranslatorHolder(const QString& localeName)
    : translator(std::make_unique<QTranslator>()), fileName(FileNameFor(localeName))
{
    const QString directory = QString::fromLocal8Bit(GetProgramDirectory().c_str());
    if (translator->load(fileName, directory))
        installed = QCoreApplication::installTranslator(translator.get());
}

// Deleting the translator takes it out of the application.
TranslatorHolder::~TranslatorHolder() = default;

QString TranslatorHolder::FileNameFor(const QString& localeName)
{
    static const QString prefix = QStringLiteral("lumet_");
    if (localeName == QLatin1String("zh_CN") || localeName == QLatin1String("zh_TW"))
        return prefix + localeName;
    // The C and POSIX locales have names of one or five letters; left() never
    // reads past the end.
    return prefix + localeName.left(2);
}
