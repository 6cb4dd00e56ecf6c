#include "pwmcontrol/sconschematic.h"

#include <QPointF>
#include <QRectF>

namespace scon {

namespace {

const QColor kIntegratorColour(0, 180, 0);
const QColor kNoiseColour(200, 0, 0);
const QColor kDiffColour(0, 85, 255);

// Where a value label stands against its part: (x, y) is then a point 50 beyond the part's
// edge on that side.
const Qt::Alignment kAbove = Qt::AlignHCenter | Qt::AlignBottom;
const Qt::Alignment kBelow = Qt::AlignHCenter | Qt::AlignTop;
const Qt::Alignment kLeftOf = Qt::AlignRight | Qt::AlignVCenter;
const Qt::Alignment kRightOf = Qt::AlignLeft | Qt::AlignVCenter;

class Builder
{
public:
    explicit Builder(Drawing &d) : d(d) {}

    void rHor(double x, double y, Ink ink = Ink::Black) { add(Shape::ResistorHor, ink, x, y); }
    void rVer(double x, double y, Ink ink = Ink::Black) { add(Shape::ResistorVer, ink, x, y); }
    void cHor(double x, double y) { add(Shape::CapacitorHor, Ink::Black, x, y); }
    void cVer(double x, double y) { add(Shape::CapacitorVer, Ink::Black, x, y); }
    void wHor(double x, double y, double len) { add(Shape::WireHor, Ink::Black, x, y, len); }
    void wVer(double x, double y, double len) { add(Shape::WireVer, Ink::Black, x, y, len); }
    // A wire between two points on one horizontal or vertical line.
    void wire(double x1, double y1, double x2, double y2)
    {
        if (y1 == y2)
            wHor(x1, y1, x2 - x1);
        else
            wVer(x1, y1, y1 - y2);
    }
    void ground(double x, double y) { add(Shape::Ground, Ink::Black, x, y); }
    void hop(double x, double y, double r) { add(Shape::HopVer, Ink::Black, x, y, r); }
    void rect(double x, double y, double w, double h, Ink ink = Ink::Black)
    {
        add(Shape::Rect, ink, x, y, w, h);
    }
    void opAmp(double x, double y) { add(Shape::OpAmp, Ink::Black, x, y); }
    void opAmpLeft(double x, double y) { add(Shape::OpAmpLeft, Ink::Black, x, y); }

