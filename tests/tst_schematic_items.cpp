// The schematic editor's items (component2, resistor, capacitor, wire, ampSym), their edit dialog,
// and the widget-free geometry behind them: placement, texts, hit distances, clipping,
// T-junction dots, snapping and grid positions.
#include "schematic/ampsym.h"
#include "schematic/capacitor.h"
#include "schematic/component2.h"
#include "schematic/editorgeometry.h"
#include "schematic/resistor.h"
#include "schematic/wire.h"
#include "windowtest.h"

#include <qcustomplot.h>

#include <QtTest>

#include <functional>

using PositionMap = QMap<QString, QPointF>;
Q_DECLARE_METATYPE(PositionMap)

namespace {

bool near(double a, double b)
{
    return std::fabs(a - b) < 1e-9;
}

bool near(const QPointF &a, const QPointF &b)
{
    return std::fabs(a.x() - b.x()) < 1e-9 && std::fabs(a.y() - b.y()) < 1e-9;
}

int textItemCount(QCustomPlot *plot)
{
    int n = 0;
    for (int i = 0; i < plot->itemCount(); ++i)
        n += qobject_cast<QCPItemText *>(plot->item(i)) != nullptr;
    return n;
}

} // namespace

class TestSchematicItems : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void componentPlacement_data();
    void componentPlacement();
    void newResistorBeforePlacement();
    void placeByTerminal_data();
    void placeByTerminal();
    void textsShowAndHide();
    void removeComponentTakesTexts();
    void wirePlacement_data();
    void wirePlacement();
    void tJunction_data();
    void tJunction();
    void junctionDotDrawn_data();
    void junctionDotDrawn();
    void hitDistance();
    void clipLine_data();
    void clipLine();
    void clampToInt_data();
    void clampToInt();
    void segmentCrossingCanvasDrawnToEdge();

    void dialogDefaults();
    void dialogOk();
    void dialogEmptyValueKeepsOld();
    void dialogCancel();
    void dialogDelete();
    void dialogReturnMeansOk();

    void snapping_data();
    void snapping();
    void wireDrag_data();
    void wireDrag();
    void wireTarget_data();
    void wireTarget();
    void gridLines_data();
    void gridLines();
    void gridLinesFarFromOrigin();
    void amplifierPlacement_data();
    void amplifierPlacement();

private:
    QImage render();
    bool inkedAt(const QImage &image, double x, double y, int dx, int dy);

    QWidget *host = nullptr;
    QCustomPlot *plot = nullptr;
};

void TestSchematicItems::init()
{
    host = new QWidget;
    plot = new QCustomPlot(host);
    plot->resize(600, 600);
    plot->setViewport(plot->rect()); // a hidden widget gets no resize event
    plot->axisRect()->setAutoMargins(QCP::msNone);
    plot->axisRect()->setMargins(QMargins(0, 0, 0, 0));
    plot->xAxis->setRange(-600, 600);
    plot->yAxis->setRange(-600, 600);
    plot->xAxis->grid()->setVisible(false);
    plot->yAxis->grid()->setVisible(false);
    plot->replot();
}

void TestSchematicItems::cleanup()
{
    delete host;
    host = nullptr;
    plot = nullptr;
}

QImage TestSchematicItems::render()
{
    plot->replot();
    return plot->toPixmap(600, 600).toImage();
}

bool TestSchematicItems::inkedAt(const QImage &image, double x, double y, int dx, int dy)
{
    const int px = int(std::lround(plot->xAxis->coordToPixel(x))) + dx;
    const int py = int(std::lround(plot->yAxis->coordToPixel(y))) + dy;
    return qGray(image.pixel(px, py)) < 128;
}

// -------------------------------------------------------------------------------- components

