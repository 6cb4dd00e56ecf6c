// The three-phase page's schematic: the bridge, its outputs and the motor in wye or delta.
// It is also the page's signal picker: a click near an item that stands for a signal puts the
// signal into a graph slot or takes it out, and each such item wears its slot's colour.
#include "app/mainwindow.h"

#include "schematic/picturescale.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

namespace {

// A click counts when it is closer than this to an item, in pixels.
constexpr double kHitDistance = 4.0;

// The drawing from the signal boxes below the bridge to the wye's top wire, and the line a text
// may take: the gate wires are 200 apart, and the signal boxes (centred at -350) keep their
// frames above the drawing's lower edge.
const QRectF kDrawing(-1600, -460, 4400, 2480);
constexpr double kTextLine = 165;

struct Pt
{
    double x, y;
};

struct Coil
{
    Pt points[5];
    Pt bulge; // control-point offset that bends each arc outward
};

// Coils C, A, B, each four arcs of 100 units from its first point to its last.
const Coil kWyeCoils[3] = {
    {{{1800, 850}, {1800, 750}, {1800, 650}, {1800, 550}, {1800, 450}}, {100, 0}},
    {{{1973, 1150}, {2060, 1200}, {2146, 1250}, {2233, 1300}, {2320, 1350}}, {-50, 87}},
    {{{1627, 1150}, {1540, 1200}, {1454, 1250}, {1367, 1300}, {1280, 1350}}, {-50, -87}},
};
const Coil kDeltaCoils[3] = {
    {{{1600, 700}, {1700, 700}, {1800, 700}, {1900, 700}, {2000, 700}}, {0, 100}},
    {{{1700, 1220}, {1650, 1133}, {1600, 1046}, {1550, 960}, {1500, 873}}, {87, -50}},
    {{{2100, 873}, {2050, 960}, {2000, 1046}, {1950, 1133}, {1900, 1220}}, {-87, -50}},
};

QCPItemLine *addLine(QCustomPlot *plot, const QPen &pen, Pt a, Pt b)
{
    auto *line = new QCPItemLine(plot);
    line->start->setCoords(a.x, a.y);
    line->end->setCoords(b.x, b.y);
    line->setPen(pen);
    line->setSelectable(false);
    return line;
}

QCPItemText *addText(QCustomPlot *plot, const QString &text, Pt at, Qt::Alignment anchor)
{
    auto *item = new QCPItemText(plot);
    item->position->setCoords(at.x, at.y);
    item->setPositionAlignment(anchor);
    item->setText(text);
    item->setSelectable(false);
    return item;
}

} // namespace

void MainWindow::setupP3Graphs() {}

void MainWindow::setupP3schematic()
{
    QCustomPlot *plot = ui->P3schematic;
    plot->legend->setVisible(false);
    plot->xAxis->setVisible(false);
    plot->yAxis->setVisible(false);
    plot->xAxis->grid()->setVisible(false);
    plot->xAxis->grid()->setSubGridVisible(false);
    plot->yAxis->grid()->setVisible(false);
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    // No axes to make room for: the drawing takes the whole canvas but for its pens.
    plot->axisRect()->setAutoMargins(QCP::msNone);
    plot->axisRect()->setMargins(QMargins(2, 2, 2, 2));
    drawP3schematic(P3computedInput.motor.isDelta);
}

