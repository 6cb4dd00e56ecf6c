// The PWM power plot and the Bode plots on a laptop screen, reached as a user reaches them:
// through the home page's buttons, a tutorial's Next, or a worked example loaded on the way.
// Each keeps its axes readable: its legend inside the widget, an axis rect of at least 100
// pixels, 40 % of the plot's height and half its width, and tick labels apart.
#include "app/mainwindow.h"
#include "examples/examplesdialog.h"
#include "examples/exampletable.h"
#include "ui_examplesdialog.h"
#include "ui_mainwindow.h"

#include "plotcheck.h"

#include <QtTest>

#include <memory>

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The value-axis tick labels that stand closer than a line to their neighbour.
QStringList valueLabelsTouching(QCPAxis *axis)
{
    QStringList touching;
    const QVector<double> ticks = axis->tickVector();
    const int line = QFontMetrics(axis->tickLabelFont()).height();
    for (int i = 1; i < ticks.size(); ++i) {
        const double apart =
            std::abs(axis->coordToPixel(ticks[i]) - axis->coordToPixel(ticks[i - 1]));
        if (axis->range().contains(ticks[i]) && axis->range().contains(ticks[i - 1]) &&
            apart < line)
            touching << QStringLiteral("labels %1 and %2 only %3 px apart")
                            .arg(ticks[i - 1])
                            .arg(ticks[i])
                            .arg(apart);
    }
    return touching;
}

// What the plot loses of its room, one line each, named by `where`.
QStringList roomLost(QCustomPlot *plot, const QString &where)
{
    QStringList faults = plotcheck::roomFaults(plot, 0.5);
    faults << valueLabelsTouching(plot->yAxis);
    const int height = plot->axisRect()->height();
    if (height < 100 || height < 0.4 * plot->height())
        faults << QStringLiteral("axis rect %1 px high in a %2 px plot")
                      .arg(height)
                      .arg(plot->height());
    for (QString &fault : faults)
        fault.prepend(where + QStringLiteral(" / ") + plot->objectName() + QStringLiteral(": "));
    return faults;
}

// A window at the font size and window size given, shown the way a laptop shows it, with the
// Main Menu button every page but the home page has.
std::unique_ptr<MainWindow> laptopWindow(int points, QSize size)
{
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    auto w = std::make_unique<MainWindow>();
    w->show();
    settle();
    w->resize(w->minimumSizeHint().expandedTo(w->minimumSize()).expandedTo(size));
    settle();
    return w;
}

// Steps the tutorial that holds example `n` onto it with Next.
void nextOnto(MainWindow &w, int n)
{
    for (int i = 0; i < examples::tutorials().size(); ++i)
        if (examples::tutorials()[i].first <= n && n <= examples::tutorials()[i].last)
            w.ui->ExampleSelection->setCurrentIndex(i);
    QTest::mouseClick(w.ui->startTutorial, Qt::LeftButton);
    settle();
    w.exampleDialog->showDescription(n - 1);
    QTest::mouseClick(w.exampleDialog->ui->nextButton, Qt::LeftButton);
    w.ui->HomeButton->show();
    settle();
}

// One row for each laptop screen and each route: the home page alone (-1), or the home page
// and then the tutorial's Next onto each of `examples`.
void addRoutes(std::initializer_list<int> examples)
{
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("example");
    for (const auto &screen :
         {std::make_pair(10, QSize(1366, 720)), std::make_pair(12, QSize(1536, 864))}) {
        QTest::addRow("%d pt, home page", screen.first) << screen.first << screen.second << -1;
        for (int example : examples)
            QTest::addRow("%d pt, example %d", screen.first, example)
                << screen.first << screen.second << example;
    }
}

} // namespace

class TestPagePlots : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void powerPlotKeepsItsRoom_data();
    void powerPlotKeepsItsRoom();
    void bodePlotsKeepTheirRoom_data();
    void bodePlotsKeepTheirRoom();
    void bodeLayoutFollowsTheSizeNotTheRoute_data();
    void bodeLayoutFollowsTheSizeNotTheRoute();

private:
    std::unique_ptr<plotcheck::LibraryComplaints> complaints;
};

// Each display, route and size leaves the plotting library nothing to complain of.
void TestPagePlots::init()
{
    complaints = std::make_unique<plotcheck::LibraryComplaints>();
}

