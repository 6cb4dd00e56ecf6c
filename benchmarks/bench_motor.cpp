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
        w->refreshP3();
    }
}

// One run of the longest example at the on-resistance of its last thermal run, as the thermal
// loop takes it: without storing waveforms, and storing them.
void BenchMotor::bridgeRun_data()
{
    QTest::addColumn<bool>("record");
    QTest::newRow("example 95") << false;
    QTest::newRow("example 95 recording") << true;
}

void BenchMotor::bridgeRun()
{
    QFETCH(bool, record);
    w->loadExample(95);
    w->refreshP3();
    const motor::BridgeInput in = w->readP3inputs();
    const double Rdson = w->P3waveforms.Rdson;
    motor::Waveforms waves;
    QBENCHMARK
    {
        if (record)
            motor::simulateBridge(in, Rdson, &waves);
        else
            motor::simulateBridge(in, Rdson, static_cast<motor::StepSink *>(nullptr));
    }
}

QTEST_MAIN(BenchMotor)
#include "bench_motor.moc"
