// The schematic editor page driven like a user would: tools, synthetic mouse events on the
// canvas `sch`, the snap grid, wire mode, flipping, the edit dialog and deleting. Each test
// builds its own window showing page 19; the view is set so that one pixel is five units.
#include "app/mainwindow.h"
#include "schematic/ampsym.h"
#include "schematic/capacitor.h"
#include "schematic/component2.h"
#include "schematic/editorgeometry.h"
#include "schematic/resistor.h"
#include "schematic/wire.h"
#include "windowtest.h"
// The relative path lets this test generate the form header from forms/ itself.
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <QtTest>

#include <functional>

namespace {

template <typename T> QList<T *> itemsOf(QCustomPlot *plot)
{
    QList<T *> found;
    for (int i = 0; i < plot->itemCount(); ++i)
        if (plot->item(i)->metaObject() == &T::staticMetaObject)
            found << static_cast<T *>(plot->item(i));
    return found;
}

} // namespace

class TestSchematicEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void snapBoxSetsGrid();
    void gridLinesCappedWhenZoomedOut();
    void gridBoxHidesGridOnly();
    void placingResistorSnaps_data();
    void placingResistorSnaps();
    void toolsOnOtherPagesCreateNothing();
    void inductorToolDoesNothing();
    void escapeEndsTools();
    void toolKeysCancelDrag_data();
    void toolKeysCancelDrag();
    void escapeCancelsWireDrag();
    void keysReachOtherPagesWidgets();
    void amplifiersLandInView();
    void wireModeAnchors();
    void wireDragKeepsGridOffset();
    void rightPressFlipsComponentBeingPlaced();
    void rightPressDeletesWire();
    void rightPressDeletesWireBeingDragged();
    void editChangesValueAndLabel();
    void editCancelChangesNothing();
    void deleteFromDialog();
    void deleteFromDialogOverWire();

private:
    QPoint px(double x, double y) const;
    void mouse(QEvent::Type type, double x, double y, Qt::MouseButton button,
               Qt::MouseButtons buttons);
    void press(double x, double y, Qt::MouseButton b = Qt::LeftButton,
               Qt::MouseButtons held = Qt::NoButton);
    void release(double x, double y, Qt::MouseButton b = Qt::LeftButton);
    void move(double x, double y, Qt::MouseButtons held = Qt::NoButton);
    resistor *dropResistorAt(double x, double y);
    wire *drawWire(double x0, double y0, double x1, double y1);
    void selectSnap(const QString &step);

    MainWindow *w = nullptr;
    QCustomPlot *sch = nullptr;
};

void TestSchematicEditor::initTestCase()
{
    // Every slot of the page must bind to its widget by name.
    windowtest::failOnUnboundSlots();
    MainWindow probe;
}

void TestSchematicEditor::init()
{
    w = new MainWindow;
    w->resize(1200, 800);
    w->ui->Page->setCurrentIndex(19);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->activateWindow();
    QTest::qWait(20); // the first layout of the canvas, then its queued replot
    sch = w->ui->sch;
    // One pixel is five units in both directions, with whole pixels on multiples of five.
    const QRect r = sch->axisRect()->rect();
    sch->xAxis->setRange(-2000, -2000 + 5.0 * r.width());
    sch->yAxis->setRange(-1500, -1500 + 5.0 * r.height());
    sch->replot();
}

