// What a person notices first: a missing image, a control cut off at the
// window's or its parent's edge, a caption that does not fit its widget. The
// window is opened against fixed documents and every effect is shown, in
// English and in German.
#include "service/ServiceClient.h"
#include "tests/support/RecordingService.h"
#include "ui/controls/LedLocationIcons.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButton.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const QRect Surface(0, 0, 860, 700);

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether a path named in the code (a "%1" or a trailing folder completed at
// run time) matches at least one image of the resources.
bool ResourceExists(const QString& path, const QStringList& files)
{
    QString pattern = QRegularExpression::escape(path);
    pattern.replace(QRegularExpression(QStringLiteral("\\\\%\\d")), QStringLiteral(".+")); // "%1", escaped
    if (!path.section(QLatin1Char('/'), -1).contains(QLatin1Char('.')))
        pattern += QStringLiteral(".+");
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    return std::any_of(files.begin(), files.end(), [&](const QString& f) { return re.match(f).hasMatch() && !QImage(f).isNull(); });
}

// The part of the widget that its own painting covers (children excluded);
// null when it paints nothing.
QRect PaintedBounds(QWidget* w)
{
    if (w->size().isEmpty())
        return QRect();
    QImage img(w->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    w->render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
    QRect ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) != 0)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// Whether text laid out with flags inside rect shows whole. A single line may
// let its empty line space overhang as long as the glyphs stay inside.
bool TextFits(const QFontMetrics& fm, const QRect& rect, int flags, const QString& text)
{
    const QRect need = fm.boundingRect(rect, flags, text);
    if (need.left() < rect.left() || need.right() > rect.right())
        return false;
    if (need.top() >= rect.top() && need.bottom() <= rect.bottom())
        return true;
    if (need.height() < 2 * fm.lineSpacing()) {
        const QRect ink = fm.tightBoundingRect(text).translated(need.left(), need.top() + fm.ascent());
        return ink.top() >= rect.top() && ink.bottom() <= rect.bottom();
    }
    return need.top() >= rect.top() && need.bottom() - fm.descent() <= rect.bottom();
}

// Whether the widget's caption, if it has one, fits the room its style gives it.
bool CaptionFits(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || !label->pixmap(Qt::ReturnByValue).isNull() || Qt::mightBeRichText(label->text()))
            return true;
        const int m = label->margin();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return TextFits(label->fontMetrics(), label->contentsRect().adjusted(m, m, -m, -m), flags, label->text());
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || button->text().isEmpty())
        return true;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool radio = qobject_cast<QRadioButton*>(button), check = qobject_cast<QCheckBox*>(button);
    const auto element = radio ? QStyle::SE_RadioButtonContents : check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents;
    const int flags = radio || check ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    return TextFits(button->fontMetrics(), button->style()->subElementRect(element, &option, button), flags, button->text());
}

// One screen as a person sees it; every finding goes into problems.
void Inspect(Lumet& window, const QString& where, QStringList& problems)
{
    QCoreApplication::processEvents();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow())
            continue;
        const QString name = QLatin1String(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
        if (!CaptionFits(w))
            problems << where + QStringLiteral(": text clipped in ") + name;
        const QRect ink = PaintedBounds(w);
        for (QWidget* a = w->parentWidget(); !ink.isNull() && a; a = a->parentWidget()) {
            const bool top = a == &window;
            if (!(top ? Surface : a->rect()).contains(QRect(w->mapTo(a, ink.topLeft()), ink.size()))) {
                problems << where + QStringLiteral(": ") + name + QStringLiteral(" is cut off by ") + a->objectName();
                break;
            }
            if (top)
                break;
        }
    }
}

} // namespace

class LookTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(lumet_resources);
        qputenv("VORNLIGHT_REGISTRY", QByteArrayLiteral("/nonexistent/registry.reg"));
        auto backend = std::make_unique<RecordingService>();
        const QString data = QStringLiteral(LUMET_SOURCE_DIR "/simulator/data/");
        // The rig's effects plus one that no view knows.
        QByteArray capability = ReadFile(data + QStringLiteral("capability.xml"));
        capability.insert(capability.indexOf("<mode key=\"101\">"), "<mode key=\"7\"><name>Lightning</name></mode>\n");
        backend->capability = capability.toStdString();
        backend->status = ReadFile(data + QStringLiteral("status.xml")).toStdString();
        ServiceClient::Instance().SetBackend(std::move(backend));
    }

    // Every image path written in the panel's sources (adjacent literals
    // joined as the compiler joins them) and every LED icon in its four looks.
    void namedImagesExist()
    {
        QStringList files, named, missing;
        for (QDirIterator it(QStringLiteral(":/Lumet/Resources/"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            files << it.next();
        static const QRegularExpression joint(QStringLiteral("\"\\s*\"")), comment(QStringLiteral("(^|\\s)//[^\\n]*"));
        static const QRegularExpression path(QStringLiteral(":/Lumet/Resources/[^\"')};\\n]*"));
        for (const char* dir : {"/app", "/ui"})
            for (QDirIterator it(QLatin1String(LUMET_SOURCE_DIR) + QLatin1String(dir), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                                 QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
                for (auto m = path.globalMatch(QString::fromUtf8(ReadFile(it.next())).remove(comment).remove(joint)); m.hasNext();)
                    named << m.next().captured(0).trimmed();
        std::vector<std::string_view> icons{LedLocationIcons::Fallback};
        for (const auto& e : LedLocationIcons::Table)
            icons.push_back(e.icon);
        for (std::string_view icon : icons)
            for (const char* look : {"_n", "_o", "_d", "_un"})
                named << QStringLiteral(":/Lumet/Resources/color_area/icon/%1%2.png")
                             .arg(QLatin1String(icon.data(), int(icon.size())), QLatin1String(look));
        QVERIFY(named.size() > 100);
        for (const QString& p : named)
            if (!ResourceExists(p, files))
                missing << p;
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }

    void everyScreen_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QString();
        QTest::newRow("German") << QStringLiteral("de");
    }

    // Every effect, the other choice where a view offers two, and the LEDs
    // off: nothing cut off and no caption clipped.
    void everyScreen()
    {
        QFETCH(QString, language);
        QTranslator translator;
        QVERIFY(language.isEmpty() || translator.load(QStringLiteral("lumet_") + language, QStringLiteral(LUMET_BIN_DIR)));
        QCoreApplication::installTranslator(&translator);
        auto removeTranslator = qScopeGuard([&translator] { QCoreApplication::removeTranslator(&translator); });

        Lumet window(nullptr, false, false, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList problems;
        Inspect(window, QStringLiteral("start"), problems);
        const auto buttons = window.GetEffectButtonGroup()->GetButtons();
        QVERIFY(std::any_of(buttons.begin(), buttons.end(), [](const LumetEffectButton* b) { return b->GetEffectId() == "7"; }));
        for (LumetEffectButton* button : buttons) {
            const QString name = QString::fromStdString(button->GetEffectName());
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY2(button->isChecked(), qPrintable(name));
            Inspect(window, name, problems);
            for (auto* radio : window.GetCurrentView()->findChildren<QRadioButton*>())
                if (radio->isVisible() && !radio->isChecked()) {
                    QTest::mouseClick(radio, Qt::LeftButton);
                    Inspect(window, name + QLatin1Char(' ') + radio->text(), problems);
                }
        }
        auto* ledSwitch = window.findChild<QPushButton*>(QStringLiteral("ledSwitch"));
        QVERIFY(ledSwitch);
        QTest::mouseClick(ledSwitch, Qt::LeftButton);
        QVERIFY(!ledSwitch->isChecked());
        Inspect(window, QStringLiteral("LEDs off"), problems);

        problems.removeDuplicates();
        QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("\n") + problems.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(LookTest)
#include "LookTest.moc"
