// The labels of the page schematics stand clear of the drawing: no text of the stability, PWM
// control and current pump schematics lies on a symbol, a wire, a block frame or another text,
// at the font sizes users read them in, on a laptop-sized window, after each worked example that
// shows the schematic.
#include "app/mainwindow.h"
#include "examples/exampletable.h"
#include "ui_mainwindow.h"

#include "plotcheck.h"
#include "schematic/labelplacement.h"

#include <QStackedWidget>
#include <QtTest>
#include <qcustomplot.h>

namespace {

const char *const fontFamily = "DejaVu Sans";

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Brings every tab and stack above `w` round to the face that holds it, as the page's own
// buttons would.
void reveal(QWidget *w)
{
    for (QWidget *child = w; child; child = child->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(child->parentWidget());
        if (!stack) continue;
        if (auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget()))
            tabs->setCurrentWidget(child);
        else
            stack->setCurrentWidget(child);
    }
}

// The worked examples that show `family`'s schematic; the control wizard draws it in step 3 only.
QVector<int> examplesOf(examples::Family family)
{
    QVector<int> found;
    for (int n = 0; n < examples::descriptionCount; ++n) {
        const examples::Example e = examples::example(n);
        if (e.family != family) continue;
        if (family == examples::Family::Control && e.control.step != 3) continue;
        found << n;
    }
    return found;
}

} // namespace

class TestSchematicLabels : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void labelsClearOfDrawing_data();
    void labelsClearOfDrawing();
    void checkSeesALabelOnAWire();
    void placementKeepsTheAnchor_data();
    void placementKeepsTheAnchor();
    void hiddenPlotPlacedWhenShown();
};

void TestSchematicLabels::cleanup()
{
    QApplication::setFont(QFont());
}

void TestSchematicLabels::labelsClearOfDrawing_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("plot");
    QTest::addColumn<QVector<int>>("examples"); // -1: the page as a fresh start shows it
    QTest::addColumn<QSize>("largest");         // the most room the schematic gets, if less

    for (int points : {10, 12}) {
        QTest::addRow("stability, %d pt", points)
            << points << "StabSch" << examplesOf(examples::Family::Stability) << QSize();
        QTest::addRow("PWM control step 3, %d pt", points)
            << points << "SControlSch" << examplesOf(examples::Family::Control) << QSize();
        QTest::addRow("current pump, %d pt", points)
            << points << "IHCPschematic"
            << (QVector<int>{-1} << examplesOf(examples::Family::CurrentPump)) << QSize();
    }
    // The ends of the range of font sizes, on the schematic with the most labels in the least
    // room. A large font widens the window past a laptop's screen, and so gives the schematic
    // more room than a laptop would: held to the room a 1366 px wide window leaves it, its
    // labels must still find places clear of the wires, or cover them.
    for (int points : {9, 16})
        QTest::addRow("stability, %d pt", points)
            << points << "StabSch" << examplesOf(examples::Family::Stability) << QSize();
    QTest::addRow("stability, 16 pt, schematic held to 1100 x 430 px")
        << 16 << "StabSch" << examplesOf(examples::Family::Stability) << QSize(1100, 430);
}

void TestSchematicLabels::labelsClearOfDrawing()
{
    QFETCH(int, points);
    QFETCH(QString, plot);
    QFETCH(QVector<int>, examples);
    QFETCH(QSize, largest);
    QVERIFY(!examples.isEmpty());

    QApplication::setFont(QFont(QString::fromLatin1(fontFamily), points));
    MainWindow w;
    w.show();
    settle();
    w.resize(w.minimumSizeHint().expandedTo(QSize(1366, 720)));
    auto *sch = w.findChild<QCustomPlot *>(plot);
    QVERIFY(sch);
    if (largest.isValid()) sch->setMaximumSize(largest);
    QStringList faults;
    for (int example : examples) {
        if (example >= 0) w.loadExample(example);
        reveal(sch);
        settle();
        if (largest.isValid()) QVERIFY(sch->width() <= largest.width());
        for (const QString &fault :
             plotcheck::textsOverDrawing(sch) + plotcheck::textsByAnotherSymbol(sch))
            faults << QStringLiteral("example %1: %2").arg(example).arg(fault);
    }
    for (const QString &fault : faults)
        qWarning().noquote() << fault;
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 labels on the drawing of %2 at %3 pt")
                                              .arg(faults.size())
                                              .arg(plot)
                                              .arg(points)));
}