void TestSchematicEditor::cleanup()
{
    delete w;
    w = nullptr;
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

QPoint TestSchematicEditor::px(double x, double y) const
{
    return QPoint(int(std::lround(sch->xAxis->coordToPixel(x))),
                  int(std::lround(sch->yAxis->coordToPixel(y))));
}

void TestSchematicEditor::mouse(QEvent::Type type, double x, double y, Qt::MouseButton button,
                                Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(px(x, y)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(sch, &event);
}

void TestSchematicEditor::press(double x, double y, Qt::MouseButton b, Qt::MouseButtons held)
{
    mouse(QEvent::MouseButtonPress, x, y, b, held | b);
}

void TestSchematicEditor::release(double x, double y, Qt::MouseButton b)
{
    mouse(QEvent::MouseButtonRelease, x, y, b, Qt::NoButton);
}

void TestSchematicEditor::move(double x, double y, Qt::MouseButtons held)
{
    mouse(QEvent::MouseMove, x, y, Qt::NoButton, held);
}

resistor *TestSchematicEditor::dropResistorAt(double x, double y)
{
    w->findChild<QToolButton *>("resButton")->click();
    auto *r = qobject_cast<resistor *>(w->currentSchItem.data());
    move(x, y);
    press(x, y);
    release(x, y);
    return r;
}

// One wire with the wire tool: press at the start, move to the end, press again to fix it (which
// starts the next one), then discard that next one and leave the tool.
wire *TestSchematicEditor::drawWire(double x0, double y0, double x1, double y1)
{
    w->placeWire();
    press(x0, y0);
    release(x0, y0);
    auto *wr = qobject_cast<wire *>(w->currentSchItem.data());
    move(x1, y1);
    press(x1, y1);
    release(x1, y1);
    press(x1, y1, Qt::RightButton);
    release(x1, y1, Qt::RightButton);
    press(x1, y1, Qt::RightButton);
    release(x1, y1, Qt::RightButton);
    return wr;
}

void TestSchematicEditor::selectSnap(const QString &step)
{
    auto *box = w->findChild<QComboBox *>("snapBox");
    box->setCurrentIndex(box->findText(step));
}

// ---------------------------------------------------------------------------------- set-up

void TestSchematicEditor::startState()
{
    MainWindow fresh;
    QCOMPARE(fresh.schGridStep, 200);
    QVERIFY(!fresh.wireMode);
    QVERIFY(!fresh.currentSchItem);
    QCustomPlot *plot = fresh.ui->sch;
    QCOMPARE(plot->interactions(), QCP::iRangeDrag | QCP::iRangeZoom);
    QCOMPARE(plot->xAxis->range(), QCPRange(0, 6000));
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis}) {
        QVERIFY(!axis->ticks());
        QVERIFY(!axis->tickLabels());
        QCOMPARE(axis->basePen().color(), QColor(Qt::white));
        QCOMPARE(axis->grid()->zeroLinePen(), axis->grid()->subGridPen());
    }

    // Once shown, the y axis is scaled to the x axis one to one about its centre.
    MainWindow again;
    again.resize(1200, 800);
    again.ui->Page->setCurrentIndex(19);
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTest::qWait(20);
    QCustomPlot *p = again.ui->sch;
    const QRect r = p->axisRect()->rect();
    QVERIFY(r.height() > 0);
    QVERIFY(std::fabs(p->yAxis->range().center() - 2.5) < 1e-6);
    QVERIFY(std::fabs(p->yAxis->range().size() - 6000.0 * r.height() / r.width()) < 1e-6);

    // Grid lines every 200 units.
    p->replot();
    const QVector<double> ticks = p->xAxis->tickVector();
    QVERIFY(ticks.size() > 10);
    for (int i = 1; i < ticks.size(); ++i)
        QCOMPARE(ticks[i] - ticks[i - 1], 200.0);
}

void TestSchematicEditor::snapBoxSetsGrid()
{
    selectSnap("25");
    QCOMPARE(w->schGridStep, 25);
    sch->xAxis->setRange(0, 1000);
    sch->replot();
    const QVector<double> ticks = sch->xAxis->tickVector();
    QCOMPARE(ticks.size(), 41);
    QCOMPARE(ticks.first(), 0.0);
    QCOMPARE(ticks[1], 25.0);
    selectSnap("1");
    QCOMPARE(w->schGridStep, 1);
    selectSnap("200");
    QCOMPARE(w->schGridStep, 200);
}

