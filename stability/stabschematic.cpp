#include "stability/stabschematic.h"

#include "values/engvalues.h"

#include <cmath>

namespace stab {

// ---------------------------------------------------------------- value label slots

namespace {

struct SlotRow
{
    const char *caption;
    const char *unit; // UTF-8
    QString CircuitValues::*value;
};

const SlotRow kSlots[23] = {
    {"R_IN", "Ω", &CircuitValues::RinC},         {"R_FB", "Ω", &CircuitValues::RfbC},
    {"R_NG", "Ω", &CircuitValues::RngC},         {"C_NG", "F", &CircuitValues::CngC},
    {"C_FB", "F", &CircuitValues::CfbC},         {"R_CL", "Ω", &CircuitValues::RclC},
    {"R_ISO", "Ω", &CircuitValues::RisoC},       {"C_LOAD", "F", &CircuitValues::CLoadStab},
    {"R_G", "Ω", &CircuitValues::RgStab},        {"R_IN", "Ω", &CircuitValues::RinL},
    {"R_FB", "Ω", &CircuitValues::RfbL},         {"R_D", "Ω", &CircuitValues::RdL},
    {"R_S", "Ω", &CircuitValues::RsL},           {"C_FB", "F", &CircuitValues::CfbL},
    {"R_S GAIN", "", &CircuitValues::RsGainL},   {"R_LOAD", "Ω", &CircuitValues::RloadL},
    {"L_LOAD", "H", &CircuitValues::LLoadStab},  {"R_G", "Ω", &CircuitValues::RgStabL},
    {"HOST R_IN", "Ω", &CircuitValues::hostRin}, {"HOST R_FB", "Ω", &CircuitValues::compRfb},
    {"HOST R_NG", "Ω", &CircuitValues::hostRng}, {"HOST C_NG", "F", &CircuitValues::hostCng},
    {"HOST C_FB", "F", &CircuitValues::compCfb},
};

bool isValueSlot(int slot)
{
    return slot >= 0 && slot < kSlotCcomp;
}

} // namespace

QString stabLabelCaption(int slot)
{
    return isValueSlot(slot) ? QString::fromLatin1(kSlots[slot].caption) : QString();
}

QString stabLabelUnit(int slot)
{
    return isValueSlot(slot) ? QString::fromUtf8(kSlots[slot].unit) : QString();
}

QString CircuitValues::*stabLabelValue(int slot)
{
    return isValueSlot(slot) ? kSlots[slot].value : nullptr;
}

const QVector<int> &stabClickOrder()
{
    static const QVector<int> order{0,  2,  3,  1,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                    13, 14, 15, 16, 17, 18, 20, 21, 19, 22, 23, 24};
    return order;
}

bool sameLabelPlace(double a, double b)
{
    if (a == 0 || b == 0) return std::fabs(a - b) <= 1e-12;
    return std::fabs(a - b) * 1e12 <= std::min(std::fabs(a), std::fabs(b));
}

bool sameLabelPlace(const QPointF &a, const QPointF &b)
{
    return sameLabelPlace(a.x(), b.x()) && sameLabelPlace(a.y(), b.y());
}

// ---------------------------------------------------------------- circuit options

StabOptions allowedOptions(const StabOptionsInput &in)
{
    StabOptions o;
    o.capacitive = in.capacitive;
    o.composite = in.composite;
    if (in.loads != QLatin1String("all")) {
        o.capacitive = true;
        o.inductiveEnabled = false;
    }
    if (in.inputs == QLatin1String("inv")) {
        o.compositeEnabled = false;
        o.composite = false;
    }
    if (!o.composite) {
        if (in.inputs == QLatin1String("non")) {
            o.check = InputCheck::NonInverting;
            o.invertingEnabled = false;
        } else if (in.inputs == QLatin1String("inv")) {
            o.check = InputCheck::Inverting;
            o.nonInvertingEnabled = false;
        }
        // The booster's inductive-load circuit feeds the sense stage back to its gain pin: it
        // has no inverting input.
        if (!o.capacitive && in.circuitType == QLatin1String("GZ20")) {
            o.check = InputCheck::NonInverting;
            o.invertingEnabled = false;
        }
    }
    return o;
}

int validCompOption(int option, int optionCount)
{
    return option >= 0 && option < optionCount ? option : 0;
}

bool hasExternalCurrentLimit(const amp &part)
{
    return part.getVbe() != 0 && part.getCLint() == 0;
}

bool hasCompensationOption(const amp &part)
{
    return part.getSROptions() >= 2 || part.getCcomp(0) != 0;
}

QString ccompText(const amp &part, int option)
{
    return QStringLiteral("C_COMP\n") + QString::number(part.getCcomp(option), 'g', 6) +
           QStringLiteral(" pF");
}

QString rcompText(const amp &part, int option)
{
    return QStringLiteral("R_COMP\n") + eng::engString(part.getRcomp(option), QStringLiteral("Ω"));
}

// ---------------------------------------------------------------- circuits

StabCircuit chooseStabCircuit(bool capacitive, bool composite, const QString &type)
{
    const bool gz20 = type == QLatin1String("GZ20");
    const bool gz23 = type == QLatin1String("GZ23");
    const bool kw314 = type == QLatin1String("KW314");
    const bool kw349 = type == QLatin1String("KW349");
    const bool normal = type == QLatin1String("normal");
    using C = StabCircuit;
    if (capacitive && !composite) {
        if (gz20) return C::CapacitiveGZ20;
        if (gz23) return C::CapacitiveGZ23;
        if (kw314) return C::CapacitiveKW314;
        if (kw349) return C::CapacitiveKW349;
        if (normal) return C::Capacitive;
    } else if (capacitive) {
        if (gz20) return C::CompositeCapacitiveGZ20;
        if (gz23) return C::CompositeCapacitiveGZ23;
        if (kw349) return C::CompositeCapacitiveKW349;
        if (normal) return C::CompositeCapacitive;
    } else if (!composite) {
        if (gz20) return C::InductiveGZ20;
        if (normal) return C::Inductive;
    } else {
        if (gz20) return C::CompositeInductiveGZ20;
        if (normal) return C::CompositeInductive;
    }
    return C::None;
}

QColor stabPenColour(StabPen pen)
{
    switch (pen) {
    case StabPen::Black:
        return QColor(0, 0, 0);
    case StabPen::Green:
        return QColor(0, 130, 0);
    case StabPen::Blue:
        return QColor(0, 0, 150);
    case StabPen::Orange:
        return QColor(255, 120, 0);
    case StabPen::DarkRed:
        return QColor(150, 0, 0);
    }
    return QColor(0, 0, 0);
}

schem::Figure boosterTriangle(double x, double y)
{
    return {
        {{x, y - 500}, {x + 1000, y}}, {{x, y + 500}, {x + 1000, y}}, {{x, y - 500}, {x, y + 500}}};
}

schem::Figure upTriangle(double x, double y)
{
    return {
        {{x - 200, y}, {x + 200, y}}, {{x - 200, y}, {x, y + 400}}, {{x, y + 400}, {x + 200, y}}};
}

namespace {

const Qt::Alignment kTopCentre = Qt::AlignHCenter | Qt::AlignTop;
const Qt::Alignment kLeftMiddle = Qt::AlignLeft | Qt::AlignVCenter;
const Qt::Alignment kRightMiddle = Qt::AlignRight | Qt::AlignVCenter;
const Qt::Alignment kBottomCentre = Qt::AlignHCenter | Qt::AlignBottom;

using P = StabPrimitive;
using Pen = StabPen;

// Collects the drawing; one method per primitive, named as the schematic kit names them.
class Builder
{
public:
    Builder(StabSchematic &s, const amp &part, const StabSchematicInput &in)
        : s_(s), part_(part), in_(in)
    {
    }