void TestSchematicItems::componentPlacement_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<PositionMap>("expected");

    const double t = 400.0 / 3; // L/3
    QTest::newRow("vertical resistor at origin")
        << "resistor" << false << QPointF(0, 0)
        << PositionMap{{"start", {0, 200}},         {"C1", {100, 1000.0 / 6}},  {"C2", {-100, 100}},
                       {"C3", {100, 100.0 / 3}},    {"C4", {-100, -100.0 / 3}}, {"C5", {100, -100}},
                       {"C6", {-100, -1000.0 / 6}}, {"end", {0, -200}},         {"value", {t, 0}},
                       {"label", {-t, 0}}};
    QTest::newRow("horizontal resistor") << "resistor" << true << QPointF(600, -200)
                                         << PositionMap{{"start", {400, -200}},
                                                        {"C1", {600 - 1000.0 / 6, -100}},
                                                        {"C2", {500, -300}},
                                                        {"C3", {600 - 100.0 / 3, -100}},
                                                        {"C4", {600 + 100.0 / 3, -300}},
                                                        {"C5", {700, -100}},
                                                        {"C6", {600 + 1000.0 / 6, -300}},
                                                        {"end", {800, -200}},
                                                        {"value", {600, -200 + t}},
                                                        {"label", {600, -200 - t}}};
    QTest::newRow("vertical capacitor at origin")
        << "capacitor" << false << QPointF(0, 0)
        << PositionMap{{"start", {0, 200}}, {"C1", {0, 50}},    {"C2", {t, 50}},
                       {"C3", {-t, 50}},    {"C4", {0, -50}},   {"C5", {t, -50}},
                       {"C6", {-t, -50}},   {"end", {0, -200}}, {"value", {200, 0}},
                       {"label", {-200, 0}}};
    QTest::newRow("horizontal capacitor")
        << "capacitor" << true << QPointF(-200, 400)
        << PositionMap{{"start", {-400, 400}},  {"C1", {-250, 400}}, {"C2", {-250, 400 + t}},
                       {"C3", {-250, 400 - t}}, {"C4", {-150, 400}}, {"C5", {-150, 400 + t}},
                       {"C6", {-150, 400 - t}}, {"end", {0, 400}},   {"value", {-200, 600}},
                       {"label", {-200, 200}}};
    QTest::newRow("plain component moves no text")
        << "component2" << false << QPointF(200, 200)
        << PositionMap{
               {"start", {200, 400}}, {"end", {200, 0}}, {"value", {0, 0}}, {"label", {0, 0}}};
}

void TestSchematicItems::componentPlacement()
{
    QFETCH(QString, kind);
    QFETCH(bool, horizontal);
    QFETCH(QPointF, centre);
    QFETCH(PositionMap, expected);

    component2 *c = kind == "resistor"    ? new resistor(plot)
                    : kind == "capacitor" ? static_cast<component2 *>(new capacitor(plot))
                                          : new component2(plot);
    c->showLabel(true);
    c->horizontal = horizontal;
    c->moveCenterTo(centre.x(), centre.y());
    QVERIFY(near(c->center->coords(), centre));
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        QPointF got;
        if (it.key() == "value")
            got = c->valueText->position->coords();
        else if (it.key() == "label")
            got = c->labelText->position->coords();
        else
            got = c->position(it.key())->coords();
        QVERIFY2(near(got, it.value()),
                 qPrintable(QString("%1 at (%2, %3)").arg(it.key()).arg(got.x()).arg(got.y())));
    }
}

void TestSchematicItems::newResistorBeforePlacement()
{
    auto *r = new resistor(plot);
    QCOMPARE(r->start->coords(), QPointF(-200, 0));
    QCOMPARE(r->end->coords(), QPointF(200, 0));
    for (QCPItemPosition *p : {r->C1, r->C2, r->C3, r->C4, r->C5, r->C6})
        QCOMPARE(p->coords(), QPointF(0, 0));
    QVERIFY(r->valueVisible);
    QVERIFY(!r->labelVisible);
    QVERIFY(!r->labelText);
    QCOMPARE(r->value, QString("1k"));
    QCOMPARE(r->label, QString("R"));
    QCOMPARE(r->valueText->text(), QString("1k"));
    QCOMPARE(r->valueText->position->coords(), QPointF(0, 0));
    QCOMPARE(r->valueText->positionAlignment(), Qt::AlignLeft | Qt::AlignBottom);
    QCOMPARE(r->length, 400.0);
    QVERIFY(r->horizontal);
    QCOMPARE(r->getPen().color(), QColor(Qt::black));
    QCOMPARE(r->getPen().widthF(), 3.0);
    QCOMPARE(r->getPen().capStyle(), Qt::SquareCap);
    QCOMPARE(r->getPen().joinStyle(), Qt::BevelJoin);
    QCOMPARE(r->getSelectedPen().color(), QColor(Qt::blue));
    QCOMPARE(r->mainPen(), r->getPen());
    const QStringList names{"start", "end", "center", "C1", "C2", "C3", "C4", "C5", "C6"};
    QCOMPARE(r->positions().size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(r->positions().at(i)->name(), names[i]);

    auto *c = new capacitor(plot);
    QCOMPARE(c->valueText->text(), QString("1n"));
    QCOMPARE(c->label, QString("C"));
    auto *plain = new component2(plot);
    QCOMPARE(plain->value, QString("1"));
    QCOMPARE(plain->label, QString("X"));
}

void TestSchematicItems::placeByTerminal_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("byStart");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<QPointF>("otherEnd");

    QTest::newRow("resistor start, horizontal")
        << "resistor" << true << true << QPointF(0, 0) << QPointF(200, 0) << QPointF(400, 0);
    QTest::newRow("resistor end, vertical")
        << "resistor" << false << false << QPointF(0, 0) << QPointF(0, 200) << QPointF(0, 400);
    QTest::newRow("capacitor start, vertical") << "capacitor" << false << true << QPointF(100, 0)
                                               << QPointF(100, -200) << QPointF(100, -400);
    QTest::newRow("plain end, horizontal") << "component2" << true << false << QPointF(0, 100)
                                           << QPointF(-200, 100) << QPointF(-400, 100);
}

