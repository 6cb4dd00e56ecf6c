// The stability schematic without a window: the label filled and the values they edit, how a
// click is matched to a label, the options a part allows, the compensation option kept in
// range, the circuit chosen for each load, loop and circuit type, and what each circuit draws.
#include "catalog/amp.h"
#include "stability/stabschematic.h"

#include <QtTest>

#include <algorithm>

using namespace stab;

Q_DECLARE_METATYPE(stab::StabCircuit)
Q_DECLARE_METATYPE(stab::InputCheck)

namespace {

// A part made the way the catalog reader makes one, column by column; the option count comes
// before the lists it sizes. The default is a plain amplifier with an external current limit
// and three compensation capacitors without resistors, like most parts of the catalog.
amp makePart(const QMap<QString, QStringList> &overrides = {})
{
    const QList<QPair<QString, QStringList>> base = {
        {"ampName", {"TST1"}},      {"SRboost", {"N"}},
        {"SROptions", {"3"}},       {"Ccomp", {"4.7", "15", "47"}},
        {"Rcomp", {"0", "0", "0"}}, {"CircuitType", {"normal"}},
        {"Vbe", {"0.65"}},          {"CLint", {"N"}},
        {"Inputs", {"both"}},       {"Loads", {"all"}},
    };
    amp part;
    for (const auto &column : base) {
        catalog::CellCursor cells(overrides.value(column.first, column.second));
        part.readColumn(column.first, cells);
    }
    return part;
}

amp typedPart(const QString &type, const QString &name = QStringLiteral("TST1"))
{
    return makePart({{"CircuitType", {type}}, {"ampName", {name}}});
}

// Every label slot a drawing fills, value labels and the compensation texts, in slot order.
QList<int> filledSlots(const StabSchematic &s)
{
    QList<int> filled;
    for (const StabValueLabel &l : s.labels)
        filled << l.slot;
    for (const StabText &t : s.texts)
        if (t.slot >= 0) filled << t.slot;
    std::sort(filled.begin(), filled.end());
    return filled;
}

const StabText *textAt(const StabSchematic &s, const QPointF &at)
{
    for (const StabText &t : s.texts)
        if (t.pos == at) return &t;
    return nullptr;
}

const StabValueLabel *labelOf(const StabSchematic &s, int slot)
{
    for (const StabValueLabel &l : s.labels)
        if (l.slot == slot) return &l;
    return nullptr;
}

bool hasStroke(const StabSchematic &s, const StabStroke &stroke)
{
    return s.strokes.contains(stroke);
}

StabSchematic layout(const amp &part, bool capacitive, bool composite, bool inverting)
{
    StabSchematicInput in;
    in.capacitive = capacitive;
    in.composite = composite;
    in.inverting = inverting;
    return layoutStabSchematic(part, in);
}

// Every point a stroke covers, as the schematic kit draws it.
QVector<QPointF> strokeExtent(const StabStroke &st)
{
    const double x = st.x, y = st.y;
    switch (st.kind) {
    case StabPrimitive::Whor:
        return {{x, y}, {x + st.len, y}};
    case StabPrimitive::Wver:
        return {{x, y}, {x, y - st.len}};
    case StabPrimitive::Rhor:
    case StabPrimitive::Chor:
        return {{x, y - 150}, {x + 400, y + 150}};
    case StabPrimitive::Lhor:
        return {{x, y}, {x + 400, y - 150}};
    case StabPrimitive::Rver:
    case StabPrimitive::Cver:
        return {{x - 150, y}, {x + 150, y - 400}};
    case StabPrimitive::G:
        return {{x - 50, y}, {x + 50, y - 100}};
    case StabPrimitive::PA:
    case StabPrimitive::GZ:
        return {{x, y - 500}, {x + 1000, y + 500}};
    case StabPrimitive::OA:
        return {{x, y - 300}, {x + 600, y + 300}};
    case StabPrimitive::UpTri:
        return {{x - 200, y}, {x + 200, y + 400}};
    }
    return {};
}

} // namespace

class TestStabSchematic : public QObject
{
    Q_OBJECT

private slots:
    void labelSlots_data();
    void labelSlots();
    void clickOrder();
    void sameLabelPlace_data();
    void sameLabelPlace();
    void allowedOptions_data();
    void allowedOptions();
    void validCompOption_data();
    void validCompOption();
    void circuitChoice_data();
    void circuitChoice();
    void labelsOfEachCircuit_data();
    void labelsOfEachCircuit();
    void drawingStaysInView_data();
    void drawingStaysInView();
    void labelsShowTheValues();
    void loadNetworkAndPens();
    void hostFeedbackReachesOutputLine();
    void currentLimitResistor();
    void compensationNetwork_data();
    void compensationNetwork();
    void boosterCompensation_data();
    void boosterCompensation();
    void kw314PinTexts_data();
    void kw314PinTexts();
    void symbols();
};

