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

enum { DramCapture, BoardCapture, KeyboardCapture };
const struct
{
    const char* file;
    uint32_t protocol;
} Captures[] = {{"dram-segment-v5.bin", 5}, {"motherboard-modes-v4.bin", 4}, {"keyboard-matrix-v3.bin", 3}};

QByteArray Fixture(int capture)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/openrgb/") + QLatin1String(Captures[capture].file));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", Captures[capture].file);
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

} // namespace

class OpenRgbCodecTest : public QObject
{
    Q_OBJECT

private slots:
    // What the real server's stock devices do not show: a segment, mode
    // colours, and a key matrix (the rest is checked against the running server).
    void capturedDevices()
    {
        const auto dram = Decode(Fixture(DramCapture), 5);
        QVERIFY2(dram.Ok(), dram.error.c_str());
        const OpenRgb::Segment& half = dram.value.zones.at(0).segments.at(0);
        QVERIFY(half.name == "Half" && half.ledsCount == 4);
        QCOMPARE(dram.value.leds.at(7).name, std::string("Custom LED. Zone 0, LED 7"));

        const auto board = Decode(Fixture(BoardCapture), 4);
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
        const auto keyboard = Decode(Fixture(KeyboardCapture), 3);
        QVERIFY2(keyboard.Ok(), keyboard.error.c_str());
        const OpenRgb::Zone& keys = keyboard.value.zones.at(2);
        QVERIFY(keys.matrix);
        std::vector<int> seen(keys.ledsCount, 0);
        for (uint32_t cell : keys.matrix->map)
            if (cell != OpenRgb::MatrixMap::NoLed)
                ++seen.at(cell);
        QCOMPARE(std::count(seen.begin(), seen.end(), 1), long(keys.ledsCount));
    }

    // Read at another version than the one asked for (the layouts differ),
    // cut at every length (the size at the start telling the same lie), and
    // with bytes left over: refused, saying where.
    void damagedCaptures()
    {
        for (int capture : {DramCapture, BoardCapture, KeyboardCapture}) {
            const QByteArray whole = Fixture(capture);
            const uint32_t protocol = Captures[capture].protocol;
            for (uint32_t other = 2; other <= 6; ++other)
                QVERIFY2(other == protocol || !Decode(whole, other).Ok(), Captures[capture].file);
            for (int length = 0; length < whole.size(); ++length) {
                QByteArray cut = whole.left(length);
                if (length >= 4)
                    Put(cut, 0, 4, uint32_t(cut.size()));
                const auto decoded = Decode(cut, protocol);
                QVERIFY2(!decoded.Ok() && decoded.error.find(": ") != std::string::npos,
                         qPrintable(QStringLiteral("%1 cut at %2").arg(Captures[capture].file).arg(length)));
            }
            QByteArray longer = whole + '\0';
            Put(longer, 0, 4, uint32_t(longer.size()));
            QVERIFY(Decode(longer, protocol).error.find("follow the device") != std::string::npos);
        }
    }

    // A field found by the text next to it: offset bytes from where anchor
    // starts (from the end of the reply for an empty anchor).
    void lyingCounts_data()
    {
        QTest::addColumn<int>("capture");
        QTest::addColumn<QByteArray>("anchor");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("error"); // empty: any error will do

        const int dram = DramCapture;
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

        const QByteArray breathing("Breathing\0", 10);
        QTest::newRow("mode colours 0xFFFF") << int(BoardCapture) << breathing << 58 << 2 << 0xFFFFu
                                             << "modes[2].num_colors";
        QTest::newRow("mode colours one more") << int(BoardCapture) << breathing << 58 << 2 << 3u << "";

        const int keyboard = KeyboardCapture;
        const QByteArray keys("Keyboard Zone\0", 14);
        QTest::newRow("matrix_len not whole cells") << keyboard << keys << 30 << 2 << 7u << "zones[2].matrix_len";
        QTest::newRow("matrix_len 0xFFFF") << keyboard << keys << 30 << 2 << 0xFFFFu << "zones[2].matrix_len";
        QTest::newRow("matrix taller") << keyboard << keys << 32 << 4 << 7u << "do not hold 7 x 21 cells";
        QTest::newRow("matrix cell past the zone") << keyboard << keys << 40 << 4 << 104u << "cell 0 names LED 104";
    }

