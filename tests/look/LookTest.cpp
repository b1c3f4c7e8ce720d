// What a person notices first: a missing image, a control cut off at the
// window's or its parent's edge, a caption that does not fit its widget. The
// window is opened against fixed documents and every effect is shown, in
// English and in German.
#include "service/ServiceBackend.h"
#include "service/ServiceClient.h"
#include "service/ServiceText.h"
#include "ui/controls/LedLocationIcons.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButton.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const QString ResourceRoot = QStringLiteral(":/Lumet/Resources/");
const QRect Surface(0, 0, 860, 700);

// Serves two fixed documents and ignores what the panel sends.
class FixedService : public ServiceBackend
{
public:
    std::string capability;
    std::string status;
    void SetProfile(const std::u16string&, const std::u16string&) override {}
    std::u16string Exchange(const std::u16string&) override { return std::u16string(); }
    std::u16string GetStatus() override { return ServiceText::Widen(status); }
    std::u16string GetCapability() override { return ServiceText::Widen(capability); }
};

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The string literals of a C++ source, adjacent literals joined as the
// compiler joins them; comments and character literals are skipped.
QStringList StringLiterals(const QString& source)
{
    QStringList literals;
    QString current;
    bool inChain = false;
    const int n = source.size();
    int i = 0;
    auto endChain = [&] {
        if (inChain)
            literals << current;
        current.clear();
        inChain = false;
    };
    while (i < n) {
        const QChar c = source[i];
        const QChar next = i + 1 < n ? source[i + 1] : QChar();
        if (c == QLatin1Char('/') && next == QLatin1Char('/')) {
            while (i < n && source[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int end = source.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            QString text;
            for (++i; i < n && source[i] != c; ++i) {
                if (source[i] == QLatin1Char('\\') && i + 1 < n)
                    ++i;
                text += source[i];
            }
            ++i;
            if (c == QLatin1Char('"')) {
                current += text;
                inChain = true;
            } else {
                endChain();
            }
        } else {
            if (!c.isSpace())
                endChain();
            ++i;
        }
    }
    endChain();
    return literals;
}

// Resource paths inside one literal: from the prefix to the end of the name
// (a closing quote or parenthesis, a semicolon or the literal's end).
QStringList ResourcePathsIn(const QString& literal)
{
    QStringList paths;
    static const QRegularExpression path(QStringLiteral(":/Lumet/Resources/[^\"')};\\n]*"));
    auto it = path.globalMatch(literal);
    while (it.hasNext())
        paths << it.next().captured(0).trimmed();
    return paths;
}

QStringList ResourceFiles()
{
    QStringList files;
    QDirIterator it(ResourceRoot, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

// Every url(...) of a style sheet.
QStringList StyleSheetUrls(const QString& sheet)
{
    QStringList urls;
    static const QRegularExpression url(QStringLiteral("url\\(\\s*([^)]*?)\\s*\\)"));
    auto it = url.globalMatch(sheet);
    while (it.hasNext())
        urls << it.next().captured(1);
    return urls;
}

QString Describe(const QWidget* w)
{
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(w))
        text = label->text();
    else if (auto* button = qobject_cast<const QAbstractButton*>(w))
        text = button->text();
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QLatin1String(w->metaObject()->className()), w->objectName(), text.left(30).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

// The part of the widget that its own painting covers (children excluded), in
// its own coordinates; null when it paints nothing.
QRect PaintedBounds(QWidget* w)
{
    if (w->width() <= 0 || w->height() <= 0)
        return QRect();
    QImage img(w->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    w->render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            left = qMin(left, x);
            right = qMax(right, x);
            top = qMin(top, y);
            bottom = qMax(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Whether text laid out with flags inside rect shows whole. Across, the laid
// out lines must fit; down, a single line may let its empty line space
// overhang as long as the glyphs themselves stay inside.
bool TextFits(const QFontMetrics& fm, const QRect& rect, int flags, const QString& text)
{
    const QRect need = fm.boundingRect(rect, flags, text);
    if (need.left() < rect.left() || need.right() > rect.right())
        return false;
    if (need.top() >= rect.top() && need.bottom() <= rect.bottom())
        return true;
    if (need.height() < 2 * fm.lineSpacing()) {
        const int baseline = need.top() + fm.ascent();
        const QRect ink = fm.tightBoundingRect(text).translated(need.left(), baseline);
        return ink.top() >= rect.top() && ink.bottom() <= rect.bottom();
    }
    return need.top() >= rect.top() && need.bottom() - fm.descent() <= rect.bottom();
}

// The rectangle a button gives its caption, after its style sheet's padding.
QRect ButtonTextRect(QAbstractButton* button, int& flags)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    flags = Qt::AlignCenter;
    if (qobject_cast<QRadioButton*>(button)) {
        element = QStyle::SE_RadioButtonContents;
        flags = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (qobject_cast<QCheckBox*>(button)) {
        element = QStyle::SE_CheckBoxContents;
        flags = Qt::AlignLeft | Qt::AlignVCenter;
    }
    return button->style()->subElementRect(element, &option, button);
}

void CheckCaption(QWidget* w, const QString& where, QStringList& problems)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || !label->pixmap(Qt::ReturnByValue).isNull() || Qt::mightBeRichText(label->text()))
            return;
        const int margin = label->margin();
        const QRect rect = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        if (!TextFits(label->fontMetrics(), rect, flags, label->text()))
            problems << where + QStringLiteral(": text clipped in ") + Describe(w);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->text().isEmpty())
            return;
        int flags = 0;
        const QRect rect = ButtonTextRect(button, flags);
        if (!TextFits(button->fontMetrics(), rect, flags, button->text()))
            problems << where + QStringLiteral(": text clipped in ") + Describe(w);
    }
}

// Distinct colours inside an area of an image.
int ColourCount(const QImage& image, const QRect& area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class LookTest : public QObject
{
    Q_OBJECT

private:
    FixedService* service = nullptr;

    // One screen as a person sees it; every finding goes into problems.
    void Inspect(Lumet& window, const QString& where, QStringList& problems)
    {
        QCoreApplication::processEvents();
        if (window.size() != Surface.size())
            problems << where + QStringLiteral(": the window is not 860 x 700");
        QList<QWidget*> widgets = window.findChildren<QWidget*>();
        widgets.prepend(&window);
        for (QWidget* w : widgets) {
            if (!w->isVisible() || (w != &window && w->isWindow()))
                continue;
            for (const QString& url : StyleSheetUrls(w->styleSheet()))
                if (!QFile::exists(url))
                    problems << where + QStringLiteral(": missing image ") + url + QStringLiteral(" of ") + Describe(w);
            if (w == &window)
                continue;
            CheckCaption(w, where, problems);

            const QRect ink = PaintedBounds(w);
            if (ink.isNull())
                continue;
            for (QWidget* a = w->parentWidget(); a; a = a->parentWidget()) {
                const QRect inA(w->mapTo(a, ink.topLeft()), ink.size());
                const QRect bounds = a == &window ? Surface : a->rect();
                if (!bounds.contains(inA)) {
                    problems << where + QStringLiteral(": ") + Describe(w) + QStringLiteral(" is cut off by ")
                            + (a == &window ? QStringLiteral("the window's edge") : Describe(a));
                    break;
                }
                if (a == &window)
                    break;
            }
        }
    }

    // The page to the right of the effect list, where the views live.
    static QImage ViewArea(Lumet& window) { return window.grab(QRect(183, 99, 675, 525)).toImage(); }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(lumet_resources);
        qputenv("VORNLIGHT_REGISTRY", QByteArrayLiteral("/nonexistent/registry.reg"));
        auto backend = std::make_unique<FixedService>();
        service = backend.get();
        ServiceClient::Instance().SetBackend(std::move(backend));
        const QString data = QStringLiteral(LUMET_SOURCE_DIR "/simulator/data/");
        // The rig's effects plus one that no view knows.
        QByteArray capability = ReadFile(data + QStringLiteral("capability.xml"));
        const int at = capability.indexOf("<mode key=\"101\">");
        QVERIFY(at > 0);
        capability.insert(at, "<mode key=\"7\"><name>Lightning</name></mode>\n            ");
        service->capability = capability.toStdString();
        service->status = ReadFile(data + QStringLiteral("status.xml")).toStdString();
        QVERIFY(!service->status.empty());
    }

    // Every image path written in the panel's sources is in the resources;
    // paths completed at run time (a number, a name) match at least one.
    void namedImagesExist()
    {
        const QStringList files = ResourceFiles();
        QVERIFY(files.size() > 50);
        QStringList missing;
        int named = 0;
        for (const char* dir : {"app", "ui"}) {
            QDirIterator it(QStringLiteral(LUMET_SOURCE_DIR "/") + QLatin1String(dir), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                            QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString source = it.next();
                for (const QString& literal : StringLiterals(QString::fromUtf8(ReadFile(source)))) {
                    for (const QString& path : ResourcePathsIn(literal)) {
                        ++named;
                        bool found = false;
                        if (path.contains(QLatin1Char('%'))) {
                            QStringList parts = path.split(QRegularExpression(QStringLiteral("%\\d")));
                            for (QString& part : parts)
                                part = QRegularExpression::escape(part);
                            const QString pattern = parts.join(QStringLiteral(".+"));
                            const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
                            found = std::any_of(files.begin(), files.end(), [&](const QString& f) { return re.match(f).hasMatch(); });
                        } else if (!path.section(QLatin1Char('/'), -1).contains(QLatin1Char('.'))) {
                            found = std::any_of(files.begin(), files.end(), [&](const QString& f) { return f.startsWith(path); });
                        } else {
                            QFile file(path);
                            found = file.open(QIODevice::ReadOnly) && !QImage::fromData(file.readAll()).isNull();
                        }
                        if (!found)
                            missing << QFileInfo(source).fileName() + QStringLiteral(": ") + path;
                    }
                }
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
        QVERIFY(named > 30);

        // The LED icons are named by a table: each icon in its four looks.
        QStringList icons{QLatin1String(LedLocationIcons::Fallback.data(), int(LedLocationIcons::Fallback.size()))};
        for (const auto& entry : LedLocationIcons::Table)
            icons << QLatin1String(entry.icon.data(), int(entry.icon.size()));
        for (const QString& icon : icons)
            for (const char* look : {"_n", "_o", "_d", "_un"}) {
                const QString path = ResourceRoot + QStringLiteral("color_area/icon/") + icon + QLatin1String(look) + QStringLiteral(".png");
                QVERIFY2(!QImage(path).isNull(), qPrintable(path));
            }
    }

    void everyScreen_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QString();
        QTest::newRow("German") << QStringLiteral("de");
    }

    // Every effect, both choices where a view offers two, and the LEDs off:
    // nothing cut off, no caption clipped, every image present, and each
    // screen shows something and differs from the one before.
    void everyScreen()
    {
        QFETCH(QString, language);
        QTranslator translator;
        if (!language.isEmpty()) {
            QVERIFY(translator.load(QStringLiteral("lumet_") + language, QStringLiteral(LUMET_BIN_DIR)));
            QCoreApplication::installTranslator(&translator);
        }
        auto removeTranslator = qScopeGuard([&translator] { QCoreApplication::removeTranslator(&translator); });

        Lumet window(nullptr, false, false, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList problems;
        Inspect(window, QStringLiteral("start"), problems);

        const auto buttons = window.GetEffectButtonGroup()->GetButtons();
        QVERIFY(buttons.size() > 10);
        QVERIFY(std::any_of(buttons.begin(), buttons.end(), [](const LumetEffectButton* b) { return b->GetEffectId() == "7"; }));
        QImage shown;
        for (LumetEffectButton* button : buttons) {
            const QString name = QString::fromStdString(button->GetEffectName());
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY2(button->isChecked(), qPrintable(name));
            Inspect(window, name, problems);
            shown = ViewArea(window);
            if (ColourCount(shown, shown.rect()) < 8)
                problems << name + QStringLiteral(": the view shows next to nothing");

            // A view with two choices (plain or gradient, cycle or gradient)
            // shows the other one too.
            QRadioButton* other = nullptr;
            for (auto* radio : window.GetCurrentView()->findChildren<QRadioButton*>())
                if (radio->isVisible() && !radio->isChecked())
                    other = radio;
            if (other) {
                QTest::mouseClick(other, Qt::LeftButton);
                QVERIFY2(other->isChecked(), qPrintable(name));
                Inspect(window, name + QStringLiteral(" (") + other->text() + QStringLiteral(")"), problems);
                const QImage otherShown = ViewArea(window);
                if (otherShown == shown)
                    problems << name + QStringLiteral(": its other choice changes nothing on screen");
                shown = otherShown;
            }
        }

        auto* ledSwitch = window.findChild<QPushButton*>(QStringLiteral("ledSwitch"));
        QVERIFY(ledSwitch);
        QTest::mouseClick(ledSwitch, Qt::LeftButton);
        QVERIFY(!ledSwitch->isChecked());
        Inspect(window, QStringLiteral("LEDs off"), problems);
        QVERIFY(ViewArea(window) != shown);
        QTest::mouseClick(ledSwitch, Qt::LeftButton);

        problems.removeDuplicates();
        QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("\n") + problems.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(LookTest)
#include "LookTest.moc"
