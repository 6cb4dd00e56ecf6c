// How long the three-phase page takes to recompute each of its worked examples (88 to 95),
// and one bridge run of the longest of them. Every edit of the page recomputes it, so each
// refresh should stay well under 50 ms.
//
//   QT_QPA_PLATFORM=offscreen ./bench_motor -median 11
#include "app/mainwindow.h"
#include "motor/bridgesim.h"

#include <QtTest>

#include <memory>

class BenchMotor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void refreshExample_data();
    void refreshExample();
    void bridgeRun_data();
    void bridgeRun();

private:
    std::unique_ptr<MainWindow> w;
};

void BenchMotor::initTestCase()
{
    // The release check must not wait on the network.
    qputenv("AMPWRIGHT_RELEASE_HOST", "http://127.0.0.1:9");
    w.reset(new MainWindow);
    w->resize(1400, 820);
    w->show();
}

void BenchMotor::cleanupTestCase()
{
    w.reset();
}

void BenchMotor::refreshExample_data()
{
    QTest::addColumn<int>("example");
    for (int n = 88; n <= 95; ++n)
        QTest::newRow(qPrintable(QStringLiteral("example %1").arg(n))) << n;
}

void BenchMotor::refreshExample()
{
    QFETCH(int, example);
    w->loadExample(example);
    QBENCHMARK
    {
        w->forgetP3inputs(); // unchanged inputs are not computed again
        w->refreshP3();
    }
}

// The parts of the longest example's refresh: one run in a single pass, as the PWL export
// repeats it; stepping the drive, as the thermal loop does once; one thermal run on that
// drive.
void BenchMotor::bridgeRun_data()
{
    QTest::addColumn<int>("part");
    QTest::newRow("example 95 single pass") << 0;
    QTest::newRow("example 95 drive") << 1;
    QTest::newRow("example 95 run") << 2;
}

void BenchMotor::bridgeRun()
{
    QFETCH(int, part);
    w->loadExample(95);
    w->refreshP3();
    const motor::BridgeInput in = w->readP3inputs();
    const double Rdson = w->P3waveforms.Rdson;
    // Runs that record nothing: no thread records the drive's waveforms beside the measured
    // runs once the first has stepped the drive.
    motor::BridgeRuns runs(in, nullptr);
    runs.run(Rdson, false);
    QBENCHMARK
    {
        if (part == 0)
            motor::simulateBridge(in, Rdson, static_cast<motor::StepSink *>(nullptr));
        else if (part == 1)
            motor::BridgeRuns(in, nullptr);
        else
            runs.run(Rdson, false);
    }
}

QTEST_MAIN(BenchMotor)
#include "bench_motor.moc"
