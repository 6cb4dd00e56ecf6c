#include "ihcp/pumpcheck.h"

#include "ihcp/pumpmodel.h"
#include "values/engvalues.h"

namespace ihcp {

namespace {

// How one value is named in the notes and what the model cannot take from it.
struct Rule
{
    const char *member;
    const char *name;
    const char *unit;
    const char *quantity;         // with its article: "a resistance"
    const char *ifZero = nullptr; // why a value of 0 cannot be used; null: 0 is fine
    const char *ifOpen = nullptr; // why "open" cannot be used; null: open is fine
};

// A text that reads as 0, as a note names it: "nan" is no figure.
QString zeroName(const QString &text)
{
    const QString word = eng::nonFigureWord(text);
    return word.isEmpty() ? QStringLiteral("0") : word;
}

class Checker
{
public:
    explicit Checker(PumpCheck &c) : c(c) {}

    // Reads a circuit value by its rule; false (and a note) when the model cannot use it.
    bool value(const Rule &rule, const QString &text, double *out)
    {
        bool readable = true;
        const double v = eng::parseItemText(text, &readable);
        *out = v;
        const QString name = QString::fromUtf8(rule.name);
        QString why;
        if (!readable)
            why = name + QStringLiteral(" cannot be read");
        else if (v < 0)
            why = name + QStringLiteral(" is ") +
                  eng::noteFigure(v, eng::engString(v, QString::fromUtf8(rule.unit))) +
                  QStringLiteral(": ") + QString::fromUtf8(rule.quantity) +
                  QStringLiteral(" cannot be negative");
        else if (v == 0 && rule.ifZero)
            why = name + QStringLiteral(" is ") + zeroName(text) + QStringLiteral(": ") +
                  QString::fromUtf8(rule.ifZero);
        else if (v >= infiniteValue && rule.ifOpen)
            why = name + QStringLiteral(" is open: ") + QString::fromUtf8(rule.ifOpen);
        if (why.isEmpty()) return true;
        refuse(rule.member, why);
        if (c.circuit) c.circuitWhy = why;
        c.circuit = false;
        return false;
    }

    // A tolerance in percent: "0 (trim pot)" or a readable value from 0 up to below 100 %
    // (at 100 % a corner of the band reaches a resistance of 0).
    void tolerance(const char *member, const char *resistor, const QString &text)
    {
        if (text == toleranceSteps().constLast()) return;
        bool readable = true;
        const double v = eng::parseItemText(text, &readable);
        const QString name = QStringLiteral("The tolerance of ") + QString::fromUtf8(resistor);
        QString why;
        if (!readable)
            why = name + QStringLiteral(" cannot be read");
        else if (v < 0)
            why = name + QStringLiteral(" is ") +
                  eng::noteFigure(v, QString::number(v) + QStringLiteral(" %")) +
                  QStringLiteral(": a tolerance cannot be negative");
        else if (!(v < 100))
            why = name + QStringLiteral(" is 100 % or more: its band reaches 0 Ω");
        if (why.isEmpty()) return;
        refuse(member, why);
        c.tolerances = false;
    }

private:
    void refuse(const char *member, const QString &why)
    {
        c.unusable << QString::fromLatin1(member);
        c.notes << PumpNote{QStringLiteral("\t") + why, NoteColour::Red};
    }

    PumpCheck &c;
};

} // namespace

PumpCheck checkPump(const PumpTexts &t)
{
    static const Rule rin{"IHCPRin",
                          "R_IN",
                          "Ω",
                          "a resistance",
                          "the transconductance is unbounded",
                          "no input reaches the amplifier"};
    static const Rule rfn{"IHCPRfn",      "R_FN",  "Ω",
                          "a resistance", nullptr, "the amplifier has no negative feedback"};
    static const Rule rfp{
        "IHCPRfp", "R_FP", "Ω", "a resistance", "the load node is tied to the non-inverting input",
        nullptr};
    static const Rule rs{"IHCPRs",
                         "R_S",
                         "Ω",
                         "a resistance",
                         "the transconductance is unbounded",
                         "no current reaches the load"};
    static const Rule rd{"IHCPRd", "R_D", "Ω", "a resistance"};
    static const Rule cd{"IHCPCd", "C_D", "F", "a capacitance"};
    static const Rule rload{"IHCPRload", "R_LOAD", "Ω", "a resistance"};
    static const Rule cload{"IHCPCload", "C_LOAD", "F", "a capacitance"};
    static const Rule lload{"IHCPLload", "L_LOAD", "H", "an inductance"};
    static const Rule freq{"IHCPFreq", "F", "Hz", "a frequency"};

    PumpCheck c;
    Checker check(c);
    double v = 0;
    check.value(rin, t.rin, &v);
    check.value(rfn, t.rfn, &v);
    check.value(rfp, t.rfp, &v);
    check.value(rs, t.rs, &v);
    check.value(rd, t.rd, &v);
    check.value(cd, t.cd, &v);
    bool load = check.value(rload, t.rload, &v);
    const bool openR = v >= infiniteValue;
    // The load keeps one reactive element: an inductance when the capacitance is "short".
    const bool inductive = t.cload == QLatin1String("short");
    double x = 0;
    load = (inductive ? check.value(lload, t.lload, &x) : check.value(cload, t.cload, &x)) && load;
    load = check.value(freq, t.freq, &v) && load;
    check.tolerance("IHCPRinT", "R_IN", t.rinT);
    check.tolerance("IHCPRfnT", "R_FN", t.rfnT);
    check.tolerance("IHCPRfpT", "R_FP", t.rfpT);
    check.tolerance("IHCPRsT", "R_S", t.rsT);

    if (load) {
        const comp zl = loadImpedance(t.rload, t.cload, t.lload, t.freq);
        c.openLoad =
            openR || (inductive && x >= infiniteValue) || !(zl.magnitude() < infiniteValue);
        if (c.openLoad)
            c.notes << PumpNote{QStringLiteral("\tThe load is open: no current can flow into it"),
                                NoteColour::Red};
    }
    return c;
}

} // namespace ihcp