// ---------------------------------------------------------------- filled and clicks

void TestStabSchematic::labelSlots_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("member"); // the CircuitValues member it edits, "" for none

    const QString ohm = QString::fromUtf8("Ω");
    QTest::newRow("0 R_IN capacitive") << 0 << "R_IN" << ohm << "RinC";
    QTest::newRow("1 R_FB capacitive") << 1 << "R_FB" << ohm << "RfbC";
    QTest::newRow("2 R_NG") << 2 << "R_NG" << ohm << "RngC";
    QTest::newRow("3 C_NG") << 3 << "C_NG"
                            << "F"
                            << "CngC";
    QTest::newRow("4 C_FB capacitive") << 4 << "C_FB"
                                       << "F"
                                       << "CfbC";
    QTest::newRow("5 R_CL") << 5 << "R_CL" << ohm << "RclC";
    QTest::newRow("6 R_ISO") << 6 << "R_ISO" << ohm << "RisoC";
    QTest::newRow("7 C_LOAD") << 7 << "C_LOAD"
                              << "F"
                              << "CLoadStab";
    QTest::newRow("8 R_G capacitive boosters") << 8 << "R_G" << ohm << "RgStab";
    QTest::newRow("9 R_IN inductive") << 9 << "R_IN" << ohm << "RinL";
    QTest::newRow("10 R_FB inductive") << 10 << "R_FB" << ohm << "RfbL";
    QTest::newRow("11 R_D") << 11 << "R_D" << ohm << "RdL";
    QTest::newRow("12 R_S") << 12 << "R_S" << ohm << "RsL";
    QTest::newRow("13 C_FB inductive") << 13 << "C_FB"
                                       << "F"
                                       << "CfbL";
    QTest::newRow("14 R_S GAIN without unit") << 14 << "R_S GAIN"
                                              << ""
                                              << "RsGainL";
    QTest::newRow("15 R_LOAD") << 15 << "R_LOAD" << ohm << "RloadL";
    QTest::newRow("16 L_LOAD") << 16 << "L_LOAD"
                               << "H"
                               << "LLoadStab";
    QTest::newRow("17 R_G inductive booster") << 17 << "R_G" << ohm << "RgStabL";
    QTest::newRow("18 HOST R_IN") << 18 << "HOST R_IN" << ohm << "hostRin";
    QTest::newRow("19 HOST R_FB") << 19 << "HOST R_FB" << ohm << "compRfb";
    QTest::newRow("20 HOST R_NG") << 20 << "HOST R_NG" << ohm << "hostRng";
    QTest::newRow("21 HOST C_NG") << 21 << "HOST C_NG"
                                  << "F"
                                  << "hostCng";
    QTest::newRow("22 HOST C_FB") << 22 << "HOST C_FB"
                                  << "F"
                                  << "compCfb";
    QTest::newRow("23 C_COMP chooses the option") << 23 << ""
                                                  << ""
                                                  << "";
    QTest::newRow("24 R_COMP only explains") << 24 << ""
                                             << ""
                                             << "";
    QTest::newRow("past the last slot") << 25 << ""
                                        << ""
                                        << "";
}

void TestStabSchematic::labelSlots()
{
    QFETCH(int, slot);
    QFETCH(QString, caption);
    QFETCH(QString, unit);
    QFETCH(QString, member);

    QCOMPARE(stabLabelCaption(slot), caption);
    QCOMPARE(stabLabelUnit(slot), unit);
    // Each member holds its own name, so the member a slot reaches is told by its text.
    CircuitValues v;
    v.RinC = "RinC", v.RfbC = "RfbC", v.RngC = "RngC", v.CngC = "CngC", v.CfbC = "CfbC";
    v.RclC = "RclC", v.RisoC = "RisoC", v.CLoadStab = "CLoadStab", v.RgStab = "RgStab";
    v.RinL = "RinL", v.RfbL = "RfbL", v.RdL = "RdL", v.RsL = "RsL", v.CfbL = "CfbL";
    v.RsGainL = "RsGainL", v.RloadL = "RloadL", v.LLoadStab = "LLoadStab";
    v.RgStabL = "RgStabL", v.hostRin = "hostRin", v.compRfb = "compRfb";
    v.hostRng = "hostRng", v.hostCng = "hostCng", v.compCfb = "compCfb";
    QString CircuitValues::*value = stabLabelValue(slot);
    if (member.isEmpty()) {
        QVERIFY(!value);
    } else {
        QVERIFY(value);
        QCOMPARE(v.*value, member);
    }
}

void TestStabSchematic::clickOrder()
{
    // The inverting-input network and the host's noise-gain network are tested before the
    // feedback resistor they sit beside; the compensation texts come last.
    const QVector<int> expected{0,  2,  3,  1,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                13, 14, 15, 16, 17, 18, 20, 21, 19, 22, 23, 24};
    QCOMPARE(stabClickOrder(), expected);
}

