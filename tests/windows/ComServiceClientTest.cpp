// The panel's COM client against the lighting service in a process of its
// own: COM starts the registered vornlight-com-service for every call, and
// the service's journal shows what arrived.
#include "service/ServiceClient.h"
#include "service/ServiceText.h"
#include "tests/support/SimulatorJournal.h"
#include "ui/mainwindow/LumetApartment.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A document of every 7-bit value, NUL and line ends included, in an order
// no shorter period repeats.
std::string SevenBitDocument(quint32 seed)
{
    std::string text(1 << 20, '\0');
    for (char& c : text) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>((seed >> 24) & 0x7f);
    }
    return text;
}

} // namespace

class ComServiceClientTest : public QObject
{
    Q_OBJECT

    // The client needs the apartment the main window enters.
    LumetApartment apartment;
    QTemporaryDir scratch;
    const std::string capability = SevenBitDocument(1);
    const std::string status = SevenBitDocument(2);
    const QString service = QCoreApplication::applicationDirPath() + QStringLiteral("/vornlight-com-service.exe");

    QString Write(const QString& name, const std::string& text) const
    {
        QFile file(scratch.filePath(name));
        const bool written =
            file.open(QIODevice::WriteOnly) && file.write(text.data(), qint64(text.size())) == qint64(text.size());
        return written ? file.fileName() : QString();
    }

    // Registers the service to serve the documents with the extra arguments.
    bool Register(const QString& journal, const QStringList& extra = {}) const
    {
        QProcess registration;
        registration.setProcessChannelMode(QProcess::ForwardedChannels);
        registration.start(service, QStringList{"/RegServer", "--capability", Write("capability.xml", capability),
                                                "--status", Write("status.xml", status), "--journal",
                                                scratch.filePath(journal)}
                                        + extra);
        return registration.waitForFinished(60000) && registration.exitStatus() == QProcess::NormalExit
            && registration.exitCode() == 0;
    }

private slots:
    void initTestCase() { QVERIFY(apartment.IsEntered() && scratch.isValid()); }

    void cleanupTestCase() { QProcess::execute(service, {"/UnregServer"}); }

    void megabyteDocumentsTravelBothWaysWhole()
    {
        QVERIFY(Register(QStringLiteral("journal.jsonl")));
        const SimulatorJournal journal(scratch.filePath(QStringLiteral("journal.jsonl")));
        ServiceClient& client = ServiceClient::Instance();
        const std::u16string profile = ServiceText::Widen(SevenBitDocument(3));
        const std::u16string exchanged = ServiceText::Widen(SevenBitDocument(4));
        QVERIFY(client.GetCapability() == ServiceText::Widen(capability));
        QVERIFY(client.GetStatus() == ServiceText::Widen(status));
        client.SetProfile(u"Group", profile);
        QVERIFY(client.Exchange(exchanged) == exchanged);

        const QList<SimulatorJournal::Call> calls = journal.Calls();
        QCOMPARE(journal.Ops(), (QStringList{"GetCapability", "GetStatus", "SetProfile", "Exchange"}));
        QCOMPARE(calls.at(2).key, QStringLiteral("Group"));
        QVERIFY(calls.at(2).document.toStdU16String() == profile);
        QVERIFY(calls.at(3).document.toStdU16String() == exchanged);
    }

    // The service is reached (its journal shows every call) but answers a
    // failure code with a document filled in anyway: the client keeps nothing.
    void failureCodeGivesNothing()
    {
        QVERIFY(Register(QStringLiteral("failing.jsonl"), {"--fail", "0x80004005"}));
        const SimulatorJournal journal(scratch.filePath(QStringLiteral("failing.jsonl")));
        ServiceClient& client = ServiceClient::Instance();
        QVERIFY(client.GetCapability().empty() && client.GetStatus().empty() && client.Exchange(u"<exchange/>").empty());
        client.SetProfile(u"Group", u"<profile/>");
        QCOMPARE(journal.Ops(), (QStringList{"GetCapability", "GetStatus", "Exchange", "SetProfile"}));
    }
};

QTEST_GUILESS_MAIN(ComServiceClientTest)
#include "ComServiceClientTest.moc"