void TestSchematicEditor::gridLinesCappedWhenZoomedOut()
{
    selectSnap("1");
    sch->xAxis->setRange(-1e7, 1e7);
    sch->yAxis->setRange(-1e12, 1e12);
    sch->replot();
    for (QCPAxis *axis : {sch->xAxis, sch->yAxis}) {
        const QVector<double> ticks = axis->tickVector();
        QVERIFY(!ticks.isEmpty());
        QVERIFY2(ticks.size() <= schem::maxSchGridLines + 1,
                 qPrintable(QString::number(ticks.size())));
        for (double t : ticks) // still on snap points
            QCOMPARE(std::fmod(t, 1.0), 0.0);
    }
    // Back in close, one line per step again.
    sch->xAxis->setRange(0, 100);
    sch->replot();
    QCOMPARE(sch->xAxis->tickVector().size(), 101);
}

void TestSchematicEditor::gridBoxHidesGridOnly()
{
    dropResistorAt(0, 0);
    auto *box = w->findChild<QCheckBox *>("SchGridBox");
    box->setChecked(false);
    QVERIFY(!sch->xAxis->visible());
    QVERIFY(!sch->yAxis->visible());
    QCOMPARE(itemsOf<resistor>(sch).size(), 1);
    box->setChecked(true);
    QVERIFY(sch->xAxis->visible());
    QVERIFY(sch->yAxis->visible());
}

// ----------------------------------------------------------------------------------- tools

void TestSchematicEditor::placingResistorSnaps_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QPointF>("centre");

    QTest::newRow("button, (530, -290) to (600, -200)")
        << false << QPointF(530, -290) << QPointF(600, -200);
    // Only x sits on a half: a pixel lands on y = 100 exactly only at some canvas sizes.
    QTest::newRow("key R, (500, 110) to (600, 200), halves away from zero")
        << true << QPointF(500, 110) << QPointF(600, 200);
}

void TestSchematicEditor::placingResistorSnaps()
{
    QFETCH(bool, byKey);
    QFETCH(QPointF, pointer);
    QFETCH(QPointF, centre);

    if (byKey) {
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_R);
    } else {
        w->findChild<QToolButton *>("resButton")->click();
    }
    auto *r = qobject_cast<resistor *>(w->currentSchItem.data());
    QVERIFY(r);
    QCOMPARE(r->center->coords(), QPointF(0, 0)); // not placed until the pointer moves

    move(pointer.x(), pointer.y());
    QCOMPARE(r->center->coords(), centre);
    QCOMPARE(r->start->coords(), centre - QPointF(200, 0));
    QCOMPARE(r->valueText->position->coords(), centre + QPointF(0, 400.0 / 3));

    press(pointer.x(), pointer.y());
    release(pointer.x(), pointer.y());
    QVERIFY(!w->currentSchItem);
    QCOMPARE(r->center->coords(), centre);
    QCOMPARE(sch->interactions(), QCP::iRangeDrag | QCP::iRangeZoom);

    // Dropped: it no longer follows the pointer.
    move(pointer.x() + 1000, pointer.y());
    QCOMPARE(r->center->coords(), centre);

    // Picked up again and dragged elsewhere.
    press(centre.x(), centre.y());
    QCOMPARE(w->currentSchItem.data(), r);
    QCOMPARE(sch->interactions(), QCP::Interactions()); // the press starts no range drag
    move(-410, 390, Qt::LeftButton);
    release(-410, 390);
    QCOMPARE(r->center->coords(), QPointF(-400, 400));
}

void TestSchematicEditor::toolsOnOtherPagesCreateNothing()
{
    w->ui->Page->setCurrentIndex(0);
    const int before = sch->itemCount();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_R);
    QTest::keyClick(w, Qt::Key_C);
    QTest::keyClick(w, Qt::Key_W);
    w->placeAmplifier();
    QCOMPARE(sch->itemCount(), before);
    QVERIFY(!w->wireMode);
    QVERIFY(!w->currentSchItem);
}

void TestSchematicEditor::inductorToolDoesNothing()
{
    w->findChild<QToolButton *>("indButton")->click();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_L);
    QCOMPARE(sch->itemCount(), 0);
    QVERIFY(!w->currentSchItem);
}

