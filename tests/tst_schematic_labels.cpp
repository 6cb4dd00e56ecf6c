// The labels of the page schematics stand clear of the drawing: no text of the stability, PWM
// control and current pump schematics lies on a symbol, a wire, a block frame or another text,
// nor hides one behind a backdrop, at the font sizes users read them in, on laptop-sized and
// larger windows, after each worked example that shows the schematic; and a value stands nearer
// its own part than any other.
#include "app/mainwindow.h"
#include "examples/exampletable.h"
#include "ui_mainwindow.h"

#include "plotcheck.h"
#include "windowtest.h"
#include "schematic/labelplacement.h"
#include "schematic/picturescale.h"

#include <QStackedWidget>
#include <QtTest>
#include <qcustomplot.h>

namespace {

const char *const fontFamily = "DejaVu Sans";

using windowtest::settle;

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

// The texts whose backdrop hides a stroke: a backdrop covers its whole box, padding included.
QStringList backdropsOverDrawing(QCustomPlot *plot)
{
    QStringList found;
    const QVector<schem::PixelSegment> strokes = schem::strokeSegments(plot);
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || text->brush().style() == Qt::NoBrush) continue;
        const QRectF box = plotcheck::textBox(text);
        for (const schem::PixelSegment &s : strokes)
            if (schem::segmentMeetsRect(s.a, s.b, box)) {
                found << QStringLiteral("the backdrop of \"%1\" hides a stroke")
                             .arg(text->text().simplified());
                break;
            }
    }
    return found;
}

// The symbols (parts) of any kind that stand about as near a text's glyphs as `own`, or nearer:
// less than twice as far. A value about as near two parts reads as either's.
QStringList rivalsOf(const QVector<schem::PixelSymbol> &symbols, int own, const QCPItemText *text)
{
    const QRectF box = schem::glyphBox(text);
    const double toOwn = schem::distanceToSegments(box, symbols[own].segments);
    QStringList rivals;
    for (int k = 0; k < symbols.size(); ++k) {
        const double d = schem::distanceToSegments(box, symbols[k].segments);
        if (k != own && d < 2 * toOwn)
            rivals << QStringLiteral("\"%1\" %2 px from its part, %3 px from another")
                          .arg(text->text().simplified())
                          .arg(toOwn, 0, 'f', 1)
                          .arg(d, 0, 'f', 1);
    }
    return rivals;
}

} // namespace

class TestSchematicLabels : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void labelsClearOfDrawing_data();
    void labelsClearOfDrawing();
    void valuesBesideTheirParts_data();
    void valuesBesideTheirParts();
    void textsGrowWithTheDrawing();
    void textsStopAtTheirFloor_data();
    void textsStopAtTheirFloor();
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
    QTest::addColumn<QSize>("window");          // at least this large

    struct Screen
    {
        int points;
        QSize window;
    };
    const Screen screens[] = {{10, QSize(1366, 720)}, {12, QSize(1536, 864)},
                              {10, QSize(1920, 1080)}, {12, QSize(2560, 1440)}};
    for (const Screen &sc : screens) {
        const int w = sc.window.width(), h = sc.window.height(), points = sc.points;
        QTest::addRow("stability, %d pt, %d x %d", points, w, h)
            << points << "StabSch" << (QVector<int>{-1} << examplesOf(examples::Family::Stability))
            << QSize() << sc.window;
        QTest::addRow("PWM control step 3, %d pt, %d x %d", points, w, h)
            << points << "SControlSch"
            << (QVector<int>{-1} << examplesOf(examples::Family::Control)) << QSize() << sc.window;
        QTest::addRow("current pump, %d pt, %d x %d", points, w, h)
            << points << "IHCPschematic"
            << (QVector<int>{-1} << examplesOf(examples::Family::CurrentPump)) << QSize()
            << sc.window;
    }
    // The ends of the range of font sizes, on the schematic with the most labels in the least
    // room. A large font widens the window past a laptop's screen, and so gives the schematic
    // more room than a laptop would: held to the room a 1366 px wide window leaves it, its
    // labels must still find places clear of the wires, or cover them.
    for (int points : {9, 16})
        QTest::addRow("stability, %d pt", points)
            << points << "StabSch" << examplesOf(examples::Family::Stability) << QSize()
            << QSize(1366, 720);
    QTest::addRow("stability, 16 pt, schematic held to 1100 x 430 px")
        << 16 << "StabSch" << examplesOf(examples::Family::Stability) << QSize(1100, 430)
        << QSize(1366, 720);
}

