#include "app/plotview.h"

#include "plotcheck.h"
#include "windowtest.h"

#include <QTabWidget>
#include <QtTest>

#include <memory>

// Where a legend goes by the plot's size, the tick steps an axis's length allows, and the
// captions that keep their room.
class TestPlotView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void legendTakesThePlaceItsSizeAllows_data();
    void legendTakesThePlaceItsSizeAllows();
    void minimumSizeComesFromContent_data();
    void minimumSizeComesFromContent();
    void legendTakesEmptyCorner_data();
    void legendTakesEmptyCorner();
    void tickStepFollowsAxisLength_data();
    void tickStepFollowsAxisLength();
    void padWidensBothEnds();
    void unitKeepsMatchedBrackets_data();
    void unitKeepsMatchedBrackets();
    void shortPlotKeepsLegendBesideWithTitleLine();
    void legendsBesideFitTheRoomOfAHiddenTabOnceShown();

private:
    std::unique_ptr<plotcheck::LibraryComplaints> complaints;
};

namespace {

enum Place { Beside, Inside, Above };

Place placeOf(QCustomPlot *plot)
{
    if (plot->legend->layout() == plot->axisRect()->insetLayout()) return Inside;
    if (plot->legend->layout() == plot->plotLayout()) return Above;
    return Beside;
}

// A plot of `size`, shown, with `entries` straight curves named `name` 1, 2, ... that cross
// the axis rect from corner to corner.
void fillPlot(QCustomPlot &plot, QSize size, int entries, const QString &name)
{
    plot.resize(size);
    plot.show();
    plot.legend->setVisible(true);
    for (int i = 0; i < entries; ++i) {
        QCPGraph *g = plot.addGraph();
        g->setName(QStringLiteral("%1 %2").arg(name).arg(i + 1));
        g->setData({0, 10}, {i % 2 ? 10.0 : 0.0, i % 2 ? 0.0 : 10.0});
    }
    plot.xAxis->setRange(0, 10);
    plot.yAxis->setRange(0, 10);
}

// What no placement may break: the legend whole inside its widget with every entry, and the
// axis rect at least 40 % of the plot's height.
QString brokenBound(QCustomPlot &plot, int entries)
{
    const QRect box = plot.legend->outerRect();
    if (!plot.rect().contains(box))
        return QStringLiteral("legend (%1, %2) %3 x %4 leaves the %5 x %6 plot")
            .arg(box.left())
            .arg(box.top())
            .arg(box.width())
            .arg(box.height())
            .arg(plot.width())
            .arg(plot.height());
    for (int i = 0; i < entries; ++i)
        if (!plot.legend->hasItemWithPlottable(plot.graph(i)))
            return QStringLiteral("no entry for %1").arg(plot.graph(i)->name());
    if (plot.axisRect()->height() < 0.4 * plot.height())
        return QStringLiteral("axis rect %1 px high in a %2 px plot")
            .arg(plot.axisRect()->height())
            .arg(plot.height());
    return QString();
}

} // namespace

// The rule asks the library nothing it has to refuse.
void TestPlotView::init()
{
    complaints = std::make_unique<plotcheck::LibraryComplaints>();
}

void TestPlotView::cleanup()
{
    const QStringList heard = complaints->all();
    complaints.reset();
    QVERIFY2(heard.isEmpty(), qPrintable(heard.join(QLatin1Char('\n'))));
}