void TestSchematicEditor::escapeEndsTools()
{
    QVERIFY(QTest::qWaitForWindowActive(w));
    // A new resistor following the pointer is removed, with its value text.
    QTest::keyClick(w, Qt::Key_R);
    move(300, 300);
    QCOMPARE(sch->itemCount(), 2);
    QTest::keyClick(w, Qt::Key_Escape);
    QCOMPARE(sch->itemCount(), 0);
    QVERIFY(!w->currentSchItem);

    // A placed amplifier stays where it was put and does not move.
    w->findChild<QToolButton *>("ampButton")->click();
    auto *a = qobject_cast<ampSym *>(w->currentSchItem.data());
    QVERIFY(a);
    const QPointF placed = a->center->coords();
    move(1000, 1000);
    QCOMPARE(a->center->coords(), placed);
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->currentSchItem);
    QCOMPARE(itemsOf<ampSym>(sch).size(), 1);

    // The wire tool's cross cursor goes with it.
    QTest::keyClick(w, Qt::Key_W);
    QVERIFY(w->wireMode);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->wireMode);
    QVERIFY(!QApplication::overrideCursor());
}

// A key of the editor pressed while a placed resistor is dragged (and flipped on the way) puts
// it back as it stood; only the drag ends.
void TestSchematicEditor::toolKeysCancelDrag_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("newTool"); // the key starts a tool that makes a current item
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("R") << int(Qt::Key_R) << true;
    QTest::newRow("C") << int(Qt::Key_C) << true;
    QTest::newRow("L") << int(Qt::Key_L) << false;
    QTest::newRow("W") << int(Qt::Key_W) << false;
}

void TestSchematicEditor::toolKeysCancelDrag()
{
    QFETCH(int, key);
    QFETCH(bool, newTool);
    QPointer<resistor> r = dropResistorAt(600, -200);
    QVERIFY(QTest::qWaitForWindowActive(w));

    press(600, -200);
    move(1400, 600, Qt::LeftButton);
    press(1400, 600, Qt::RightButton, Qt::LeftButton); // flipped while dragged
    QCOMPARE(r->center->coords(), QPointF(1400, 600));
    QVERIFY(!r->horizontal);

    QTest::keyClick(w, Qt::Key(key));
    QVERIFY(r);
    QCOMPARE(itemsOf<resistor>(sch).count(r.data()), 1);
    QVERIFY(r->horizontal);
    QCOMPARE(r->center->coords(), QPointF(600, -200));
    QCOMPARE(r->start->coords(), QPointF(400, -200));
    QCOMPARE(r->C1->coords(), QPointF(600 - 500.0 / 3, -100));
    QCOMPARE(r->valueText->position->coords(), QPointF(600, -200 + 400.0 / 3));
    QCOMPARE(w->currentSchItem.data() != nullptr, newTool);
    QVERIFY(w->currentSchItem.data() != r.data());

    // It no longer follows the pointer; the button's release drops nothing.
    move(2000, 2000, Qt::LeftButton);
    release(2000, 2000);
    QCOMPARE(r->center->coords(), QPointF(600, -200));
    w->exitSchMode();
}

void TestSchematicEditor::escapeCancelsWireDrag()
{
    wire *wr = drawWire(0, 0, 400, 0);
    QVERIFY(QTest::qWaitForWindowActive(w));
    press(200, 0);
    move(800, 600, Qt::LeftButton);
    QCOMPARE(wr->center->coords(), QPointF(800, 600));
    QTest::keyClick(w, Qt::Key_Escape);
    QCOMPARE(itemsOf<wire>(sch).size(), 1);
    QCOMPARE(wr->start->coords(), QPointF(0, 0));
    QCOMPARE(wr->end->coords(), QPointF(400, 0));
    QVERIFY(!w->currentSchItem);
}

