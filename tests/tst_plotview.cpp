#include "app/plotview.h"

#include "plotcheck.h"

#include <QTabWidget>
#include <QtTest>

// The legend goes to the one inner corner that no curve reaches.
class TestPlotView : public QObject
{
    Q_OBJECT
private slots:
    void legendTakesEmptyCorner_data();
    void legendTakesEmptyCorner();
    void legendStepsBesideWhenNoCornerIsClear();
    void padWidensBothEnds();
    void unitKeepsMatchedBrackets_data();
    void unitKeepsMatchedBrackets();
    void shortPlotKeepsLegendBesideWithTitleLine();
    void legendsBesideFitTheRoomOfAHiddenTabOnceShown();
};

void TestPlotView::legendTakesEmptyCorner_data()
{
    QTest::addColumn<int>("emptyCorner"); // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
    QTest::addColumn<int>("expected");
    QTest::newRow("top-left") << 0 << int(Qt::AlignLeft | Qt::AlignTop);
    QTest::newRow("top-right") << 1 << int(Qt::AlignRight | Qt::AlignTop);
    QTest::newRow("bottom-left") << 2 << int(Qt::AlignLeft | Qt::AlignBottom);
    QTest::newRow("bottom-right") << 3 << int(Qt::AlignRight | Qt::AlignBottom);
}

void TestPlotView::legendTakesEmptyCorner()
{
    QFETCH(int, emptyCorner);
    QFETCH(int, expected);
    QCustomPlot plot;
    plot.resize(600, 400);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plot.legend->setVisible(true);
    plot.xAxis->setRange(0, 10);
    plot.yAxis->setRange(0, 10);
    // A dense blob of points in every corner but the empty one.
    for (int c = 0; c < 4; ++c) {
        if (c == emptyCorner) continue;
        QCPGraph *g = plot.addGraph();
        g->setName(QStringLiteral("curve %1").arg(c));
        g->setLineStyle(QCPGraph::lsNone);
        const double x0 = (c % 2) ? 8 : 0;
        const double y0 = (c / 2) ? 0 : 8;
        QVector<double> x, y;
        for (int i = 0; i <= 20; ++i)
            for (int j = 0; j <= 20; ++j) {
                x << x0 + 0.1 * i;
                y << y0 + 0.1 * j;
            }
        g->setData(x, y);
    }
    plot.replot(); // lays out the axis rect
    plotview::placeLegendClear(&plot);
    QCOMPARE(int(plot.axisRect()->insetLayout()->insetAlignment(0)), expected);
}

// Curves through all four corners: the legend goes beside the axis rect, and back into the
// clear corner once the curves leave one.
void TestPlotView::legendStepsBesideWhenNoCornerIsClear()
{
    QCustomPlot plot;
    plot.resize(900, 300);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plot.legend->setVisible(true);
    plotview::keepLegendClear(&plot);
    QCPGraph *rising = plot.addGraph();
    rising->setName(QStringLiteral("rising"));
    rising->setData({0, 10}, {0, 10});
    QCPGraph *falling = plot.addGraph();
    falling->setName(QStringLiteral("falling"));
    falling->setData({0, 10}, {10, 0});
    plot.xAxis->setRange(0, 10);
    plot.yAxis->setRange(0, 10);
    plot.replot();
    plot.replot(); // the second drawing sees the layout of the first
    QVERIFY2(plotcheck::curvesUnderLegend(&plot).isEmpty(),
             qPrintable(plotcheck::curvesUnderLegend(&plot).join("; ")));
    const QRect area = plot.axisRect()->rect();
    QVERIFY(plot.legend->outerRect().left() > area.right());
    QVERIFY(plot.legend->outerRect().right() < plot.width());
    // The curves keep their full x span: the axis rect narrowed, the range did not change.
    QCOMPARE(plot.xAxis->range(), QCPRange(0, 10));

    falling->setVisible(false);
    plot.replot();
    plot.replot();
    QVERIFY(plotcheck::curvesUnderLegend(&plot).isEmpty());
    QVERIFY(plot.axisRect()->rect().contains(plot.legend->outerRect()));
    QCOMPARE(int(plot.axisRect()->insetLayout()->insetAlignment(0)),
             int(Qt::AlignLeft | Qt::AlignTop));
}

void TestPlotView::padWidensBothEnds()
{
    QCustomPlot plot;
    plot.yAxis->setRange(0, 100);
    plotview::padRange(plot.yAxis, 0.05);
    QCOMPARE(plot.yAxis->range().lower, -5.0);
    QCOMPARE(plot.yAxis->range().upper, 105.0);
    plot.xAxis->setScaleType(QCPAxis::stLogarithmic);
    plot.xAxis->setRange(1, 1e4);
    plotview::padRange(plot.xAxis, 0.25);
    QVERIFY(qAbs(plot.xAxis->range().lower - 0.1) < 1e-12);
    QVERIFY(qAbs(plot.xAxis->range().upper - 1e5) < 1e-6);
}