void TestStabSchematic::sameLabelPlace_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<bool>("same");

    QTest::newRow("equal") << 1700.0 << 1700.0 << true;
    QTest::newRow("twelve digits agree") << 1700.0 << 1700.0 + 1e-10 << true;
    QTest::newRow("a hundredth apart") << 1700.0 << 1700.01 << false;
    QTest::newRow("opposite signs") << -200.0 << 200.0 << false;
    QTest::newRow("zero and a rounding residue") << 0.0 << 1e-13 << true;
    QTest::newRow("zero and a small value") << 0.0 << 1e-11 << false;
    QTest::newRow("zero and zero") << 0.0 << 0.0 << true;
}

void TestStabSchematic::sameLabelPlace()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(bool, same);
    QCOMPARE(stab::sameLabelPlace(a, b), same);
    QCOMPARE(stab::sameLabelPlace(b, a), same);
    QCOMPARE(stab::sameLabelPlace(QPointF(a, 250), QPointF(b, 250)), same);
    QVERIFY(!stab::sameLabelPlace(QPointF(a, 250), QPointF(a, 300)));
}

// ---------------------------------------------------------------- options

void TestStabSchematic::allowedOptions_data()
{
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<QString>("loads");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("capacitive");
    QTest::addColumn<bool>("composite");
    // What comes out:
    QTest::addColumn<bool>("inductiveEnabled");
    QTest::addColumn<bool>("capacitiveAfter");
    QTest::addColumn<bool>("compositeEnabled");
    QTest::addColumn<bool>("compositeAfter");
    QTest::addColumn<bool>("invEnabled");
    QTest::addColumn<bool>("nonEnabled");
    QTest::addColumn<InputCheck>("check");

    using IC = InputCheck;
    QTest::newRow("both inputs, all loads: nothing changes")
        << "both"
        << "all"
        << "normal" << false << true << true << false << true << true << true << true << IC::Keep;
    QTest::newRow("capacitive-only part forces the capacitive load")
        << "both"
        << "voltage"
        << "normal" << false << false << false << true << true << false << true << true << IC::Keep;
    QTest::newRow("inverting-only part leaves the composite loop")
        << "inv"
        << "all"
        << "normal" << true << true << true << true << false << false << true << false
        << IC::Inverting;
    QTest::newRow("non-inverting-only part, single loop")
        << "non"
        << "Printhead"
        << "KW349" << true << false << false << true << true << false << false << true
        << IC::NonInverting;
    QTest::newRow("non-inverting-only part, composite loop: both inputs")
        << "non"
        << "all"
        << "normal" << true << true << true << true << true << true << true << true << IC::Keep;
    QTest::newRow("single booster with inductive load is non-inverting")
        << "both"
        << "all"
        << "GZ20" << false << false << true << false << true << false << false << true
        << IC::NonInverting;
    QTest::newRow("composite booster with inductive load keeps both")
        << "both"
        << "all"
        << "GZ20" << false << true << true << false << true << true << true << true << IC::Keep;
    QTest::newRow("single booster with capacitive load keeps both")
        << "both"
        << "all"
        << "GZ20" << true << false << true << true << true << false << true << true << IC::Keep;
    QTest::newRow("neither load button: not forced for an all-loads part")
        << "both"
        << "all"
        << "normal" << false << false << true << false << true << false << true << true << IC::Keep;
}

void TestStabSchematic::allowedOptions()
{
    QFETCH(QString, inputs);
    QFETCH(QString, loads);
    QFETCH(QString, type);
    QFETCH(bool, capacitive);
    QFETCH(bool, composite);
    StabOptionsInput in;
    in.inputs = inputs;
    in.loads = loads;
    in.circuitType = type;
    in.capacitive = capacitive;
    in.composite = composite;
    const StabOptions o = stab::allowedOptions(in);
    QTEST(o.inductiveEnabled, "inductiveEnabled");
    QTEST(o.capacitive, "capacitiveAfter");
    QTEST(o.compositeEnabled, "compositeEnabled");
    QTEST(o.composite, "compositeAfter");
    QTEST(o.invertingEnabled, "invEnabled");
    QTEST(o.nonInvertingEnabled, "nonEnabled");
    QTEST(o.check, "check");
}

void TestStabSchematic::validCompOption_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("kept");

    QTest::newRow("first of three") << 0 << 3 << 0;
    QTest::newRow("last of three") << 2 << 3 << 2;
    QTest::newRow("one past the last") << 3 << 3 << 0;
    QTest::newRow("left by a part with more options") << 4 << 1 << 0;
    QTest::newRow("negative from a damaged file") << -1 << 3 << 0;
    QTest::newRow("part without options") << 0 << 0 << 0;
}

