// The schematic drawing primitives: for each one, the graphs it adds to a plot and their points
// in drawing order, written out from the figures' definitions (not from the drawing code); then
// the properties every stroke must have on a 2.1 plot: the caller's pen, no hit on clicks, drawn
// in point order even where it turns back in x or leaves the view, and a true extent.
#include "app/mainwindow.h"

#include <qcustomplot.h>

#include <QtTest>

#include <cmath>

using Points = QVector<QPointF>;
using Strokes = QVector<Points>;
Q_DECLARE_METATYPE(Strokes)

namespace {

const double pi = 3.14159265358979323846;

Points shifted(double x, double y, const Points &offsets)
{
    Points out;
    for (const QPointF &p : offsets)
        out << QPointF(x + p.x(), y + p.y());
    return out;
}

Strokes shiftedAll(double x, double y, const Strokes &offsets)
{
    Strokes out;
    for (const Points &s : offsets)
        out << shifted(x, y, s);
    return out;
}

// Four turns: entries 100k + j of 401, later turns overwriting the shared entry, leads around.
Points expectedCoil(double x, double y, double r)
{
    QVector<QPointF> entries(401);
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j <= 100; ++j) {
            const double t = j * pi / 100;
            entries[100 * k + j] =
                QPointF(x + (r + 2 * r * k) - r * std::cos(t), y - 100 - r * std::sin(t));
        }
    Points p;
    p << QPointF(x, y) << entries << QPointF(x + 8 * r, y - 100) << QPointF(x + 8 * r, y);
    return p;
}

Points degrees(int last, std::function<QPointF(double)> at)
{
    Points p;
    for (int k = 0; k <= last; ++k)
        p << at(k * pi / 180);
    return p;
}

} // namespace

class TestSchematicPrimitives : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void figure_data();
    void figure();
    void keyPoints_data();
    void keyPoints();
    void sumAddsCentredSigma();
    void penAppliedUnchanged();
    void strokesNeverTakeALabelClick();
    void strokeTurningBackIsDrawnAcrossViewEdge();
    void rescaleCoversWholeFigure();
    void primitivesAddNothingElse();

private:
    void invoke(const QString &name, const QVector<double> &args, const QPen &pen);

    MainWindow *window = nullptr;
    QCustomPlot *plot = nullptr;
};

void TestSchematicPrimitives::initTestCase()
{
    window = new MainWindow;
}

void TestSchematicPrimitives::init()
{
    plot = new QCustomPlot;
    plot->resize(400, 400);
}

void TestSchematicPrimitives::cleanup()
{
    delete plot;
    plot = nullptr;
}

// Through the meta-object, as the primitives are slots and may be invoked by name.
void TestSchematicPrimitives::invoke(const QString &name, const QVector<double> &a, const QPen &pen)
{
    const QByteArray n = name.toLatin1();
    bool ok = false;
    switch (a.size()) {
    case 2:
        ok = QMetaObject::invokeMethod(window, n.constData(), Qt::DirectConnection,
                                       Q_ARG(QCustomPlot *, plot), Q_ARG(QPen, pen),
                                       Q_ARG(double, a[0]), Q_ARG(double, a[1]));
        break;
    case 3:
        ok = QMetaObject::invokeMethod(
            window, n.constData(), Qt::DirectConnection, Q_ARG(QCustomPlot *, plot),
            Q_ARG(QPen, pen), Q_ARG(double, a[0]), Q_ARG(double, a[1]), Q_ARG(double, a[2]));
        break;
    case 4:
        ok = QMetaObject::invokeMethod(window, n.constData(), Qt::DirectConnection,
                                       Q_ARG(QCustomPlot *, plot), Q_ARG(QPen, pen),
                                       Q_ARG(double, a[0]), Q_ARG(double, a[1]),
                                       Q_ARG(double, a[2]), Q_ARG(double, a[3]));
        break;
    }
    QVERIFY2(ok, qPrintable("cannot invoke " + name));
}