// On the other pages the editor's letters belong to the field or list that has the focus; the
// resistor still following the pointer on the editor page stays.
void TestSchematicEditor::keysReachOtherPagesWidgets()
{
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_R);
    QPointer<QCPAbstractItem> placing = w->currentSchItem.data();
    QVERIFY(placing);
    const int items = sch->itemCount();

    w->ui->Page->setCurrentIndex(2);
    QComboBox *parts = w->ui->AmpSelecterSOA;
    parts->setFocus();
    QTRY_VERIFY(parts->hasFocus());
    parts->setCurrentIndex(0);
    QSignalSpy picked(parts, QOverload<int>::of(&QComboBox::activated));
    QTest::keyClick(parts, Qt::Key_L);
    QCOMPARE(picked.count(), 1); // the list's own search by first letter
    QVERIFY(parts->currentText().startsWith('L'));
    for (Qt::Key key : {Qt::Key_R, Qt::Key_C, Qt::Key_W, Qt::Key_Escape})
        QTest::keyClick(parts, key);
    QCOMPARE(w->currentSchItem.data(), placing.data());
    QCOMPARE(sch->itemCount(), items);
    QVERIFY(!w->wireMode);

    // Back on the editor the keys are its own again.
    w->ui->Page->setCurrentIndex(19);
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!placing);
    QVERIFY(!w->currentSchItem);
}

// The amplifier cannot be moved once placed: it lands wholly inside the view, and a second one
// beside the first.
void TestSchematicEditor::amplifiersLandInView()
{
    const QCPRange x = sch->xAxis->range();
    const QCPRange y = sch->yAxis->range();
    auto inView = [&](const ampSym *a) {
        const QPointF c = a->center->coords();
        return c.x() - 400 >= x.lower && c.x() + 400 <= x.upper && c.y() - 400 >= y.lower &&
               c.y() + 400 <= y.upper;
    };
    w->findChild<QToolButton *>("ampButton")->click();
    auto *first = qobject_cast<ampSym *>(w->currentSchItem.data());
    QVERIFY(first);
    w->findChild<QToolButton *>("ampButton")->click();
    auto *second = qobject_cast<ampSym *>(w->currentSchItem.data());
    QVERIFY(second && second != first);
    QVERIFY(inView(first));
    QVERIFY(inView(second));
    const QPointF apart = first->center->coords() - second->center->coords();
    QVERIFY(std::fabs(apart.x()) >= 800 || std::fabs(apart.y()) >= 800); // no overlap
    for (const ampSym *a : {first, second}) {
        const QPointF c = a->center->coords();
        QCOMPARE(schem::snapToGrid(c.x(), 200), c.x());
        QCOMPARE(schem::snapToGrid(c.y(), 200), c.y());
    }
}

void TestSchematicEditor::wireModeAnchors()
{
    selectSnap("100");
    w->findChild<QToolButton *>("wireButton")->click();
    QVERIFY(w->wireMode);

    press(12, 8);
    auto *first = qobject_cast<wire *>(w->currentSchItem.data());
    QVERIFY(first);
    QCOMPARE(first->start->coords(), QPointF(0, 0));
    QCOMPARE(first->end->coords(), QPointF(0, 0));
    QCOMPARE(sch->interactions(), QCP::Interactions());
    release(12, 8);
    QCOMPARE(sch->interactions(), QCP::iRangeDrag | QCP::iRangeZoom);

    move(260, 240);
    QVERIFY(first->horizontal);
    QCOMPARE(first->start->coords(), QPointF(0, 0));
    QCOMPARE(first->end->coords(), QPointF(300, 0));
    QCOMPARE(first->center->coords(), QPointF(150, 0));
    move(240, 260);
    QVERIFY(!first->horizontal);
    QCOMPARE(first->start->coords(), QPointF(0, 0));
    QCOMPARE(first->end->coords(), QPointF(0, 300));
    move(410, -30);
    QCOMPARE(first->end->coords(), QPointF(400, 0));

    // The next wire starts exactly at this one's end, wherever the pointer is.
    press(1235, -865);
    release(1235, -865);
    auto *second = qobject_cast<wire *>(w->currentSchItem.data());
    QVERIFY(second && second != first);
    QCOMPARE(second->start->coords(), QPointF(400, 0));
    QCOMPARE(first->end->coords(), QPointF(400, 0)); // the first one stays
    move(420, -590);
    QCOMPARE(second->end->coords(), QPointF(400, -600));

    // First right press discards the wire following the pointer, the second leaves the tool.
    press(420, -590, Qt::RightButton);
    release(420, -590, Qt::RightButton);
    QVERIFY(w->wireMode);
    QVERIFY(!w->currentSchItem);
    QCOMPARE(itemsOf<wire>(sch).size(), 1);
    press(420, -590, Qt::RightButton);
    release(420, -590, Qt::RightButton);
    QVERIFY(!w->wireMode);
    QCOMPARE(itemsOf<wire>(sch).size(), 1);
}