void TestStabSchematic::validCompOption()
{
    QFETCH(int, option);
    QFETCH(int, count);
    QTEST(stab::validCompOption(option, count), "kept");
}

// ---------------------------------------------------------------- circuit choice

void TestStabSchematic::circuitChoice_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("capacitive");
    QTest::addColumn<bool>("composite");
    QTest::addColumn<bool>("inverting");
    QTest::addColumn<StabCircuit>("circuit");
    QTest::addColumn<QPointF>("centre");

    using C = StabCircuit;
    QTest::newRow("capacitive normal inverting")
        << "normal" << true << false << true << C::Capacitive << QPointF(225, 300);
    QTest::newRow("capacitive normal non-inverting")
        << "normal" << true << false << false << C::Capacitive << QPointF(600, 300);
    QTest::newRow("capacitive GZ20")
        << "GZ20" << true << false << true << C::CapacitiveGZ20 << QPointF(1025, 300);
    QTest::newRow("capacitive GZ23")
        << "GZ23" << true << false << true << C::CapacitiveGZ23 << QPointF(1025, -250);
    QTest::newRow("capacitive KW314")
        << "KW314" << true << false << false << C::CapacitiveKW314 << QPointF(1025, -250);
    QTest::newRow("capacitive KW349")
        << "KW349" << true << false << false << C::CapacitiveKW349 << QPointF(1025, 300);
    QTest::newRow("composite capacitive normal")
        << "normal" << true << true << true << C::CompositeCapacitive << QPointF(-200, 300);
    QTest::newRow("composite capacitive GZ20")
        << "GZ20" << true << true << true << C::CompositeCapacitiveGZ20 << QPointF(-150, 300);
    QTest::newRow("composite capacitive GZ23")
        << "GZ23" << true << true << false << C::CompositeCapacitiveGZ23 << QPointF(-150, 300);
    QTest::newRow("composite capacitive KW349")
        << "KW349" << true << true << true << C::CompositeCapacitiveKW349 << QPointF(-150, 300);
    QTest::newRow("composite capacitive KW314: nothing")
        << "KW314" << true << true << true << C::None << QPointF(0, 300);
    QTest::newRow("inductive normal")
        << "normal" << false << false << true << C::Inductive << QPointF(825, 300);
    QTest::newRow("inductive GZ20")
        << "GZ20" << false << false << false << C::InductiveGZ20 << QPointF(1225, 300);
    QTest::newRow("composite inductive normal")
        << "normal" << false << true << true << C::CompositeInductive << QPointF(0, 300);
    QTest::newRow("composite inductive GZ20")
        << "GZ20" << false << true << false << C::CompositeInductiveGZ20 << QPointF(50, 300);
    QTest::newRow("inductive GZ23: nothing")
        << "GZ23" << false << false << true << C::None << QPointF(0, 300);
    QTest::newRow("composite inductive KW349: nothing")
        << "KW349" << false << true << true << C::None << QPointF(0, 300);
    QTest::newRow("unknown type: nothing")
        << "Normal" << true << false << true << C::None << QPointF(0, 300);
}

void TestStabSchematic::circuitChoice()
{
    QFETCH(QString, type);
    QFETCH(bool, capacitive);
    QFETCH(bool, composite);
    QFETCH(bool, inverting);
    QFETCH(StabCircuit, circuit);
    QFETCH(QPointF, centre);

    QCOMPARE(chooseStabCircuit(capacitive, composite, type), circuit);
    const StabSchematic s = layout(typedPart(type), capacitive, composite, inverting);
    QCOMPARE(s.circuit, circuit);
    QCOMPARE(s.centre, centre);
    if (circuit == StabCircuit::None) {
        QVERIFY(s.strokes.isEmpty());
        QVERIFY(s.labels.isEmpty());
        QVERIFY(s.texts.isEmpty());
    } else {
        // Every circuit names the part inside the amplifier that drives the load.
        const StabText *name = textAt(s, QPointF(350, 0));
        QVERIFY(name);
        QCOMPARE(name->text, QStringLiteral("TST1"));
    }
}

// ---------------------------------------------------------------- what each circuit draws