    void whor(double x, double y, double len, Pen pen = Pen::Black)
    {
        add(P::Whor, pen, x, y, len);
    }
    void wver(double x, double y, double len, Pen pen = Pen::Black)
    {
        add(P::Wver, pen, x, y, len);
    }
    void rhor(double x, double y, Pen pen = Pen::Black) { add(P::Rhor, pen, x, y); }
    void rver(double x, double y, Pen pen = Pen::Black) { add(P::Rver, pen, x, y); }
    void chor(double x, double y, Pen pen = Pen::Black) { add(P::Chor, pen, x, y); }
    void cver(double x, double y, Pen pen = Pen::Black) { add(P::Cver, pen, x, y); }
    void lhor(double x, double y) { add(P::Lhor, Pen::Black, x, y); }
    void ground(double x, double y, Pen pen = Pen::Black) { add(P::G, pen, x, y); }
    void pa(double x, double y) { add(P::PA, Pen::Black, x, y); }
    void oa(double x, double y) { add(P::OA, Pen::Black, x, y); }
    void gz(double x, double y) { add(P::GZ, Pen::Black, x, y); }
    void upTri(double x, double y) { add(P::UpTri, Pen::Black, x, y); }

    void label(int slot, double x, double y, Qt::Alignment align = Qt::AlignCenter,
               QPointF offset = QPointF())
    {
        s_.labels << StabValueLabel{slot,
                                    stabLabelCaption(slot),
                                    in_.values.*stabLabelValue(slot),
                                    stabLabelUnit(slot),
                                    QPointF(x, y),
                                    align,
                                    offset};
    }
    void text(const QString &text, double x, double y, Qt::Alignment align = Qt::AlignCenter,
              int slot = -1, QPointF offset = QPointF())
    {
        s_.texts << StabText{text, QPointF(x, y), align, slot, offset};
    }
    void text(const char *text, double x, double y) { this->text(QString::fromLatin1(text), x, y); }