void TestSchematicLabels::labelsClearOfDrawing()
{
    QFETCH(int, points);
    QFETCH(QString, plot);
    QFETCH(QVector<int>, examples);
    QFETCH(QSize, largest);
    QFETCH(QSize, window);
    QVERIFY(!examples.isEmpty());

    QApplication::setFont(QFont(QString::fromLatin1(fontFamily), points));
    MainWindow w;
    w.show();
    settle();
    w.resize(w.minimumSizeHint().expandedTo(window));
    auto *sch = w.findChild<QCustomPlot *>(plot);
    QVERIFY(sch);
    if (largest.isValid()) sch->setMaximumSize(largest);
    QStringList faults;
    for (int example : examples) {
        if (example >= 0) {
            w.loadExample(example);
        } else if (sch == w.ui->SControlSch) {
            // The wizard's defaults, taken on to the step that draws them.
            w.ui->NexttoStep2->click();
            w.ui->NexttoStep3->click();
        }
        reveal(sch);
        settle();
        if (largest.isValid()) QVERIFY(sch->width() <= largest.width());
        for (const QString &fault : plotcheck::textsOverDrawing(sch) +
                                        plotcheck::textsByAnotherSymbol(sch) +
                                        backdropsOverDrawing(sch))
            faults << QStringLiteral("example %1: %2").arg(example).arg(fault);
    }
    for (const QString &fault : faults)
        qWarning().noquote() << fault;
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 labels on the drawing of %2 at %3 pt")
                                              .arg(faults.size())
                                              .arg(plot)
                                              .arg(points)));
}

// The checks themselves: a label put on a wire, and one on another label, are both found; moved
// off the wire, the first is not; put back on it behind a backdrop, it hides the wire.
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

    // Back on the wire behind a backdrop: it is hidden, and that is found too.
    QCOMPARE(backdropsOverDrawing(&plot), QStringList());
    label->setPositionAlignment(Qt::AlignCenter);
    label->setPadding(QMargins());
    label->setBrush(Qt::white);
    plot.replot();
    QCOMPARE(backdropsOverDrawing(&plot).size(), 1);
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

void TestSchematicLabels::valuesBesideTheirParts_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<int>("example"); // -1: the page as a fresh start shows it
    QTest::addColumn<int>("slot");    // of the stability schematic's labels
    QTest::addColumn<QPointF>("part"); // a point of the labelled part, plot units

    struct Case
    {
        const char *name;
        int example, slot;
        QPointF part;
    };
    // The feedback pairs, where a value between the two branches reads as the other's.
    const Case cases[] = {
        {"fresh page, R_FB", -1, 1, {600, 1000}},  {"fresh page, C_FB", -1, 4, {600, 1400}},
        {"example 13, C_FB", 13, 4, {600, 1400}},  {"example 13, R_FB", 13, 1, {600, 1000}},
        {"example 28, C_FB", 28, 13, {800, 1000}}, {"example 28, R_D", 28, 11, {200, 1000}},
        {"example 28, R_FB", 28, 10, {600, 1400}},
    };
    for (const auto &[points, window] :
         {std::pair(10, QSize(1366, 720)), std::pair(12, QSize(1536, 864)),
          std::pair(12, QSize(1920, 1080))})
        for (const Case &c : cases)
            QTest::addRow("%s, %d pt, %d x %d", c.name, points, window.width(), window.height())
                << points << window << c.example << c.slot << c.part;
}

// The part nearest a value's glyphs, of whatever kind, is the part it names, and clearly so.
void TestSchematicLabels::valuesBesideTheirParts()
{
    QFETCH(int, points);
    QFETCH(QSize, window);
    QFETCH(int, example);
    QFETCH(int, slot);
    QFETCH(QPointF, part);

    QApplication::setFont(QFont(QString::fromLatin1(fontFamily), points));
    MainWindow w;
    w.show();
    settle();
    w.resize(w.minimumSizeHint().expandedTo(window));
    if (example >= 0) w.loadExample(example);
    QCustomPlot *sch = w.ui->StabSch;
    reveal(sch);
    settle();
    QCPItemText *label = w.stabSchLabels[slot];
    QVERIFY(label && label->visible());
    const QVector<schem::PixelSymbol> symbols = schem::symbolsOf(sch);
    const int own = schem::nearestSymbol(
        symbols, QPointF(sch->xAxis->coordToPixel(part.x()), sch->yAxis->coordToPixel(part.y())));
    QVERIFY(own >= 0);
    const QStringList rivals = rivalsOf(symbols, own, label);
    QVERIFY2(rivals.isEmpty(), qPrintable(rivals.join(QStringLiteral("; "))));
}

