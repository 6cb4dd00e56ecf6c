#include "app/plotview.h"
#include "app/stepticker.h"

#include "plotcheck.h"
#include "windowtest.h"

#include <QTabWidget>
#include <QtTest>

#include <cmath>
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
    void legendPlaceKeepsItsBound_data();
    void legendPlaceKeepsItsBound();
    void legendTextStepsDownToItsFloor();
    void minimumSizeComesFromContent_data();
    void minimumSizeComesFromContent();
    void textsInsideGiveTheRoomBack();
    void legendTakesEmptyCorner_data();
    void legendTakesEmptyCorner();
    void tickStepFollowsAxisLength_data();
    void tickStepFollowsAxisLength();
    void roomTicksKeepLabelsApart_data();
    void roomTicksKeepLabelsApart();
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

// Where the legend stands breaks that place's own bound: beside the axes, an axis rect under
// 60 % of the plot's width; inside it, a legend over a quarter of its room there; above it, an
// axis rect under 40 % of the plot's height. Empty when the bound is kept.
QString placeBoundBroken(QCustomPlot &plot)
{
    const QRect rect = plot.axisRect()->rect();
    const QRect box = plot.legend->outerRect();
    // A legend inside stands within the axis rect's inner margins, and covers that area.
    const QRect area = plot.axisRect()->insetLayout()->rect();
    const double share = double(rect.width()) / plot.width();
    const double cover = double(box.width()) * box.height() / (area.width() * area.height());
    const double height = double(rect.height()) / plot.height();
    switch (placeOf(&plot)) {
    case Beside:
        if (share < 0.6) return QStringLiteral("beside: the axes keep %1 of the width").arg(share);
        break;
    case Inside:
        if (!rect.contains(box) || cover > 0.25)
            return QStringLiteral("inside: the legend covers %1 of the axes").arg(cover);
        break;
    case Above:
        if (box.bottom() >= rect.top() || height < 0.4)
            return QStringLiteral("above: the axes keep %1 of the height").arg(height);
        break;
    }
    return QString();
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
    const QString heard = plotcheck::stopHearing(complaints);
    QVERIFY2(heard.isEmpty(), qPrintable(heard));
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
    if (place >= 0) {
        const QString bound = placeBoundBroken(plot);
        QVERIFY2(bound.isEmpty(), qPrintable(bound));
    }
    if (placeOf(&plot) == Beside) QVERIFY(box.left() > rect.right());
    if (placeOf(&plot) == Inside)
        QVERIFY(plot.legend->brush().color().alpha() < 255); // the curves show through
    if (place >= 0) QCOMPARE(int(placeOf(&plot)), place);
    // Given back its room, the legend takes its page's text size and its first place again.
    plot.resize(1200, 600);
    plot.replot();
    QCOMPARE(plot.legend->font().pointSizeF(), points);
    QCOMPARE(int(placeOf(&plot)), int(Beside));
}

void TestPlotView::legendPlaceKeepsItsBound_data()
{
    QTest::addColumn<bool>("inside"); // the share is what inside covers, else what beside leaves
    QTest::addColumn<double>("share");
    QTest::addColumn<int>("place");
    QTest::addColumn<bool>("smaller"); // the legend's text below the page's size
    QTest::newRow("beside leaves the axes 65 %: beside") << false << 0.65 << int(Beside) << false;
    QTest::newRow("beside would leave 55 %: inside") << false << 0.55 << int(Inside) << false;
    QTest::newRow("inside covers 20 %: inside") << true << 0.20 << int(Inside) << false;
    QTest::newRow("inside would cover 30 %: above") << true << 0.30 << int(Above) << false;
}