    void lyingCounts()
    {
        QFETCH(int, capture);
        QFETCH(QByteArray, anchor);
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(uint, value);
        QFETCH(QString, error);
        QByteArray bytes = Fixture(capture);
        const uint32_t protocol = Captures[capture].protocol;
        QVERIFY(Decode(bytes, protocol).Ok());
        const int start = anchor.isEmpty() ? (offset < 0 ? bytes.size() : 0) : bytes.indexOf(anchor);
        QVERIFY2(start >= 0, "anchor not found");
        Put(bytes, start + offset, width, value);
        const auto decoded = Decode(bytes, protocol);
        QVERIFY(!decoded.Ok() && decoded.value.leds.empty());
        QVERIFY2(decoded.error.find(error.toStdString()) != std::string::npos, decoded.error.c_str());
    }

    // Settings checked against the modes the captured main board declares
    // (1 Static: brightness 0..100, one colour; 2 Breathing: speed 1..5, one
    // or two colours) and against a range that runs backwards (-1: Breathing
    // with its speeds 4..0).
    void modeSettings()
    {
        const auto board = Decode(Fixture(BoardCapture), 4);
        QVERIFY(board.Ok());
        const struct
        {
            int mode, speed, brightness, colors, valueAdded;
            const char* misfit;
        } cases[] = {
            {2, 3, 0, 2, 0, ""},           {2, 5, 0, 1, 0, ""},
            {2, 6, 0, 1, 0, "speed 6"},    {2, 0, 0, 1, 0, "speed 0"},
            {-1, 2, 0, 0, 0, ""},          {-1, 5, 0, 0, 0, "speed 5 is outside Breathing's 4..0"},
            {2, 3, 0, 3, 0, "3 colours"},  {1, 0, 100, 0, 0, "0 colours"},
            {1, 0, 0, 1, 0, ""},           {1, 0, 101, 1, 0, "brightness 101"},
            {1, 0, 50, 1, 1, "is value 1, not 2"},
        };
        for (const auto& c : cases) {
            OpenRgb::Mode declared = board.value.modes.at(size_t(c.mode < 0 ? 2 : c.mode));
            if (c.mode < 0) {
                declared.speedMin = 4;
                declared.speedMax = 0;
                declared.colorMode = OpenRgb::ColorMode::PerLed;
            }
            OpenRgb::Mode settings = declared;
            settings.speed = uint32_t(c.speed);
            settings.brightness = uint32_t(c.brightness);
            settings.colors.assign(size_t(c.colors), Color{1, 2, 3});
            settings.value += c.valueAdded;
            const std::string found = declared.Misfit(settings);
            QVERIFY2(found.empty() == !*c.misfit && found.find(c.misfit) != std::string::npos,
                     qPrintable(QStringLiteral("wanted \"%1\", found \"%2\"").arg(c.misfit, found.c_str())));
        }
    }

    // A fraction of the range (0 slowest, 1 fastest) as a setting, whichever
    // way the range runs, and back.
    void speedRange()
    {
        const struct
        {
            uint32_t slowest, fastest;
            double fraction;
            uint32_t speed;
        } cases[] = {{4, 0, 0.0, 4},  {4, 0, 1.0, 0},           {4, 0, 0.25, 3}, {1, 5, 0.5, 3},
                     {1, 5, 0.6, 3},  {1, 5, 7.0, 5},           {4, 0, -1.0, 4}, {4, 0, std::nan(""), 4},
                     {7, 7, 0.5, 7},  {0xFFFFFFFFu, 0, 1.0, 0}};
        for (const auto& c : cases) {
            OpenRgb::Mode mode;
            mode.speedMin = c.slowest;
            mode.speedMax = c.fastest;
            QCOMPARE(mode.SpeedAt(c.fraction), c.speed);
            if (c.fraction >= 0.0 && c.fraction <= 1.0 && c.slowest != c.fastest)
                QCOMPARE(mode.SpeedAt(mode.SpeedFraction(c.speed)), c.speed);
        }
    }
};

QTEST_APPLESS_MAIN(OpenRgbCodecTest)
#include "OpenRgbCodecTest.moc"