void TestSchematicItems::placeByTerminal()
{
    QFETCH(QString, kind);
    QFETCH(bool, horizontal);
    QFETCH(bool, byStart);
    QFETCH(QPointF, to);
    QFETCH(QPointF, centre);
    QFETCH(QPointF, otherEnd);

    component2 *c = kind == "resistor"    ? new resistor(plot)
                    : kind == "capacitor" ? static_cast<component2 *>(new capacitor(plot))
                                          : new component2(plot);
    c->horizontal = horizontal;
    if (byStart)
        c->moveStartTo(to.x(), to.y());
    else
        c->moveEndTo(to.x(), to.y());
    QCOMPARE(c->center->coords(), centre);
    QCOMPARE((byStart ? c->start : c->end)->coords(), to);
    QCOMPARE((byStart ? c->end : c->start)->coords(), otherEnd);
    if (auto *r = qobject_cast<resistor *>(c)) // the zigzag follows
        QVERIFY(r->C1->coords() != QPointF(0, 0));
}

void TestSchematicItems::textsShowAndHide()
{
    auto *r = new resistor(plot);
    QCOMPARE(plot->itemCount(), 2);
    r->showValue(true); // already shown: no second text
    QCOMPARE(plot->itemCount(), 2);
    r->showLabel(false); // already hidden
    QCOMPARE(plot->itemCount(), 2);
    r->moveCenterTo(0, 0);
    r->setLabel("R7");
    r->showLabel(true);
    QCOMPARE(plot->itemCount(), 3);
    QCOMPARE(r->labelText->text(), QString("R7"));
    QCOMPARE(r->labelText->positionAlignment(), Qt::AlignRight | Qt::AlignTop);
    QVERIFY(near(r->labelText->position->coords(), QPointF(0, -400.0 / 3)));
    r->setValue("4k7");
    QCOMPARE(r->valueText->text(), QString("4k7"));
    r->showValue(false);
    QVERIFY(!r->valueText);
    QCOMPARE(plot->itemCount(), 2);
    r->setValue("10k"); // stored while hidden, shown when the text comes back
    r->showValue(true);
    QCOMPARE(r->valueText->text(), QString("10k"));
    QVERIFY(near(r->valueText->position->coords(), QPointF(0, 400.0 / 3)));
}

void TestSchematicItems::removeComponentTakesTexts()
{
    auto *c = new capacitor(plot);
    c->showLabel(true);
    auto *keep = new resistor(plot);
    QCOMPARE(plot->itemCount(), 5);
    QPointer<component2> guard(c);
    c->removeComponent();
    QVERIFY(!guard);
    QCOMPARE(plot->itemCount(), 2);
    QVERIFY(plot->hasItem(keep));
    QVERIFY(plot->hasItem(keep->valueText));

    auto *w = new wire(plot);
    auto *a = new ampSym(plot);
    w->removeComponent();
    a->removeComponent();
    QCOMPARE(plot->itemCount(), 2);
}

// -------------------------------------------------------------------------------------- wires

