// The frame clock: which frame is due when, and a clock that ticks in a
// worker thread on its frames' due times.
#include "simulator/engine/FrameClock.h"

#include <QThread>
#include <QtTest>

namespace {

constexpr qint64 Ms = 1000000;

} // namespace

class FrameClockTest : public QObject
{
    Q_OBJECT

private slots:
    void dueFramesKeepTheirTimesAndSkipWhatWasMissed_data()
    {
        QTest::addColumn<qint64>("now");
        QTest::addColumn<qint64>("last");
        QTest::addColumn<qint64>("frame");
        QTest::addColumn<qint64>("due");
        // 30 frames a second: 33.333 ms a frame.
        QTest::newRow("first at once") << 0LL << -1LL << 0LL << 0LL;
        QTest::newRow("next not due yet") << 40 * Ms << 0LL << 1LL << 33333333LL;
        QTest::newRow("next due, late") << 70 * Ms << 1LL << 2LL << 66666666LL;
        QTest::newRow("woken early") << 66 * Ms << 1LL << 2LL << 66666666LL;
        // Two and a half frames late: frames 3 and 4 are skipped, 5 is due.
        QTest::newRow("skips the missed") << 180 * Ms << 2LL << 5LL << 166666665LL;
        QTest::newRow("an hour on") << 3600000 * Ms << 107999LL << 108000LL << 3599999964000LL;
    }
    void dueFramesKeepTheirTimesAndSkipWhatWasMissed()
    {
        QFETCH(qint64, now);
        QFETCH(qint64, last);
        QFETCH(qint64, frame);
        QFETCH(qint64, due);
        const FrameClock::Deadline next = FrameClock::Next(1000000000LL / 30, now, last);
        QCOMPARE(next.frame, frame);
        QCOMPARE(next.dueNs, due);
    }

    void percentilesTakeTheNearestRank()
    {
        std::vector<double> samples;
        for (int i = 100; i >= 1; --i)
            samples.push_back(i);
        QCOMPARE(FrameClock::Percentile(samples, 99), 99.0);
        QCOMPARE(FrameClock::Percentile(samples, 50), 50.0);
        QCOMPARE(FrameClock::Percentile(samples, 100), 100.0);
        QCOMPARE(FrameClock::Percentile(samples, -5), 1.0);
        QCOMPARE(FrameClock::Percentile({}, 99), 0.0);
    }

    void ticksInItsThreadOnDueTimes()
    {
        QThread worker;
        FrameClock clock;
        clock.SetFps(100);
        clock.moveToThread(&worker);
        QList<qint64> frames, due;
        QList<Qt::HANDLE> threads;
        QMutex lock;
        connect(&clock, &FrameClock::Tick, &clock, [&](qint64 frame, qint64 dueNs) {
            QMutexLocker locked(&lock);
            frames << frame;
            due << dueNs;
            threads << QThread::currentThreadId();
        }, Qt::DirectConnection);
        worker.start();
        QMetaObject::invokeMethod(&clock, [&] { clock.Start(); }, Qt::BlockingQueuedConnection);
        QTest::qWait(300);
        QMetaObject::invokeMethod(&clock, [&] { clock.Stop(); }, Qt::BlockingQueuedConnection);
        worker.quit();
        worker.wait();

        // Frames count up from 0 on a 10 ms grid; missed ones (a busy machine) are skipped, never repeated.
        QVERIFY(frames.size() >= 10);
        QCOMPARE(frames.first(), 0LL);
        for (int i = 0; i < frames.size(); ++i) {
            QCOMPARE(due[i], frames[i] * 10 * Ms);
            QVERIFY(i == 0 || frames[i] > frames[i - 1]);
            QVERIFY(threads[i] != QThread::currentThreadId());
        }
        QCOMPARE(clock.MissedFrames() + frames.size(), frames.last() + 1);
        QCOMPARE(qint64(clock.LatenessNs().size()), qint64(frames.size()));
        for (qint64 late : clock.LatenessNs())
            QVERIFY(late >= 0);

        // Rates outside what a clock can keep are brought within.
        clock.SetFps(0);
        QCOMPARE(clock.Fps(), FrameClock::MinFps);
        clock.SetFps(100000);
        QCOMPARE(clock.Fps(), FrameClock::MaxFps);
    }
};

QTEST_GUILESS_MAIN(FrameClockTest)
#include "FrameClockTest.moc"