// Plots sized a little to each side of a place's bound, from what the legend and the axes
// measure where they have the room: beside where the axes keep 60 % of the width, inside
// where the legend covers a quarter of the axis rect at most.
void TestPlotView::legendPlaceKeepsItsBound()
{
    QFETCH(bool, inside);
    QFETCH(double, share);
    QFETCH(int, place);
    QFETCH(bool, smaller);
    QCustomPlot plot;
    const double points = plot.legend->font().pointSizeF();
    fillPlot(plot, QSize(1200, 300), 3, QStringLiteral("curve"));
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plotview::keepLegendFitted(&plot);
    plot.replot();
    QCOMPARE(int(placeOf(&plot)), int(Beside));
    // Beside, the legend and its column take the same pixels at any width.
    const int besideTakes = plot.width() - plot.axisRect()->width();
    const auto widthLeaving = [&](double kept) { return qRound(besideTakes / (1 - kept)); };
    if (inside) {
        // Narrow enough that beside fails and tall enough for the legend: inside, its size and
        // the axis rect's margins measured there.
        plot.resize(widthLeaving(0.45), 600);
        plot.replot();
        QCOMPARE(int(placeOf(&plot)), int(Inside));
        const QSize legend = plot.legend->outerRect().size();
        const QRect area = plot.axisRect()->insetLayout()->rect();
        const int margins = plot.height() - area.height();
        plot.resize(plot.width(),
                    margins + qRound(legend.width() * legend.height() / (share * area.width())));
    } else {
        plot.resize(widthLeaving(share), 300);
    }
    plot.replot();
    QCOMPARE(int(placeOf(&plot)), place);
    QCOMPARE(plot.legend->font().pointSizeF() < points, smaller);
    const QString bound = placeBoundBroken(plot);
    QVERIFY2(bound.isEmpty(), qPrintable(bound));
}

// A plot made narrower step by step: its legend's text takes every size from the page's down
// to 7 pt, a point at a time, and no smaller, even where it then keeps no place's bound.
void TestPlotView::legendTextStepsDownToItsFloor()
{
    QCustomPlot plot;
    QFont font = plot.legend->font();
    font.setPointSizeF(10);
    plot.legend->setFont(font);
    fillPlot(plot, QSize(1600, 200), 9, QStringLiteral("Pole Noise Gain"));
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plotview::keepLegendFitted(&plot);
    QVector<double> sizes;
    bool keptAtFloor = false;
    for (int width = 1600; width >= 200; width -= 10) {
        plot.resize(width, 200);
        plot.replot();
        const double shown = plot.legend->font().pointSizeF();
        if (!sizes.contains(shown)) sizes << shown;
        if (shown == 7 && placeBoundBroken(plot).isEmpty()) keptAtFloor = true;
    }
    std::sort(sizes.begin(), sizes.end(), std::greater<double>());
    QCOMPARE(sizes, (QVector<double>{10, 9, 8, 7}));
    QVERIFY2(keptAtFloor, "no plot whose legend fits only at the floor");
    QVERIFY2(!placeBoundBroken(plot).isEmpty(), "the narrowest plot still keeps a bound");
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
    // Vertical: how many lines of tick text the first step's ticks stand apart; horizontal: the
    // plot's width in pixels.
    QTest::addColumn<double>("room");
    QTest::addColumn<QVector<double>>("steps");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<double>("expected");
    const QVector<double> phase{45, 90, 180};
    const QVector<double> flow{100, 200, 400};
    QTest::newRow("phase, 45° steps 1.3 lines apart: 45°")
        << true << 1.3 << phase << -180.0 << 180.0 << 45.0;
    QTest::newRow("phase, 45° steps 1.1 lines apart: 90°")
        << true << 1.1 << phase << -180.0 << 180.0 << 90.0;
    QTest::newRow("phase, 90° steps 1.1 lines apart: 180°")
        << true << 0.55 << phase << -180.0 << 180.0 << 180.0;
    QTest::newRow("flow, wide: 100") << false << 1000.0 << flow << 0.0 << 1100.0 << 100.0;
    QTest::newRow("flow, narrow: 200") << false << 400.0 << flow << 0.0 << 1100.0 << 200.0;
    QTest::newRow("flow, narrower: 400") << false << 230.0 << flow << 0.0 << 1100.0 << 400.0;
}