void TestSchematicItems::wirePlacement_data()
{
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<QString>("move");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QPointF>("newStart");
    QTest::addColumn<QPointF>("newEnd");
    QTest::addColumn<QPointF>("newCentre");

    QTest::newRow("horizontal by centre keeps length")
        << true << QPointF(0, 0) << QPointF(400, 0) << "center" << QPointF(600, 0)
        << QPointF(800, 0) << QPointF(400, 0) << QPointF(600, 0);
    QTest::newRow("vertical by centre")
        << false << QPointF(0, 200) << QPointF(0, -200) << "center" << QPointF(100, 100)
        << QPointF(100, 300) << QPointF(100, -100) << QPointF(100, 100);
    QTest::newRow("horizontal start drags end's y")
        << true << QPointF(0, 0) << QPointF(400, 0) << "start" << QPointF(100, 50)
        << QPointF(100, 50) << QPointF(400, 50) << QPointF(250, 50);
    QTest::newRow("vertical start drags end's x")
        << false << QPointF(0, 0) << QPointF(0, 400) << "start" << QPointF(30, -100)
        << QPointF(30, -100) << QPointF(30, 400) << QPointF(30, 150);
    QTest::newRow("horizontal end drags start's y")
        << true << QPointF(0, 0) << QPointF(400, 0) << "end" << QPointF(-200, 80) << QPointF(0, 80)
        << QPointF(-200, 80) << QPointF(-100, 80);
    QTest::newRow("vertical end drags start's x")
        << false << QPointF(0, 0) << QPointF(0, 400) << "end" << QPointF(60, 200) << QPointF(60, 0)
        << QPointF(60, 200) << QPointF(60, 100);
}

void TestSchematicItems::wirePlacement()
{
    QFETCH(bool, horizontal);
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(QString, move);
    QFETCH(QPointF, to);
    QFETCH(QPointF, newStart);
    QFETCH(QPointF, newEnd);
    QFETCH(QPointF, newCentre);

    auto *w = new wire(plot);
    QCOMPARE(w->start->coords(), QPointF(0, 0));
    QCOMPARE(w->end->coords(), QPointF(0, 0));
    w->horizontal = horizontal;
    w->moveStartTo(start.x(), start.y());
    w->moveEndTo(end.x(), end.y());
    if (move == "center")
        w->moveCenterTo(to.x(), to.y());
    else if (move == "start")
        w->moveStartTo(to.x(), to.y());
    else
        w->moveEndTo(to.x(), to.y());
    QCOMPARE(w->start->coords(), newStart);
    QCOMPARE(w->end->coords(), newEnd);
    QCOMPARE(w->center->coords(), newCentre);
}

void TestSchematicItems::tJunction_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<bool>("atEnd");

    // The other wire runs horizontally from (0, 0) to (400, 0).
    QTest::newRow("vertical starting in the middle")
        << QPointF(200, 0) << QPointF(200, 400) << false << true << false;
    QTest::newRow("vertical ending in the middle")
        << QPointF(200, 400) << QPointF(200, 0) << false << false << true;
    QTest::newRow("vertical starting at the left end")
        << QPointF(0, 0) << QPointF(0, 400) << false << false << false;
    QTest::newRow("vertical starting at the right end")
        << QPointF(400, 0) << QPointF(400, 400) << false << false << false;
    QTest::newRow("vertical crossing, no end on it")
        << QPointF(200, -100) << QPointF(200, 100) << false << false << false;
    QTest::newRow("parallel, end inside")
        << QPointF(200, 0) << QPointF(600, 0) << true << false << false;
}

void TestSchematicItems::tJunction()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(bool, horizontal);
    QFETCH(bool, atStart);
    QFETCH(bool, atEnd);

    auto *other = new wire(plot);
    other->moveEndTo(400, 0);
    auto *w = new wire(plot);
    w->horizontal = horizontal;
    w->moveStartTo(start.x(), start.y());
    w->moveEndTo(end.x(), end.y());
    QCOMPARE(w->isTJunctionWith(w->start, other), atStart);
    QCOMPARE(w->isTJunctionWith(w->end, other), atEnd);
    QVERIFY(!w->isTJunctionWith(w->start, w));
    auto *notAWire = new resistor(plot);
    QVERIFY(!w->isTJunctionWith(w->start, notAWire));
}

void TestSchematicItems::junctionDotDrawn_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<bool>("dot");

    QTest::newRow("T at (200, 0)") << QPointF(200, 0) << QPointF(200, 400) << true;
    QTest::newRow("corner at (0, 0)") << QPointF(0, 0) << QPointF(0, 400) << false;
    QTest::newRow("corner at (400, 0)") << QPointF(400, 0) << QPointF(400, 400) << false;
    QTest::newRow("zero length on the wire paints nothing")
        << QPointF(200, 0) << QPointF(200, 0) << false;
}