// Which place the rule gives a legend, by the plot's size and the legend's: beside the axes
// where they keep 60 % of the width, else inside where it covers a quarter at most, else
// above; a smaller text before any bound is given up. Each place keeps its own bound.
void TestPlotView::legendTakesThePlaceItsSizeAllows_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("place");
    QTest::addColumn<bool>("smaller"); // the legend's text below the page's size
    QTest::newRow("wide plot: beside, one column")
        << QSize(900, 300) << 3 << "curve" << int(Beside) << false;
    QTest::newRow("short wide plot: beside, two columns")
        << QSize(1300, 170) << 8 << "True Power in Load" << int(Beside) << false;
    QTest::newRow("narrow plot: inside") << QSize(320, 400) << 2 << "curve" << int(Inside) << false;
    QTest::newRow("narrow plot, many entries: above")
        << QSize(420, 320) << 9 << "Pole Noise Gain" << int(Above) << false;
    QTest::newRow("short plot, many entries: above, smaller text")
        << QSize(600, 200) << 9 << "Pole Noise Gain" << int(Above) << true;
    QTest::newRow("small plot, many entries: no place within bounds")
        << QSize(340, 190) << 9 << "Pole Noise Gain" << -1 << true;
}

void TestPlotView::legendTakesThePlaceItsSizeAllows()
{
    QFETCH(QSize, size);
    QFETCH(int, entries);
    QFETCH(QString, name);
    QFETCH(int, place);
    QFETCH(bool, smaller);
    QCustomPlot plot;
    const double points = plot.legend->font().pointSizeF();
    fillPlot(plot, size, entries, name);
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plotview::keepLegendFitted(&plot);
    plot.replot();
    const QString broken = brokenBound(plot, entries);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
    QCOMPARE(plot.legend->font().pointSizeF() < points, smaller);
    const QRect rect = plot.axisRect()->rect();
    const QRect box = plot.legend->outerRect();
    switch (place < 0 ? place : placeOf(&plot)) {
    case Beside:
        QVERIFY(rect.width() >= 0.6 * plot.width());
        QVERIFY(box.left() > rect.right());
        break;
    case Inside:
        QVERIFY(rect.contains(box));
        QVERIFY(box.width() * box.height() <= 0.25 * rect.width() * rect.height());
        QVERIFY(plot.legend->brush().color().alpha() < 255); // the curves show through
        break;
    case Above:
        QVERIFY(box.bottom() < rect.top());
        break;
    default: // no place within the bounds: only the legend's own are kept
        break;
    }
    if (place >= 0) QCOMPARE(int(placeOf(&plot)), place);
    // Given back its room, the legend takes its page's text size and its first place again.
    plot.resize(1200, 600);
    plot.replot();
    QCOMPARE(plot.legend->font().pointSizeF(), points);
    QCOMPARE(int(placeOf(&plot)), int(Beside));
}

void TestPlotView::minimumSizeComesFromContent_data()
{
    QTest::addColumn<QVector<QSize>>("sizes"); // the window's sizes in turn
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("place"); // where the legend stands at the first size
    QTest::newRow("above, wide then narrow")
        << QVector<QSize>{{1100, 360}, {800, 360}} << 16 << int(Above);
    QTest::newRow("beside, tall then short")
        << QVector<QSize>{{900, 700}, {900, 260}} << 12 << int(Beside);
}

// A window whose plot's legend was fitted to one size can be given a smaller one: the plot
// asks for what its content needs, never for the room its legend was once wrapped to.
void TestPlotView::minimumSizeComesFromContent()
{
    QFETCH(QVector<QSize>, sizes);
    QFETCH(int, entries);
    QFETCH(int, place);
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    auto *plot = new QCustomPlot;
    column->addWidget(plot);
    window.resize(sizes.first());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fillPlot(*plot, plot->size(), entries, QStringLiteral("Pole Noise Gain"));
    // A title in a row of its own, as the pages have: the legend's row goes among empty cells.
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(0, 0, new QCPTextElement(plot, QStringLiteral("Title")));
    plotview::keepLegendFitted(plot);
    plot->replot();
    windowtest::settle();
    QCOMPARE(int(placeOf(plot)), place);
    for (const QSize &size : sizes) {
        window.resize(size);
        windowtest::settle();
        QCOMPARE(window.size(), size);
        const QString broken = brokenBound(*plot, entries);
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
    }
    QSize least = sizes.first();
    for (const QSize &size : sizes)
        least = least.boundedTo(size);
    const QSize asked = static_cast<QWidget *>(plot)->minimumSizeHint();
    QVERIFY2(least.expandedTo(asked) == least,
             qPrintable(QStringLiteral("%1 x %2").arg(asked.width()).arg(asked.height())));
}