void MainWindow::drawP3schematic(bool delta)
{
    QCustomPlot *plot = ui->P3schematic;
    // The drive of the waveforms shown, which a cancelled refresh leaves as it was: its
    // signals are the ones picked here.
    const pwm &part = P3computedInput.part;
    const bool linear = P3computedInput.motor.isLinear;

    P3schFreqText = P3schDCenvText = P3schAngleText = nullptr;
    P3schLoadEllipse = nullptr;
    for (int i = 0; i < 6; ++i)
        P3schGateLines[i] = nullptr;
    for (int i = 0; i < 3; ++i) {
        P3schCoilStartLeads[i] = P3schCoilEndLeads[i] = P3schCurrentArrows[i] = nullptr;
        for (int j = 0; j < 4; ++j) {
            P3schCoilArcs[i][j] = nullptr;
            P3schPhaseWires[i][j] = nullptr;
        }
    }
    QPen plain(QColor(0, 0, 0), 2);
    plain.setStyle(Qt::SolidLine);

    plot->clearPlottables();
    plot->clearItems();

    // The amplifier outline, drawn as graphs: not clickable.
    const auto box = [this, plot, &plain](double x0, double y0, double x1, double y1) {
        plotWhor(plot, plain, x0, y0, x1 - x0);
        plotWhor(plot, plain, x0, y1, x1 - x0);
        plotWver(plot, plain, x0, y1, y1 - y0);
        plotWver(plot, plain, x1, y1, y1 - y0);
    };
    if (part.getOutputs() == 1) {
        box(-800, 225, 0, 575);
        box(-800, 625, 0, 975);
        box(-800, 1025, 0, 1375);
        addText(plot, part.getAmpName() + QStringLiteral(" (3X)"), {-400, 1400},
                Qt::AlignHCenter | Qt::AlignBottom);
    } else if (part.getOutputs() == 3) {
        box(-800, 0, 0, 1600);
        addText(plot, part.getAmpName(), {-400, 1625}, Qt::AlignHCenter | Qt::AlignBottom);
    }

    static const char *const gates[6] = {"At", "Ab", "Bt", "Bb", "Ct", "Cb"};
    for (int i = 0; i < 6; ++i)
        addText(plot, QLatin1String(gates[i]), {-750, 1300.0 - 200 * i},
                Qt::AlignLeft | Qt::AlignVCenter);
    static const char *const outputs[3] = {"Aout", "Bout", "Cout"};
    for (int i = 0; i < 3; ++i)
        addText(plot, QLatin1String(outputs[i]), {-50, 1200.0 - 400 * i},
                Qt::AlignRight | Qt::AlignVCenter);

    const auto framed = [this, plot](const QString &text, Pt at, const char *signal) {
        QCPItemText *item = addText(plot, text, at, Qt::AlignCenter);
        item->setPen(getP3Pen(QLatin1String(signal)));
        return item;
    };
    P3schFreqText = framed(QStringLiteral(" Frequency "), {-800, -350}, "freq");
    P3schDCenvText = framed(QStringLiteral(" Duty Cycle Envelope "), {600, -350}, "DCenv");
    P3schAngleText = framed(linear ? QStringLiteral(" Position ") : QStringLiteral(" Rotor Angle "),
                            {2000, -350}, "Angle");

    for (int i = 0; i < 6; ++i) {
        const double y = 1300.0 - 200 * i;
        P3schGateLines[i] = addLine(plot, getP3Pen(QLatin1String(gates[i])), {-1000, y}, {-800, y});
    }

    static const char *const phaseVoltages[3] = {"V1", "V2", "V3"};
    static const char *const currents[3] = {"I1", "I2", "I3"};
    for (int i = 0; i < 3; ++i) {
        const double y = 1200.0 - 400 * i;
        P3schPhaseWires[i][0] =
            addLine(plot, getP3Pen(QLatin1String(phaseVoltages[i])), {0, y}, {800, y});
        QCPItemLine *arrow =
            addLine(plot, getP3Pen(QLatin1String(currents[i])), {200, y + 100}, {600, y + 100});
        arrow->setHead(QCPLineEnding(QCPLineEnding::esFlatArrow, 8, 10));
        P3schCurrentArrows[i] = arrow;
    }

    // The rest of each phase wire, as a polyline after the first segment.
    const auto wire = [this, plot](int phase, std::initializer_list<Pt> points) {
        const QPen pen = getP3Pen(QLatin1String(phaseVoltages[phase]));
        const Pt *p = points.begin();
        for (int segment = 1; p + 1 != points.end(); ++p, ++segment)
            P3schPhaseWires[phase][segment] = addLine(plot, pen, p[0], p[1]);
    };

    // Coils C, A, B and the signals they stand for.
    static const char *const coilEmf[3] = {"VemfC", "VemfA", "VemfB"};
    const Coil *coils = delta ? kDeltaCoils : kWyeCoils;
    for (int c = 0; c < 3; ++c) {
        const QPen pen = getP3Pen(QLatin1String(coilEmf[c]));
        const Coil &coil = coils[c];
        for (int a = 0; a < 4; ++a) {
            const Pt s = coil.points[a], e = coil.points[a + 1];
            auto *arc = new QCPItemCurve(plot);
            arc->start->setCoords(s.x, s.y);
            arc->startDir->setCoords(s.x + coil.bulge.x, s.y + coil.bulge.y);
            arc->endDir->setCoords(e.x + coil.bulge.x, e.y + coil.bulge.y);
            arc->end->setCoords(e.x, e.y);
            arc->setPen(pen);
            arc->setSelectable(false);
            P3schCoilArcs[c][a] = arc;
        }
    }

    if (!delta) {
        const QPen star = getP3Pen(QStringLiteral("Vwye"));
        const Pt starPoint{1800, 1050};
        P3schCoilStartLeads[0] = addLine(plot, star, starPoint, {1800, 850});
        P3schCoilStartLeads[1] = addLine(plot, star, starPoint, {1973, 1150});
        P3schCoilStartLeads[2] = addLine(plot, star, starPoint, {1627, 1150});
        P3schCoilEndLeads[0] = addLine(plot, plain, {1800, 450}, {1800, 250});
        P3schCoilEndLeads[1] = addLine(plot, plain, {2320, 1350}, {2493, 1450});
        P3schCoilEndLeads[2] = addLine(plot, plain, {1280, 1350}, {1107, 1450});
        P3schLoadEllipse = new QCPItemEllipse(plot);
        P3schLoadEllipse->topLeft->setCoords(1000, 1850);
        P3schLoadEllipse->bottomRight->setCoords(2600, 250);
        wire(0, {{800, 1200}, {800, 2000}, {2493, 2000}, {2493, 1450}});
        wire(1, {{800, 800}, {900, 800}, {900, 1450}, {1107, 1450}});
        wire(2, {{800, 400}, {800, 100}, {1800, 100}, {1800, 250}});
    } else {
        P3schCoilStartLeads[0] = addLine(plot, plain, {1400, 700}, {1600, 700});
        P3schCoilStartLeads[1] = addLine(plot, plain, {1800, 1393}, {1700, 1220});
        P3schCoilStartLeads[2] = addLine(plot, plain, {2200, 700}, {2100, 873});
        P3schCoilEndLeads[0] = addLine(plot, plain, {2000, 700}, {2200, 700});
        P3schCoilEndLeads[1] = addLine(plot, plain, {1500, 873}, {1400, 700});
        P3schCoilEndLeads[2] = addLine(plot, plain, {1900, 1220}, {1800, 1393});
        P3schLoadEllipse = new QCPItemEllipse(plot);
        P3schLoadEllipse->topLeft->setCoords(1338, 1393);
        P3schLoadEllipse->bottomRight->setCoords(2262, 469);
        wire(0, {{800, 1200}, {800, 1600}, {1800, 1600}, {1800, 1393}});
        wire(1, {{800, 800}, {800, 700}, {1400, 700}});
        wire(2, {{800, 400}, {800, 300}, {2200, 300}, {2200, 700}});
    }
    P3schLoadEllipse->setPen(getP3Pen(QStringLiteral("loadPower")));
    P3schLoadEllipse->setSelectable(false);

    schem::fitViewToPicture(plot, kDrawing, kTextLine);
    plot->replot();
}