void TestSchematicItems::junctionDotDrawn()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(bool, dot);

    auto *other = new wire(plot);
    other->moveEndTo(400, 0);
    auto *w = new wire(plot);
    w->horizontal = false;
    w->moveStartTo(start.x(), start.y());
    w->moveEndTo(end.x(), end.y());
    const QImage image = render();
    // Below and left of the meeting point (screen y grows downward): off both 3 px strokes but
    // inside a 10 px dot.
    QCOMPARE(inkedAt(image, start.x(), start.y(), -3, 3), dot);
    QVERIFY(inkedAt(image, 100, 0, 0, 0)); // the other wire itself is drawn
}

void TestSchematicItems::hitDistance()
{
    auto *r = new resistor(plot);
    r->moveCenterTo(0, 0);
    auto pixel = [this](double x, double y) {
        return QPointF(plot->xAxis->coordToPixel(x), plot->yAxis->coordToPixel(y));
    };
    const double unitsPerPixel = 1200.0 / 600;
    // On the lead's line, above the zigzag: the zigzag does not count.
    QVERIFY(near(r->selectTest(pixel(100, 0), false), 0));
    QVERIFY(std::fabs(r->selectTest(pixel(0, 100), false) - 100 / unitsPerPixel) < 1e-9);
    // Beyond an end: distance to that end.
    QVERIFY(std::fabs(r->selectTest(pixel(500, 400), false) - 500 / unitsPerPixel) < 1e-9);
    // Not selectable: asked only for selectable items it declines, but the editor's item search
    // (which asks for all items) still gets the distance.
    r->setSelectable(false);
    QCOMPARE(r->selectTest(pixel(100, 0), true), -1.0);
    QVERIFY(near(r->selectTest(pixel(100, 0), false), 0));
    QCOMPARE(plot->itemAt(pixel(100, 0), false), r);

    auto *a = new ampSym(plot);
    QCOMPARE(a->C1->coords(), QPointF(-400, 400));
    QCOMPARE(a->C2->coords(), QPointF(-400, -400));
    QCOMPARE(a->C3->coords(), QPointF(400, 0));
    a->moveCenterTo(0, 300);
    QVERIFY(near(a->selectTest(pixel(200, 300), false), 0));
    QVERIFY(a->selectTest(pixel(-400, 700), false) > 8); // a corner is far from the amplifier

    auto *w = new wire(plot);
    w->moveStartTo(-500, -500);
    w->moveEndTo(500, -500);
    QVERIFY(std::fabs(w->selectTest(pixel(0, -490), false) - 10 / unitsPerPixel) < 1e-9);
}

void TestSchematicItems::clipLine_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<QLineF>("expected");

    // The rectangle is (10, 10) to (109, 59): width and height 100 and 50.
    QTest::newRow("inside: whole segment")
        << QPointF(20, 20) << QPointF(50, 40) << QLineF(20, 20, 50, 40);
    QTest::newRow("leaving to the right")
        << QPointF(50, 30) << QPointF(200, 30) << QLineF(109, 30, 50, 30);
    QTest::newRow("crossing top and bottom")
        << QPointF(60, 0) << QPointF(60, 100) << QLineF(60, 10, 60, 59);
    QTest::newRow("wholly outside") << QPointF(200, 200) << QPointF(300, 300) << QLineF();
    // Slope 1/2 through the top-left corner: the top and the left edge both give (10, 10),
    // the bottom (108, 59) and the right (109, 59.5); the pair farthest apart is kept.
    QTest::newRow("through a corner: farthest pair")
        << QPointF(0, 5) << QPointF(120, 65) << QLineF(10, 10, 109, 59.5);
    // Zoomed in, the ends of a wire lie far beyond what an int holds.
    QTest::newRow("huge end, the rest kept")
        << QPointF(50, 30) << QPointF(5e11, 30) << QLineF(109, 30, 50, 30);
    QTest::newRow("both ends huge, either way")
        << QPointF(-5e11, 30) << QPointF(5e11, 30) << QLineF(10, 30, 109, 30);
    QTest::newRow("beyond single precision")
        << QPointF(50, 30) << QPointF(1e300, 30) << QLineF(109, 30, 50, 30);
    QTest::newRow("infinite end") << QPointF(50, 30)
                                  << QPointF(-std::numeric_limits<double>::infinity(), 30)
                                  << QLineF(10, 30, 50, 30);
    QTest::newRow("an end that is not a number")
        << QPointF(50, 30) << QPointF(std::nan(""), 30) << QLineF();
}