void TestPagePlots::cleanup()
{
    QApplication::setFont(QFont());
    const QString heard = plotcheck::stopHearing(complaints);
    QVERIFY2(heard.isEmpty(), qPrintable(heard));
}

void TestPagePlots::powerPlotKeepsItsRoom_data()
{
    addRoutes({43, 44, 45, 47, 71});
}

// Home → PWM Power, and the power examples, on each of the displays with the most entries.
void TestPagePlots::powerPlotKeepsItsRoom()
{
    QFETCH(int, points);
    QFETCH(QSize, size);
    QFETCH(int, example);
    const auto w = laptopWindow(points, size);
    QTest::mouseClick(w->ui->PWMPowerButton, Qt::LeftButton);
    settle();
    if (example >= 0) nextOnto(*w, example);
    QCOMPARE(w->ui->Page->currentWidget(), w->ui->page_8);
    QStringList faults;
    for (const QString &display : {QStringLiteral("Power"), QStringLiteral("Overall Efficiency"),
                                   QStringLiteral("Current")}) {
        const int index = w->ui->yVariable->findText(display);
        QVERIFY(index >= 0);
        w->ui->yVariable->setCurrentIndex(index);
        emit w->ui->yVariable->activated(index);
        settle();
        QVERIFY(w->ui->FilterFreq->graphCount() > 1);
        faults << roomLost(w->ui->FilterFreq, display);
    }
    for (const QString &line : qAsConst(faults))
        qWarning().noquote() << line;
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
}

void TestPagePlots::bodePlotsKeepTheirRoom_data()
{
    addRoutes({5, 6, 13, 14});
}

// Home → Stability → Bode Plots, and the tutorial's Next onto the examples with the most
// phase components; with the legends hidden too.
void TestPagePlots::bodePlotsKeepTheirRoom()
{
    QFETCH(int, points);
    QFETCH(QSize, size);
    QFETCH(int, example);
    const auto w = laptopWindow(points, size);
    QTest::mouseClick(w->ui->LstabButton, Qt::LeftButton);
    settle();
    if (example >= 0) nextOnto(*w, example);
    w->ui->StabilityTab->setCurrentWidget(w->ui->page_4_tabBode);
    settle();
    QStringList faults;
    for (const QString &state :
         {QStringLiteral("legends shown"), QStringLiteral("legends hidden")}) {
        for (QCustomPlot *plot : {w->ui->GainPlot, w->ui->PhasePlot})
            faults << roomLost(plot, state);
        QTest::mouseClick(w->ui->HidePhaseLegend, Qt::LeftButton);
        settle();
    }
    // The phase axis keeps its 45° steps where it has the room for them.
    const QVector<double> ticks = w->ui->PhasePlot->yAxis->tickVector();
    QVERIFY(ticks.size() >= 2);
    if (w->ui->PhasePlot->axisRect()->height() >= 200) QCOMPARE(ticks[1] - ticks[0], 45.0);
    for (const QString &line : qAsConst(faults))
        qWarning().noquote() << line;
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
}

void TestPagePlots::bodeLayoutFollowsTheSizeNotTheRoute_data()
{
    QTest::addColumn<int>("example");
    for (int example : {5, 8, 13})
        QTest::addRow("example %d", example) << example;
}

// An example loaded into a fresh window and the same example reached through the home page
// and the Bode tab: the same window size, so the same plots.
void TestPagePlots::bodeLayoutFollowsTheSizeNotTheRoute()
{
    QFETCH(int, example);
    const QSize laptop(1366, 720);
    QVector<QVector<QRect>> seen;
    for (bool throughHome : {false, true}) {
        const auto w = laptopWindow(10, laptop);
        w->ui->HomeButton->show();
        if (throughHome) {
            QTest::mouseClick(w->ui->LstabButton, Qt::LeftButton);
            settle();
            w->ui->StabilityTab->setCurrentWidget(w->ui->page_4_tabBode);
            settle();
        }
        w->loadExample(example);
        settle();
        w->ui->StabilityTab->setCurrentWidget(w->ui->page_4_tabBode);
        settle();
        QVector<QRect> rects;
        for (QCustomPlot *plot : {w->ui->GainPlot, w->ui->PhasePlot})
            rects << plot->geometry() << plot->axisRect()->rect() << plot->legend->outerRect();
        seen << rects;
    }
    QCOMPARE(seen[1], seen[0]);
}

QTEST_MAIN(TestPagePlots)
#include "tst_pageplots.moc"