// A fixed-step axis keeps its step where its labels stand apart and takes the next one where
// they would not: on a vertical axis a line and a fifth of tick text from centre to centre, on
// a horizontal one clear of each other.
void TestPlotView::tickStepFollowsAxisLength()
{
    QFETCH(bool, vertical);
    QFETCH(double, room);
    QFETCH(QVector<double>, steps);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(double, expected);
    QCustomPlot plot;
    QCPAxis *axis = vertical ? plot.yAxis : plot.xAxis;
    const double line = QFontMetricsF(axis->tickLabelFont()).height();
    plot.resize(vertical ? QSize(600, 400) : QSize(int(room), 400));
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plotview::setTickSteps(axis, steps, 2);
    axis->setRange(lower, upper);
    plot.replot();
    if (vertical) {
        // The axis rect as high as puts the first step's ticks `room` lines apart.
        const int margins = plot.height() - plot.axisRect()->height();
        const double length = room * line * (upper - lower) / steps.first();
        plot.resize(600, margins + qRound(length));
        plot.replot();
    }
    const QVector<double> ticks = axis->tickVector();
    QVERIFY(ticks.size() >= 2);
    QCOMPARE(ticks[1] - ticks[0], expected);
    QCOMPARE(axis->ticker().dynamicCast<QCPAxisTickerFixed>()->tickStep(), steps.first());
    if (vertical) {
        const auto apart = [&](double step) {
            return step * plot.axisRect()->height() / (upper - lower) / line;
        };
        QVERIFY2(apart(expected) >= 1.2,
                 qPrintable(QStringLiteral("%1 lines between labels").arg(apart(expected))));
        const int taken = steps.indexOf(expected);
        if (taken > 0)
            QVERIFY2(apart(steps[taken - 1]) < 1.2,
                     qPrintable(QStringLiteral("%1 steps were %2 lines apart")
                                    .arg(steps[taken - 1])
                                    .arg(apart(steps[taken - 1]))));
    } else {
        const QStringList crowded = plotcheck::tickLabelsRunTogether(axis);
        QVERIFY2(crowded.isEmpty(), qPrintable(crowded.join("; ")));
    }
}

void TestPlotView::roomTicksKeepLabelsApart_data()
{
    QTest::addColumn<double>("pitches"); // the axis's length in tick label pitches
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<double>("expected"); // the step
    QTest::newRow("long axis: six labels") << 25.0 << 0.0 << 37.3 << 10.0;
    QTest::newRow("short axis: fewer") << 4.2 << 0.0 << 37.3 << 10.0;
    QTest::newRow("small span") << 7.0 << -0.004 << 0.013 << 0.005;
    QTest::newRow("large span") << 9.0 << -2e4 << 9.1e4 << 2e4;
    QTest::newRow("off zero: 2") << 4.2 << 12.0 << 19.5 << 2.0;
    QTest::newRow("off zero, shorter: 2.5") << 3.2 << 12.0 << 19.5 << 2.5;
    // A readable step of 5 would leave the 0 alone.
    QTest::newRow("cramped: the library's finer step") << 2.4 << -4.65 << 4.65 << 4.5;
}

// An axis whose span follows the data: the library's readable steps where they set two labels
// or more, else its finer ones; labels at least a line and a fifth apart, no more than seven,
// and at least two where the axis is two such pitches long.
void TestPlotView::roomTicksKeepLabelsApart()
{
    QFETCH(double, pitches);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(double, expected);
    QCustomPlot plot;
    plot.resize(500, 400);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plot.yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new RoomTicker(plot.yAxis)));
    plot.yAxis->setRange(lower, upper);
    plot.replot();
    const double line = QFontMetricsF(plot.yAxis->tickLabelFont()).height();
    plot.resize(500, plot.height() - plot.axisRect()->height() + qRound(pitches * 1.2 * line));
    plot.replot();
    plot.replot(); // ticked on the layout the first drawing made
    QVector<double> shown;
    for (double tick : plot.yAxis->tickVector())
        if (plot.yAxis->range().contains(tick)) shown << tick;
    QVERIFY2(shown.size() >= 2 && shown.size() <= 7, qPrintable(QString::number(shown.size())));
    const double step = shown[1] - shown[0];
    QVERIFY2(std::abs(step - expected) < 1e-9 * expected, qPrintable(QString::number(step)));
    const double apart = step * plot.axisRect()->height() / (upper - lower) / line;
    QVERIFY2(apart >= 1.2, qPrintable(QStringLiteral("%1 lines apart").arg(apart)));
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

// A text too wide for a small plot widens the axes around it; the same plot made large again
// shows the ranges the page set, not the widened ones.
void TestPlotView::textsInsideGiveTheRoomBack()
{
    QCustomPlot plot;
    plot.xAxis->setRange(0, 10);
    plot.yAxis->setRange(0, 10);
    auto *text = new QCPItemText(&plot);
    text->position->setCoords(5, 5);
    text->setText(QStringLiteral("a label wider than the small plot"));
    plotview::keepTextsInside(&plot);
    plot.resize(140, 200);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plot.replot();
    QVERIFY2(plot.xAxis->range().size() > 10,
             qPrintable(QStringLiteral("small: %1").arg(plot.xAxis->range().size())));
    plot.resize(1200, 600);
    QTest::qWait(10);
    plot.replot();
    QCOMPARE(plot.xAxis->range(), QCPRange(0, 10));
    QCOMPARE(plot.yAxis->range(), QCPRange(0, 10));
}

QTEST_MAIN(TestPlotView)
#include "tst_plotview.moc"