void TestPlotView::unitKeepsMatchedBrackets_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("unit");
    QTest::newRow("plain") << "A Line Current [A]"
                           << "[A]";
    QTest::newRow("round brackets inside square ones") << "Power [W (or VA) rms]"
                                                       << "[W (or VA) rms]";
    QTest::newRow("square brackets inside round ones") << "Gain (x [dB])"
                                                       << "(x [dB])";
    QTest::newRow("round brackets alone") << "Efficiency (%)"
                                          << "(%)";
    QTest::newRow("only the last group") << "Load (R) Voltage [V]"
                                         << "[V]";
    QTest::newRow("trailing space") << "Impedance [Ω]  "
                                    << "[Ω]";
    QTest::newRow("no unit") << "Attenuation"
                             << "";
    QTest::newRow("bracket not at the end") << "Power [W] in load"
                                            << "";
    QTest::newRow("unopened bracket") << "Power W (or VA) rms]"
                                      << "";
    QTest::newRow("crossed brackets") << "Power [W (or VA] rms)"
                                      << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPlotView::unitKeepsMatchedBrackets()
{
    QFETCH(QString, title);
    QFETCH(QString, unit);
    QCOMPARE(plotview::unitOf(title), unit);
}

// A plot too short for its value title, whose curves fill every corner: the title stands in a
// line above the axes and the legend beside them, whole inside the widget, whichever of the
// two is settled first.
void TestPlotView::shortPlotKeepsLegendBesideWithTitleLine()
{
    QCustomPlot plot;
    plot.resize(1000, 170);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plot.legend->setVisible(true);
    plotview::keepLegendClear(&plot);
    plotview::keepValueTitleReadable(&plot);
    const QString title = QStringLiteral("Power [W (or VA) rms]");
    for (int i = 0; i < 5; ++i) {
        QCPGraph *g = plot.addGraph();
        g->setName(QStringLiteral("curve %1").arg(i));
        g->setData({0, 5, 10}, {i % 2 ? 0.0 : 10.0, 5, i % 2 ? 10.0 : 0.0});
    }
    plot.xAxis->setRange(0, 10);
    plot.yAxis->setRange(0, 10);
    plot.yAxis->setLabel(title);
    plot.replot();
    plot.replot();
    QCOMPARE(plotcheck::shownTitle(&plot), title);
    QCOMPARE(plot.yAxis->label(), QStringLiteral("[W (or VA) rms]"));
    QVERIFY2(plot.rect().contains(plot.legend->outerRect()),
             qPrintable(QStringLiteral("legend at %1, %2 in a plot %3 wide")
                            .arg(plot.legend->outerRect().left())
                            .arg(plot.legend->outerRect().top())
                            .arg(plot.width())));
    QVERIFY(plot.legend->outerRect().left() > plot.axisRect()->rect().right());
    QVERIFY(plotcheck::curvesUnderLegend(&plot).isEmpty());
}

// Two plots on a tab that is hidden while their legends fill: once the tab shows, each axis
// rect keeps 60 % of its plot's width and each legend stands whole inside its plot, and the
// hidden plots asked no width of the window.
void TestPlotView::legendsBesideFitTheRoomOfAHiddenTabOnceShown()
{
    QTabWidget tabs;
    tabs.resize(1000, 600);
    tabs.addTab(new QWidget, QStringLiteral("first"));
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    auto *upper = new QCustomPlot;
    auto *lower = new QCustomPlot;
    column->addWidget(upper);
    column->addWidget(lower);
    tabs.addTab(page, QStringLiteral("plots"));
    for (QCustomPlot *plot : {upper, lower}) {
        plot->legend->setVisible(true);
        plotview::legendBesideAxes(plot);
    }
    plotview::keepLegendsBesideAxes({upper, lower});
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    const int minimumWidth = tabs.minimumSizeHint().width();
    for (QCustomPlot *plot : {upper, lower}) {
        for (int i = 0; i < 8; ++i) {
            QCPGraph *g = plot->addGraph();
            g->setName(QStringLiteral("a curve of a long name %1").arg(i));
            g->setData({1, 2}, {double(i), double(i + 1)});
        }
        plot->rescaleAxes();
        plot->replot();
    }
    QApplication::processEvents();
    QCOMPARE(tabs.minimumSizeHint().width(), minimumWidth);

    tabs.setCurrentIndex(1);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    for (QCustomPlot *plot : {upper, lower}) {
        const QString name = plot == upper ? QStringLiteral("upper") : QStringLiteral("lower");
        QVERIFY2(plot->axisRect()->width() >= 0.6 * plot->width(),
                 qPrintable(QStringLiteral("%1: axis rect %2 of %3")
                                .arg(name)
                                .arg(plot->axisRect()->width())
                                .arg(plot->width())));
        QVERIFY2(plot->rect().contains(plot->legend->outerRect()), qPrintable(name));
        QVERIFY(plot->legend->outerRect().height() >=
                plot->legend->minimumOuterSizeHint().height());
    }
    QCOMPARE(upper->axisRect()->rect().right(), lower->axisRect()->rect().right());
}

QTEST_MAIN(TestPlotView)
#include "tst_plotview.moc"
