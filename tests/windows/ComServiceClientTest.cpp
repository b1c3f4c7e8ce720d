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
std::string SevenBitDocument(size_t size, quint32 seed)
{
    std::string text(size, '\0');
    for (char& c : text) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>((seed >> 24) & 0x7f);
    }
    return text;
}

// Where two texts part, for a failure message that does not print a megabyte.
QByteArray FirstDifference(const std::u16string& got, const std::u16string& expected)
{
    size_t at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at])
        ++at;
    return QByteArray("sizes ") + QByteArray::number(qulonglong(got.size())) + " and "
        + QByteArray::number(qulonglong(expected.size())) + ", first difference at "
        + QByteArray::number(qulonglong(at));
}

} // namespace

class ComServiceClientTest : public QObject
{
    Q_OBJECT

    // The client needs the apartment the main window enters.
    LumetApartment apartment;
    QTemporaryDir scratch;
    const size_t Megabyte = 1 << 20;
    const std::string capability = SevenBitDocument(Megabyte, 1);
    const std::string status = SevenBitDocument(Megabyte, 2);

    static QString Service()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/vornlight-com-service.exe");
    }

    QString Write(const QString& name, const std::string& text) const
    {
        QFile file(scratch.filePath(name));
        if (!file.open(QIODevice::WriteOnly)
            || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
            return QString();
        return file.fileName();
    }

    // Registers the service to serve the documents with the extra arguments.
    bool Register(const QString& journal, const QStringList& extra = {}) const
    {
        QProcess registration;
        registration.setProcessChannelMode(QProcess::ForwardedChannels);
        registration.start(Service(), QStringList{"/RegServer", "--capability", Write("capability.xml", capability),
                                                  "--status", Write("status.xml", status), "--journal", journal}
                                          + extra);
        return registration.waitForFinished(60000) && registration.exitStatus() == QProcess::NormalExit
            && registration.exitCode() == 0;
    }

private slots:
    void initTestCase() { QVERIFY(apartment.IsEntered() && scratch.isValid()); }

    void cleanupTestCase() { QProcess::execute(Service(), {"/UnregServer"}); }

    void megabyteDocumentsTravelBothWaysWhole()
    {
        const SimulatorJournal journal(scratch.filePath(QStringLiteral("journal.jsonl")));
        QVERIFY(Register(scratch.filePath(QStringLiteral("journal.jsonl"))));
        ServiceClient& client = ServiceClient::Instance();
        const std::u16string profile = ServiceText::Widen(SevenBitDocument(Megabyte, 3));
        const std::u16string exchanged = ServiceText::Widen(SevenBitDocument(Megabyte, 4));

        const std::u16string gotCapability = client.GetCapability();
        QVERIFY2(gotCapability == ServiceText::Widen(capability),
                 FirstDifference(gotCapability, ServiceText::Widen(capability)));
        const std::u16string gotStatus = client.GetStatus();
        QVERIFY2(gotStatus == ServiceText::Widen(status), FirstDifference(gotStatus, ServiceText::Widen(status)));
        client.SetProfile(u"Group", profile);
        const std::u16string answer = client.Exchange(exchanged);
        QVERIFY2(answer == exchanged, FirstDifference(answer, exchanged));

        const QList<SimulatorJournal::Call> calls = journal.Calls();
        QCOMPARE(journal.Ops(), (QStringList{"GetCapability", "GetStatus", "SetProfile", "Exchange"}));
        QCOMPARE(calls.at(2).key, QStringLiteral("Group"));
        QVERIFY2(calls.at(2).document.toStdU16String() == profile,
                 FirstDifference(calls.at(2).document.toStdU16String(), profile));
        QVERIFY2(calls.at(3).document.toStdU16String() == exchanged,
                 FirstDifference(calls.at(3).document.toStdU16String(), exchanged));
    }

    // The service is reached (its journal shows every call) but answers a
    // failure code with a document filled in anyway: the client keeps nothing.
    void failureCodeGivesNothing()
    {
        const SimulatorJournal journal(scratch.filePath(QStringLiteral("failing.jsonl")));
        QVERIFY(Register(scratch.filePath(QStringLiteral("failing.jsonl")), {"--fail", "0x80004005"}));
        ServiceClient& client = ServiceClient::Instance();
        QVERIFY(client.GetCapability().empty());
        QVERIFY(client.GetStatus().empty());
        QVERIFY(client.Exchange(u"<exchange/>").empty());
        client.SetProfile(u"Group", u"<profile/>");
        QCOMPARE(journal.Ops(), (QStringList{"GetCapability", "GetStatus", "Exchange", "SetProfile"}));
    }
};

QTEST_GUILESS_MAIN(ComServiceClientTest)
#include "ComServiceClientTest.moc"