void TestPlotView::legendTakesEmptyCorner_data()
{
    QTest::addColumn<int>("emptyCorner"); // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
    QTest::addColumn<int>("expected");
    QTest::newRow("top-left") << 0 << int(Qt::AlignLeft | Qt::AlignTop);
    QTest::newRow("top-right") << 1 << int(Qt::AlignRight | Qt::AlignTop);
    QTest::newRow("bottom-left") << 2 << int(Qt::AlignLeft | Qt::AlignBottom);
    QTest::newRow("bottom-right") << 3 << int(Qt::AlignRight | Qt::AlignBottom);
}

// Too narrow for a legend beside the axes: it goes to the one inner corner no curve reaches.
void TestPlotView::legendTakesEmptyCorner()
{
    QFETCH(int, emptyCorner);
    QFETCH(int, expected);
    QCustomPlot plot;
    plot.resize(330, 400);
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
    plotview::fitLegendsNow({&plot});
    QCOMPARE(int(placeOf(&plot)), int(Inside));
    QCOMPARE(int(plot.axisRect()->insetLayout()->insetAlignment(0)), expected);
}

void TestPlotView::tickStepFollowsAxisLength_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("length"); // the plot's size along the axis
    QTest::addColumn<QVector<double>>("steps");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<double>("expected");
    const QVector<double> phase{45, 90, 180};
    const QVector<double> flow{100, 200, 400};
    QTest::newRow("phase, tall: 45°") << true << 500 << phase << -180.0 << 180.0 << 45.0;
    QTest::newRow("phase, short: 90°") << true << 160 << phase << -180.0 << 180.0 << 90.0;
    QTest::newRow("phase, shorter: 180°") << true << 90 << phase << -180.0 << 180.0 << 180.0;
    QTest::newRow("flow, wide: 100") << false << 1000 << flow << 0.0 << 1100.0 << 100.0;
    QTest::newRow("flow, narrow: 200") << false << 400 << flow << 0.0 << 1100.0 << 200.0;
    QTest::newRow("flow, narrower: 400") << false << 230 << flow << 0.0 << 1100.0 << 400.0;
}

// A fixed-step axis keeps its step where its labels stand apart and takes the next one where
// they would touch; the labels it draws never do.
void TestPlotView::tickStepFollowsAxisLength()
{
    QFETCH(bool, vertical);
    QFETCH(int, length);
    QFETCH(QVector<double>, steps);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(double, expected);
    QCustomPlot plot;
    plot.resize(vertical ? QSize(600, length) : QSize(length, 400));
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    QCPAxis *axis = vertical ? plot.yAxis : plot.xAxis;
    plotview::setTickSteps(axis, steps, 2);
    axis->setRange(lower, upper);
    plot.replot();
    const QVector<double> ticks = axis->tickVector();
    QVERIFY(ticks.size() >= 2);
    QCOMPARE(ticks[1] - ticks[0], expected);
    QCOMPARE(axis->ticker().dynamicCast<QCPAxisTickerFixed>()->tickStep(), steps.first());
    if (vertical) {
        const int line = QFontMetrics(axis->tickLabelFont()).height();
        const double apart = axis->coordToPixel(ticks[0]) - axis->coordToPixel(ticks[1]);
        QVERIFY2(
            apart >= line,
            qPrintable(QStringLiteral("%1 px between labels %2 px high").arg(apart).arg(line)));
    } else {
        const QStringList crowded = plotcheck::tickLabelsRunTogether(axis);
        QVERIFY2(crowded.isEmpty(), qPrintable(crowded.join("; ")));
    }
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
    plotview::keepLegendFitted(&plot);
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
    for (QCustomPlot *plot : {upper, lower})
        plot->legend->setVisible(true);
    plotview::keepLegendsFitted({upper, lower});
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
