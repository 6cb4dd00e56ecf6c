#include "soa/supplyschematic.h"

#include "values/engvalues.h"

namespace soa {

namespace {

class Builder
{
public:
    explicit Builder(SupplySchematic &s) : s_(s) {}

    void whor(double x, double y, double len, bool shorted = false)
    {
        add(SchPrimitive::Whor, x, y, len, 0, shorted);
    }
    void wver(double x, double y, double len) { add(SchPrimitive::Wver, x, y, len); }
    void wdia(double x, double y, double xEnd, double yEnd)
    {
        add(SchPrimitive::Wdia, x, y, xEnd, yEnd);
    }
    void rhor(double x, double y) { add(SchPrimitive::Rhor, x, y); }
    void lhor(double x, double y) { add(SchPrimitive::Lhor, x, y); }
    void chor(double x, double y) { add(SchPrimitive::Chor, x, y); }
    void jhor(double x, double y, double r) { add(SchPrimitive::Jhor, x, y, r); }
    void ground(double x, double y) { add(SchPrimitive::G, x, y); }
    void pa(double x, double y) { add(SchPrimitive::PA, x, y); }
    void par(double x, double y) { add(SchPrimitive::PAR, x, y); }

    void label(SupplyLabel role, const char *caption, const QString &value, const QString &unit,
               double x, double y, Qt::Alignment align)
    {
        s_.labels << SchLabel{role, QString::fromLatin1(caption), value, unit, QPointF(x, y),
                              align};
    }
    void text(const QString &text, double x, double y, Qt::Alignment align)
    {
        s_.texts << SchText{text, QPointF(x, y), align};
    }

private:
    void add(SchPrimitive kind, double x, double y, double a = 0, double b = 0,
             bool shorted = false)
    {
        s_.strokes << SchStroke{kind, x, y, a, b, shorted};
    }
    SupplySchematic &s_;
};

// The second amplifier of a bridge on mirrored supplies sees each supply negated.
QString negated(const QString &text)
{
    return eng::number2String(-eng::parseValue(text));
}

const Qt::Alignment kBottomCentre = Qt::AlignBottom | Qt::AlignHCenter;
const Qt::Alignment kTopCentre = Qt::AlignTop | Qt::AlignHCenter;
// A boost value stands beside its pin's bar on the side away from the supply pin, so that it
// never meets the supply's value above that pin's bar.
const Qt::Alignment kLeftOfPoint = Qt::AlignRight | Qt::AlignVCenter;
const Qt::Alignment kRightOfPoint = Qt::AlignLeft | Qt::AlignVCenter;
constexpr double kBoostLabelGap = 70; // from the bar's end to the label

// One row of the parallel load: leads on both sides, the part or a red wire where it is
// shorted; rows below the first hang from it by uprights at both ends.
void parallelRow(Builder &b, double x, double r, bool shorted, SchPrimitive part)
{
    b.whor(x, r, 200);
    b.whor(x + 600, r, 200);
    if (r != 0) {
        b.wver(x, r, -600);
        b.wver(x + 800, r, -600);
    }
    if (shorted)
        b.whor(x + 200, r, 400, true);
    else if (part == SchPrimitive::Lhor)
        b.lhor(x + 200, r);
    else
        b.chor(x + 200, r);
}

} // namespace

SupplySchematic layoutSupplySchematic(const SupplySchematicInput &in)
{
    SupplySchematic s;
    Builder b(s);
    const int n = in.parallel < 1 ? 1 : in.parallel; // a spin box text that is no number
    const bool twoSides = in.bridge && (in.bridgeSame || in.bridgeUnipolar);
    const bool unipolar = in.bridge && in.bridgeUnipolar;
    const bool boost = in.boostOptions > 0;
    const QString volts = QStringLiteral("V");

    // The load, from the output node x0 to x.
    const double x0 = n < 2 ? 1000 : 1800;
    double x = x0;
    using Load = SupplySchematicInput::Load;
    switch (in.load) {
    case Load::DcMotor:
        b.whor(x0, 0, 200);
        b.wver(x0 + 200, 200, 400);
        b.whor(x0 + 200, 200, 180);
        b.whor(x0 + 200, -200, 180);
        b.jhor(x0 + 600, 0, 300);
        b.jhor(x0 + 600, 0, -300);
        b.whor(x0 + 1000, 200, -180);
        b.whor(x0 + 1000, -200, -180);
        b.wver(x0 + 1000, 200, 400);
        b.whor(x0 + 1000, 0, 200);
        // The letter M inside the circle.
        b.wver(x0 + 500, 100, 200);
        b.wdia(x0 + 500, 100, x0 + 600, 0);
        b.wdia(x0 + 700, 100, x0 + 600, 0);
        b.wver(x0 + 700, 100, 200);
        x = x0 + 1200;
        break;
    case Load::Parallel: {
        b.whor(x0, 0, 200);
        x = x0 + 200;
        double r = 0;
        if (in.R != infiniteValue) {
            b.whor(x, 0, 200);
            b.whor(x + 600, 0, 200);
            if (in.R == 0)
                b.whor(x + 200, 0, 400, true);
            else
                b.rhor(x + 200, 0);
        } else {
            r = 600; // no resistor row: the next row moves up to y 0
        }
        if (in.L != infiniteValue) {
            r -= 600;
            parallelRow(b, x, r, in.L == 0, SchPrimitive::Lhor);
        }
        if (in.C != 0) {
            r -= 600;
            parallelRow(b, x, r, in.C == infiniteValue, SchPrimitive::Chor);
        }
        b.whor(x + 800, 0, 200);
        x += 1000;
        break;
    }
    case Load::Series:
        b.whor(x0, 0, 200);
        x = x0 + 200;
        // An open part leaves a gap; a shorted one is left out.
        if (in.R == infiniteValue) {
            x += 400;
        } else if (in.R != 0) {
            b.rhor(x, 0);
            b.whor(x + 400, 0, 200);
            x += 600;
        }
        if (in.L == infiniteValue) {
            x += 400;
        } else if (in.L != 0) {
            b.lhor(x, 0);
            b.whor(x + 400, 0, 200);
            x += 600;
        }
        if (in.C == 0) {
            x += 400;
        } else if (in.C != infiniteValue) {
            b.chor(x, 0);
            b.whor(x + 400, 0, 200);
            x += 600;
        }
        break;
    case Load::None:
        break;
    }

    // The return path: ground, or the bridge's second amplifier.
    if (!in.bridge) {
        if (in.load != Load::None) {
            b.wver(x, 0, 200);
            b.ground(x, -200);
        }
    } else {
        x += 1000;
        if (n >= 2) x += 800;
    }
    const double xR = x;
    s.xR = in.bridge ? xR : 0;

    // The amplifiers, one row each, with their current-sharing resistors.
    for (int i = 0; i < n; ++i) {
        const double y = -1200.0 * i;
        b.pa(0, y);
        b.text(in.partName, 350, y, Qt::AlignCenter);
        if (n >= 2) {
            b.whor(1000, y, 200);
            b.rhor(1200, y);
            b.whor(1600, y, 200);
            if (i == 0)
                b.label(SupplyLabel::RCS, "R_CS", in.rCS, QString::fromUtf8("Ω"), 1400, 300,
                        kBottomCentre);
            else
                b.wver(1800, y, -1200);
            if (in.bridge) {
                b.whor(xR - 1800, y, 200);
                b.rhor(xR - 1600, y);
                b.whor(xR - 1200, y, 200);
                if (i > 0) b.wver(xR - 1800, y, -1200);
            }
        }
        if (in.bridge) {
            b.par(xR, y);
            b.text(in.partName, xR - 350, y, Qt::AlignCenter);
        }
    }
    const double yL = -1200.0 * (n - 1);
    s.yL = yL;

    // Supply and boost pins with their values.
    b.wver(500, 250, -650);
    b.whor(450, 900, 100);
    b.label(SupplyLabel::PosSupply, "+V_S =", in.vsPos, volts, 500, 1000, kBottomCentre);
    if (twoSides) {
        b.wver(xR - 500, 250, -650);
        b.whor(xR - 450, 900, -100);
        b.label(SupplyLabel::PosSupply2, "+V_S =", unipolar ? negated(in.vsNeg) : in.vsPos, volts,
                xR - 500, 1000, kBottomCentre);
    }
    if (boost) {
        b.wver(100, 450, -450);
        b.whor(50, 900, 100);
        b.label(SupplyLabel::PosBoost, "+V_B =", in.vbPos, volts, 50 - kBoostLabelGap, 900,
                kLeftOfPoint);
        if (twoSides) {
            b.wver(xR - 100, 450, -450);
            b.whor(xR - 50, 900, -100);
            b.label(SupplyLabel::PosBoost2, "+V_B =", unipolar ? negated(in.vbNeg) : in.vbPos,
                    volts, xR - 50 + kBoostLabelGap, 900, kRightOfPoint);
        }
    }
    b.wver(500, yL - 250, 650);
    b.whor(450, yL - 900, 100);
    b.label(SupplyLabel::NegSupply, "-V_S =", in.vsNeg, volts, 500, yL - 1000, kTopCentre);
    if (twoSides) {
        b.wver(xR - 500, yL - 250, 650);
        b.whor(xR - 450, yL - 900, -100);
        b.label(SupplyLabel::NegSupply2, "-V_S =", unipolar ? negated(in.vsPos) : in.vsNeg, volts,
                xR - 500, yL - 1000, kTopCentre);
    }
    if (boost) {
        b.wver(100, yL - 450, 450);
        b.whor(50, yL - 900, 100);
        b.label(SupplyLabel::NegBoost, "-V_B =", in.vbNeg, volts, 50 - kBoostLabelGap, yL - 900,
                kLeftOfPoint);
        if (twoSides) {
            b.wver(xR - 100, yL - 450, 450);
            b.whor(xR - 50, yL - 900, -100);
            b.label(SupplyLabel::NegBoost2, "-V_B =", unipolar ? negated(in.vbPos) : in.vbNeg,
                    volts, xR - 50 + kBoostLabelGap, yL - 900, kRightOfPoint);
        }
    }

    // Without boost supplies the boost pins are tied to the main supply pins, hopping over
    // the amplifier's supply lead.
    if (boost && !in.boostSup) {
        for (const double y : {600.0, yL - 600}) {
            b.whor(100, y, 150);
            b.jhor(300, y, 50);
            b.whor(350, y, 150);
        }
        if (in.bridge) {
            for (const double y : {600.0, yL - 600}) {
                b.whor(xR - 100, y, -150);
                b.jhor(xR - 300, y, 50);
                b.whor(xR - 350, y, -150);
            }
        }
    }

    double loadX = xR / 2;
    if (!in.bridge) loadX = n < 2 ? (x + 1000) / 2 : (x + 1800) / 2;
    // The motor's circle reaches y 300, where the other loads stay below 100.
    b.text(QStringLiteral("LOAD"), loadX, in.load == Load::DcMotor ? 380 : 300, kBottomCentre);

    s.xMin = -1500;
    s.xMax = x + 1500;
    s.yMin = yL - 1600;
    s.yMax = 1600;
    return s;
}

} // namespace soa