void TestSchematicEditor::wireDragKeepsGridOffset()
{
    w->placeWire();
    press(0, 0);
    move(200, 0);
    w->exitSchMode(); // removes the wire being drawn
    QCOMPARE(itemsOf<wire>(sch).size(), 0);

    wire *wr = drawWire(0, 0, 200, 0);
    QVERIFY(!w->wireMode);
    QCOMPARE(itemsOf<wire>(sch).size(), 1);
    QCOMPARE(wr->center->coords(), QPointF(100, 0));

    press(100, 0);
    QCOMPARE(w->currentSchItem.data(), wr);
    move(390, 0, Qt::LeftButton);
    QCOMPARE(wr->center->coords(), QPointF(300, 0));
    // Placing by the centre keeps the length but may trade the ends; the span is what counts.
    QCOMPARE(qMin(wr->start->coords().x(), wr->end->coords().x()), 200.0);
    QCOMPARE(qMax(wr->start->coords().x(), wr->end->coords().x()), 400.0);
    QCOMPARE(wr->start->coords().y(), 0.0);
    QCOMPARE(wr->end->coords().y(), 0.0);
    release(390, 0);
    QVERIFY(!w->currentSchItem);
}

// A right press while a new capacitor follows the pointer flips the capacitor, even over
// another component, and opens no dialog.
void TestSchematicEditor::rightPressFlipsComponentBeingPlaced()
{
    resistor *r = dropResistorAt(1000, 1000);
    w->findChild<QToolButton *>("capButton")->click();
    auto *c = qobject_cast<capacitor *>(w->currentSchItem.data());
    QVERIFY(c);
    move(1000, 1000);
    bool dialogOpened = false;
    QTimer guard;
    connect(&guard, &QTimer::timeout, this, [&] {
        if (auto *d = QApplication::activeModalWidget()) {
            dialogOpened = true;
            d->close();
        }
    });
    guard.start(5);
    press(1000, 1000, Qt::RightButton);
    release(1000, 1000, Qt::RightButton);
    guard.stop();
    QVERIFY(!dialogOpened);
    QVERIFY(!c->horizontal);
    QVERIFY(r->horizontal);
    QCOMPARE(c->start->coords(), QPointF(1000, 1200));
    QCOMPARE(c->end->coords(), QPointF(1000, 800));
    QCOMPARE(c->valueText->position->coords(), QPointF(1200, 1000));
    QCOMPARE(w->currentSchItem.data(), c);
}

void TestSchematicEditor::rightPressDeletesWire()
{
    drawWire(0, 0, 400, 0);
    QCOMPARE(itemsOf<wire>(sch).size(), 1);

    // Regular mode, with a component being placed: the wire goes, the component flips.
    w->placeResistor();
    auto *r = qobject_cast<resistor *>(w->currentSchItem.data());
    move(200, 600);
    press(200, 0, Qt::RightButton);
    QCOMPARE(itemsOf<wire>(sch).size(), 0);
    QVERIFY(!r->horizontal);
    QCOMPARE(w->currentSchItem.data(), r);
}

void TestSchematicEditor::rightPressDeletesWireBeingDragged()
{
    drawWire(0, 0, 0, 400);
    QCOMPARE(itemsOf<wire>(sch).size(), 1);

    press(0, 200);                                  // pick the wire up
    press(0, 200, Qt::RightButton, Qt::LeftButton); // and delete it while dragging
    QCOMPARE(itemsOf<wire>(sch).size(), 0);
    QVERIFY(!w->currentSchItem);
    move(600, 600, Qt::LeftButton);
    release(600, 600);
    QCOMPARE(sch->itemCount(), 0);
}