void MainWindow::P3hitTest(const QCPAbstractItem *item, QPointF P, const QString &name)
{
    if (!item) return;
    // The item's own distance, whether or not it is selectable.
    const double distance = item->selectTest(P, false);
    if (distance >= 0 && distance < kHitDistance) addToP3graphables(name);
}

void MainWindow::P3schClickCheck(QCPItemLine *line, QPointF P, QString name)
{
    P3hitTest(line, P, name);
}

void MainWindow::P3schClickCheckEllipse(QCPItemEllipse *line, QPointF P, QString name)
{
    P3hitTest(line, P, name);
}

void MainWindow::P3schClickCheckCurve(QCPItemCurve *line, QPointF P, QString name)
{
    P3hitTest(line, P, name);
}

void MainWindow::P3schClickCheckText(QCPItemText *line, QPointF P, QString name)
{
    P3hitTest(line, P, name);
}

void MainWindow::onP3schematicItemClicked(QCPAbstractItem *item, QMouseEvent *eve)
{
    // The reported item is not used: every kept item is tested, and the redraw below deletes
    // the reported one.
    Q_UNUSED(item);
    const QPointF P(eve->pos());

    static const char *const gates[6] = {"At", "Ab", "Bt", "Bb", "Ct", "Cb"};
    for (int i = 0; i < 6; ++i)
        P3schClickCheck(P3schGateLines[i], P, QLatin1String(gates[i]));
    static const char *const phaseVoltages[3] = {"V1", "V2", "V3"};
    for (int phase = 0; phase < 3; ++phase) {
        for (int segment = 0; segment < 4; ++segment)
            P3schClickCheck(P3schPhaseWires[phase][segment], P,
                            QLatin1String(phaseVoltages[phase]));
    }
    static const char *const currents[3] = {"I1", "I2", "I3"};
    for (int i = 0; i < 3; ++i)
        P3schClickCheck(P3schCurrentArrows[i], P, QLatin1String(currents[i]));
    P3schClickCheckEllipse(P3schLoadEllipse, P, QStringLiteral("loadPower"));
    static const char *const coilEmf[3] = {"VemfC", "VemfA", "VemfB"};
    for (int c = 0; c < 3; ++c) {
        for (int a = 0; a < 4; ++a)
            P3schClickCheckCurve(P3schCoilArcs[c][a], P, QLatin1String(coilEmf[c]));
    }
    for (int c = 0; c < 3; ++c)
        P3schClickCheck(P3schCoilStartLeads[c], P, QStringLiteral("Vwye"));
    P3schClickCheckText(P3schFreqText, P, QStringLiteral("freq"));
    P3schClickCheckText(P3schDCenvText, P, QStringLiteral("DCenv"));
    P3schClickCheckText(P3schAngleText, P, QStringLiteral("Angle"));

    P3refreshGraphs();
    drawP3schematic(P3computedInput.motor.isDelta);
}
