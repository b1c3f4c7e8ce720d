// The service link against the simulated lighting service on the test's own
// session bus, against no service at all, and against a frozen one.
#include "service/ServiceClient.h"
#include "service/ServiceText.h"
#include "service/linux/DBusServiceBackend.h"
#include "tests/simulator/SimulatorProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString SimulatorData = QStringLiteral(LUMET_TEST_DATA "/../../simulator/data/");

std::u16string FileText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::u16string();
    const QByteArray bytes = file.readAll();
    return ServiceText::Widen(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QList<QJsonObject> Journal(const QString& path)
{
    QList<QJsonObject> calls;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            calls << QJsonDocument::fromJson(line).object();
    }
    return calls;
}

// Records what reaches the transport.
class RecordingBackend : public ServiceBackend
{
public:
    QStringList calls;
    void SetProfile(const std::u16string& target, const std::u16string& document) override
    {
        calls << QStringLiteral("SetProfile ") + QString::fromStdU16String(target + u" " + document);
    }
    std::u16string Exchange(const std::u16string& document) override
    {
        calls << QStringLiteral("Exchange ") + QString::fromStdU16String(document);
        return u"exchanged";
    }
    std::u16string GetStatus() override { return u"status"; }
    std::u16string GetCapability() override { return u"capability"; }
};

} // namespace

class ServiceClientTest : public QObject
{
    Q_OBJECT

private:
    static SimulatorProcess* NewSimulator(const QString& journal)
    {
        return new SimulatorProcess({QStringLiteral("--capability"), SimulatorData + QStringLiteral("capability.xml"),
                                     QStringLiteral("--status"), SimulatorData + QStringLiteral("status.xml"),
                                     QStringLiteral("--journal"), journal});
    }

private slots:
    void cleanup() { ServiceClient::Instance().SetBackend(nullptr); }

    // Runs first, while nothing owns the service's name on this bus.
    void withoutServiceEverythingIsEmpty()
    {
        ServiceClient& client = ServiceClient::Instance();
        QElapsedTimer clock;
        clock.start();
        client.SetProfile(u"Group", u"<root/>");
        QVERIFY(client.GetCapability().empty());
        QVERIFY(client.GetStatus().empty());
        QVERIFY(client.Exchange(u"<root/>").empty());
        // An absent service answers at once; the timeout is for a hung one.
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    }

    void againstTheSimulator()
    {
        QTemporaryDir dir;
        const QString journal = dir.filePath(QStringLiteral("journal"));
        std::unique_ptr<SimulatorProcess> simulator(NewSimulator(journal));
        QVERIFY2(simulator->Start(), qPrintable(simulator->ErrorOutput()));

        ServiceClient& client = ServiceClient::Instance();
        const std::u16string capability = client.GetCapability();
        QVERIFY(!capability.empty());
        QVERIFY(capability == FileText(SimulatorData + QStringLiteral("capability.xml")));
        QVERIFY(client.GetStatus() == FileText(SimulatorData + QStringLiteral("status.xml")));

        // Every byte arrives as sent: markup, quotes, control characters and
        // a widened byte above 127.
        const std::u16string document
            = ServiceText::Widen("<root>\n\t<header>\"a\" & 'b' \\ \xe9</header>\r\n</root>");
        client.SetProfile(u"Group", document);
        // A D-Bus string would end at the NUL: such a text is not sent.
        client.SetProfile(u"Group", std::u16string(u"<root>\0</root>", 14));
        // The simulator does not offer Exchange: its error reads as empty.
        QVERIFY(client.Exchange(u"<ask/>").empty());

        const QList<QJsonObject> calls = Journal(journal);
        QCOMPARE(calls.size(), 4);
        QCOMPARE(calls[0].value(QStringLiteral("op")).toString(), QStringLiteral("GetCapability"));
        QCOMPARE(calls[1].value(QStringLiteral("op")).toString(), QStringLiteral("GetStatus"));
        QCOMPARE(calls[2].value(QStringLiteral("op")).toString(), QStringLiteral("SetProfile"));
        QCOMPARE(calls[2].value(QStringLiteral("key")).toString(), QStringLiteral("Group"));
        QCOMPARE(calls[2].value(QStringLiteral("document")).toString(), QString::fromStdU16String(document));
        QCOMPARE(calls[3].value(QStringLiteral("op")).toString(), QStringLiteral("Exchange"));
        QCOMPARE(calls[3].value(QStringLiteral("document")).toString(), QStringLiteral("<ask/>"));

        // Each call stands alone: a restarted service is simply used.
        simulator->Stop();
        QVERIFY(client.GetStatus().empty());
        simulator.reset(NewSimulator(journal));
        QVERIFY(simulator->Start());
        QVERIFY(!client.GetStatus().empty());
    }

    // A service that stops answering holds each call no longer than the timeout.
    void frozenServiceCostsOnlyTheTimeout()
    {
        QTemporaryDir dir;
        std::unique_ptr<SimulatorProcess> simulator(NewSimulator(dir.filePath(QStringLiteral("journal"))));
        QVERIFY(simulator->Start());
        ServiceClient& client = ServiceClient::Instance();
        client.SetBackend(std::make_unique<DBusServiceBackend>(400));

        const pid_t pid = static_cast<pid_t>(simulator->Pid());
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        QElapsedTimer clock;
        clock.start();
        const bool empty = client.GetCapability().empty() && client.GetStatus().empty();
        client.SetProfile(u"Group", u"<root/>");
        const qint64 elapsed = clock.elapsed();
        ::kill(pid, SIGCONT);
        QVERIFY(empty);
        // The bus ends a wait a little before this clock counts 400 ms (1147 ms
        // for three calls on a busy machine): the lower bound only shows that
        // each call waited for the service at all.
        QVERIFY2(elapsed >= 3 * 400 * 3 / 4 && elapsed < 3 * 400 + 3000, qPrintable(QString::number(elapsed)));
        QVERIFY(!client.GetStatus().empty());
    }

    // Tests and the platform both plug in behind the same client.
    void backendCanBeReplaced()
    {
        ServiceClient& client = ServiceClient::Instance();
        auto recording = std::make_unique<RecordingBackend>();
        RecordingBackend* fake = recording.get();
        client.SetBackend(std::move(recording));
        client.SetProfile(u"Mainboard", u"<doc/>");
        QVERIFY(client.Exchange(u"<x/>") == u"exchanged");
        QVERIFY(client.GetStatus() == u"status");
        QVERIFY(client.GetCapability() == u"capability");
        QCOMPARE(fake->calls, (QStringList{QStringLiteral("SetProfile Mainboard <doc/>"), QStringLiteral("Exchange <x/>")}));

        client.SetBackend(nullptr);
        const auto* platform = dynamic_cast<const DBusServiceBackend*>(client.GetBackend());
        QVERIFY(platform);
        QCOMPARE(platform->TimeoutMs(), 10000);
    }
};

QTEST_GUILESS_MAIN(ServiceClientTest)
#include "ServiceClientTest.moc"
