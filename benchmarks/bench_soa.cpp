// How long the SOA page takes to recompute, and the window to build. A refresh runs on every
// edit, so it should stay well inside one 60 Hz frame (16 ms).
//
//   QT_QPA_PLATFORM=offscreen ./bench_soa -median 11
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

#include <memory>

class BenchSoa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void refreshDefaultDesign();
    void refreshReactiveLoad();
    void constructMainWindow();

private:
    std::unique_ptr<MainWindow> w;
};

void BenchSoa::initTestCase()
{
    // The release check must not wait on the network.
    qputenv("AMPWRIGHT_RELEASE_HOST", "http://127.0.0.1:9");
}

void BenchSoa::init()
{
    w.reset(new MainWindow); // set up on the default part, LX30A
}

void BenchSoa::cleanup()
{
    w.reset();
}

void BenchSoa::refreshDefaultDesign()
{
    QBENCHMARK
    {
        w->refreshSOA();
    }
}

void BenchSoa::refreshReactiveLoad()
{
    // 8 Ω with 1 mH and 10 µF in series, two periods settled before the two shown.
    w->ui->SOA_Rload->setText(QStringLiteral("8"));
    w->ui->SOA_Lload->setText(QStringLiteral("1m"));
    w->ui->SOA_Cload->setText(QStringLiteral("10u"));
    w->ui->SOAdisplayAfter->setValue(2);
    QBENCHMARK
    {
        w->refreshSOA();
    }
}

void BenchSoa::constructMainWindow()
{
    QBENCHMARK
    {
        MainWindow window;
    }
}

QTEST_MAIN(BenchSoa)
#include "bench_soa.moc"
