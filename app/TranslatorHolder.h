#pragma once

#include <QString>

#include <memory>

class QTranslator;

// Loads the panel's translation for the system language from the program
// directory and installs it. Without a loadable file nothing is installed and
// every translated text shows as written.
class TranslatorHolder
{
public:
    // Uses the system locale.
    TranslatorHolder();
    // Uses the given locale name ("de_DE", "zh_CN", "C").
    explicit TranslatorHolder(const QString& localeName);
    // Removes the translation from the application again.
    ~TranslatorHolder();
    TranslatorHolder(const TranslatorHolder&) = delete;
    TranslatorHolder& operator=(const TranslatorHolder&) = delete;

    // "lumet_zh_CN" and "lumet_zh_TW" keep the country; every other locale
    // gives "lumet_" and its language part ("lumet_de"). A name shorter than
    // two characters ("C") is taken whole.
    static QString FileNameFor(const QString& localeName);

    bool IsInstalled() const { return installed; }
    // The file name handed to the translator, without directory or suffix.
    QString GetFileName() const { return fileName; }

private:
    std::unique_ptr<QTranslator> translator;
    QString fileName;
    bool installed = false;
};