    void centre(double x, double y) { s_.centre = QPointF(x, y); }

    const amp &part() const { return part_; }
    const StabSchematicInput &in() const { return in_; }
    bool inverting() const { return in_.inverting; }
    bool currentLimit() const { return hasExternalCurrentLimit(part_); }
    bool compensation() const { return hasCompensationOption(part_); }

    void partName() { text(part_.getAmpName(), 350, 0); }

    void append(const StabSchematic &other)
    {
        s_.strokes << other.strokes;
        s_.labels << other.labels;
        s_.texts << other.texts;
    }

private:
    void add(P kind, Pen pen, double x, double y, double len = 0)
    {
        s_.strokes << StabStroke{kind, pen, x, y, len};
    }

    StabSchematic &s_;
    const amp &part_;
    const StabSchematicInput &in_;
};

// ------------------------------------------------ pieces shared by the capacitive circuits

// Output line, R_ISO and C_LOAD to ground.
void capacitiveLoad(Builder &b)
{
    b.rhor(1500, 0, Pen::Orange);
    b.cver(2200, -300);
    b.ground(2200, -700);
    b.label(6, 1700, 250);
    b.label(7, 1800, -500);
    b.whor(1000, 0, 500);
    b.whor(1900, 0, 300);
    b.wver(2200, 0, 300);
}

// R_CL between the current-limit pin and the output riser at x = 1300. Form A takes the pin
// on the upper edge at (700, 150), form B at (400, 300).
enum class ClForm { A, B };

void currentLimitResistor(Builder &b, ClForm form, bool pinText, bool riser)
{
    if (!b.currentLimit()) return;
    b.rhor(800, 400);
    b.label(5, 1000, 650);
    b.whor(1200, 400, 100);
    if (form == ClForm::A) {
        b.whor(700, 400, 100);
        b.wver(700, 400, 250);
        if (riser) b.wver(1300, 400, 400);
        if (pinText) b.text("CL", 650, 100);
    } else {
        b.whor(400, 400, 400);
        b.wver(400, 400, 100);
        b.wver(1300, 400, 400);
        if (pinText) b.text("CL", 400, 200);
    }
}

// C_COMP of the GZ20 booster: from its compensation pin to the output line.
void gz20Compensation(Builder &b)
{
    if (!b.compensation()) return;
    const int opt = b.in().compOption;
    b.chor(400, -600, Pen::DarkRed);
    b.text(ccompText(b.part(), opt), 600, -850, kTopCentre, kSlotCcomp);
    b.wver(400, -600, -300, Pen::DarkRed);
    b.whor(800, -600, 350, Pen::DarkRed);
    b.wver(1150, -600, -600, Pen::DarkRed);
    b.text("CC", 400, -200);
}

// C_COMP of the GZ23 booster: from its compensation pin to ground.
void gz23Compensation(Builder &b)
{
    if (!b.compensation()) return;
    const int opt = b.in().compOption;
    b.cver(650, -400, Pen::DarkRed);
    b.text(ccompText(b.part(), opt), 900, -600, kLeftMiddle, kSlotCcomp);
    b.wver(650, -175, 225, Pen::DarkRed);
    b.ground(650, -800, Pen::DarkRed);
    b.text("CC", 650, -75);
}

// R_COMP and C_COMP in series from the compensation pin to ground.
void kw314Compensation(Builder &b)
{
    if (!b.compensation()) return;
    const int opt = b.in().compOption;
    b.rver(650, -400, Pen::DarkRed);
    b.text(rcompText(b.part(), opt), 850, -600, kLeftMiddle, kSlotRcomp);
    b.cver(650, -900, Pen::DarkRed);
    b.text(ccompText(b.part(), opt), 900, -1100, kLeftMiddle, kSlotCcomp);
    b.wver(650, -175, 225, Pen::DarkRed);
    b.wver(650, -800, 100, Pen::DarkRed);
    b.ground(650, -1300, Pen::DarkRed);
    b.text("CC", 650, -75);
}

// R_FB at (400, 1000) under C_FB at (400, 1400): each value on the outer side of its part, the
// resistor's below it and the capacitor's above, so that neither stands between the two branches
// and reads as the other's. Their anchors stay where clicks find them.
void feedbackPairLabels(Builder &b, double cfbY)
{
    b.label(1, 900, 1200, kTopCentre, QPointF(-300, -330));
    b.label(4, 800, cfbY, kBottomCentre, QPointF(-200, 1580 - cfbY));
}

void externalCompensation(Builder &b)
{
    b.append(layoutCompensationNetwork(b.part(), b.in().compOption));
}

// ------------------------------------------------ single-amplifier capacitive circuits

void capacitiveNormal(Builder &b)
{
    b.pa(0, 0);
    b.partName();
    b.rhor(400, 1000);
    b.chor(400, 1400, Pen::Green);
    feedbackPairLabels(b, 1600);
    b.whor(-200, 1000, 600);
    b.whor(800, 1000, 500);
    b.wver(1300, 1000, 1000);
    b.wver(-200, 1000, 800);
    b.whor(-200, 1400, 600, Pen::Green);
    b.whor(800, 1400, 500, Pen::Green);
    b.wver(1300, 1400, 400, Pen::Green);
    b.wver(-200, 1400, 400, Pen::Green);
    b.whor(-200, -200, 200);
    b.wver(-200, -200, 600);
    capacitiveLoad(b);
    currentLimitResistor(b, ClForm::A, false, false);
    externalCompensation(b);
    if (b.inverting()) {
        b.rver(-800, 100, Pen::Blue);
        b.cver(-800, -400, Pen::Blue);
        b.rhor(-1600, 200);
        b.ground(-800, -800, Pen::Blue);
        b.ground(-200, -800);
        b.label(2, -500, -100);
        b.label(3, -450, -600);
        b.label(0, -1400, 450);
        b.text("V_IN", -1950, 200);
        b.whor(-1800, 200, 200);
        b.whor(-1200, 200, 1200);
        b.wver(-800, 200, 100, Pen::Blue);
        b.wver(-800, -300, 100, Pen::Blue);
        b.centre(225, 300);
    } else {
        b.rhor(-1000, 200);
        b.ground(-1200, 0);
        b.label(0, -800, 450);
        b.text("V_IN", -200, -900);
        b.whor(-600, 200, 600);
        b.whor(-1200, 200, 200);
        b.wver(-1200, 200, 200);
        b.centre(600, 300);
    }
}

void capacitiveGZ20(Builder &b)
{
    b.gz(0, 0);
    b.partName();
    b.rhor(400, 1000);
    b.label(8, 600, 1250);
    b.text("V_IN", -350, 0);
    b.text("IN", 100, 0);
    b.text("GAIN", 150, 300);
    b.whor(-200, 0, 200);
    b.wver(200, 400, -600);
    b.whor(200, 1000, 200);
    b.whor(800, 1000, 500);
    b.wver(1300, 1000, 1000);
    capacitiveLoad(b);
    currentLimitResistor(b, ClForm::A, true, false);
    gz20Compensation(b);
    b.centre(1025, 300);
}

void capacitiveGZ23(Builder &b)
{
    b.gz(0, 0);
    b.partName();
    b.rver(150, -500);
    b.ground(150, -1000);
    b.label(8, -150, -700);
    b.text("V_IN", -350, 0);
    b.text("IN", 100, 0);
    b.text("GAIN", 150, -300);
    b.whor(-200, 0, 200);
    b.wver(150, -425, 75);
    b.wver(150, -900, 100);
    capacitiveLoad(b);
    currentLimitResistor(b, ClForm::B, true, false);
    gz23Compensation(b);
    b.centre(1025, -250);
}

void capacitiveKW314(Builder &b)
{
    b.gz(0, 0);
    b.partName();
    b.ground(150, -800);
    b.text("V_IN", -350, 0);
    b.text(b.inverting() ? "-IN" : "+IN", 100, 0);
    // Only the part that gives the circuit its name has a gain pin there.
    b.text(b.part().getAmpName() == QLatin1String("KW314") ? "GAIN" : "GND", 150, -300);
    b.whor(-200, 0, 200);
    b.wver(150, -425, 375);
    capacitiveLoad(b);
    kw314Compensation(b);
    currentLimitResistor(b, ClForm::B, true, false);
    b.centre(1025, -250);
}

void capacitiveKW349(Builder &b)
{
    b.gz(0, 0);
    b.partName();
    b.text("V_IN", -350, 0);
    b.text("IN", 100, 0);
    b.whor(-200, 0, 200);
    capacitiveLoad(b);
    // No riser from a feedback network here: R_CL brings its own down to the output line.
    currentLimitResistor(b, ClForm::A, true, true);
    b.centre(1025, 300);
}

// ------------------------------------------------ composite capacitive circuits

void compositeCapacitiveNormal(Builder &b)
{
    b.oa(-1200, -200);
    b.pa(0, 0);
    b.rhor(-1000, 1400);
    b.ground(-1200, 1200);
    b.rhor(400, 1000);
    b.chor(400, 1400, Pen::Green);
    b.rhor(-2400, -50);
    b.rver(-1600, 1000);
    b.cver(-2000, 1000, Pen::Green);
    capacitiveLoad(b);
    b.label(0, -800, 1650);
    feedbackPairLabels(b, 1650);
    b.label(18, -2200, 200);
    b.label(19, -1200, 800);
    b.label(22, -2450, 800);
    b.text("HOST", -1000, -200);
    b.partName();

    b.whor(-600, -200, 600);

    b.wver(-200, 1400, 1200);
    b.whor(-200, 200, 200);
    b.whor(-600, 1400, 400);
    b.whor(-1200, 1400, 200);
    b.wver(-1200, 1400, 200);
    b.whor(-200, 1000, 600);
    b.whor(800, 1000, 500);
    b.whor(-200, 1400, 600, Pen::Green);
    b.whor(800, 1400, 500, Pen::Green);

    b.wver(1300, 1800, 1800);
    b.whor(-1600, 1800, 2900);
    b.wver(-1600, 1800, 800);
    b.wver(-1600, 600, 650);

    b.wver(-2000, 1100, 100, Pen::Green);
    b.whor(-2000, 1100, 400, Pen::Green);
    b.wver(-2000, 600, 100, Pen::Green);
    b.whor(-2000, 500, 400, Pen::Green);

    b.whor(-2000, -50, 800);
    b.whor(-2600, -50, 200);
    b.whor(-1400, -350, 200);
    b.wver(-1400, -350, 200);

    currentLimitResistor(b, ClForm::A, false, false);
    externalCompensation(b);
    if (b.inverting()) {
        b.rver(-1800, -150, Pen::Blue);
        b.cver(-1800, -650, Pen::Blue);
        b.ground(-1800, -1050, Pen::Blue);
        b.ground(-1400, -550);
        b.label(20, -2200, -400);
        b.label(21, -2250, -900);
        b.text("V_IN", -2800, -50);
        b.wver(-1800, -50, 100, Pen::Blue);
        b.wver(-1800, -550, 100, Pen::Blue);
    } else {
        b.text("V_IN", -1400, -650);
        b.wver(-2600, -50, 200);
        b.ground(-2600, -250);
    }
    b.centre(-200, 300);
}

void compositeCapacitiveBooster(Builder &b, StabCircuit circuit)
{
    b.oa(-1200, 0);
    b.gz(0, 0);
    b.rhor(-2500, 150);
    b.rhor(-1100, 1400);
    b.chor(-1100, 1000, Pen::Green);
    capacitiveLoad(b);
    b.label(18, -2300, 400);
    b.label(19, -900, 1650);
    b.label(22, -900, 700);
    b.text("HOST", -1000, 0);
    b.partName();
    b.text("IN", 100, 0);

    b.whor(-600, 0, 600);
    b.whor(-1400, -150, 200);
    b.wver(-1400, -150, 200);
    b.whor(-2100, 150, 900);
    b.whor(-2700, 150, 200);
    b.wver(-2700, 150, 200);
    b.wver(-1500, 1400, 1250);
    b.whor(-1500, 1400, 400);
    b.whor(-700, 1400, 2000);
    b.wver(1300, 1400, 1400);
    b.whor(-1500, 1000, 400, Pen::Green);
    b.whor(-700, 1000, 400, Pen::Green);
    b.wver(-300, 1400, 400, Pen::Green);

    if (b.inverting()) {
        b.rver(-1800, 50, Pen::Blue);
        b.cver(-1800, -450, Pen::Blue);
        b.ground(-1800, -850, Pen::Blue);
        b.ground(-1400, -350);
        b.label(20, -2200, -300);
        b.label(21, -2250, -800);
        b.text("V_IN", -2700, -200);
        b.wver(-1800, 150, 100, Pen::Blue);
        b.wver(-1800, -350, 100, Pen::Blue);
    } else {
        b.text("V_IN", -1400, -500);
        b.ground(-2700, -50);
    }

    switch (circuit) {
    case StabCircuit::CompositeCapacitiveGZ20:
        b.rhor(400, 1000);
        b.label(8, 600, 1250);
        b.wver(200, 400, -600);
        b.whor(200, 1000, 200);
        b.whor(800, 1000, 500);
        b.text("GAIN", 150, 300);
        currentLimitResistor(b, ClForm::A, true, false);
        gz20Compensation(b);
        break;
    case StabCircuit::CompositeCapacitiveGZ23:
        b.rver(150, -500);
        b.label(8, -150, -700);
        b.wver(150, -425, 75);
        b.wver(150, -900, 100);
        b.ground(150, -1000);
        b.text("GAIN", 150, -300);
        currentLimitResistor(b, ClForm::B, true, false);
        gz23Compensation(b);
        break;
    default: // KW349: no gain network, no compensation
        currentLimitResistor(b, ClForm::A, true, false);
        break;
    }
    b.centre(-150, 300);
}

// ------------------------------------------------ inductive circuits

// Load resistor and inductor, the sense resistor to ground and the sense stage above it.
void inductiveLoad(Builder &b, double gainLabelX)
{
    b.rhor(1500, 0);
    b.label(15, 1700, 300);
    b.lhor(2000, 0);
    b.label(16, 2200, 250);
    b.rver(2600, -300);
    b.label(12, 2300, -600);
    b.upTri(2600, 600);
    b.label(14, gainLabelX, 800);
    b.whor(1000, 0, 500);
    b.whor(1900, 0, 100);
    b.whor(2400, 0, 200);
    b.wver(2600, 600, 900);
    b.wver(2600, -700, 100);
    b.ground(2600, -800);
}

// R_CL of the inductive circuits: a plain caption, since these circuits do not model it.
// Without it the power amplifiers' R_D + C_FB branch closes onto the output line in green.
void inductiveCurrentLimit(Builder &b, bool powerAmp, bool riser)
{
    if (b.currentLimit()) {
        b.rhor(800, 400);
        // Below its resistor: above it, C_FB's value has the room.
        b.text(QStringLiteral("R_CL"), 1000, 600, kTopCentre, -1, QPointF(0, -320));
        b.whor(700, 400, 100);
        b.wver(700, 400, 250);
        b.whor(1200, 400, 100);
        if (riser) b.wver(1300, 400, 400);
        if (!powerAmp) b.text("CL", 650, 100);
    } else if (powerAmp) {
        b.wver(1300, 400, 400, Pen::Green);
    }
}

// Power amplifier with R_IN, R_FB from the sense stage, and R_D + C_FB to its output.
void inductivePowerStage(Builder &b)
{
    b.rhor(0, 1000, Pen::Green);
    b.label(11, 200, 750);
    b.chor(600, 1000, Pen::Green);
    // Below the capacitor, beside R_D's: above it runs the R_FB branch.
    b.label(13, 1050, 1200, kTopCentre, QPointF(-250, -370));
    b.rhor(400, 1400);
    b.label(10, 600, 1650);
}

void inductiveNormal(Builder &b)
{
    b.pa(0, 0);
    b.partName();
    b.rhor(-800, 200);
    b.label(9, -600, 450);
    inductivePowerStage(b);
    inductiveLoad(b, 2250);

    b.whor(-1000, 200, 200);
    b.whor(-400, 200, 400);
    b.wver(-200, 1400, 1200);
    b.whor(-200, 1400, 600);
    b.whor(800, 1400, 1800);
    b.wver(2600, 1400, 400);
    b.whor(-200, -200, 200);
    b.wver(-200, -200, 600);
    b.whor(-200, 1000, 200, Pen::Green);
    b.whor(400, 1000, 200, Pen::Green);
    b.whor(1000, 1000, 300, Pen::Green);
    b.wver(1300, 1000, 600, Pen::Green);

    inductiveCurrentLimit(b, true, true);
    externalCompensation(b);
    if (b.inverting()) {
        b.text("V_IN", -1150, 200);
        b.ground(-200, -800);
    } else {
        b.text("V_IN", -200, -950);
        b.wver(-1000, 200, 200);
        b.ground(-1000, 0);
    }
    b.centre(825, 300);
}

void inductiveGZ20(Builder &b)
{
    b.gz(0, 0);
    b.partName();
    b.rhor(400, 1200);
    b.label(17, 600, 1450);
    inductiveLoad(b, 2200);
    b.text("V_IN", -350, 0);
    b.whor(-200, 0, 200);
    b.whor(200, 1200, 200);
    b.wver(200, 1200, 800);
    b.whor(800, 1200, 1800);
    b.wver(2600, 1200, 200);
    gz20Compensation(b);
    inductiveCurrentLimit(b, false, true);
    b.text("IN", 100, 0);
    b.text("GAIN", 150, 300);
    b.centre(1225, 300);
}

void compositeInductiveNormal(Builder &b)
{
    b.oa(-1200, -200);
    b.text("HOST", -1000, -200);
    b.pa(0, 0);
    b.partName();
    b.rhor(-1000, 1400);
    b.label(9, -800, 1650);
    inductivePowerStage(b);
    inductiveLoad(b, 2200);
    b.rhor(-2400, -50);
    b.label(18, -2200, 200);
    b.rver(-1600, 1000);
    b.label(19, -1200, 800);
    b.cver(-2000, 1000, Pen::Green);
    b.label(22, -2450, 800);

    b.whor(-200, 200, 200);
    b.whor(-600, 1400, 400);
    b.whor(-200, 1400, 600);
    b.wver(-200, 1400, 1200);
    b.whor(-1200, 1400, 200);
    b.wver(-1200, 1400, 200);
    b.ground(-1200, 1200);
    b.whor(-600, -200, 600);
    b.whor(800, 1400, 1800);
    b.wver(2600, 1800, 800);
    b.whor(-1600, 1800, 4200);
    b.wver(-1600, 1800, 800);
    b.wver(-1600, 600, 650);
    b.whor(-2000, -50, 800);
    b.whor(-2600, -50, 200);
    b.whor(-1400, -350, 200);
    b.wver(-1400, -350, 200);
    b.whor(-200, 1000, 200, Pen::Green);
    b.whor(400, 1000, 200, Pen::Green);
    b.whor(1000, 1000, 300, Pen::Green);
    b.wver(1300, 1000, 600, Pen::Green);
    b.wver(-2000, 1100, 100, Pen::Green);
    b.whor(-2000, 1100, 400, Pen::Green);
    b.wver(-2000, 600, 100, Pen::Green);
    b.whor(-2000, 500, 400, Pen::Green);

    inductiveCurrentLimit(b, true, true);
    externalCompensation(b);
    if (b.inverting()) {
        b.rver(-1800, -150, Pen::Blue);
        b.label(20, -2200, -400);
        b.cver(-1800, -650, Pen::Blue);
        b.label(21, -2250, -900);
        b.text("V_IN", -2800, -50);
        b.wver(-1800, -50, 100, Pen::Blue);
        b.wver(-1800, -550, 100, Pen::Blue);
        b.ground(-1800, -1050, Pen::Blue);
        b.ground(-1400, -550);
    } else {
        b.text("V_IN", -1400, -700);
        b.wver(-2600, -50, 200);
        b.ground(-2600, -250);
    }
    b.centre(0, 300);
}

void compositeInductiveGZ20(Builder &b)
{
    b.oa(-1200, 0);
    b.text("HOST", -1000, 0);
    b.gz(0, 0);
    b.partName();
    b.rhor(400, 800);
    b.label(17, 600, 1050);
    b.rhor(-1100, 1200, Pen::Green);
    b.label(11, -900, 950);
    b.chor(-500, 1200, Pen::Green);
    b.label(13, -300, 900);
    inductiveLoad(b, 2200);
    b.rhor(-2500, 150);
    b.label(18, -2300, 400);
    b.rhor(2000, 1600);
    b.label(19, 2000, 1850);
    b.chor(2000, 1200, Pen::Green);
    b.label(22, 1800, 1050);

    b.whor(-600, 0, 600);
    b.whor(200, 800, 200);
    b.wver(200, 800, 400);
    b.whor(800, 800, 500);
    b.wver(1300, 800, 800);
    b.wver(2600, 1600, 600);
    b.whor(2400, 1600, 200);
    b.whor(-1500, 1600, 3500);
    b.wver(-1500, 1600, 1450);
    b.whor(-2100, 150, 900);
    b.whor(-2700, 150, 200);
    b.wver(-2700, 150, 200);
    b.whor(-1400, -150, 200);
    b.wver(-1400, -150, 200);
    b.whor(-1500, 1200, 400, Pen::Green);
    b.whor(-700, 1200, 200, Pen::Green);
    b.whor(-100, 1200, 1400, Pen::Green);
    b.wver(1300, 1200, 400, Pen::Green);
    b.wver(1800, 1600, 400, Pen::Green);
    b.whor(1800, 1200, 200, Pen::Green);
    b.whor(2400, 1200, 200, Pen::Green);

    gz20Compensation(b);
    // The gain network's wire down x = 1300 already reaches the output line.
    inductiveCurrentLimit(b, false, false);
    b.text("IN", 100, 0);
    b.text("GAIN", 150, 300);
    if (b.inverting()) {
        b.rver(-1800, 50, Pen::Blue);
        b.label(20, -2200, -300);
        b.cver(-1800, -450, Pen::Blue);
        b.label(21, -2250, -800);
        b.text("V_IN", -2700, -200);
        b.wver(-1800, 150, 100, Pen::Blue);
        b.wver(-1800, -350, 100, Pen::Blue);
        b.ground(-1800, -850, Pen::Blue);
        b.ground(-1400, -350);
    } else {
        b.text("V_IN", -1400, -500);
        b.ground(-2700, -50);
    }
    b.centre(50, 300);
}

} // namespace

StabSchematic layoutCompensationNetwork(const amp &part, int compOption)
{
    StabSchematic s;
    const int n = part.getSROptions();
    const double c0 = part.getCcomp(0);
    const bool network = !(n < 2 && c0 == 0);
    bool resistor = false;
    for (int i = 0; i < n; ++i)
        resistor = resistor || part.getRcomp(i) != 0;

    StabSchematicInput in;
    in.compOption = compOption;
    Builder b(s, part, in);
    if (resistor) {
        b.rver(400, -600, Pen::DarkRed);
        b.wver(400, -600, -300, Pen::DarkRed);
        b.wver(400, -1000, 100, Pen::DarkRed);
        b.whor(400, -1100, 400, Pen::DarkRed);
        b.wver(800, -1000, 100, Pen::DarkRed);
        b.cver(800, -600, Pen::DarkRed);
        b.wver(800, -600, -500, Pen::DarkRed);
        b.text(ccompText(part, compOption), 1000, -800, kLeftMiddle, kSlotCcomp);
        b.text(rcompText(part, compOption), 300, -800, kRightMiddle, kSlotRcomp);
    } else if (network) {
        b.chor(400, -600, Pen::DarkRed);
        b.wver(400, -600, -300, Pen::DarkRed);
        b.wver(800, -600, -500, Pen::DarkRed);
        b.text(ccompText(part, compOption), 600, -850, kTopCentre, kSlotCcomp);
    }
    return s;
}

StabSchematic layoutStabSchematic(const amp &part, const StabSchematicInput &in)
{
    StabSchematic s;
    s.circuit = chooseStabCircuit(in.capacitive, in.composite, part.getCircuitType());
    Builder b(s, part, in);
    switch (s.circuit) {
    case StabCircuit::None:
        break;
    case StabCircuit::Capacitive:
        capacitiveNormal(b);
        break;
    case StabCircuit::CapacitiveGZ20:
        capacitiveGZ20(b);
        break;
    case StabCircuit::CapacitiveGZ23:
        capacitiveGZ23(b);
        break;
    case StabCircuit::CapacitiveKW314:
        capacitiveKW314(b);
        break;
    case StabCircuit::CapacitiveKW349:
        capacitiveKW349(b);
        break;
    case StabCircuit::CompositeCapacitive:
        compositeCapacitiveNormal(b);
        break;
    case StabCircuit::CompositeCapacitiveGZ20:
    case StabCircuit::CompositeCapacitiveGZ23:
    case StabCircuit::CompositeCapacitiveKW349:
        compositeCapacitiveBooster(b, s.circuit);
        break;
    case StabCircuit::Inductive:
        inductiveNormal(b);
        break;
    case StabCircuit::InductiveGZ20:
        inductiveGZ20(b);
        break;
    case StabCircuit::CompositeInductive:
        compositeInductiveNormal(b);
        break;
    case StabCircuit::CompositeInductiveGZ20:
        compositeInductiveGZ20(b);
        break;
    }
    return s;
}

} // namespace stab
