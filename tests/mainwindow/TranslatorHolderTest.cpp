// The translation file chosen for a locale, and the shipped translations
// loading from beside the program.
#include "app/TranslatorHolder.h"

#include <QCoreApplication>
#include <QtTest>

class TranslatorHolderTest : public QObject
{
    Q_OBJECT

private slots:
    void fileNameFollowsTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("file");
        QTest::newRow("zh_CN") << "zh_CN" << "lumet_zh_CN";
        QTest::newRow("zh_TW") << "zh_TW" << "lumet_zh_TW";
        QTest::newRow("zh_HK") << "zh_HK" << "lumet_zh";
        QTest::newRow("de_DE") << "de_DE" << "lumet_de";
        QTest::newRow("de_AT") << "de_AT" << "lumet_de";
        QTest::newRow("en_US") << "en_US" << "lumet_en";
        QTest::newRow("C") << "C" << "lumet_C";
        QTest::newRow("empty") << "" << "lumet_";
    }

    void fileNameFollowsTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, file);
        QCOMPARE(TranslatorHolder::FileNameFor(locale), file);
    }

    void germanAndChineseTranslationsLoad()
    {
        {
            TranslatorHolder german(QStringLiteral("de_DE"));
            QVERIFY(german.IsInstalled());
            QCOMPARE(QCoreApplication::translate("LumetClass", "APPLY"), QStringLiteral("ANWENDEN"));
            QCOMPARE(QCoreApplication::translate("LumetClass", "Breathing"), QStringLiteral("Atmen"));
        }
        // Gone with its holder.
        QCOMPARE(QCoreApplication::translate("LumetClass", "APPLY"), QStringLiteral("APPLY"));

        TranslatorHolder chinese(QStringLiteral("zh_CN"));
        QVERIFY(chinese.IsInstalled());
        QCOMPARE(QCoreApplication::translate("LumetClass", "APPLY"), QStringLiteral("应用"));
    }

    void localesWithoutAFileShowTheSourceTexts()
    {
        for (const char* locale : {"en_US", "C", "zh_TW", ""}) {
            TranslatorHolder holder(QString::fromLatin1(locale));
            QVERIFY2(!holder.IsInstalled(), locale);
            QCOMPARE(QCoreApplication::translate("LumetClass", "APPLY"), QStringLiteral("APPLY"));
        }
    }

    void systemLocaleIsUsedByDefault()
    {
        TranslatorHolder holder;
        QCOMPARE(holder.GetFileName(), TranslatorHolder::FileNameFor(QLocale::system().name()));
        QCOMPARE(holder.IsInstalled(), holder.GetFileName() == QLatin1String("lumet_de"));
    }
};

QTEST_MAIN(TranslatorHolderTest)
#include "TranslatorHolderTest.moc"