void TestSchematicPrimitives::figure_data()
{
    QTest::addColumn<QString>("primitive");
    QTest::addColumn<QVector<double>>("args");
    QTest::addColumn<Strokes>("expected");

    QTest::newRow("plotWhor") << "plotWhor" << QVector<double>{100, 50, 300}
                              << Strokes{{{100, 50}, {400, 50}}};
    QTest::newRow("plotWhor zero length, both points on the anchor")
        << "plotWhor" << QVector<double>{7, 9, 0} << Strokes{{{7, 9}, {7, 9}}};
    QTest::newRow("plotWhor negative length runs left")
        << "plotWhor" << QVector<double>{0, 0, -250} << Strokes{{{0, 0}, {-250, 0}}};
    QTest::newRow("plotWver goes toward smaller y")
        << "plotWver" << QVector<double>{20, 30, 400} << Strokes{{{20, 30}, {20, -370}}};
    QTest::newRow("plotWver negative length goes up")
        << "plotWver" << QVector<double>{0, 0, -100} << Strokes{{{0, 0}, {0, 100}}};
    QTest::newRow("plotWdia end in plot coordinates")
        << "plotWdia" << QVector<double>{100, 200, 700, -50} << Strokes{{{100, 200}, {700, -50}}};
    QTest::newRow("plotWdia vertical")
        << "plotWdia" << QVector<double>{300, 500, 300, -500} << Strokes{{{300, 500}, {300, -500}}};

    QTest::newRow("plotRhor one six-point zigzag, first peak up")
        << "plotRhor" << QVector<double>{1000, -200}
        << shiftedAll(1000, -200,
                      {{{0, 0}, {50, 100}, {150, -100}, {250, 100}, {350, -100}, {400, 0}}});
    QTest::newRow("plotRver five strokes, first corner toward +x")
        << "plotRver" << QVector<double>{0, 0}
        << Strokes{{{0, 0}, {100, -50}},
                   {{100, -50}, {-100, -150}},
                   {{-100, -150}, {100, -250}},
                   {{100, -250}, {-100, -350}},
                   {{-100, -350}, {0, -400}}};
    QTest::newRow("plotChor lead plate plate lead") << "plotChor" << QVector<double>{-400, 100}
                                                    << shiftedAll(-400, 100,
                                                                  {{{0, 0}, {150, 0}},
                                                                   {{150, -150}, {150, 150}},
                                                                   {{250, -150}, {250, 150}},
                                                                   {{250, 0}, {400, 0}}});
    QTest::newRow("plotCver") << "plotCver" << QVector<double>{0, 0}
                              << Strokes{{{0, 0}, {0, -150}},
                                         {{-150, -150}, {150, -150}},
                                         {{-150, -250}, {150, -250}},
                                         {{0, -250}, {0, -400}}};
    QTest::newRow("plotCLarge 800 long") << "plotCLarge" << QVector<double>{2000, -600}
                                         << shiftedAll(2000, -600,
                                                       {{{0, 0}, {0, -300}},
                                                        {{-300, -300}, {300, -300}},
                                                        {{-300, -500}, {300, -500}},
                                                        {{0, -500}, {0, -800}}});
    QTest::newRow("plotG bar and triangle")
        << "plotG" << QVector<double>{0, 0}
        << Strokes{{{-50, 0}, {50, 0}}, {{-50, 0}, {0, -100}, {50, 0}}};
    QTest::newRow("plotGr stem bar triangle")
        << "plotGr" << QVector<double>{10, 10}
        << shiftedAll(
               10, 10,
               {{{0, 0}, {0, -20}}, {{20, -20}, {-20, -20}}, {{-20, -20}, {0, -40}, {20, -20}}});

    QTest::newRow("plotPA tip at 1000, plus at the lower input")
        << "plotPA" << QVector<double>{0, 0}
        << Strokes{{{0, -500}, {1000, 0}},     {{0, 500}, {1000, 0}},     {{0, -500}, {0, 500}},
                   {{100, -150}, {100, -250}}, {{50, -200}, {150, -200}}, {{50, 200}, {150, 200}}};
    QTest::newRow("plotPAR mirrored") << "plotPAR" << QVector<double>{3000, 0}
                                      << shiftedAll(3000, 0,
                                                    {{{0, -500}, {-1000, 0}},
                                                     {{0, 500}, {-1000, 0}},
                                                     {{0, -500}, {0, 500}},
                                                     {{-100, -150}, {-100, -250}},
                                                     {{-50, -200}, {-150, -200}},
                                                     {{-50, 200}, {-150, 200}}});
    QTest::newRow("plotOA tip at 600") << "plotOA" << QVector<double>{-200, 300}
                                       << shiftedAll(-200, 300,
                                                     {{{0, -300}, {600, 0}},
                                                      {{0, 300}, {600, 0}},
                                                      {{0, -300}, {0, 300}},
                                                      {{100, -100}, {100, -200}},
                                                      {{50, -150}, {150, -150}},
                                                      {{50, 150}, {150, 150}}});
    QTest::newRow("plotOAR tip at -600, minus from (-50,150) to (-150,150)")
        << "plotOAR" << QVector<double>{0, 0}
        << Strokes{{{0, -300}, {-600, 0}},      {{0, 300}, {-600, 0}},
                   {{0, -300}, {0, 300}},       {{-100, -100}, {-100, -200}},
                   {{-50, -150}, {-150, -150}}, {{-50, 150}, {-150, 150}}};

    QTest::newRow("plotRect corners (10,20) and (210,120)")
        << "plotRect" << QVector<double>{10, 20, 200, 100}
        << Strokes{{{10, 20}, {210, 20}},
                   {{210, 120}, {210, 20}},
                   {{10, 120}, {210, 120}},
                   {{10, 120}, {10, 20}}};
    QTest::newRow("plotRect negative size mirrors")
        << "plotRect" << QVector<double>{0, 0, -100, -50}
        << Strokes{{{0, 0}, {-100, 0}},
                   {{-100, -50}, {-100, 0}},
                   {{0, -50}, {-100, -50}},
                   {{0, -50}, {0, 0}}};
    QTest::newRow("plotTri") << "plotTri" << QVector<double>{100, 100, 300, 200}
                             << Strokes{{{100, 100}, {400, 200}},
                                        {{400, 200}, {100, 300}},
                                        {{100, 300}, {100, 100}}};
    QTest::newRow("plotTri zero height collapses to a line drawn twice")
        << "plotTri" << QVector<double>{0, 0, 300, 0}
        << Strokes{{{0, 0}, {300, 0}}, {{300, 0}, {0, 0}}, {{0, 0}, {0, 0}}};

    QTest::newRow("plotJhor 181 points over the wire")
        << "plotJhor" << QVector<double>{500, 100, 50} << Strokes{degrees(180, [](double t) {
               return QPointF(500 - 50 * std::cos(t), 100 + 50 * std::sin(t));
           })};
    QTest::newRow("plotJhor negative radius hops below")
        << "plotJhor" << QVector<double>{0, 0, -30} << Strokes{degrees(180, [](double t) {
               return QPointF(30 * std::cos(t), -30 * std::sin(t));
           })};
    QTest::newRow("plotJver two 91-point quarters to the left")
        << "plotJver" << QVector<double>{1000, -500, 40}
        << Strokes{degrees(90,
                           [](double t) {
                               return QPointF(1000 - 40 * std::cos(t), -500 + 40 * std::sin(t));
                           }),
                   degrees(90, [](double t) {
                       return QPointF(1000 - 40 * std::cos(t), -500 - 40 * std::sin(t));
                   })};
    QTest::newRow("plotSum two 181-point half circles")
        << "plotSum" << QVector<double>{100, 200}
        << Strokes{degrees(180,
                           [](double t) {
                               return QPointF(100 + 25 * std::cos(t), 200 + 25 * std::sin(t));
                           }),
                   degrees(180, [](double t) {
                       return QPointF(100 + 25 * std::cos(t), 200 - 25 * std::sin(t));
                   })};

    QTest::newRow("plotLhor one 404-point stroke, 101-point turns")
        << "plotLhor" << QVector<double>{0, 0} << Strokes{expectedCoil(0, 0, 50)};
    QTest::newRow("plotLhor away from the origin")
        << "plotLhor" << QVector<double>{-1234, 567} << Strokes{expectedCoil(-1234, 567, 50)};
    QTest::newRow("plotLLarge radius 100, 800 long")
        << "plotLLarge" << QVector<double>{600, 0} << Strokes{expectedCoil(600, 0, 100)};

    Strokes lver;
    for (int q = 0; q < 8; ++q) {
        Points s;
        if (q == 0) s << QPointF(-100, 0) << QPointF(0, 0);
        for (int n = 0; n < 50; ++n) {
            const double m = q % 2 == 0 ? n - 50 : n; // upper quarters, then lower ones
            s << QPointF(-100 - 2 * std::sqrt(2500 - m * m), -50 * q - n);
        }
        if (q == 7) s << QPointF(-100, -400) << QPointF(0, -400);
        lver << s;
    }
    QTest::newRow("plotLver eight quarter ellipses") << "plotLver" << QVector<double>{0, 0} << lver;
    QTest::newRow("plotLver away from the origin")
        << "plotLver" << QVector<double>{300, -700} << shiftedAll(300, -700, lver);
}