void TestStabSchematic::labelsOfEachCircuit_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("capacitive");
    QTest::addColumn<bool>("composite");
    QTest::addColumn<bool>("inverting");
    QTest::addColumn<QList<int>>("filled");

    using L = QList<int>;
    QTest::newRow("capacitive inverting")
        << "normal" << true << false << true << L{0, 1, 2, 3, 4, 5, 6, 7, 23};
    QTest::newRow("capacitive non-inverting: no noise-gain network")
        << "normal" << true << false << false << L{0, 1, 4, 5, 6, 7, 23};
    QTest::newRow("capacitive GZ20") << "GZ20" << true << false << true << L{5, 6, 7, 8, 23};
    QTest::newRow("capacitive GZ23") << "GZ23" << true << false << true << L{5, 6, 7, 8, 23};
    QTest::newRow("capacitive KW314: R_COMP and C_COMP")
        << "KW314" << true << false << true << L{5, 6, 7, 23, 24};
    QTest::newRow("capacitive KW349: no compensation")
        << "KW349" << true << false << false << L{5, 6, 7};
    QTest::newRow("composite inverting")
        << "normal" << true << true << true << L{0, 1, 4, 5, 6, 7, 18, 19, 20, 21, 22, 23};
    QTest::newRow("composite non-inverting: no host noise-gain network")
        << "normal" << true << true << false << L{0, 1, 4, 5, 6, 7, 18, 19, 22, 23};
    QTest::newRow("composite GZ20 inverting")
        << "GZ20" << true << true << true << L{5, 6, 7, 8, 18, 19, 20, 21, 22, 23};
    QTest::newRow("composite GZ23 non-inverting")
        << "GZ23" << true << true << false << L{5, 6, 7, 8, 18, 19, 22, 23};
    QTest::newRow("composite KW349")
        << "KW349" << true << true << true << L{5, 6, 7, 18, 19, 20, 21, 22};
    QTest::newRow("inductive: R_CL is no value label")
        << "normal" << false << false << true << L{9, 10, 11, 12, 13, 14, 15, 16, 23};
    QTest::newRow("inductive GZ20")
        << "GZ20" << false << false << false << L{12, 14, 15, 16, 17, 23};
    QTest::newRow("composite inductive inverting")
        << "normal" << false << true << true
        << L{9, 10, 11, 12, 13, 14, 15, 16, 18, 19, 20, 21, 22, 23};
    QTest::newRow("composite inductive GZ20 non-inverting")
        << "GZ20" << false << true << false << L{11, 12, 13, 14, 15, 16, 17, 18, 19, 22, 23};
    QTest::newRow("inductive KW314: empty canvas") << "KW314" << false << false << true << L{};
}

void TestStabSchematic::labelsOfEachCircuit()
{
    QFETCH(QString, type);
    QFETCH(bool, capacitive);
    QFETCH(bool, composite);
    QFETCH(bool, inverting);
    QFETCH(QList<int>, filled);
    const StabSchematic s = layout(typedPart(type), capacitive, composite, inverting);
    QCOMPARE(filledSlots(s), filled);
    // Value labels carry their slot's caption and unit.
    for (const StabValueLabel &l : s.labels) {
        QCOMPARE(l.caption, stabLabelCaption(l.slot));
        QCOMPARE(l.unit, stabLabelUnit(l.slot));
    }
}

void TestStabSchematic::drawingStaysInView_data()
{
    labelsOfEachCircuit_data();
}

void TestStabSchematic::drawingStaysInView()
{
    QFETCH(QString, type);
    QFETCH(bool, capacitive);
    QFETCH(bool, composite);
    QFETCH(bool, inverting);
    const StabSchematic s = layout(typedPart(type), capacitive, composite, inverting);
    const QRectF view(s.centre.x() - kStabViewHalfWidth, s.centre.y() - kStabViewHalfHeight,
                      2 * kStabViewHalfWidth, 2 * kStabViewHalfHeight);
    for (const StabStroke &st : s.strokes)
        for (const QPointF &p : strokeExtent(st))
            QVERIFY2(
                view.contains(p),
                qPrintable(QString("stroke point %1, %2 outside the view").arg(p.x()).arg(p.y())));
    // Texts keep a margin for their own extent (two lines, about 500 units wide).
    const QRectF inner = view.adjusted(250, 150, -250, -150);
    for (const StabValueLabel &l : s.labels)
        QVERIFY2(inner.contains(l.pos), qPrintable(l.caption));
    for (const StabText &t : s.texts)
        QVERIFY2(view.contains(t.pos), qPrintable(t.text));
}

void TestStabSchematic::labelsShowTheValues()
{
    StabSchematicInput in;
    in.values.RfbC = QStringLiteral("47k");
    in.values.RgStab = QStringLiteral("5k");
    in.values.RgStabL = QStringLiteral("2k");
    in.values.RsGainL = QStringLiteral("10");
    const StabSchematic cap = layoutStabSchematic(makePart(), in);
    QCOMPARE(labelOf(cap, 1)->value, QStringLiteral("47k"));
    QCOMPARE(labelOf(cap, 1)->pos, QPointF(900, 1200));
    QCOMPARE(labelOf(cap, 4)->value, QStringLiteral("open"));
    QCOMPARE(labelOf(cap, 4)->pos, QPointF(800, 1600));

    // The two gain resistors are different values: R_G of the capacitive boosters ...
    const StabSchematic gz20 = layoutStabSchematic(typedPart("GZ20"), in);
    QCOMPARE(labelOf(gz20, 8)->value, QStringLiteral("5k"));
    QCOMPARE(labelOf(gz20, 8)->pos, QPointF(600, 1250));
    // ... and R_G of the inductive-load booster.
    in.capacitive = false;
    const StabSchematic gz20L = layoutStabSchematic(typedPart("GZ20"), in);
    QCOMPARE(labelOf(gz20L, 17)->value, QStringLiteral("2k"));
    QCOMPARE(labelOf(gz20L, 17)->pos, QPointF(600, 1450));
    QVERIFY(!labelOf(gz20L, 8));
    QCOMPARE(labelOf(gz20L, 14)->value, QStringLiteral("10"));
    QCOMPARE(labelOf(gz20L, 14)->unit, QString());
    QCOMPARE(labelOf(gz20L, 14)->pos, QPointF(2200, 800));
    // The single power amplifier puts R_S GAIN a little further right.
    const StabSchematic ind = layoutStabSchematic(makePart(), in);
    QCOMPARE(labelOf(ind, 14)->pos, QPointF(2250, 800));
}

