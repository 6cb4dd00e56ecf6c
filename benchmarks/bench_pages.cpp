// How long each page takes to recompute, and the other paths a user waits on: every page's
// refresh on the design the window starts with, the three-phase page on each of its worked
// examples, the automatic compensation, and opening a saved design. Every edit recomputes its
// page, so each of these should stay well below 50 ms.
//
//   QT_QPA_PLATFORM=offscreen ./bench_pages -median 5
//   benchmarks/median_table.py build/benchmarks/bench_pages      (a table of the medians)
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QTemporaryDir>
#include <QtTest>

#include <iterator>
#include <memory>

namespace {

struct PageRefresh
{
    const char *name;
    void (MainWindow::*refresh)();
};

const PageRefresh pageRefreshes[] = {
    {"linear selector", &MainWindow::refreshLPS},
    {"SOA", &MainWindow::refreshSOA},
    {"stability", &MainWindow::refreshStab},
    {"Bode generator", &MainWindow::refreshDemoPlot},
    {"heatsinks", &MainWindow::refreshHeatsinks},
    {"switching selector", &MainWindow::refreshSPS},
    {"PWM filter", &MainWindow::refreshFilter},
    {"PWM power", &MainWindow::refreshPower},
    {"PWM control", &MainWindow::refreshSCon},
    {"Howland pump", &MainWindow::refreshIHCP},
    {"three-phase", &MainWindow::refreshP3},
};

} // namespace

class BenchPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pageRefresh_data();
    void pageRefresh();
    void threePhaseExample_data();
    void threePhaseExample();
    void threePhaseLongWindow();
    void autoStabilize();
    void openDesignAfterExample95();
    void openRepeatedDesign();

private:
    // Shows example 95 and saves it as the window's current file in dir.
    bool saveExample95(const QTemporaryDir &dir);

    std::unique_ptr<MainWindow> w;
};

bool BenchPages::saveExample95(const QTemporaryDir &dir)
{
    w->displayExample(95);
    w->fileName = dir.filePath(QStringLiteral("example95.kwd"));
    w->hasFileName = true;
    return w->saveEntries(false);
}

void BenchPages::initTestCase()
{
    // The release check must not wait on the network.
    qputenv("AMPWRIGHT_RELEASE_HOST", "http://127.0.0.1:9");
}

void BenchPages::init()
{
    w.reset(new MainWindow);
}

void BenchPages::cleanup()
{
    w.reset();
}

void BenchPages::pageRefresh_data()
{
    QTest::addColumn<int>("page");
    for (int i = 0; i < int(std::size(pageRefreshes)); ++i)
        QTest::newRow(pageRefreshes[i].name) << i;
}

void BenchPages::pageRefresh()
{
    QFETCH(int, page);
    const auto refresh = pageRefreshes[page].refresh;
    QBENCHMARK
    {
        w->forgetP3inputs(); // unchanged inputs are not computed again
        (w.get()->*refresh)();
    }
}

void BenchPages::threePhaseExample_data()
{
    QTest::addColumn<int>("example");
    for (int n = 88; n <= 95; ++n)
        QTest::newRow(qPrintable(QStringLiteral("example %1").arg(n))) << n;
}

void BenchPages::threePhaseExample()
{
    QFETCH(int, example);
    w->displayExample(example);
    QBENCHMARK
    {
        w->forgetP3inputs(); // unchanged inputs are not computed again
        w->refreshP3();
    }
}

void BenchPages::threePhaseLongWindow()
{
    // Example 95's speed reversal seen for five seconds at 60 kHz: 300,000 switching periods,
    // more steps than the runs keep, so every run of the thermal loop steps its own drive. It
    // takes seconds, not milliseconds: the row watches that it stays so.
    w->displayExample(95);
    w->ui->P3Fsw->setText(QStringLiteral("60"));
    w->ui->P3endTime->setText(QStringLiteral("5"));
    QBENCHMARK
    {
        w->forgetP3inputs(); // unchanged inputs are not computed again
        w->refreshP3();
    }
}

void BenchPages::autoStabilize()
{
    // Later rounds start from the compensation the first one found; the search is as long.
    QBENCHMARK
    {
        w->autoStabilize();
    }
}

void BenchPages::openDesignAfterExample95()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(saveExample95(dir));
    QBENCHMARK
    {
        w->openFile();
    }
}

// A file that holds the same design about 2,200 times (15 MB, near the largest a design file
// may be): opening it should cost little more than reading it, well under 2 s.
void BenchPages::openRepeatedDesign()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(saveExample95(dir));
    QFile one(w->fileName);
    QVERIFY(one.open(QIODevice::ReadOnly));
    const QByteArray design = one.readAll();
    one.close();
    w->fileName = dir.filePath(QStringLiteral("repeated.kwd"));
    QFile many(w->fileName);
    QVERIFY(many.open(QIODevice::WriteOnly));
    many.write(design.repeated(int(15'000'000 / design.size())));
    many.close();
    QBENCHMARK
    {
        w->forgetP3inputs(); // as a design of other inputs would be
        w->openFile();
    }
}

QTEST_MAIN(BenchPages)
#include "bench_pages.moc"
