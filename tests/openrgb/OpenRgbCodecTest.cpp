// The protocol's codec on replies captured from a real OpenRGB server
// (1.0rc3): a memory module after a segment was added to its zone (protocol
// 5), the main board of the server's mode-declaring build (protocol 4), and
// the keyboard with its key matrix (protocol 3). Then the same bytes cut
// short and with their counts and lengths made to lie.

#include "simulator/openrgb/OpenRgbCodec.h"

#include <QFile>
#include <QtTest>

#include <cmath>

using namespace OpenRgbCodec;
using OpenRgb::Color;

namespace {

QByteArray Fixture(const QString& name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/openrgb/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

Result<OpenRgb::Device> Decode(const QByteArray& bytes, uint32_t protocol)
{
    return DecodeControllerData(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), protocol);
}

void Put(QByteArray& bytes, int at, int width, uint32_t value)
{
    for (int i = 0; i < width; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

// The controller data's own size, at its start, made to match the bytes.
void FixDataSize(QByteArray& bytes)
{
    if (bytes.size() >= 4)
        Put(bytes, 0, 4, uint32_t(bytes.size()));
}

struct Capture
{
    const char* file;
    uint32_t protocol;
};
const Capture Captures[] = {
    {"dram-segment-v5.bin", 5},
    {"motherboard-modes-v4.bin", 4},
    {"keyboard-matrix-v3.bin", 3},
};

} // namespace

class OpenRgbCodecTest : public QObject
{
    Q_OBJECT

private slots:
    // What the real server's stock devices do not show: a segment, mode
    // colours, and a key matrix (names, types and LED counts are checked
    // against the running server).
    void capturedDevices()
    {
        const auto dram = Decode(Fixture("dram-segment-v5.bin"), 5);
        QVERIFY2(dram.Ok(), dram.error.c_str());
        const OpenRgb::Segment& half = dram.value.zones.at(0).segments.at(0);
        QCOMPARE(half.name, std::string("Half"));
        QCOMPARE(half.ledsCount, 4u);
        QCOMPARE(dram.value.leds.at(7).name, std::string("Custom LED. Zone 0, LED 7"));

        const auto board = Decode(Fixture("motherboard-modes-v4.bin"), 4);
        QVERIFY2(board.Ok(), board.error.c_str());
        const OpenRgb::Mode& still = board.value.modes.at(1);
        QCOMPARE(int(still.colorMode), int(OpenRgb::ColorMode::ModeSpecific));
        QCOMPARE(still.brightness, 100u);
        QCOMPARE(still.colors, (std::vector<Color>{Color{255, 0, 0}}));
        const OpenRgb::Mode& breathing = board.value.modes.at(2);
        QCOMPARE(breathing.speed, 3u);
        QCOMPARE(breathing.colors, (std::vector<Color>{{0, 0, 255}, {0, 255, 0}}));
        QCOMPARE(board.value.ZoneStart(1), 3u);

        // Every key of the matrix zone sits in exactly one cell.
        const auto keyboard = Decode(Fixture("keyboard-matrix-v3.bin"), 3);
        QVERIFY2(keyboard.Ok(), keyboard.error.c_str());
        const OpenRgb::Zone& keys = keyboard.value.zones.at(2);
        QVERIFY(keys.matrix);
        std::vector<int> seen(keys.ledsCount, 0);
        for (uint32_t cell : keys.matrix->map)
            if (cell != OpenRgb::MatrixMap::NoLed)
                ++seen.at(cell);
        QCOMPARE(std::count(seen.begin(), seen.end(), 1), long(keys.ledsCount));
    }

    // The layout differs between versions: a reply read at another version
    // than the one asked for must not pass.
    void otherVersionsRefused()
    {
        for (const Capture& capture : Captures)
            for (uint32_t protocol = 2; protocol <= 6; ++protocol)
                if (protocol != capture.protocol)
                    QVERIFY2(!Decode(Fixture(capture.file), protocol).Ok(), capture.file);
    }

    // Cut at every length (the size at the start told the same lie), and
    // with bytes left over.
    void truncatedAtEveryLength()
    {
        for (const Capture& capture : Captures) {
            const QByteArray whole = Fixture(capture.file);
            for (int length = 0; length < whole.size(); ++length) {
                QByteArray cut = whole.left(length);
                FixDataSize(cut);
                const auto decoded = Decode(cut, capture.protocol);
                QVERIFY2(!decoded.Ok() && decoded.error.find(": ") != std::string::npos,
                         qPrintable(QStringLiteral("%1 cut at %2").arg(capture.file).arg(length)));
            }
            QByteArray longer = whole + '\0';
            FixDataSize(longer);
            QVERIFY(Decode(longer, capture.protocol).error.find("follow the device") != std::string::npos);
        }
    }

    // A field found by the text next to it: offset bytes from where anchor
    // starts (from the end of the reply for an empty anchor).
    void lyingCounts_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("anchor");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("error"); // empty: any error will do

        const QString dram = QStringLiteral("dram-segment-v5.bin");
        const QByteArray name("\x0d\x00Test DRAM A1", 14);
        const QByteArray location("address 0x71\0", 13);
        const QByteArray zone("\x05\x00" "DRAM\0", 7);
        const QByteArray segment("\x05\x00Half\0", 7);
        const QByteArray firstLed("\x1a\x00" "Custom LED", 12);
        const QByteArray lastLed("LED 7\0", 6);
        QTest::newRow("data_size too large") << dram << QByteArray() << 0 << 4 << 530u << "data_size: says 530";
        QTest::newRow("name length 0") << dram << name << 0 << 2 << 0u << "name: length 0";
        QTest::newRow("name length 0xFFFF") << dram << name << 0 << 2 << 0xFFFFu << "name: needs 65535 bytes";
        QTest::newRow("name length short") << dram << name << 0 << 2 << 12u << "name: does not end in a NUL";
        QTest::newRow("num_modes 0xFFFF") << dram << location << 13 << 2 << 0xFFFFu << "num_modes: 65535 records";
        QTest::newRow("num_modes 0") << dram << location << 13 << 2 << 0u << "";
        QTest::newRow("num_modes one more") << dram << location << 13 << 2 << 2u << "modes[1]";
        QTest::newRow("num_zones 0xFFFF") << dram << zone << -2 << 2 << 0xFFFFu << "num_zones: 65535 records";
        QTest::newRow("zone holds more LEDs") << dram << zone << 19 << 4 << 9u << "num_leds: 8 LEDs, but the zones hold 9";
        QTest::newRow("num_segments 0xFFFF") << dram << segment << -2 << 2 << 0xFFFFu << "zones[0].num_segments";
        QTest::newRow("segment past its zone") << dram << segment << 11 << 4 << 6u << "segments[0].leds_count";
        QTest::newRow("num_leds 0xFFFF") << dram << firstLed << -2 << 2 << 0xFFFFu << "num_leds: 65535 records";
        QTest::newRow("num_leds one fewer") << dram << firstLed << -2 << 2 << 7u << "";
        QTest::newRow("num_colors 0xFFFF") << dram << lastLed << 10 << 2 << 0xFFFFu << "num_colors: 65535 records";
        QTest::newRow("num_colors 0") << dram << lastLed << 10 << 2 << 0u << "num_colors: 0 colours for 8 LEDs";
        QTest::newRow("num_led_alt_names 0xFFFF") << dram << QByteArray() << -6 << 2 << 0xFFFFu << "num_led_alt_names";

        const QString board = QStringLiteral("motherboard-modes-v4.bin");
        const QByteArray breathing("Breathing\0", 10);
        QTest::newRow("mode colours 0xFFFF") << board << breathing << 58 << 2 << 0xFFFFu << "modes[2].num_colors";
        QTest::newRow("mode colours one more") << board << breathing << 58 << 2 << 3u << "";

        const QString keyboard = QStringLiteral("keyboard-matrix-v3.bin");
        const QByteArray keys("Keyboard Zone\0", 14);
        QTest::newRow("matrix_len not whole cells") << keyboard << keys << 30 << 2 << 7u << "zones[2].matrix_len";
        QTest::newRow("matrix_len 0xFFFF") << keyboard << keys << 30 << 2 << 0xFFFFu << "zones[2].matrix_len";
        QTest::newRow("matrix taller") << keyboard << keys << 32 << 4 << 7u << "do not hold 7 x 21 cells";
        QTest::newRow("matrix cell past the zone") << keyboard << keys << 40 << 4 << 104u << "cell 0 names LED 104";
    }

    void lyingCounts()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, anchor);
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(uint, value);
        QFETCH(QString, error);
        QByteArray bytes = Fixture(file);
        const uint32_t protocol = file.contains(QStringLiteral("v5")) ? 5 : file.contains(QStringLiteral("v4")) ? 4 : 3;
        QVERIFY(Decode(bytes, protocol).Ok());
        const int start = anchor.isEmpty() ? (offset < 0 ? bytes.size() : 0) : bytes.indexOf(anchor);
        QVERIFY2(start >= 0, "anchor not found");
        Put(bytes, start + offset, width, value);
        const auto decoded = Decode(bytes, protocol);
        QVERIFY(!decoded.Ok());
        QVERIFY(decoded.value.leds.empty());
        QVERIFY2(decoded.error.find(error.toStdString()) != std::string::npos, decoded.error.c_str());
    }

    // Settings checked against the modes the captured main board declares
    // (Static: brightness 0..100, one colour; Breathing: speed 1..5, one or
    // two colours) and against a range that runs backwards.
    void modeSettings_data()
    {
        QTest::addColumn<int>("mode"); // -1: Breathing with its speeds 4..0
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("colors");
        QTest::addColumn<int>("value"); // added to the mode's own
        QTest::addColumn<QString>("misfit");

        QTest::newRow("as read") << 2 << 3 << 0 << 2 << 0 << "";
        QTest::newRow("fastest") << 2 << 5 << 0 << 1 << 0 << "";
        QTest::newRow("too fast") << 2 << 6 << 0 << 1 << 0 << "speed 6";
        QTest::newRow("too slow") << 2 << 0 << 0 << 1 << 0 << "speed 0";
        QTest::newRow("backwards, middle") << -1 << 2 << 0 << 0 << 0 << "";
        QTest::newRow("backwards, past slowest") << -1 << 5 << 0 << 0 << 0 << "speed 5 is outside Breathing's 4..0";
        QTest::newRow("three colours") << 2 << 3 << 0 << 3 << 0 << "3 colours";
        QTest::newRow("no colour") << 1 << 0 << 100 << 0 << 0 << "0 colours";
        QTest::newRow("dimmest") << 1 << 0 << 0 << 1 << 0 << "";
        QTest::newRow("too bright") << 1 << 0 << 101 << 1 << 0 << "brightness 101";
        QTest::newRow("value changed") << 1 << 0 << 50 << 1 << 1 << "is value 1, not 2";
    }

    void modeSettings()
    {
        QFETCH(int, mode);
        QFETCH(int, speed);
        QFETCH(int, brightness);
        QFETCH(int, colors);
        QFETCH(int, value);
        QFETCH(QString, misfit);
        const auto board = Decode(Fixture("motherboard-modes-v4.bin"), 4);
        QVERIFY(board.Ok());
        OpenRgb::Mode declared = board.value.modes.at(size_t(mode < 0 ? 2 : mode));
        if (mode < 0) {
            declared.speedMin = 4;
            declared.speedMax = 0;
            declared.colorMode = OpenRgb::ColorMode::PerLed;
        }
        OpenRgb::Mode settings = declared;
        settings.speed = uint32_t(speed);
        settings.brightness = uint32_t(brightness);
        settings.colors.assign(size_t(colors), Color{1, 2, 3});
        settings.value += value;
        const std::string found = declared.Misfit(settings);
        QCOMPARE(found.empty(), misfit.isEmpty());
        QVERIFY2(found.find(misfit.toStdString()) != std::string::npos, found.c_str());
    }

    void speedRange_data()
    {
        QTest::addColumn<uint>("slowest");
        QTest::addColumn<uint>("fastest");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<uint>("speed");

        QTest::newRow("reversed, slowest") << 4u << 0u << 0.0 << 4u;
        QTest::newRow("reversed, fastest") << 4u << 0u << 1.0 << 0u;
        QTest::newRow("reversed, a quarter") << 4u << 0u << 0.25 << 3u;
        QTest::newRow("forward, middle") << 1u << 5u << 0.5 << 3u;
        QTest::newRow("forward, rounded") << 1u << 5u << 0.6 << 3u;
        QTest::newRow("beyond fastest") << 1u << 5u << 7.0 << 5u;
        QTest::newRow("below slowest") << 4u << 0u << -1.0 << 4u;
        QTest::newRow("not a number") << 4u << 0u << std::nan("") << 4u;
        QTest::newRow("one setting") << 7u << 7u << 0.5 << 7u;
        QTest::newRow("widest") << 0xFFFFFFFFu << 0u << 1.0 << 0u;
    }

    void speedRange()
    {
        QFETCH(uint, slowest);
        QFETCH(uint, fastest);
        QFETCH(double, fraction);
        QFETCH(uint, speed);
        OpenRgb::Mode mode;
        mode.speedMin = slowest;
        mode.speedMax = fastest;
        QCOMPARE(mode.SpeedAt(fraction), speed);
        // Back from the setting to its place in the range.
        if (fraction >= 0.0 && fraction <= 1.0 && slowest != fastest)
            QCOMPARE(mode.SpeedAt(mode.SpeedFraction(speed)), speed);
    }
};

QTEST_APPLESS_MAIN(OpenRgbCodecTest)
#include "OpenRgbCodecTest.moc"