void TestStabSchematic::loadNetworkAndPens()
{
    const StabSchematic s = layout(makePart(), true, false, true);
    // R_ISO in orange, C_LOAD and its ground in black, with the labels beside them.
    QVERIFY(hasStroke(s, {StabPrimitive::Rhor, StabPen::Orange, 1500, 0, 0}));
    QVERIFY(hasStroke(s, {StabPrimitive::Cver, StabPen::Black, 2200, -300, 0}));
    QVERIFY(hasStroke(s, {StabPrimitive::G, StabPen::Black, 2200, -700, 0}));
    QCOMPARE(labelOf(s, 6)->pos, QPointF(1700, 250));
    QCOMPARE(labelOf(s, 7)->pos, QPointF(1800, -500));
    // C_FB in green, the noise-gain network in blue, R_IN in black.
    QVERIFY(hasStroke(s, {StabPrimitive::Chor, StabPen::Green, 400, 1400, 0}));
    QVERIFY(hasStroke(s, {StabPrimitive::Rver, StabPen::Blue, -800, 100, 0}));
    QVERIFY(hasStroke(s, {StabPrimitive::Cver, StabPen::Blue, -800, -400, 0}));
    QVERIFY(hasStroke(s, {StabPrimitive::Rhor, StabPen::Black, -1600, 200, 0}));
    QVERIFY(textAt(s, QPointF(-1950, 200)));
    QCOMPARE(textAt(s, QPointF(-1950, 200))->text, QStringLiteral("V_IN"));

    QCOMPARE(stabPenColour(StabPen::Black), QColor(0, 0, 0));
    QCOMPARE(stabPenColour(StabPen::Green), QColor(0, 130, 0));
    QCOMPARE(stabPenColour(StabPen::Blue), QColor(0, 0, 150));
    QCOMPARE(stabPenColour(StabPen::Orange), QColor(255, 120, 0));
    QCOMPARE(stabPenColour(StabPen::DarkRed), QColor(150, 0, 0));

    // Non-inverting: R_IN to ground, the source under the non-inverting input.
    const StabSchematic non = layout(makePart(), true, false, false);
    QVERIFY(hasStroke(non, {StabPrimitive::Rhor, StabPen::Black, -1000, 200, 0}));
    QVERIFY(hasStroke(non, {StabPrimitive::G, StabPen::Black, -1200, 0, 0}));
    QCOMPARE(textAt(non, QPointF(-200, -900))->text, QStringLiteral("V_IN"));
    QCOMPARE(labelOf(non, 0)->pos, QPointF(-800, 450));
}

void TestStabSchematic::hostFeedbackReachesOutputLine()
{
    // With or without R_CL, the composite loop closes at the output line (1300, 0).
    for (const QString &type : QStringList{"normal", "GZ20", "GZ23", "KW349"}) {
        for (const QString &vbe : QStringList{"0.65", "0"}) {
            amp part = makePart({{"CircuitType", {type}}, {"Vbe", {vbe}}});
            const StabSchematic s = layout(part, true, true, true);
            bool reaches = false;
            for (const StabStroke &st : s.strokes)
                reaches = reaches || (st.kind == StabPrimitive::Wver && st.x == 1300 && st.y > 0 &&
                                      st.y - st.len == 0);
            QVERIFY2(reaches, qPrintable(type + " Vbe " + vbe));
        }
    }
}