void TestSchematicItems::clipLine()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(QLineF, expected);
    const QRect rect(10, 10, 100, 50);
    const QLineF got = schem::clipLineToRect(a, b, rect);
    QCOMPARE(got.isNull(), expected.isNull());
    auto close = [](const QPointF &p, const QPointF &q) {
        return std::fabs(p.x() - q.x()) < 1e-4 && std::fabs(p.y() - q.y()) < 1e-4;
    };
    QVERIFY2(close(got.p1(), expected.p1()) && close(got.p2(), expected.p2()),
             qPrintable(QString("(%1, %2) - (%3, %4)")
                            .arg(got.x1())
                            .arg(got.y1())
                            .arg(got.x2())
                            .arg(got.y2())));
}

void TestSchematicItems::clampToInt_data()
{
    QTest::addColumn<double>("v");
    QTest::addColumn<int>("expected");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("truncated as a cast") << 2.7 << 2;
    QTest::newRow("negative truncated toward zero") << -2.7 << -2;
    QTest::newRow("huge") << 5e11 << schem::farPixel;
    QTest::newRow("negative huge") << -5e11 << -schem::farPixel;
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << schem::farPixel;
    QTest::newRow("infinite") << inf << schem::farPixel;
    QTest::newRow("negative infinite") << -inf << -schem::farPixel;
    QTest::newRow("not a number") << std::nan("") << 0;
}

void TestSchematicItems::clampToInt()
{
    QFETCH(double, v);
    QFETCH(int, expected);
    QCOMPARE(schem::clampToInt(v), expected);
    QCOMPARE(schem::roundedPixel(QPointF(v, -v)),
             QPoint(std::isnan(v) ? 0 : schem::clampToInt(std::round(v)),
                    std::isnan(v) ? 0 : schem::clampToInt(std::round(-v))));
}

// A wire reaching far beyond the canvas is cut at its edge rather than handed whole to the
// painter, and is still drawn up to that edge.
void TestSchematicItems::segmentCrossingCanvasDrawnToEdge()
{
    auto *w = new wire(plot);
    w->moveStartTo(-100, 0);
    w->moveEndTo(1e12, 0);
    const QImage image = render();
    QVERIFY(inkedAt(image, 0, 0, 0, 0));
    QVERIFY(inkedAt(image, 590, 0, 0, 0));
}

// ---------------------------------------------------------------------------------- the dialog

void TestSchematicItems::dialogDefaults()
{
    auto *c = new capacitor(plot);
    c->moveCenterTo(0, 0);
    QString value, label, title;
    bool showValue = false, showLabel = true, selected = false;
    windowtest::onNextDialog([&](QDialog *d) {
        title = d->windowTitle();
        value = d->findChild<QLineEdit *>("valueEdit")->text();
        selected = d->findChild<QLineEdit *>("valueEdit")->selectedText() == value;
        label = d->findChild<QLineEdit *>("labelEdit")->text();
        showValue = d->findChild<QCheckBox *>("showValueBox")->isChecked();
        showLabel = d->findChild<QCheckBox *>("showLabelBox")->isChecked();
        QCOMPARE(d->findChild<QCheckBox *>("showValueBox")->text(), QString("Show Value: "));
        QCOMPARE(d->findChild<QCheckBox *>("showLabelBox")->text(), QString("Show Label: "));
        QCOMPARE(d->findChild<QPushButton *>("deleteButton")->text(), QString("Delete"));
        QCOMPARE(d->parentWidget(), host);
        d->reject();
    });
    c->editComponentDialog();
    QCOMPARE(title, QString("Change Value & Label"));
    QCOMPARE(value, QString("1n"));
    QVERIFY(selected);
    QCOMPARE(label, QString("C"));
    QVERIFY(showValue);
    QVERIFY(!showLabel);
}