void TestSchematicPrimitives::figure()
{
    QFETCH(QString, primitive);
    QFETCH(QVector<double>, args);
    QFETCH(Strokes, expected);

    invoke(primitive, args, QPen(Qt::black));
    QCOMPARE(plot->graphCount(), expected.size());
    for (int g = 0; g < expected.size(); ++g) {
        const auto data = plot->graph(g)->data();
        QCOMPARE(data->size(), expected[g].size());
        int i = 0;
        for (auto it = data->constBegin(); it != data->constEnd(); ++it, ++i) {
            const QPointF want = expected[g][i];
            if (std::fabs(it->key - want.x()) > 1e-9 || std::fabs(it->value - want.y()) > 1e-9)
                QFAIL(qPrintable(QString("graph %1 point %2: (%3, %4), expected (%5, %6)")
                                     .arg(g)
                                     .arg(i)
                                     .arg(it->key, 0, 'g', 17)
                                     .arg(it->value, 0, 'g', 17)
                                     .arg(want.x())
                                     .arg(want.y())));
        }
    }
}

// Landmarks of the curved figures, stated independently of any formula.
void TestSchematicPrimitives::keyPoints_data()
{
    QTest::addColumn<QString>("primitive");
    QTest::addColumn<QVector<double>>("args");
    QTest::addColumn<int>("graph");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPointF>("point");

    const QVector<double> origin{0, 0};
    QTest::newRow("Lhor lead top") << "plotLhor" << origin << 0 << 0 << QPointF(0, 0);
    QTest::newRow("Lhor lead bottom") << "plotLhor" << origin << 0 << 1 << QPointF(0, -100);
    QTest::newRow("Lhor turn 1 lowest") << "plotLhor" << origin << 0 << 51 << QPointF(50, -150);
    QTest::newRow("Lhor turns 1-2 meet") << "plotLhor" << origin << 0 << 101 << QPointF(100, -100);
    QTest::newRow("Lhor turn 2 lowest") << "plotLhor" << origin << 0 << 151 << QPointF(150, -150);
    QTest::newRow("Lhor turns 2-3 meet") << "plotLhor" << origin << 0 << 201 << QPointF(200, -100);
    QTest::newRow("Lhor turn 3 lowest") << "plotLhor" << origin << 0 << 251 << QPointF(250, -150);
    QTest::newRow("Lhor turns 3-4 meet") << "plotLhor" << origin << 0 << 301 << QPointF(300, -100);
    QTest::newRow("Lhor turn 4 lowest") << "plotLhor" << origin << 0 << 351 << QPointF(350, -150);
    QTest::newRow("Lhor last turn ends") << "plotLhor" << origin << 0 << 401 << QPointF(400, -100);
    QTest::newRow("Lhor lead up") << "plotLhor" << origin << 0 << 402 << QPointF(400, -100);
    QTest::newRow("Lhor lead end") << "plotLhor" << origin << 0 << 403 << QPointF(400, 0);
    QTest::newRow("LLarge turn 1 lowest")
        << "plotLLarge" << origin << 0 << 51 << QPointF(100, -200);
    QTest::newRow("LLarge lead end") << "plotLLarge" << origin << 0 << 403 << QPointF(800, 0);
    QTest::newRow("Lver first turn starts on the lead")
        << "plotLver" << origin << 0 << 2 << QPointF(-100, 0);
    QTest::newRow("Lver lower quarter starts deepest")
        << "plotLver" << origin << 1 << 0 << QPointF(-200, -50);
    QTest::newRow("Lver first turn stops short")
        << "plotLver" << origin << 1 << 49 << QPointF(-100 - 2 * std::sqrt(99.0), -99);
    QTest::newRow("Lver last lead") << "plotLver" << origin << 7 << 51 << QPointF(0, -400);
    QTest::newRow("Jhor starts at -R")
        << "plotJhor" << QVector<double>{0, 0, 50} << 0 << 0 << QPointF(-50, 0);
    QTest::newRow("Jhor peaks at R")
        << "plotJhor" << QVector<double>{0, 0, 50} << 0 << 90 << QPointF(0, 50);
    QTest::newRow("Jhor ends at +R")
        << "plotJhor" << QVector<double>{0, 0, 50} << 0 << 180 << QPointF(50, 0);
    QTest::newRow("Jver quarters share (-R, 0), upper")
        << "plotJver" << QVector<double>{0, 0, 50} << 0 << 0 << QPointF(-50, 0);
    QTest::newRow("Jver quarters share (-R, 0), lower")
        << "plotJver" << QVector<double>{0, 0, 50} << 1 << 0 << QPointF(-50, 0);
    QTest::newRow("Jver upper end")
        << "plotJver" << QVector<double>{0, 0, 50} << 0 << 90 << QPointF(0, 50);
    QTest::newRow("Jver lower end")
        << "plotJver" << QVector<double>{0, 0, 50} << 1 << 90 << QPointF(0, -50);
    QTest::newRow("Sum top") << "plotSum" << origin << 0 << 90 << QPointF(0, 25);
    QTest::newRow("Sum bottom") << "plotSum" << origin << 1 << 90 << QPointF(0, -25);
}

