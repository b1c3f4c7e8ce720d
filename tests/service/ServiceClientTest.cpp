// The service link against the simulated lighting service on the test's own
// session bus, and against no service at all. (A frozen one is met by the
// panel in the fault tests.)
#include "service/ServiceClient.h"
#include "service/ServiceText.h"
#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/SimulatorJournal.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString SimulatorData = QStringLiteral(LUMET_TEST_DATA "/../../simulator/data/");

std::u16string FileText(const char* name)
{
    QFile file(SimulatorData + name);
    return file.open(QIODevice::ReadOnly) ? ServiceText::Widen(file.readAll().toStdString()) : u"(missing)";
}

} // namespace

class ServiceClientTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    const SimulatorJournal journal{dir.filePath("journal")};

    std::unique_ptr<SimulatorProcess> StartSimulator() const
    {
        auto simulator = std::make_unique<SimulatorProcess>(
            QStringList{"--capability", SimulatorData + "capability.xml", "--status", SimulatorData + "status.xml"}
            + journal.Arguments());
        return simulator->Start() ? std::move(simulator) : nullptr;
    }

private slots:
    // Runs first, while nothing owns the service's name on this bus.
    void withoutServiceEverythingIsEmpty()
    {
        ServiceClient& client = ServiceClient::Instance();
        QElapsedTimer clock;
        clock.start();
        client.SetProfile(u"Group", u"<root/>");
        QVERIFY(client.GetCapability().empty() && client.GetStatus().empty() && client.Exchange(u"<root/>").empty());
        // An absent service answers at once; the timeout is for a hung one.
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    }

    void againstTheSimulator()
    {
        std::unique_ptr<SimulatorProcess> simulator = StartSimulator();
        QVERIFY(simulator);
        ServiceClient& client = ServiceClient::Instance();
        QVERIFY(client.GetCapability() == FileText("capability.xml"));
        QVERIFY(client.GetStatus() == FileText("status.xml"));

        // Every byte arrives as sent: markup, quotes, control characters and
        // a widened byte above 127.
        const char* const document = "<root>\n\t<header>\"a\" & 'b' \\ \xe9</header>\r\n</root>";
        client.SetProfile(u"Group", ServiceText::Widen(document));
        // A D-Bus string would end at the NUL: such a text is not sent.
        client.SetProfile(u"Group", std::u16string(u"<root>\0</root>", 14));
        // The simulator does not offer Exchange: its error reads as empty.
        QVERIFY(client.Exchange(u"<ask/>").empty());

        const QList<SimulatorJournal::Call> calls = journal.Calls();
        QCOMPARE(journal.Ops(), (QStringList{"GetCapability", "GetStatus", "SetProfile", "Exchange"}));
        QCOMPARE(calls[2].key, QStringLiteral("Group"));
        QCOMPARE(calls[2].document, QString::fromLatin1(document));
        QCOMPARE(calls[3].document, QStringLiteral("<ask/>"));

        // Each call stands alone: a restarted service is simply used.
        simulator->Stop();
        QVERIFY(client.GetStatus().empty());
        simulator = StartSimulator();
        QVERIFY(simulator && !client.GetStatus().empty());
    }
};

QTEST_GUILESS_MAIN(ServiceClientTest)
#include "ServiceClientTest.moc"