void TestSchematicItems::dialogOk()
{
    auto *r = new resistor(plot);
    r->moveCenterTo(0, 0);
    windowtest::onNextDialog([](QDialog *d) {
        d->findChild<QLineEdit *>("valueEdit")->setText("22k");
        d->findChild<QLineEdit *>("labelEdit")->setText("R12");
        d->findChild<QCheckBox *>("showValueBox")->setChecked(false);
        d->findChild<QCheckBox *>("showLabelBox")->setChecked(true);
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    r->editComponentDialog();
    QCOMPARE(r->value, QString("22k"));
    QCOMPARE(r->label, QString("R12"));
    QVERIFY(!r->valueText);
    QVERIFY(r->labelText);
    QCOMPARE(r->labelText->text(), QString("R12"));
    // A third of the length below the centre of a horizontal resistor.
    QVERIFY(near(r->labelText->position->coords(), QPointF(0, -400.0 / 3)));
    QCOMPARE(textItemCount(plot), 1);
}

void TestSchematicItems::dialogEmptyValueKeepsOld()
{
    auto *r = new resistor(plot);
    windowtest::onNextDialog([](QDialog *d) {
        d->findChild<QLineEdit *>("valueEdit")->clear();
        d->findChild<QLineEdit *>("labelEdit")->clear();
        d->findChild<QCheckBox *>("showLabelBox")->setChecked(true);
        d->accept();
    });
    r->editComponentDialog();
    QCOMPARE(r->value, QString("1k"));
    QCOMPARE(r->valueText->text(), QString("1k"));
    QCOMPARE(r->label, QString("R"));
    QCOMPARE(r->labelText->text(), QString("R"));
}

void TestSchematicItems::dialogCancel()
{
    auto *r = new resistor(plot);
    windowtest::onNextDialog([](QDialog *d) {
        d->findChild<QLineEdit *>("valueEdit")->setText("5");
        d->findChild<QLineEdit *>("labelEdit")->setText("Q");
        d->findChild<QCheckBox *>("showValueBox")->setChecked(false);
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    });
    r->editComponentDialog();
    QCOMPARE(r->value, QString("1k"));
    QCOMPARE(r->label, QString("R"));
    QVERIFY(r->valueText);
}

void TestSchematicItems::dialogDelete()
{
    auto *r = new resistor(plot);
    r->showLabel(true);
    auto *other = new capacitor(plot);
    QCOMPARE(plot->itemCount(), 5);
    QPointer<component2> guard(r);
    bool closedOnPress = false;
    windowtest::onNextDialog([&](QDialog *d) {
        auto *del = d->findChild<QPushButton *>("deleteButton");
        QTest::mousePress(del, Qt::LeftButton);
        closedOnPress = !d->isVisible();
        QTest::mouseRelease(del, Qt::LeftButton);
    });
    r->editComponentDialog();
    QVERIFY(closedOnPress);
    QVERIFY(!guard);
    QCOMPARE(plot->itemCount(), 2);
    QVERIFY(plot->hasItem(other));
}

// Return in the value field accepts; it must never press Delete.
void TestSchematicItems::dialogReturnMeansOk()
{
    auto *r = new resistor(plot);
    QPointer<component2> guard(r);
    windowtest::onNextDialog([](QDialog *d) {
        auto *edit = d->findChild<QLineEdit *>("valueEdit");
        edit->setText("47k");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    r->editComponentDialog();
    QVERIFY(guard);
    QCOMPARE(r->value, QString("47k"));
}

// ------------------------------------------------------------------------ snapping and grid

void TestSchematicItems::snapping_data()
{
    QTest::addColumn<double>("c");
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("snapped");

    QTest::newRow("530 to 600") << 530.0 << 200 << 600.0;
    QTest::newRow("-290 to -200") << -290.0 << 200 << -200.0;
    QTest::newRow("half away from zero, up") << 100.0 << 200 << 200.0;
    QTest::newRow("half away from zero, down") << -100.0 << 200 << -200.0;
    QTest::newRow("step 1") << 12.4 << 1 << 12.0;
    QTest::newRow("step 25") << 37.5 << 25 << 50.0;
}

void TestSchematicItems::snapping()
{
    QFETCH(double, c);
    QFETCH(int, step);
    QFETCH(double, snapped);
    QCOMPARE(schem::snapToGrid(c, step), snapped);
}

void TestSchematicItems::wireDrag_data()
{
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<int>("step");
    QTest::addColumn<QPointF>("newCentre");

    QTest::newRow("100 - 200 * round(-1.45) = 300")
        << QPointF(100, 0) << QPointF(390, 0) << 200 << QPointF(300, 0);
    QTest::newRow("keeps the offset from the grid")
        << QPointF(150, -50) << QPointF(-20, 260) << 100 << QPointF(-50, 250);
}

void TestSchematicItems::wireDrag()
{
    QFETCH(QPointF, centre);
    QFETCH(QPointF, pointer);
    QFETCH(int, step);
    QFETCH(QPointF, newCentre);
    QCOMPARE(schem::wireDragCentre(centre, pointer, step), newCentre);
}

void TestSchematicItems::wireTarget_data()
{
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<QPointF>("end");

    // Drawing from (0, 0) with step 100.
    QTest::newRow("(260, 240) horizontal") << QPointF(260, 240) << true << QPointF(300, 0);
    QTest::newRow("(240, 260) vertical") << QPointF(240, 260) << false << QPointF(0, 300);
    QTest::newRow("(250, 250) tie is horizontal") << QPointF(250, 250) << true << QPointF(300, 0);
    QTest::newRow("(-40, -160) vertical down") << QPointF(-40, -160) << false << QPointF(0, -200);
}

void TestSchematicItems::wireTarget()
{
    QFETCH(QPointF, pointer);
    QFETCH(bool, horizontal);
    QFETCH(QPointF, end);
    const schem::WireTarget t = schem::wireModeTarget(QPointF(0, 0), pointer, 100);
    QCOMPARE(t.horizontal, horizontal);
    QCOMPARE(t.end, end);
}

void TestSchematicItems::gridLines_data()
{
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<int>("step");
    QTest::addColumn<QVector<double>>("expected");

    QTest::newRow("0..1000 step 200")
        << 0.0 << 1000.0 << 200 << QVector<double>{0, 200, 400, 600, 800, 1000};
    QTest::newRow("lower end truncated toward zero")
        << -450.0 << 250.0 << 200 << QVector<double>{-400, -200, 0, 200};
    QTest::newRow("positive lower starts at or below it")
        << 250.0 << 700.0 << 200 << QVector<double>{200, 400, 600};
    QTest::newRow("step 25") << 0.0 << 100.0 << 25 << QVector<double>{0, 25, 50, 75, 100};
    QTest::newRow("inverted range") << 10.0 << -10.0 << 1 << QVector<double>{};
    QTest::newRow("step 0 gives nothing") << 0.0 << 10.0 << 0 << QVector<double>{};
    QTest::newRow("infinite range gives nothing")
        << 0.0 << std::numeric_limits<double>::infinity() << 1 << QVector<double>{};
}

void TestSchematicItems::gridLines()
{
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(int, step);
    QFETCH(QVector<double>, expected);
    QCOMPARE(schem::gridLinePositions(lower, upper, step, schem::maxSchGridLines), expected);
}

// Out there doubles are 16 apart, so stepping from one multiple of the step to the next stands
// still; the grid still gets one line per step of the range, each inside it.
void TestSchematicItems::gridLinesFarFromOrigin()
{
    const double lower = 1e17, upper = 1e17 + 32;
    const QVector<double> lines = schem::gridLinePositions(lower, upper, 1, schem::maxSchGridLines);
    QCOMPARE(lines.size(), 33);
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY(lines[i] >= lower && lines[i] <= upper);
        if (i > 0) QVERIFY(lines[i] >= lines[i - 1]);
    }
}

void TestSchematicItems::amplifierPlacement_data()
{
    QTest::addColumn<QRectF>("view");
    QTest::addColumn<int>("step");
    QTest::addColumn<QVector<QPointF>>("taken");
    QTest::addColumn<QPointF>("centre");

    const QRectF view(QPointF(0, 0), QPointF(6000, 3000));
    QTest::newRow("grid point nearest the middle")
        << view << 200 << QVector<QPointF>{} << QPointF(3000, 1600);
    QTest::newRow("view given with y downward") << QRectF(QPointF(0, 3000), QPointF(6000, 0))
                                                << 200 << QVector<QPointF>{} << QPointF(3000, 1600);
    QTest::newRow("beside one already there, not overlapping it")
        << view << 200 << QVector<QPointF>{{3000, 1600}} << QPointF(2000, 2600);
    QTest::newRow("beside one that is near the middle")
        << view << 200 << QVector<QPointF>{{3200, 1400}} << QPointF(2000, 2600);
    QTest::newRow("on the grid of a fine step")
        << view << 25 << QVector<QPointF>{{3000, 1500}} << QPointF(2000, 2500);
    QTest::newRow("beside one, inside a narrow view")
        << QRectF(QPointF(100, 0), QPointF(1100, 3000)) << 200 << QVector<QPointF>{{600, 1600}}
        << QPointF(600, 2600);
    QTest::newRow("a view too small for it gets the middle")
        << QRectF(QPointF(0, 0), QPointF(300, 300)) << 100 << QVector<QPointF>{}
        << QPointF(200, 200);
}

void TestSchematicItems::amplifierPlacement()
{
    QFETCH(QRectF, view);
    QFETCH(int, step);
    QFETCH(QVector<QPointF>, taken);
    QFETCH(QPointF, centre);
    QCOMPARE(schem::amplifierPlacement(view, step, taken), centre);
}

QTEST_MAIN(TestSchematicItems)
#include "tst_schematic_items.moc"