// The check itself: a label put on a wire, and one on another label, are both found; moved off
// the wire, the first is not.
void TestSchematicLabels::checkSeesALabelOnAWire()
{
    QCustomPlot plot;
    plot.resize(400, 300);
    plot.setViewport(plot.rect()); // a hidden widget gets no resize event
    plot.xAxis->setRange(0, 400);
    plot.yAxis->setRange(0, 300);
    auto *wire = plot.addGraph();
    wire->setData({50, 350}, {150, 150});
    wire->setPen(QPen(Qt::black, 3));
    auto *label = new QCPItemText(&plot);
    label->setText(QStringLiteral("R_FB\n10 k"));
    label->position->setCoords(200, 150);
    auto *other = new QCPItemText(&plot);
    other->setText(QStringLiteral("C_FB"));
    other->position->setCoords(200, 150);
    plot.replot();
    const QStringList found = plotcheck::textsOverDrawing(&plot);
    QCOMPARE(found.size(), 3);
    QVERIFY(found[0].startsWith(QStringLiteral("\"R_FB 10 k\"")));
    QVERIFY(found[0].contains(QStringLiteral("on the stroke")));
    QVERIFY(found[1].contains(QStringLiteral("on \"C_FB\"")));

    // Held by its lower edge just above the wire (which is 1.5 px thick on either side), with
    // the other text gone.
    plot.removeItem(other);
    label->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label->setPadding(QMargins(0, 0, 0, 2));
    plot.replot();
    QCOMPARE(plotcheck::textsOverDrawing(&plot), QStringList());
    label->setPadding(QMargins(0, 0, 0, 1));
    plot.replot();
    QCOMPARE(plotcheck::textsOverDrawing(&plot).size(), 1);
}

void TestSchematicLabels::placementKeepsTheAnchor_data()
{
    QTest::addColumn<double>("wireY"); // plot units; the label stands at (200, 150)
    QTest::addColumn<bool>("moved");
    QTest::newRow("centred on a wire: moved off it") << 150.0 << true;
    QTest::newRow("clear of the wire: left as given") << 60.0 << false;
}

// A label on a wire takes another alignment (and at most a few pixels of padding) about the
// same anchor; a label that is clear keeps the alignment it was given.
void TestSchematicLabels::placementKeepsTheAnchor()
{
    QFETCH(double, wireY);
    QFETCH(bool, moved);
    QCustomPlot plot;
    plot.resize(400, 300);
    plot.setViewport(plot.rect());
    plot.xAxis->setRange(0, 400);
    plot.yAxis->setRange(0, 300);
    auto *wire = plot.addGraph();
    wire->setData({50, 350}, {wireY, wireY});
    wire->setPen(QPen(Qt::black, 3));
    auto *label = new QCPItemText(&plot);
    label->setText(QStringLiteral("R_FB\n10 k"));
    label->position->setCoords(200, 150);
    schem::keepLabelsClear(&plot);
    plot.replot();
    QCOMPARE(label->position->coords(), QPointF(200, 150));
    QCOMPARE(plotcheck::textsOverDrawing(&plot), QStringList());
    QCOMPARE(label->positionAlignment() != Qt::AlignCenter || label->padding() != QMargins(),
             moved);
    if (!moved) QCOMPARE(label->padding(), QMargins());
    // The wire gone, the label goes back to where it was given.
    plot.removeGraph(wire);
    plot.replot();
    QCOMPARE(label->positionAlignment(), Qt::AlignCenter);
    QCOMPARE(label->padding(), QMargins());
}

// A schematic redrawn on a hidden page keeps its labels until the page is shown again, and then
// shows them clear without being asked to replot: on show, at the size it had before.
void TestSchematicLabels::hiddenPlotPlacedWhenShown()
{
    QWidget page;
    page.resize(400, 300);
    auto *plot = new QCustomPlot(&page);
    plot->setGeometry(0, 0, 400, 300);
    plot->xAxis->setRange(0, 400);
    plot->yAxis->setRange(0, 300);
    auto *wire = plot->addGraph();
    wire->setData({50, 350}, {60, 60});
    wire->setPen(QPen(Qt::black, 3));
    auto *label = new QCPItemText(plot);
    label->setText(QStringLiteral("R_FB\n10 k"));
    label->position->setCoords(200, 150);
    schem::keepLabelsClear(plot);
    page.show();
    settle();
    plot->replot();
    QCOMPARE(plotcheck::textsOverDrawing(plot), QStringList());

    plot->hide();
    wire->setData({50, 350}, {150, 150});
    plot->replot();
    QCOMPARE(label->positionAlignment(), Qt::AlignCenter); // not searched for while hidden
    plot->show();
    QCOMPARE(plot->size(), QSize(400, 300));
    QCOMPARE(plotcheck::textsOverDrawing(plot), QStringList());
    QVERIFY(label->positionAlignment() != Qt::AlignCenter || label->padding() != QMargins());
}

QTEST_MAIN(TestSchematicLabels)
#include "tst_schematic_labels.moc"