void TestSchematicPrimitives::keyPoints()
{
    QFETCH(QString, primitive);
    QFETCH(QVector<double>, args);
    QFETCH(int, graph);
    QFETCH(int, index);
    QFETCH(QPointF, point);

    invoke(primitive, args, QPen(Qt::black));
    QVERIFY(graph < plot->graphCount());
    const auto data = plot->graph(graph)->data();
    QVERIFY(index < data->size());
    const auto it = data->constBegin() + index;
    QVERIFY2(std::fabs(it->key - point.x()) < 1e-9 && std::fabs(it->value - point.y()) < 1e-9,
             qPrintable(QString("(%1, %2)").arg(it->key).arg(it->value)));
}

void TestSchematicPrimitives::sumAddsCentredSigma()
{
    window->plotSum(plot, QPen(Qt::black), 300, -40);
    window->plotSum(plot, QPen(Qt::black), 300, -40);
    QCOMPARE(plot->graphCount(), 4);
    QCOMPARE(plot->itemCount(), 2);
    auto *text = qobject_cast<QCPItemText *>(plot->item(0));
    QVERIFY(text);
    QCOMPARE(text->text(), QString::fromUtf8("\u03A3"));
    QCOMPARE(text->position->coords(), QPointF(300, -40));
    QCOMPARE(text->positionAlignment(), Qt::AlignCenter);
}

