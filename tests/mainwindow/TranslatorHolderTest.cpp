// The translation file chosen for a locale, and the shipped ones loading from beside the program.
#include "app/TranslatorHolder.h"

#include <QCoreApplication>
#include <QtTest>

class TranslatorHolderTest : public QObject
{
    Q_OBJECT

private slots:
    // Chinese keeps its country for China and Taiwan; a locale name shorter
    // than two letters is taken whole.
    void fileNameFollowsTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("file");
        QTest::newRow("zh_CN") << "zh_CN" << "lumet_zh_CN";
        QTest::newRow("zh_TW") << "zh_TW" << "lumet_zh_TW";
        QTest::newRow("zh_HK") << "zh_HK" << "lumet_zh";
        QTest::newRow("de_DE") << "de_DE" << "lumet_de";
        QTest::newRow("en_US") << "en_US" << "lumet_en";
        QTest::newRow("C") << "C" << "lumet_C";
    }

    void fileNameFollowsTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, file);
        QCOMPARE(TranslatorHolder::FileNameFor(locale), file);
    }

    // A translation holds while its holder lives; locales without a file
    // show the source texts. (German on the window's buttons: LumetTest.)
    void shippedTranslationsLoad()
    {
        const auto apply = [] { return QCoreApplication::translate("LumetClass", "APPLY"); };
        QCOMPARE(TranslatorHolder(QStringLiteral("zh_CN")).IsInstalled() ? apply() : QString(), QStringLiteral("应用"));
        QVERIFY(!TranslatorHolder(QStringLiteral("zh_TW")).IsInstalled());
        QCOMPARE(apply(), QStringLiteral("APPLY"));
    }
};

QTEST_MAIN(TranslatorHolderTest)
#include "TranslatorHolderTest.moc"