void TestStabSchematic::currentLimitResistor()
{
    // An internal limit or no sense input: no R_CL, no slot 5, no "CL".
    for (const auto &columns :
         QList<QMap<QString, QStringList>>{{{"Vbe", {"0"}}}, {{"CLint", {"0.8"}}}}) {
        const amp part = makePart(columns);
        QVERIFY(!hasExternalCurrentLimit(part));
        const StabSchematic s = layout(part, true, false, true);
        QVERIFY(!filledSlots(s).contains(5));
        QVERIFY(!hasStroke(s, {StabPrimitive::Rhor, StabPen::Black, 800, 400, 0}));
        // The inductive power stage closes R_D + C_FB onto the output line in green.
        const StabSchematic ind = layout(part, false, false, true);
        QVERIFY(hasStroke(ind, {StabPrimitive::Wver, StabPen::Green, 1300, 400, 400}));
        QVERIFY(!textAt(ind, QPointF(1000, 600)));
    }

    // Form A on a booster with its pin text; form B on the GZ23 with the riser.
    const StabSchematic a = layout(typedPart("GZ20"), true, false, true);
    QCOMPARE(labelOf(a, 5)->pos, QPointF(1000, 650));
    QVERIFY(hasStroke(a, {StabPrimitive::Wver, StabPen::Black, 700, 400, 250}));
    QCOMPARE(textAt(a, QPointF(650, 100))->text, QStringLiteral("CL"));
    const StabSchematic b = layout(typedPart("GZ23"), true, false, true);
    QVERIFY(hasStroke(b, {StabPrimitive::Whor, StabPen::Black, 400, 400, 400}));
    QVERIFY(hasStroke(b, {StabPrimitive::Wver, StabPen::Black, 1300, 400, 400}));
    QCOMPARE(textAt(b, QPointF(400, 200))->text, QStringLiteral("CL"));
    // The normal circuit has no pin text; the inductive one shows R_CL as a plain caption.
    QVERIFY(!textAt(layout(makePart(), true, false, true), QPointF(650, 100)));
    const StabSchematic ind = layout(makePart(), false, false, true);
    QCOMPARE(textAt(ind, QPointF(1000, 600))->text, QStringLiteral("R_CL"));
    QCOMPARE(textAt(ind, QPointF(1000, 600))->slot, -1);
}

// ---------------------------------------------------------------- compensation

void TestStabSchematic::compensationNetwork_data()
{
    QTest::addColumn<QStringList>("options"); // SROptions, then Ccomp values, then Rcomp values
    QTest::addColumn<int>("compOption");
    QTest::addColumn<int>("strokes");
    QTest::addColumn<QString>("ccomp");
    QTest::addColumn<QPointF>("ccompAt");
    QTest::addColumn<int>("ccompAlign");
    QTest::addColumn<QString>("rcomp");

    const int leftMiddle = int(Qt::AlignLeft | Qt::AlignVCenter);
    const int topCentre = int(Qt::AlignHCenter | Qt::AlignTop);
    QTest::newRow("one option without capacitor or resistor: nothing")
        << QStringList{"1", "0", "0"} << 0 << 0 << "" << QPointF() << 0 << "";
    QTest::newRow("one option, no capacitor but a resistor: series network at 0 pF")
        << QStringList{"1", "0", "100"} << 0 << 7 << "C_COMP\n0 pF" << QPointF(1000, -800)
        << leftMiddle << QString::fromUtf8("R_COMP\n100 Ω");
    QTest::newRow("several options without resistors: C_COMP alone")
        << QStringList{"3", "4.7", "15", "47", "0", "0", "0"} << 2 << 3 << "C_COMP\n47 pF"
        << QPointF(600, -850) << topCentre << "";
    QTest::newRow("one option with a capacitor")
        << QStringList{"1", "22", "0"} << 0 << 3 << "C_COMP\n22 pF" << QPointF(600, -850)
        << topCentre << "";
    QTest::newRow("resistor of another option still draws R_COMP")
        << QStringList{"2", "4.7", "15", "0", "470"} << 0 << 7 << "C_COMP\n4.7 pF"
        << QPointF(1000, -800) << leftMiddle << QString::fromUtf8("R_COMP\n0 Ω");
}

void TestStabSchematic::compensationNetwork()
{
    QFETCH(QStringList, options);
    QFETCH(int, compOption);
    QFETCH(int, strokes);
    QFETCH(QString, ccomp);
    QFETCH(QPointF, ccompAt);
    QFETCH(int, ccompAlign);
    QFETCH(QString, rcomp);

    const int n = options.first().toInt();
    const amp part = makePart({{"SROptions", {options.first()}},
                               {"Ccomp", options.mid(1, n)},
                               {"Rcomp", options.mid(1 + n, n)}});
    const StabSchematic s = layoutCompensationNetwork(part, compOption);
    QCOMPARE(s.strokes.size(), strokes);
    for (const StabStroke &st : s.strokes)
        QCOMPARE(st.pen, StabPen::DarkRed);
    const StabText *c = nullptr;
    const StabText *r = nullptr;
    for (const StabText &t : s.texts) {
        if (t.slot == kSlotCcomp) c = &t;
        if (t.slot == kSlotRcomp) r = &t;
    }
    QCOMPARE(c ? c->text : QString(), ccomp);
    QCOMPARE(r ? r->text : QString(), rcomp);
    if (c) {
        QCOMPARE(c->pos, ccompAt);
        QCOMPARE(int(c->align), ccompAlign);
        // Both variants join the amplifier at (400, -300) and (800, -100).
        QVERIFY(hasStroke(s, {StabPrimitive::Wver, StabPen::DarkRed, 400, -600, -300}));
        QVERIFY(hasStroke(s, {StabPrimitive::Wver, StabPen::DarkRed, 800, -600, -500}));
    }
    if (r) {
        QCOMPARE(r->pos, QPointF(300, -800));
        QCOMPARE(int(r->align), int(Qt::AlignRight | Qt::AlignVCenter));
    }
    // The normal circuits always hand the decision to this network.
    QCOMPARE(filledSlots(layout(part, true, false, true)).contains(kSlotCcomp), !ccomp.isEmpty());
}