void TestSchematicPrimitives::penAppliedUnchanged()
{
    QPen pen(QColor(150, 0, 0), 5.5, Qt::DashDotLine, Qt::RoundCap, Qt::MiterJoin);
    window->plotRver(plot, pen, 0, 0);
    window->plotLver(plot, pen, 0, 0);
    window->plotPA(plot, pen, 0, 0);
    window->plotSum(plot, pen, 0, 0);
    QCOMPARE(plot->graphCount(), 5 + 8 + 6 + 2);
    for (int i = 0; i < plot->graphCount(); ++i)
        QCOMPARE(plot->graph(i)->pen(), pen);
}

// A page's value label sits on its wire; the click must reach the label even though the wire's
// stroke was added after it and lies right under the pointer.
void TestSchematicPrimitives::strokesNeverTakeALabelClick()
{
    plot->xAxis->setRange(0, 1000);
    plot->yAxis->setRange(0, 1000);
    auto *label = new QCPItemText(plot);
    label->position->setCoords(500, 500);
    label->setText("10k");
    window->plotWhor(plot, QPen(Qt::black), 0, 500, 1000);
    window->plotRhor(plot, QPen(Qt::black), 300, 500);
    plot->replot();

    QCPAbstractItem *clicked = nullptr;
    QCPAbstractPlottable *clickedGraph = nullptr;
    connect(plot, &QCustomPlot::itemClick, this,
            [&](QCPAbstractItem *item, QMouseEvent *) { clicked = item; });
    connect(plot, &QCustomPlot::plottableClick, this,
            [&](QCPAbstractPlottable *p, int, QMouseEvent *) { clickedGraph = p; });
    const QPoint at(int(plot->xAxis->coordToPixel(500)), int(plot->yAxis->coordToPixel(500)));
    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(clicked, label);
    QVERIFY(!clickedGraph);
    for (int i = 0; i < plot->graphCount(); ++i) {
        QCOMPARE(plot->graph(i)->selectable(), QCP::stNone);
        QCOMPARE(plot->graph(i)->selectTest(QPointF(at), false), -1.0);
    }
}

