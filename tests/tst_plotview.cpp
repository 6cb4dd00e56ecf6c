#include "app/plotview.h"

#include "plotcheck.h"

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

QTEST_MAIN(TestPlotView)
#include "tst_plotview.moc"