// The texts of a schematic drawn to scale grow with the drawing, so that they keep their places
// beside their parts.
void TestSchematicLabels::textsGrowWithTheDrawing()
{
    QCustomPlot plot;
    plot.xAxis->setRange(0, 4000);
    plot.yAxis->setRange(0, 2000);
    plot.xAxis->setVisible(false);
    plot.yAxis->setVisible(false);
    auto *label = new QCPItemText(&plot);
    label->setText(QStringLiteral("R_FB\n10 k"));
    label->position->setCoords(2000, 1000);
    schem::scaleTextsToPageView(&plot, 100);
    schem::keepLabelsClear(&plot);
    const double dpi = plot.logicalDpiY();
    for (const QSize size : {QSize(800, 400), QSize(1600, 800), QSize(1600, 400)}) {
        plot.resize(size);
        plot.setViewport(plot.rect());
        plot.replot();
        // About 0.2, 0.4 and 0.2 pixels per unit: the squeezed direction rules.
        const QRect rect = plot.axisRect()->rect();
        const double perUnit = std::min(rect.width() / 4000.0, rect.height() / 2000.0);
        QCOMPARE(schem::pixelsPerUnit(&plot), perUnit);
        QVERIFY(qAbs(label->font().pointSizeF() - 100 * perUnit * 72 / dpi) <= 0.05);
    }
}

void TestSchematicLabels::textsStopAtTheirFloor_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<double>("room");   // the size in points the plot's scale gives its texts
    QTest::addColumn<double>("points"); // the size they take
    QTest::newRow("page view, room for 7.5 pt") << false << 7.5 << 7.5;
    QTest::newRow("page view, room for 6.5 pt: at the floor") << false << 6.5 << 7.0;
    QTest::newRow("picture, room for 5.5 pt: at the floor") << true << 5.5 << 7.0;
}

// Squeezed below the room its texts need at 7 pt, a schematic keeps them at 7 pt and asks for
// that room as its minimum size; above it, they follow the drawing. A text is 100 plot units: an
// em of it in the page's view, a line of it in a picture.
void TestSchematicLabels::textsStopAtTheirFloor()
{
    QFETCH(bool, picture);
    QFETCH(double, room);
    QFETCH(double, points);
    QCustomPlot plot;
    plot.axisRect()->setAutoMargins(QCP::msNone);
    plot.axisRect()->setMargins(QMargins());
    plot.xAxis->setVisible(false);
    plot.yAxis->setVisible(false);
    auto *label = new QCPItemText(&plot);
    label->setText(QStringLiteral("R_FB\n10 k"));
    label->position->setCoords(2000, 1000);
    QFont at(plot.font());
    // Pixels of a text at `p` points in the height it is counted in.
    const auto pixels = [&](double p) {
        at.setPointSizeF(p);
        return picture ? QFontMetricsF(at).height() : p * plot.logicalDpiY() / 72;
    };
    const QRectF drawing(0, 0, 4000, 2000);
    if (picture) {
        schem::fitViewToPicture(&plot, drawing, 100);
    } else {
        plot.xAxis->setRange(0, 4000);
        plot.yAxis->setRange(0, 2000);
        schem::scaleTextsToPageView(&plot, 100);
    }
    const double perUnit = pixels(room) / 100;
    plot.resize(int(std::round(4000 * perUnit)), int(std::round(2000 * perUnit)));
    plot.setViewport(plot.rect());
    plot.replot();
    QCOMPARE(label->font().pointSizeF(), points);
    settle();
    QCOMPARE(plot.minimumHeight(), int(std::ceil(2000 * pixels(7) / 100)));
}

QTEST_MAIN(TestSchematicLabels)
#include "tst_schematic_labels.moc"