// The second stroke of a vertical resistor runs from (100, -50) back to (-100, -150). With the
// view's left edge at x = 0 its right half must still be drawn.
void TestSchematicPrimitives::strokeTurningBackIsDrawnAcrossViewEdge()
{
    plot->axisRect()->setAutoMargins(QCP::msNone);
    plot->axisRect()->setMargins(QMargins(0, 0, 0, 0));
    plot->xAxis->setRange(0, 200);
    plot->yAxis->setRange(-200, 0);
    plot->xAxis->grid()->setVisible(false);
    plot->yAxis->grid()->setVisible(false);
    window->plotRver(plot, QPen(Qt::black, 3), 0, 0);
    plot->replot();
    const QImage image = plot->toPixmap(400, 400).toImage();
    // On the stroke, halfway between its start and the view edge: (50, -75).
    const int px = int(std::lround(plot->xAxis->coordToPixel(50)));
    const int py = int(std::lround(plot->yAxis->coordToPixel(-75)));
    bool inked = false;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            inked = inked || qGray(image.pixel(px + dx, py + dy)) < 128;
    QVERIFY(inked);
}

// The first stroke of a vertical inductor goes out along its lead to x = 0 and back: its extent
// is not that of its first and last points.
void TestSchematicPrimitives::rescaleCoversWholeFigure()
{
    window->plotLver(plot, QPen(Qt::black), 0, 0);
    bool found = false;
    const QCPRange first = plot->graph(0)->getKeyRange(found);
    QVERIFY(found);
    QCOMPARE(first.upper, 0.0);
    QCOMPARE(first.lower, -100 - 2 * std::sqrt(2499.0));
    plot->rescaleAxes();
    QCOMPARE(plot->xAxis->range().upper, 0.0);
    QVERIFY(plot->xAxis->range().lower < -199.9);
    QCOMPARE(plot->yAxis->range().upper, 0.0);
    QCOMPARE(plot->yAxis->range().lower, -400.0);
}

// Primitives never clear or remove: two calls at one anchor give two sets of graphs, and
// nothing but graphs (plotSum's sign aside) is added.
void TestSchematicPrimitives::primitivesAddNothingElse()
{
    window->plotChor(plot, QPen(Qt::black), 0, 0);
    window->plotChor(plot, QPen(Qt::black), 0, 0);
    window->plotG(plot, QPen(Qt::black), 0, 0);
    QCOMPARE(plot->graphCount(), 10);
    QCOMPARE(plot->plottableCount(), 10);
    QCOMPARE(plot->itemCount(), 0);
    plot->clearGraphs();
    QCOMPARE(plot->plottableCount(), 0);
}

QTEST_MAIN(TestSchematicPrimitives)
#include "tst_schematic_primitives.moc"
