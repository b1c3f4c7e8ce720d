// The real panel against the simulated rig on a private X server: the user
// picks the static effect, clicks the pure red button and APPLY, and the
// rig's next status holds red for the picked LED.
#include "../simulator/SimulatorProcess.h"
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/ModeInfo.h"
#include "model/StatusParser.h"
#include "profile/EffectProfile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Window coordinates of what the user clicks. Effect buttons are 33 high from
// y 97, in ascending effect number; the view sits at (181, 97).
const QPoint StaticEffectButton(90, 97 + 16);
const QPoint PureRedButton(181 + 476 + 5, 97 + 44 + 36 + 5);
const QPoint ApplyButton(724 + 56, 642 + 13);

const int Blue = 16711680;

// The rig's group as the simulator now reports it.
std::unique_ptr<DeviceMaster> CurrentGroup()
{
    CapabilityParser::Result model =
        CapabilityParser::Parse(SimulatorProcess::Fetch(QStringLiteral("GetCapability")).toStdString());
    if (model.group)
        StatusParser::ApplyText(SimulatorProcess::Fetch(QStringLiteral("GetStatus")).toStdString(), model.group.get(),
                                {});
    return std::move(model.group);
}

int ModeOf(const DeviceMaster& group)
{
    const EffectSetting* setting = group.GetGroupSetting();
    return setting && setting->mode ? std::stoi(setting->mode->GetKey()) : -1;
}

// Red, green and blue of a packed document colour.
struct Rgb
{
    int red;
    int green;
    int blue;
};

Rgb ColourOf(int packed)
{
    return {packed & 0xff, (packed >> 8) & 0xff, (packed >> 16) & 0xff};
}

} // namespace

class StaticApplyProcessTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QProcess xserver;
    std::unique_ptr<SimulatorProcess> simulator;
    QProcess panel;
    QString display;
    QString windowId;

    QString JournalPath() const { return scratch.filePath(QStringLiteral("journal.jsonl")); }

    QList<QJsonObject> Journal() const
    {
        QList<QJsonObject> calls;
        QFile file(JournalPath());
        if (!file.open(QIODevice::ReadOnly))
            return calls;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.trimmed().isEmpty())
                calls << QJsonDocument::fromJson(line).object();
        }
        return calls;
    }

    QStringList OpsSince(int first) const
    {
        QStringList ops;
        const QList<QJsonObject> calls = Journal();
        for (int i = first; i < calls.size(); ++i)
            ops << calls[i].value(QStringLiteral("op")).toString();
        return ops;
    }

    QString XDo(const QStringList& args)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), args);
        if (!tool.waitForFinished(20000))
            return QString();
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    void Click(QPoint at)
    {
        XDo({QStringLiteral("mousemove"), QStringLiteral("--window"), windowId, QString::number(at.x()),
             QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        for (const char* tool : {"Xvfb", "xdotool"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);

        xserver.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-screen"), QStringLiteral("0"),
                                               QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                               QStringLiteral("tcp")});
        QVERIFY(xserver.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(xserver.canReadLine() || xserver.waitForReadyRead(100), 20000);
        display = QLatin1Char(':') + QString::fromLatin1(xserver.readLine().trimmed());
        QVERIFY(display.size() > 1);

        // The virtual rig from its defaults, kept in the scratch folder.
        simulator = std::make_unique<SimulatorProcess>(
            QStringList{QStringLiteral("--state-dir"), scratch.filePath(QStringLiteral("state")),
                        QStringLiteral("--reset"), QStringLiteral("--journal"), JournalPath()});
        QVERIFY2(simulator->Start(), qPrintable(simulator->ErrorOutput()));
    }

    void cleanupTestCase()
    {
        for (QProcess* p : {&panel, &xserver}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000))
                    p->kill();
                p->waitForFinished(5000);
            }
        }
        if (simulator)
            simulator->Stop();
    }

    void redReachesTheRig()
    {
        // The rig starts on the breathing effect with every LED blue, so
        // picking the static effect and red both change something.
        std::unique_ptr<DeviceMaster> group = CurrentGroup();
        QVERIFY(group);
        QVERIFY(group->GetLeds().size() >= 2);
        for (LedInfo* led : group->GetLeds()) {
            EffectSetting* s0 = led->GetSetting(0);
            QVERIFY(s0);
            *s0 = EffectSetting();
            s0->color = Blue;
            s0->hue = 0.666667f;
            s0->saturation = 1.0f;
            s0->lightness = 0.5f;
        }
        const std::string breathing = EffectProfile::Build(group.get(), "Group", 2, EffectProfile::Parts());
        const QDBusMessage prepared =
            SimulatorProcess::SetProfile(QStringLiteral("Group"), QString::fromStdString(breathing));
        QVERIFY2(prepared.type() == QDBusMessage::ReplyMessage, qPrintable(prepared.errorMessage()));
        group = CurrentGroup();
        QCOMPARE(ModeOf(*group), 2);
        const std::string firstLed = group->GetLeds().front()->GetKey();
        const int before = Journal().size();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch.path());
        env.insert(QStringLiteral("VORNLIGHT_REGISTRY"), scratch.filePath(QStringLiteral("none.reg")));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        panel.setProcessEnvironment(env);
        panel.setProcessChannelMode(QProcess::ForwardedChannels);
        panel.start(QStringLiteral(LUMET_BIN_DIR "/vornlight"), QStringList());
        QVERIFY(panel.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!(windowId = XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                   QStringLiteral("--name"), QStringLiteral("^Vornlight Beta$")}))
                                      .isEmpty(),
                                 60000);
        windowId = windowId.split(QLatin1Char('\n')).first();
        QTRY_COMPARE_WITH_TIMEOUT(OpsSince(before), (QStringList{"GetCapability", "GetStatus"}), 30000);
        QTest::qWait(500);

        // Static, then red for the LED the colour group picks first, then APPLY.
        Click(StaticEffectButton);
        Click(PureRedButton);
        Click(ApplyButton);
        QTRY_COMPARE_WITH_TIMEOUT(OpsSince(before),
                                  (QStringList{"GetCapability", "GetStatus", "SetProfile", "GetStatus"}), 30000);
        const QJsonObject applied = Journal().at(before + 2);
        QCOMPARE(applied.value(QStringLiteral("key")).toString(), QStringLiteral("Group"));
        QVERIFY2(applied.value(QStringLiteral("document")).toString().contains(QStringLiteral("<mode key=\"1\">")),
                 qPrintable(applied.value(QStringLiteral("document")).toString()));

        // The rig's next status: static, the first LED red, the others still blue.
        group = CurrentGroup();
        QCOMPARE(ModeOf(*group), 1);
        const EffectSetting* red = group->FindLed(firstLed)->GetSetting(0);
        const Rgb shown = ColourOf(red->color);
        QVERIFY2(shown.red >= 240 && shown.green <= 16 && shown.blue <= 16, qPrintable(QString::number(red->color)));
        QCOMPARE(red->hue, 0.0f);
        for (const LedInfo* led : group->GetLeds()) {
            if (led->GetKey() != firstLed)
                QCOMPARE(led->GetSetting(0)->color, Blue);
        }

        Click(QPoint(828 + 11, 8 + 11));
        QVERIFY(panel.waitForFinished(10000));
        QCOMPARE(panel.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(StaticApplyProcessTest)
#include "StaticApplyProcessTest.moc"
