#include "app/plotview.h"

#include <QtTest>

// The legend goes to the one inner corner that no curve reaches.
class TestPlotView : public QObject
{
    Q_OBJECT
private slots:
    void legendTakesEmptyCorner_data();
    void legendTakesEmptyCorner();
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