    void text(double x, double y, const QString &t, const QColor &colour = QColor(0, 0, 0))
    {
        Text item;
        item.x = x;
        item.y = y;
        item.text = t;
        item.colour = colour;
        d.texts.append(item);
    }
    void value(int v, int copy, double x, double y, Qt::Alignment align = Qt::AlignCenter,
               QPointF offset = QPointF())
    {
        Text item;
        item.role = TextRole::Value;
        item.x = x;
        item.y = y;
        item.value = v;
        item.copy = copy;
        item.align = align;
        item.offset = offset;
        d.texts.append(item);
    }
    void range(int r, double x, double y)
    {
        Text item;
        item.role = TextRole::Range;
        item.x = x;
        item.y = y;
        item.range = r;
        d.texts.append(item);
    }
    void supply(TextRole role, double x, double y)
    {
        Text item;
        item.role = role;
        item.x = x;
        item.y = y;
        d.texts.append(item);
    }
    void view(double x0, double x1, double y0, double y1)
    {
        d.xMin = x0;
        d.xMax = x1;
        d.yMin = y0;
        d.yMax = y1;
    }

private:
    void add(Shape s, Ink ink, double x, double y, double a = 0, double b = 0)
    {
        d.strokes.append({s, ink, x, y, a, b});
    }
    Drawing &d;
};

// Noise filter between the integrator output (y = 0) and the modulator input at x = 6000.
void noiseFilter(Builder &b, bool hide)
{
    b.rHor(3600, 0);
    b.value(Rnf, 1, 4000, 400);
    b.wire(4000, 0, 6000, 0);
    b.wire(4200, 0, 4200, -200);
    b.cVer(4200, -200);
    b.value(Cnf, 1, 4800, -400);
    b.ground(4200, -600);
    if (!hide) {
        b.rect(3400, -1000, 1800, 2200, Ink::NoiseBlock);
        b.text(4300, 1600, QStringLiteral("NOISE FILTER"), kNoiseColour);
    }
}

// The PWM amplifier box with its name, ground and supply pins, and its output pin names.
// halfBridgeName is empty for a full bridge.
void pwmAmplifier(Builder &b, const SchematicInput &in, bool full, const QString &halfName,
                  double noteY)
{
    b.rect(6000, -1000, 2000, 2000);
    b.text(7000, 0, in.partName + (in.errorAmp ? QStringLiteral("*") : QString()));
    if (in.errorAmp)
        b.text(10000, noteY,
               QStringLiteral("* This product includes an internal error amplifier for use as "
                              "an integrator"));
    b.text(6500, -800, QStringLiteral("GND"));
    b.wire(6500, -1000, 6500, -1200);
    b.ground(6500, -1200);
    b.text(7500, 800, QStringLiteral("Vs"));
    b.wire(7500, 1000, 7500, 1200);
    b.supply(TextRole::VsSupply, 7500, 1400);
    // This part has no separate logic supply pin.
    if (!in.partName.contains(QLatin1String("NV21"))) {
        b.text(6500, 800, QStringLiteral("Vcc"));
        b.wire(6500, 1000, 6500, 1200);
        b.supply(TextRole::VccSupply, 6500, 1400);
    }
    if (!full) {
        b.text(7800, 0, halfName);
    } else {
        const bool bUp = in.positiveDC == QLatin1String("B");
        b.text(7800, bUp ? -200 : 200, QStringLiteral("A"));
        b.text(7800, bUp ? 200 : -200, QStringLiteral("B"));
    }
}

// FILTER and LOAD blocks fed from the bridge output at x = 10000.
void filterAndLoad(Builder &b, bool full)
{
    b.rect(10000, -500, 1000, 1000);
    b.text(10500, 0, QStringLiteral("FILTER"));
    b.rect(12000, -500, 1000, 1000);
    b.text(12500, 0, QStringLiteral("LOAD"));
    if (!full) {
        b.wire(8000, 0, 10000, 0);
        b.wire(11000, 0, 12000, 0);
        b.wire(10500, -500, 10500, -700);
        b.ground(10500, -700);
        b.wire(12500, -500, 12500, -700);
        b.ground(12500, -700);
    } else {
        b.wire(8000, 200, 10000, 200);
        b.wire(8000, -200, 10000, -200);
        b.wire(11000, 200, 12000, 200);
        b.wire(11000, -200, 12000, -200);
    }
}

// The integrator op-amp with Rint and Cint from the line x = -1500 at y = 800 to the output
// line, which runs on to the noise filter.
void integratorFeedback(Builder &b)
{
    b.opAmp(-800, 0);
    b.wire(-1500, 150, -800, 150);
    b.rHor(-1000, 800);
    b.value(Rint, 1, -900, 1200);
    b.wire(-600, 800, -400, 800);
    b.cHor(-400, 800);
    b.value(Cint, 1, -100, 1200);
    b.wire(0, 800, 400, 800);
    b.wire(400, 800, 400, 0);
    b.wire(-200, 0, 3600, 0);
}

// Integrator of Voltage 1 and the current loops: the feedback, and the reference below the
// non-inverting input.
void integrator(Builder &b)
{
    integratorFeedback(b);
    b.wire(-800, -150, -1000, -150);
    b.wire(-1000, -150, -1000, -1000);
    b.value(Vref, 1, -1000, -1200);
}

// T network of one difference-amplifier input on the line y: Rdif from the sensed side at
// x = 4600, Cdif to ground, Rdin on to the input node at 2600.
void inputFilter(Builder &b, double y, int copy)
{
    b.rHor(4200, y);
    b.value(Rdif, copy, 4400, y + 150, kAbove);
    b.wire(4200, y, 3000, y);
    b.wire(3900, y, 3900, y - 200);
    b.cVer(3900, y - 200);
    b.ground(3900, y - 600);
    b.value(Cdif, copy, 4150, y - 400, kRightOf);
}

// The difference amplifier of Voltage 1 and the current loops, output at (1400, -3000) led
// back to Rf at (-1500, -2400). withCdf draws Cdf 1 across Rdf 1 and Cdf 2 to ground;
// second draws the second input's parts (full bridge); rdinInk colours the two Rdin.
void differenceAmplifier(Builder &b, bool withCdf, bool second, Ink rdinInk)
{
    b.opAmpLeft(2000, -3000);
    // Inverting input and the feedback pair.
    b.wire(2000, -2850, 2250, -2850);
    b.wire(2250, -2850, 2250, -2400);
    b.rHor(1500, -2400, Ink::Blue);
    b.value(Rdf, 1, 1700, -2250, kAbove);
    b.wire(1900, -2400, 2600, -2400);
    b.wire(1500, -2400, 1200, -2400);
    b.wire(1200, -2400, 1200, -3000);
    if (withCdf) {
        b.cHor(1500, -1600);
        b.value(Cdf, 1, 1700, -1400, kAbove);
        b.wire(1900, -1600, 2400, -1600);
        b.wire(2400, -1600, 2400, -2400);
        b.wire(1500, -1600, 800, -1600);
        b.wire(800, -1600, 800, -3000);
    }
    // The two Rdin stand one above the other: each value goes on the outer side of its own
    // resistor, as the feedback pair's do, or it would stand between the two; a little to the
    // right, clear of the capacitors' wires at x = 2400.
    b.rHor(2600, -2400, rdinInk);
    b.value(Rdin, 1, 2800, -2550, kAbove, QPointF(100, 300));
    inputFilter(b, -2400, 1);
    // Output line back to Rf.
    b.wire(1400, -3000, -1500, -3000);
    b.wire(-1500, -3000, -1500, -2400);
    // Non-inverting input and the reference.
    b.wire(2000, -3150, 2250, -3150);
    b.wire(2250, -3150, 2250, -3600);
    b.value(Vref, 2, 400, -3600);
    b.wire(800, -3600, 1500, -3600);
    if (!second) {
        b.wire(1500, -3600, 2250, -3600);
        return;
    }
    b.rHor(1500, -3600, Ink::Blue);
    b.value(Rdf, 2, 1700, -3750, kBelow);
    b.wire(1900, -3600, 2600, -3600);
    if (withCdf) {
        b.wire(2400, -3600, 2400, -4200);
        b.cVer(2400, -4200);
        b.ground(2400, -4600);
        b.value(Cdf, 2, 2200, -4400, kLeftOf);
    }
    b.rHor(2600, -3600, rdinInk);
    b.value(Rdin, 2, 2800, -3450, kBelow, QPointF(100, -300));
    inputFilter(b, -3600, 2);
}

// The INTEGRATOR block of Voltage 1 and the current loops, and the DIFFERENCE AMPLIFIER
// block (lower left corner and size) with its caption.
void senseBlocks(Builder &b, const QRectF &diff, const QPointF &caption)
{
    b.rect(-1700, -800, 2400, 2600, Ink::IntegratorBlock);
    b.text(-3000, 1600, QStringLiteral("INTEGRATOR"), kIntegratorColour);
    b.rect(diff.x(), diff.y(), diff.width(), diff.height(), Ink::DiffBlock);
    b.text(caption.x(), caption.y(), QStringLiteral("DIFFERENCE AMPLIFIER"), kDiffColour);
}

// What feeds the summing node at x = -1500 of Voltage 1 and the current loops: Rbias from
// Vbias on the line biasY, Rin from V_IN, Rf from the difference amplifier below, and the
// wire on to Rint at y = 800.
void summingInputs(Builder &b, double biasY)
{
    b.rHor(-2400, biasY);
    b.value(Rbias, 1, -2200, biasY + 150, kAbove);
    b.wire(-2000, biasY, -1500, biasY);
    b.wire(-1500, 800, -1000, 800);
    b.wire(-2400, biasY, -3000, biasY);
    b.value(Vbias, 1, -3050, biasY, kLeftOf);
    b.rHor(-2400, -600, Ink::Blue);
    b.value(Rin, 1, -2200, -450, kAbove);
    b.wire(-2000, -600, -1500, -600);
    b.wire(-2400, -600, -3000, -600);
    b.text(-3400, -600, QStringLiteral("V_IN"));
    b.rVer(-1500, -2000);
    b.value(Rf, 1, -2200, -2200);
}

void drawVoltage1(Builder &b, const SchematicInput &in)
{
    const bool full = in.fullBridge;
    const bool hide = in.hideBlocks;
    integrator(b);
    // Summing node: Rf, Rin, the inverting input, and Rbias with Rint at y = 800.
    b.wire(-1500, 800, -1500, -2000);
    summingInputs(b, 800);

    differenceAmplifier(b, true, full, Ink::Black);
    noiseFilter(b, hide);
    // Voltage 1 senses the output that falls for a positive input in a half bridge.
    pwmAmplifier(b, in, full,
                 in.positiveDC == QLatin1String("A") ? QStringLiteral("B") : QStringLiteral("A"),
                 -5000);
    filterAndLoad(b, full);

    // Sensing of the bridge output.
    if (!full) {
        b.wire(9000, 0, 9000, -2400);
        b.wire(9000, -2400, 4600, -2400);
    } else {
        b.wire(8500, -200, 8500, -2400);
        b.wire(8500, -2400, 4600, -2400);
        b.wire(9500, 200, 9500, -100);
        b.hop(9500, -200, 100);
        b.wire(9500, -300, 9500, -3600);
        b.wire(9500, -3600, 4600, -3600);
        b.rect(1000, -4150, 2400, 2350, Ink::Frame);
    }

    if (!hide) {
        if (full)
            senseBlocks(b, QRectF(-400, -5000, 6400, 3800), QPointF(8000, -4000));
        else
            senseBlocks(b, QRectF(-400, -4000, 6000, 2800), QPointF(8000, -4000));
    }

    b.range(0, 1900, 800);
    b.range(1, 11500, -2500);
    b.range(2, -1400, -4000);
    b.range(6, 11500, 1500);
    b.view(-6000, 15500, -5400, 2200);
}

// One side of the Voltage 2 integrator's input: V_IN (or the reference) on the line y, Rin,
// the pull-up Rbh from the bias source above and the pull-down Rbl below, meeting the node
// at x = -1500.
void voltage2Input(Builder &b, double y, int copy)
{
    b.wire(-4300, y, -4100, y);
    b.rHor(-4100, y, Ink::Blue);
    b.value(Rin, copy, -3900, y - 400);
    b.wire(-3700, y, -1500, y);
    b.value(Vbias, copy, -2600, y + 1500);
    b.wire(-2600, y + 1200, -2600, y + 1000);
    b.rVer(-2600, y + 1000);
    b.value(Rbh, copy, -3100, y + 800);
    b.wire(-2600, y + 600, -2600, y);
    b.wire(-3000, y, -3000, y - 600);
    b.rVer(-3000, y - 600);
    b.value(Rbl, copy, -2500, y - 800);
    b.wire(-3000, y - 1000, -3000, y - 1200);
    b.ground(-3000, y - 1200);
}

// Feedback from the bridge output to the node at x = -1500 along the line y: Rdin, Cdif to
// ground, Rdif, then to x = 9000.
void voltage2Feedback(Builder &b, double y, int copy)
{
    b.wire(-1500, y, 2000, y);
    b.rHor(2000, y);
    b.value(Rdin, copy, 2200, y + 400);
    b.wire(2400, y, 3600, y);
    b.wire(3000, y, 3000, y - 200);
    b.cVer(3000, y - 200);
    b.ground(3000, y - 600);
    b.value(Cdif, copy, 3600, y - 600);
    b.rHor(3600, y);
    b.value(Rdif, copy, 3800, y + 400);
    b.wire(4000, y, 9000, y);
}

void drawVoltage2(Builder &b, const SchematicInput &in)
{
    const bool full = in.fullBridge;
    const bool hide = in.hideBlocks;
    integratorFeedback(b);
    // Inverting side.
    b.wire(-1500, 150, -1500, 3000);
    b.wire(-1500, 800, -1000, 800);
    voltage2Input(b, 2400, 1);
    b.text(-4700, 2400, QStringLiteral("V_IN"));
    voltage2Feedback(b, 3000, 1);

    // Non-inverting side: the reference alone in a half bridge, a mirror image of the
    // inverting side in a full bridge.
    b.wire(-800, -150, -1500, -150);
    if (!full) {
        b.wire(-1500, -150, -1500, -700);
        b.value(Vref, 1, -1500, -1000);
        b.wire(9000, 3000, 9000, 0);
    } else {
        b.wire(-1500, -150, -1500, -2000);
        b.wire(-1500, -800, -1000, -800);
        b.rHor(-1000, -800);
        b.value(Rint, 2, -900, -1200);
        b.wire(-600, -800, -400, -800);
        b.cHor(-400, -800);
        b.value(Cint, 2, -100, -1200);
        b.wire(0, -800, 400, -800);
        b.wire(400, -800, 400, -1100);
        b.ground(400, -1100);
        voltage2Input(b, -1400, 2);
        b.value(Vref, 1, -4700, -1400);
        voltage2Feedback(b, -2000, 2);
        b.wire(9000, 3000, 9000, 200);
        b.wire(9000, -200, 9000, -2000);
    }

    noiseFilter(b, hide);
    pwmAmplifier(b, in, full,
                 in.positiveDC == QLatin1String("A") ? QStringLiteral("A") : QStringLiteral("B"),
                 3900);
    filterAndLoad(b, full);

    if (!hide) {
        b.rect(-1700, -500, 2400, 2300, Ink::IntegratorBlock);
        b.text(-500, 2200, QStringLiteral("INTEGRATOR"), kIntegratorColour);
    }

    b.range(0, 1900, 800);
    if (full) {
        b.range(1, 9000, -2700);
        b.range(3, -800, -2700);
    } else {
        b.range(1, 9500, -1800);
    }
    b.range(6, 11500, 1500);
    b.view(-6600, 14900, -3150, 4450);
}

void drawCurrent(Builder &b, const SchematicInput &in)
{
    const bool one = in.topology == Topology::Current1;
    const bool hide = in.hideBlocks;
    integrator(b);
    b.wire(-1500, 2000, -1500, -2000);
    summingInputs(b, 500);

    differenceAmplifier(b, one, true, one ? Ink::Black : Ink::Blue);
    noiseFilter(b, hide);
    pwmAmplifier(b, in, true, QString(), -5000);

    const bool bUp = in.positiveDC == QLatin1String("B");
    if (one) {
        filterAndLoad(b, true);
        // A sense resistor from each current-sense pin to ground.
        b.text(bUp ? 7500 : 7000, -800, QStringLiteral("As"));
        b.text(bUp ? 7000 : 7500, -800, QStringLiteral("Bs"));
        b.wire(7000, -1000, 7000, -2600);
        b.rVer(7000, -2600, Ink::Blue);
        b.value(Rs, 1, 6400, -2800);
        b.wire(7000, -3000, 7000, -3100);
        b.ground(7000, -3100);
        b.wire(4600, -2400, 7000, -2400);
        b.wire(7500, -1000, 7500, -3800);
        b.rVer(7500, -3800, Ink::Blue);
        b.value(Rs, 2, 8100, -4000);
        b.wire(7500, -4200, 7500, -4300);
        b.ground(7500, -4300);
        b.wire(4600, -3600, 7500, -3600);
    } else {
        // The sense resistor in the lower load line, between FILTER and LOAD.
        b.wire(8000, 200, 9000, 200);
        b.wire(8000, -200, 9000, -200);
        b.rect(9000, -500, 1000, 1000);
        b.text(9500, 0, QStringLiteral("FILTER"));
        b.rect(12000, -500, 1000, 1000);
        b.text(12500, 0, QStringLiteral("LOAD"));
        b.wire(10000, 200, 12000, 200);
        b.wire(10000, -200, 10800, -200);
        b.rHor(10800, -200, Ink::Blue);
        b.value(Rs, 1, 11000, -600);
        b.wire(11200, -200, 12000, -200);
        b.wire(10500, -200, 10500, -2400);
        b.wire(10500, -2400, 4600, -2400);
        b.wire(11500, -200, 11500, -3600);
        b.wire(11500, -3600, 4600, -3600);
    }

    // Voltage feedback from the load back to the top of the summing node.
    b.wire(-1500, 2000, 8500, 2000);
    b.cHor(8500, 2000);
    b.value(Cv, 1, 8700, 1600);
    b.wire(8900, 2000, 9900, 2000);
    b.rHor(9900, 2000);
    b.value(Rv, 1, 10100, 1600);
    b.wire(10300, 2000, 11500, 2000);
    b.wire(11500, 2000, 11500, 200);

    b.rect(1000, -4150, 2400, 2350, Ink::Frame);
    if (!hide) {
        if (one)
            senseBlocks(b, QRectF(-200, -5000, 5400, 3800), QPointF(-2500, -4700));
        else
            senseBlocks(b, QRectF(-200, -4800, 5400, 3400), QPointF(-2500, -4700));
    }

    b.range(0, 1900, 800);
    b.range(1, one ? 10000 : 8500, -1500);
    b.range(2, -1400, -4000);
    if (one) b.range(4, 10000, -2500);
    b.range(5, 13000, one ? -3000 : -2500);
    b.range(6, 13000, one ? -2000 : -1500);
    b.view(-6000, 15500, -5400, 2200);
}

} // namespace

QColor inkColour(Ink ink)
{
    switch (ink) {
    case Ink::Blue:
        return QColor(0, 0, 180);
    case Ink::IntegratorBlock:
        return kIntegratorColour;
    case Ink::NoiseBlock:
        return kNoiseColour;
    case Ink::DiffBlock:
        return kDiffColour;
    case Ink::Black:
    case Ink::Frame:
        break;
    }
    return QColor(0, 0, 0);
}

bool inkDotted(Ink ink)
{
    return ink != Ink::Black && ink != Ink::Blue;
}

Drawing controlSchematic(const SchematicInput &in)
{
    Drawing d;
    Builder b(d);
    switch (in.topology) {
    case Topology::Voltage1:
        drawVoltage1(b, in);
        break;
    case Topology::Voltage2:
        drawVoltage2(b, in);
        break;
    case Topology::Current1:
    case Topology::Current2:
        drawCurrent(b, in);
        break;
    }
    return d;
}

} // namespace scon
