// How long the three-phase page takes to recompute each of its worked examples (88 to 95),
// and one bridge run of the longest of them. Every edit of the page recomputes it, so each
// refresh should stay well under 50 ms.
//
//   QT_QPA_PLATFORM=offscreen ./bench_motor -median 11
#include "app/mainwindow.h"

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

QTEST_MAIN(BenchMotor)
#include "bench_motor.moc"