void TestSchematicEditor::editChangesValueAndLabel()
{
    resistor *r = dropResistorAt(600, -200);
    QVERIFY(!r->labelText);
    windowtest::onNextDialog([](QDialog *d) {
        d->findChild<QLineEdit *>("valueEdit")->setText("4k7");
        d->findChild<QLineEdit *>("labelEdit")->setText("R5");
        d->findChild<QCheckBox *>("showLabelBox")->setChecked(true);
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    press(650, -200, Qt::RightButton);
    release(650, -200, Qt::RightButton);
    QCOMPARE(r->value, QString("4k7"));
    QCOMPARE(r->label, QString("R5"));
    QCOMPARE(r->valueText->text(), QString("4k7"));
    QVERIFY(r->labelText);
    QCOMPARE(r->labelText->text(), QString("R5"));
    QCOMPARE(r->labelText->position->coords(), QPointF(600, -200 - 400.0 / 3));
    QVERIFY(!w->currentSchItem);
}

void TestSchematicEditor::editCancelChangesNothing()
{
    w->placeCapacitor();
    move(-800, 400);
    press(-800, 400);
    release(-800, 400);
    auto *c = itemsOf<capacitor>(sch).first();
    windowtest::onNextDialog([](QDialog *d) {
        QCOMPARE(d->findChild<QLineEdit *>("valueEdit")->text(), QString("1n"));
        d->findChild<QLineEdit *>("valueEdit")->setText("100n");
        d->reject();
    });
    press(-800, 400, Qt::RightButton);
    QCOMPARE(c->value, QString("1n"));
    QCOMPARE(c->valueText->text(), QString("1n"));
}

void TestSchematicEditor::deleteFromDialog()
{
    resistor *r = dropResistorAt(0, 0);
    r->showLabel(true);
    dropResistorAt(0, 1000);
    QCOMPARE(sch->itemCount(), 5);
    QPointer<resistor> guard(r);
    windowtest::onNextDialog([](QDialog *d) {
        auto *del = d->findChild<QPushButton *>("deleteButton");
        QTest::mousePress(del, Qt::LeftButton);
        QTest::mouseRelease(del, Qt::LeftButton);
    });
    press(-100, 0, Qt::RightButton);
    release(-100, 0, Qt::RightButton);
    QVERIFY(!guard);
    QCOMPARE(sch->itemCount(), 2);
    QCOMPARE(itemsOf<resistor>(sch).size(), 1);
    // The editor carries on normally over the place where it was.
    move(0, 0);
    press(0, 0);
    release(0, 0);
    QVERIFY(!w->currentSchItem);
    sch->replot();
}

// The press that opened the dialog goes on to check for a wire under the pointer; the deleted
// component must not be looked at again, and a wire crossing it must survive.
void TestSchematicEditor::deleteFromDialogOverWire()
{
    drawWire(-1000, 0, 1000, 0);
    w->placeCapacitor();
    move(0, 600);
    press(0, 600);
    release(0, 600);
    auto *c = itemsOf<capacitor>(sch).first();
    c->horizontal = false;
    c->moveCenterTo(0, 0); // standing across the wire, centred on it
    QPointer<capacitor> guard(c);
    windowtest::onNextDialog([](QDialog *d) {
        QTest::mousePress(d->findChild<QPushButton *>("deleteButton"), Qt::LeftButton);
    });
    // (0, 100): 0 px from the capacitor's lead, 20 px from the wire, so the capacitor is hit.
    press(0, 100, Qt::RightButton);
    release(0, 100, Qt::RightButton);
    QVERIFY(!guard);
    QCOMPARE(itemsOf<wire>(sch).size(), 1);
    QCOMPARE(sch->itemCount(), 1);
}

QTEST_MAIN(TestSchematicEditor)
#include "tst_schematic_editor.moc"
