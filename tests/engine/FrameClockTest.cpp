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
    void dueFramesKeepTheirTimesAndSkipWhatWasMissed()
    {
        // At 30 frames a second (33.333 ms a frame): now, the last frame
        // shown, the frame to show and its due time.
        const qint64 rows[][4] = {
            {0, -1, 0, 0},                      // the first at once
            {40 * Ms, 0, 1, 33333333},          // the next, not due yet
            {70 * Ms, 1, 2, 66666666},          // the next, late
            {66 * Ms, 1, 2, 66666666},          // woken early
            {180 * Ms, 2, 5, 166666665},        // two and a half frames late: 3 and 4 skipped
            {3600000 * Ms, 107999, 108000, 3599999964000}};
        for (const auto& row : rows) {
            const FrameClock::Deadline next = FrameClock::Next(1000000000LL / 30, row[0], row[1]);
            QCOMPARE(next.frame, row[2]);
            QCOMPARE(next.dueNs, row[3]);
        }
        // The benchmarks' percentiles take the nearest rank.
        const std::vector<double> samples{5, 1, 4, 2, 3, 10, 9, 8, 7, 6};
        QCOMPARE(FrameClock::Percentile(samples, 95), 10.0);
        QCOMPARE(FrameClock::Percentile(samples, 50), 5.0);
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
        const auto ticks = [&] {
            QMutexLocker locked(&lock);
            return frames.size();
        };
        QTRY_VERIFY_WITH_TIMEOUT(ticks() >= 10, 10000);
        QMetaObject::invokeMethod(&clock, [&] { clock.Stop(); }, Qt::BlockingQueuedConnection);
        worker.quit();
        worker.wait();

        // Frames count up from 0 on a 10 ms grid; missed ones (a busy machine) are skipped, never repeated.
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