void TestStabSchematic::boosterCompensation_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("ccomp");
    QTest::addColumn<int>("compOption");
    QTest::addColumn<QString>("text"); // "" for no C_COMP
    QTest::addColumn<QPointF>("at");

    QTest::newRow("GZ20 to the output line")
        << "GZ20" << QStringList{"10", "33"} << 1 << "C_COMP\n33 pF" << QPointF(600, -850);
    QTest::newRow("GZ23 to ground")
        << "GZ23" << QStringList{"0", "22"} << 0 << "C_COMP\n0 pF" << QPointF(900, -600);
    QTest::newRow("KW314 below R_COMP")
        << "KW314" << QStringList{"4.7", "15"} << 1 << "C_COMP\n15 pF" << QPointF(900, -1100);
    QTest::newRow("GZ20 with one 0 pF option: none")
        << "GZ20" << QStringList{"0"} << 0 << "" << QPointF();
}

void TestStabSchematic::boosterCompensation()
{
    QFETCH(QString, type);
    QFETCH(QStringList, ccomp);
    QFETCH(int, compOption);
    QFETCH(QString, text);
    QFETCH(QPointF, at);
    QStringList rcomp;
    for (int i = 0; i < ccomp.size(); ++i)
        rcomp << (i == 0 ? "1000" : "470");
    const amp part = makePart({{"CircuitType", {type}},
                               {"SROptions", {QString::number(ccomp.size())}},
                               {"Ccomp", ccomp},
                               {"Rcomp", rcomp}});
    StabSchematicInput in;
    in.compOption = compOption;
    const StabSchematic s = layoutStabSchematic(part, in);
    const StabText *c = nullptr;
    for (const StabText &t : s.texts)
        if (t.slot == kSlotCcomp) c = &t;
    if (text.isEmpty()) {
        QVERIFY(!c);
        QVERIFY(!textAt(s, QPointF(400, -200)) && !textAt(s, QPointF(650, -75))); // no "CC"
        return;
    }
    QVERIFY(c);
    QCOMPARE(c->text, text);
    QCOMPARE(c->pos, at);
    if (type == QLatin1String("KW314")) {
        const StabText *r = textAt(s, QPointF(850, -600));
        QVERIFY(r);
        QCOMPARE(r->slot, kSlotRcomp);
        QCOMPARE(r->text, QString::fromUtf8("R_COMP\n470 Ω"));
    }
}

void TestStabSchematic::kw314PinTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("inverting");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("pin");

    QTest::newRow("KW314 inverting") << "KW314" << true << "-IN"
                                     << "GAIN";
    QTest::newRow("KW314 non-inverting") << "KW314" << false << "+IN"
                                         << "GAIN";
    QTest::newRow("sibling of the same circuit type") << "KW363" << false << "+IN"
                                                      << "GND";
}

void TestStabSchematic::kw314PinTexts()
{
    QFETCH(QString, name);
    QFETCH(bool, inverting);
    const StabSchematic s = layout(typedPart("KW314", name), true, false, inverting);
    QTEST(textAt(s, QPointF(100, 0))->text, "input");
    QTEST(textAt(s, QPointF(150, -300))->text, "pin");
    QVERIFY(hasStroke(s, {StabPrimitive::G, StabPen::Black, 150, -800, 0}));
}

void TestStabSchematic::symbols()
{
    const schem::Figure gz = boosterTriangle(100, 50);
    const schem::Figure expectedGz{
        {{100, -450}, {1100, 50}}, {{100, 550}, {1100, 50}}, {{100, -450}, {100, 550}}};
    QCOMPARE(gz, expectedGz);
    const schem::Figure tri = upTriangle(2600, 600);
    const schem::Figure expectedTri{
        {{2400, 600}, {2800, 600}}, {{2400, 600}, {2600, 1000}}, {{2600, 1000}, {2800, 600}}};
    QCOMPARE(tri, expectedTri);
}

QTEST_GUILESS_MAIN(TestStabSchematic)
#include "tst_stabschematic.moc"
