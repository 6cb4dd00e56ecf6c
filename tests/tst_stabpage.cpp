// The stability page as the user drives it: the default LX27 page, values changed by clicking
// their schematic labels, the compensation option chosen on its label, the load kind, the
// composite loop and the input configuration switched, another part chosen, and the options
// and compensation index the page keeps in range.
#include "app/mainwindow.h"
#include "schematic/figures.h"
#include "stability/bodemodel.h"
#include "stability/stabschematic.h"
#include "ui_mainwindow.h"
#include "windowtest.h"

#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <qcustomplot.h>

#include <functional>
#include <memory>

namespace {

// Answers the next "New Value" dialog with `text`, pressing OK or Cancel.
std::unique_ptr<QTimer> answerValue(const QString &text, bool accept, bool *seen)
{
    return windowtest::watchNextDialog(
        [text, accept](QDialog *d) {
            auto *input = qobject_cast<QInputDialog *>(d);
            QVERIFY(input);
            QCOMPARE(input->windowTitle(), QStringLiteral("New Value"));
            input->setTextValue(text);
            accept ? input->accept() : input->reject();
        },
        seen);
}

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

} // namespace

class TestStabPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void defaultPage();
    void clickValueLabel_data();
    void clickValueLabel();
    void clickPlainTextEditsNothing();
    void inductiveLabelsEditInductiveValues();
    void loadAndLoop_data();
    void loadAndLoop();
    void choosePart_data();
    void choosePart();
    void capacitiveOnlyPartLeavesInductiveLoad();
    void compositeKW314DrawsNothing();
    void inductiveBoosterIsNonInverting();
    void optionLabelChoosesCompensation();
    void rcompLabelOnlyExplains();
    void invertingAndNonInverting();
    void compOptionOutOfRange_data();
    void compOptionOutOfRange();
    void hostSelectorFillsHostFields();
    void phaseButtonAndLegends();

private:
    void showPage();
    void choosePart(const QString &name);
    // Clicks the middle of a schematic text.
    void clickText(QCPItemText *item);
    QString slotText(int slot) const;
    double viewCentreX() const;
    double viewCentreY() const;

    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestStabPage::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestStabPage::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
}

void TestStabPage::cleanup()
{
    w.reset();
}

void TestStabPage::showPage()
{
    w->resize(1400, 820);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    ui->Page->setCurrentIndex(4);
    ui->StabilityTab->setCurrentIndex(0);
    QCoreApplication::processEvents();
    ui->StabSch->replot();
}

void TestStabPage::choosePart(const QString &name)
{
    const int index = ui->AmpSelectorStab->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    ui->AmpSelectorStab->setCurrentIndex(index);
    emit ui->AmpSelectorStab->activated(index);
}

void TestStabPage::clickText(QCPItemText *item)
{
    QVERIFY(item);
    ui->StabSch->replot();
    const QPointF middle =
        (item->topLeft->pixelPosition() + item->bottomRight->pixelPosition()) / 2;
    QTest::mouseClick(ui->StabSch, Qt::LeftButton, Qt::NoModifier, middle.toPoint());
}

QString TestStabPage::slotText(int slot) const
{
    QCPItemText *item = w->stabSchLabels[slot];
    return item ? item->text() : QStringLiteral("<none>");
}

double TestStabPage::viewCentreX() const
{
    return ui->StabSch->xAxis->range().center();
}

double TestStabPage::viewCentreY() const
{
    return ui->StabSch->yAxis->range().center();
}

void TestStabPage::defaultPage()
{
    QCOMPARE(ui->AmpSelectorStab->currentText(), QStringLiteral("LX27"));
    QVERIFY(!w->designModified);
    QCOMPARE(ui->Stability->text(), QStringLiteral("STABLE"));
    QCOMPARE(ui->Stability->styleSheet(), QStringLiteral("QLabel { color : green; }"));
    QCOMPARE(ui->phaseButton->text(), QStringLiteral("View Phase Shift"));

    // The inverting capacitive-load circuit with its defaults.
    QCOMPARE(slotText(0), u8("R_IN\n1 kΩ"));
    QCOMPARE(slotText(1), u8("R_FB\n20 kΩ"));
    QCOMPARE(slotText(2), QStringLiteral("R_NG\nopen"));
    QCOMPARE(slotText(3), QStringLiteral("C_NG\nopen"));
    QCOMPARE(slotText(4), QStringLiteral("C_FB\nopen"));
    QCOMPARE(slotText(5), QStringLiteral("R_CL\nshort"));
    QCOMPARE(slotText(6), QStringLiteral("R_ISO\nshort"));
    QCOMPARE(slotText(7), QStringLiteral("C_LOAD\n0"));
    QCOMPARE(slotText(stab::kSlotCcomp), QStringLiteral("C_COMP\n4.7 pF"));
    for (int slot = 8; slot < stab::kStabLabelCount; ++slot) {
        if (slot != stab::kSlotCcomp)
            QVERIFY2(!w->stabSchLabels[slot], qPrintable(QString::number(slot)));
    }
    QCOMPARE(w->stabSchLabels[1]->color(), QColor(Qt::black));
    QCOMPARE(w->stabSchLabels[1]->position->coords(), QPointF(900, 1200));

    // The canvas: no axes, no legend, items clickable, the view around the circuit.
    QCustomPlot *sch = ui->StabSch;
    QVERIFY(!sch->xAxis->visible());
    QVERIFY(!sch->yAxis->visible());
    QVERIFY(!sch->legend->visible());
    QVERIFY(!sch->xAxis->grid()->visible());
    QVERIFY(sch->interactions().testFlag(QCP::iSelectItems));
    QCOMPARE(sch->xAxis->range().lower, 225.0 - 3200);
    QCOMPARE(sch->xAxis->range().upper, 225.0 + 3200);
    QCOMPARE(sch->yAxis->range().lower, 300.0 - 1800);
    QCOMPARE(sch->yAxis->range().upper, 300.0 + 1800);
    // As many graphs as the layout has strokes drawn, every stroke 3 wide.
    QVERIFY(sch->graphCount() > 40);
    for (int i = 0; i < sch->graphCount(); ++i)
        QCOMPARE(sch->graph(i)->pen().width(), 3);
    QVERIFY(!ui->LloadButton->isHidden() && ui->LloadButton->isEnabled());
    QVERIFY(ui->StabInv->isEnabled() && ui->StabNon->isEnabled());
    QVERIFY(ui->compositeCheckBox->isEnabled());
}

void TestStabPage::clickValueLabel_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("label");

    QTest::newRow("new value") << "200k" << true << "200k" << u8("R_FB\n200 kΩ");
    QTest::newRow("unreadable value kept as typed") << "abc" << true << "abc"
                                                    << "R_FB\nabc";
    QTest::newRow("cancelled") << "200k" << false << "20k" << u8("R_FB\n20 kΩ");
    QTest::newRow("OK on an empty entry") << "" << true << "20k" << u8("R_FB\n20 kΩ");
}

void TestStabPage::clickValueLabel()
{
    QFETCH(QString, answer);
    QFETCH(bool, accept);
    QFETCH(QString, kept);
    QFETCH(QString, label);
    showPage();
    const QString closureBefore = ui->Fclosure->text();
    w->designModified = false;

    bool seen = false;
    const auto watcher = answerValue(answer, accept, &seen);
    clickText(w->stabSchLabels[1]);
    QVERIFY(seen);
    QCOMPARE(w->RfbC, kept);
    QCOMPARE(w->RinC, QStringLiteral("1k")); // only the clicked label
    QCOMPARE(w->RfbL, QStringLiteral("1k"));
    // The page was refreshed whatever the answer: redrawn labels, recomputed model.
    QVERIFY(w->designModified);
    QCOMPARE(slotText(1), label);
    QCOMPARE(w->stabSchLabels[1]->color(),
             kept == QLatin1String("abc") ? QColor(Qt::red) : QColor(Qt::black));
    if (kept == QLatin1String("200k")) QVERIFY(ui->Fclosure->text() != closureBefore);
    if (kept == QLatin1String("20k")) QCOMPARE(ui->Fclosure->text(), closureBefore);
}

void TestStabPage::clickPlainTextEditsNothing()
{
    showPage();
    // The part name inside the amplifier is no label.
    QCPItemText *name = nullptr;
    for (int i = 0; i < ui->StabSch->itemCount(); ++i) {
        auto *t = qobject_cast<QCPItemText *>(ui->StabSch->item(i));
        if (t && t->text() == QLatin1String("LX27")) name = t;
    }
    QVERIFY(name);
    QCOMPARE(name->position->coords(), QPointF(350, 0));
    const stab::CircuitValues before = w->stabCircuitValues();
    w->designModified = false;
    bool seen = false;
    const auto watcher = answerValue("5k", true, &seen);
    clickText(name);
    QVERIFY(!seen);
    QVERIFY(w->stabCircuitValues() == before);
    QVERIFY(w->designModified); // recomputed all the same
}

void TestStabPage::inductiveLabelsEditInductiveValues()
{
    showPage();
    ui->LloadButton->click();
    QVERIFY(ui->LloadButton->isChecked());
    QCOMPARE(ui->GainPlot->graph(0)->name(), QStringLiteral("Open Loop Gain"));
    QCOMPARE(viewCentreX(), 825.0);
    for (int slot = 0; slot <= 8; ++slot)
        QVERIFY(!w->stabSchLabels[slot]);
    QCOMPARE(slotText(10), u8("R_FB\n1 kΩ"));
    QCOMPARE(slotText(14), QStringLiteral("R_S GAIN\nshort"));
    QCOMPARE(slotText(16), QStringLiteral("L_LOAD\n0"));

    bool seen = false;
    const auto watcher = answerValue("2.2k", true, &seen);
    clickText(w->stabSchLabels[10]);
    QVERIFY(seen);
    QCOMPARE(w->RfbL, QStringLiteral("2.2k"));
    QCOMPARE(w->RfbC, QStringLiteral("20k"));
    QCOMPARE(slotText(10), u8("R_FB\n2.2 kΩ"));
}

void TestStabPage::loadAndLoop_data()
{
    QTest::addColumn<bool>("inductive");
    QTest::addColumn<bool>("composite");
    QTest::addColumn<QString>("firstGain");
    QTest::addColumn<double>("centreX");
    QTest::addColumn<int>("hostSlot");  // a slot the circuit must fill
    QTest::addColumn<int>("otherSlot"); // a slot it must leave empty

    QTest::newRow("capacitive") << false << false << "Open Loop Gain w/ C_LOAD" << 225.0 << 2 << 18;
    QTest::newRow("composite capacitive")
        << false << true << "Composite Open Loop Gain" << -200.0 << 18 << 2;
    QTest::newRow("inductive") << true << false << "Open Loop Gain" << 825.0 << 9 << 0;
    QTest::newRow("composite inductive")
        << true << true << "Composite Open Loop Gain" << 0.0 << 20 << 1;
}

void TestStabPage::loadAndLoop()
{
    QFETCH(bool, inductive);
    QFETCH(bool, composite);
    QFETCH(QString, firstGain);
    QFETCH(double, centreX);
    QFETCH(int, hostSlot);
    QFETCH(int, otherSlot);
    showPage();
    w->designModified = false;
    (inductive ? ui->LloadButton : ui->CloadButton)->click();
    if (composite) {
        // A composite loop needs a host to be analysed.
        ui->hostSelector->setCurrentIndex(1);
        emit ui->hostSelector->activated(1);
        // The group box's own check box, as a click on its title would toggle it.
        ui->compositeCheckBox->setChecked(true);
        emit ui->compositeCheckBox->clicked(true);
    }
    QCOMPARE(ui->LloadButton->isChecked(), inductive);
    QCOMPARE(ui->compositeCheckBox->isChecked(), composite);
    QVERIFY(w->designModified);
    QCOMPARE(ui->GainPlot->graph(0)->name(), firstGain);
    QCOMPARE(viewCentreX(), centreX);
    QCOMPARE(viewCentreY(), 300.0);
    QVERIFY(w->stabSchLabels[hostSlot]);
    QVERIFY(!w->stabSchLabels[otherSlot]);
}

void TestStabPage::choosePart_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("labelSlot");
    QTest::addColumn<QString>("labelText");
    QTest::addColumn<double>("centreX");
    QTest::addColumn<double>("centreY");
    QTest::addColumn<bool>("inductiveAllowed");
    QTest::addColumn<bool>("invertingAllowed");
    QTest::addColumn<bool>("inverting");

    QTest::newRow("GZ20 booster with R_G in the feedback")
        << "GZ20" << 8 << u8("R_G\n20 kΩ") << 1025.0 << 300.0 << true << true << true;
    QTest::newRow("GZ23 booster with R_G to ground, non-inverting only")
        << "GZ23" << 8 << u8("R_G\n20 kΩ") << 1025.0 << -250.0 << false << false << false;
    QTest::newRow("KW314 with R_COMP")
        << "KW314" << 24 << u8("R_COMP\n1 kΩ") << 1025.0 << -250.0 << false << true << true;
    QTest::newRow("KW349 without compensation, non-inverting only")
        << "KW349" << 5 << QStringLiteral("R_CL\nshort") << 1025.0 << 300.0 << false << false
        << false;
    QTest::newRow("LX26 normal stage")
        << "LX26" << 23 << QStringLiteral("C_COMP\n0 pF") << 225.0 << 300.0 << true << true << true;
}

void TestStabPage::choosePart()
{
    QFETCH(QString, part);
    QFETCH(int, labelSlot);
    QFETCH(QString, labelText);
    QFETCH(double, centreX);
    QFETCH(double, centreY);
    QFETCH(bool, inductiveAllowed);
    QFETCH(bool, invertingAllowed);
    QFETCH(bool, inverting);
    w->CompOption = 2;
    w->designModified = false;
    choosePart(part);
    QCOMPARE(w->CompOption, 0); // the new part starts at its first option
    QVERIFY(w->designModified);
    QCOMPARE(slotText(labelSlot), labelText);
    QCOMPARE(viewCentreX(), centreX);
    QCOMPARE(viewCentreY(), centreY);
    QCOMPARE(ui->LloadButton->isEnabled(), inductiveAllowed);
    QCOMPARE(ui->StabInv->isEnabled(), invertingAllowed);
    QCOMPARE(ui->StabInv->isChecked(), inverting);
    QCOMPARE(ui->StabNon->isChecked(), !inverting);
    // The model ran for the new part: its slew rate at option 0.
    const amp chosen = w->findLinear(part);
    QCOMPARE(ui->SlewRateStab->text(), w->number2String(chosen.getSlewRate(0)) + u8(" V/µs"));

    // And back to LX27: both inputs allowed again, the previous check kept.
    choosePart(QStringLiteral("LX27"));
    QVERIFY(ui->StabInv->isEnabled() && ui->StabNon->isEnabled() && ui->LloadButton->isEnabled());
    QCOMPARE(slotText(1), u8("R_FB\n20 kΩ"));
}

void TestStabPage::capacitiveOnlyPartLeavesInductiveLoad()
{
    ui->LloadButton->click();
    QVERIFY(ui->LloadButton->isChecked());
    choosePart(QStringLiteral("GZ23")); // drives capacitive loads only
    QVERIFY(ui->CloadButton->isChecked());
    QVERIFY(!ui->LloadButton->isEnabled());
    QVERIFY(w->stabSchLabels[8]);
    QVERIFY(!w->stabSchLabels[9]);
    // The drawing and the plots agree: the next refresh runs the capacitive model.
    w->refreshStab();
    QCOMPARE(ui->GainPlot->graph(0)->name(), QStringLiteral("Open Loop Gain w/ C_LOAD"));
}

void TestStabPage::compositeKW314DrawsNothing()
{
    showPage();
    choosePart(QStringLiteral("KW314"));
    ui->compositeCheckBox->setChecked(true);
    w->refreshStab();
    QCOMPARE(ui->StabSch->graphCount(), 0);
    QCOMPARE(ui->StabSch->itemCount(), 0);
    for (int slot = 0; slot < stab::kStabLabelCount; ++slot)
        QVERIFY(!w->stabSchLabels[slot]);
    QCOMPARE(ui->StabSch->xAxis->range().lower, -3200.0);
    QCOMPARE(ui->StabSch->yAxis->range().lower, -1500.0);
    QCOMPARE(ui->StabSch->yAxis->range().upper, 2100.0);
    // A click on the empty canvas edits nothing and still recomputes.
    w->designModified = false;
    QTest::mouseClick(ui->StabSch, Qt::LeftButton, Qt::NoModifier,
                      QPoint(ui->StabSch->width() / 2, ui->StabSch->height() / 2));
    emit ui->StabSch->itemClick(nullptr, nullptr);
    QVERIFY(w->designModified);
}

void TestStabPage::inductiveBoosterIsNonInverting()
{
    choosePart(QStringLiteral("GZ20"));
    QVERIFY(ui->StabInv->isChecked());
    ui->LloadButton->click();
    QVERIFY(ui->StabNon->isChecked());
    QVERIFY(!ui->StabInv->isEnabled());
    QCOMPARE(viewCentreX(), 1225.0);
    QCOMPARE(slotText(17), u8("R_G\n1 kΩ"));
    QVERIFY(!w->stabSchLabels[8]);

    // The refresh that checking the input started did not leave a second drawing behind.
    const int graphs = ui->StabSch->graphCount();
    const int items = ui->StabSch->itemCount();
    w->decideStabSch();
    QCOMPARE(ui->StabSch->graphCount(), graphs);
    QCOMPARE(ui->StabSch->itemCount(), items);
    stab::StabSchematicInput in;
    in.capacitive = false;
    in.inverting = false;
    in.values = w->stabCircuitValues();
    const stab::StabSchematic s = stab::layoutStabSchematic(w->findLinear("GZ20"), in);
    int expectedGraphs = 0;
    for (const stab::StabStroke &st : s.strokes) {
        using P = stab::StabPrimitive;
        const double x = st.x, y = st.y;
        switch (st.kind) {
        case P::Whor:
        case P::Wver:
            expectedGraphs += 1;
            break;
        case P::Rhor:
            expectedGraphs += schem::strokeCount(schem::resistorHor(x, y));
            break;
        case P::Rver:
            expectedGraphs += schem::strokeCount(schem::resistorVer(x, y));
            break;
        case P::Chor:
            expectedGraphs += schem::strokeCount(schem::capacitorHor(x, y));
            break;
        case P::Cver:
            expectedGraphs += schem::strokeCount(schem::capacitorVer(x, y));
            break;
        case P::Lhor:
            expectedGraphs += schem::strokeCount(schem::inductorHor(x, y));
            break;
        case P::G:
            expectedGraphs += schem::strokeCount(schem::ground(x, y));
            break;
        case P::PA:
            expectedGraphs += schem::strokeCount(schem::powerAmp(x, y));
            break;
        case P::OA:
            expectedGraphs += schem::strokeCount(schem::opAmp(x, y));
            break;
        case P::GZ:
            expectedGraphs += schem::strokeCount(stab::boosterTriangle(x, y));
            break;
        case P::UpTri:
            expectedGraphs += schem::strokeCount(stab::upTriangle(x, y));
            break;
        }
    }
    QCOMPARE(graphs, expectedGraphs);
    QCOMPARE(items, s.labels.size() + s.texts.size());

    // Back to the capacitive load: the inverting input is offered again.
    ui->CloadButton->click();
    QVERIFY(ui->StabInv->isEnabled());
}

void TestStabPage::optionLabelChoosesCompensation()
{
    showPage();
    QCOMPARE(slotText(stab::kSlotCcomp), QStringLiteral("C_COMP\n4.7 pF"));
    const QString slewBefore = ui->SlewRateStab->text();

    QStringList entries;
    int shownIndex = -1;
    QString title;
    bool seen = false;
    auto watcher = windowtest::watchNextDialog(
        [&](QDialog *d) {
            title = d->windowTitle();
            auto *box = d->findChild<QComboBox *>(QStringLiteral("CcompOptions"));
            QVERIFY(box);
            for (int i = 0; i < box->count(); ++i)
                entries << box->itemText(i);
            shownIndex = box->currentIndex();
            box->setCurrentIndex(2);
            d->accept();
        },
        &seen);
    w->designModified = false;
    clickText(w->stabSchLabels[stab::kSlotCcomp]);
    QVERIFY(seen);
    QCOMPARE(title, QStringLiteral("Change Compensation Capacitor"));
    QCOMPARE(entries, (QStringList{"4.7", "15", "47"}));
    QCOMPARE(shownIndex, 0);
    QCOMPARE(w->CompOption, 2);
    QVERIFY(w->designModified);
    QCOMPARE(slotText(stab::kSlotCcomp), QStringLiteral("C_COMP\n47 pF"));
    QVERIFY(ui->SlewRateStab->text() != slewBefore);
    const amp lx27 = w->findLinear("LX27");
    QCOMPARE(ui->SlewRateStab->text(), w->number2String(lx27.getSlewRate(2)) + u8(" V/µs"));

    // Cancel keeps the option.
    watcher = windowtest::watchNextDialog(
        [](QDialog *d) {
            auto *box = d->findChild<QComboBox *>(QStringLiteral("CcompOptions"));
            QVERIFY(box);
            QCOMPARE(box->currentIndex(), 2);
            box->setCurrentIndex(0);
            d->reject();
        },
        &seen);
    clickText(w->stabSchLabels[stab::kSlotCcomp]);
    QVERIFY(seen);
    QCOMPARE(w->CompOption, 2);
    QCOMPARE(slotText(stab::kSlotCcomp), QStringLiteral("C_COMP\n47 pF"));
}

void TestStabPage::rcompLabelOnlyExplains()
{
    showPage();
    choosePart(QStringLiteral("KW314"));
    QCOMPARE(slotText(stab::kSlotRcomp), u8("R_COMP\n1 kΩ"));
    QString title;
    QString note;
    bool seen = false;
    const auto watcher = windowtest::watchNextDialog(
        [&](QDialog *d) {
            title = d->windowTitle();
            for (QLabel *label : d->findChildren<QLabel *>())
                note += label->text();
            QVERIFY(!d->findChild<QComboBox *>());
            d->accept();
        },
        &seen);
    const stab::CircuitValues before = w->stabCircuitValues();
    clickText(w->stabSchLabels[stab::kSlotRcomp]);
    QVERIFY(seen);
    QCOMPARE(title, QStringLiteral("Change Compensation Resistor"));
    QCOMPARE(note, QStringLiteral("R_COMP is paired with C_COMP. See Product Datasheet for "
                                  "details. Select C_COMP to alter compensation."));
    QCOMPARE(w->CompOption, 0);
    QVERIFY(w->stabCircuitValues() == before);
}

void TestStabPage::invertingAndNonInverting()
{
    showPage();
    const QString marginInverting = ui->PhaseMargin->text();
    w->RngC = QStringLiteral("1k");
    w->CngC = QStringLiteral("10n");
    w->refreshStab();
    QVERIFY(ui->PhaseMargin->text() != marginInverting); // the noise-gain network counts

    w->designModified = false;
    ui->StabNon->click(); // through StabInv's toggled signal
    QVERIFY(w->designModified);
    QVERIFY(!w->stabSchLabels[2]);
    QVERIFY(!w->stabSchLabels[3]);
    QCOMPARE(w->stabSchLabels[0]->position->coords(), QPointF(-800, 450));
    QCOMPARE(viewCentreX(), 600.0);
    stab::BodeInput in;
    in.values = w->stabCircuitValues();
    in.inverting = false;
    const stab::BodeResult r = stab::capacitiveLoadBode(in, w->findLinear("LX27"));
    QCOMPARE(ui->PhaseMargin->text(), w->number2String(r.phaseMargin) + u8("°"));

    ui->StabInv->click();
    QCOMPARE(slotText(2), u8("R_NG\n1 kΩ"));
    QCOMPARE(slotText(3), QStringLiteral("C_NG\n10 nF"));
    QCOMPARE(viewCentreX(), 225.0);
}

void TestStabPage::compOptionOutOfRange_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("inductive");
    QTest::addColumn<bool>("composite");

    QTest::newRow("single option part, capacitive") << "KW349" << false << false;
    QTest::newRow("two option part, composite capacitive") << "LX26" << false << true;
    QTest::newRow("two option part, inductive") << "LX26" << true << false;
    QTest::newRow("booster draws its C_COMP") << "GZ20" << false << false;
}

void TestStabPage::compOptionOutOfRange()
{
    QFETCH(QString, part);
    QFETCH(bool, inductive);
    QFETCH(bool, composite);
    // As a design file or an example leaves it: the part set by name, an option of another
    // part kept.
    w->CompOption = 2;
    ui->AmpSelectorStab->setCurrentText(part);
    if (inductive) ui->LloadButton->setChecked(true);
    ui->compositeCheckBox->setChecked(composite);
    if (composite) {
        ui->hostSelector->setCurrentIndex(1);
        emit ui->hostSelector->activated(1);
    }
    w->refreshStab();
    QCOMPARE(w->CompOption, 0);
    for (QLabel *label :
         {ui->PhaseMargin, ui->SlewRateStab, ui->Fclosure, ui->MaxBW, ui->RateClosure})
        QVERIFY2(!label->text().contains("nan", Qt::CaseInsensitive), qPrintable(label->text()));
    QVERIFY(std::isfinite(w->phaseMargin));
    const amp chosen = w->findLinear(part);
    QCOMPARE(ui->SlewRateStab->text(), w->number2String(chosen.getSlewRate(0)) + u8(" V/µs"));
    if (w->stabSchLabels[stab::kSlotCcomp])
        QCOMPARE(slotText(stab::kSlotCcomp), stab::ccompText(chosen, 0));

    // The automatic compensation starts from a valid option as well.
    w->CompOption = 5;
    ui->StabAuto->click();
    QVERIFY(w->CompOption >= 0 && w->CompOption < chosen.getSROptions());
    QVERIFY(std::isfinite(w->phaseMargin));
}

void TestStabPage::hostSelectorFillsHostFields()
{
    QVERIFY(ui->hostSelector->count() > 1);
    const amp host = w->hostVector.first();
    w->designModified = false;
    ui->hostSelector->setCurrentIndex(1);
    emit ui->hostSelector->activated(1);
    QCOMPARE(ui->hostAOL->text(), QString::number(host.getAol_DC(), 'g', 6));
    QCOMPARE(ui->hostPole1->text(), QString::number(host.getPole1(0), 'g', 6));
    QCOMPARE(ui->hostPole2->text(), QString::number(host.getPole2(0), 'g', 6));
    QCOMPARE(ui->hostPole3->text(), QString::number(host.getPole3(0), 'g', 6));
    QVERIFY(w->designModified);

    const int last = ui->hostSelector->count() - 1;
    emit ui->hostSelector->activated(last);
    QCOMPARE(ui->hostAOL->text(), QString::number(w->hostVector.last().getAol_DC(), 'g', 6));

    ui->hostSelector->setCurrentIndex(0);
    emit ui->hostSelector->activated(0);
    for (QLineEdit *field : {ui->hostAOL, ui->hostPole1, ui->hostPole2, ui->hostPole3})
        QVERIFY(field->text().isEmpty());

    // Editing a host field recomputes.
    w->designModified = false;
    ui->hostPole1->setText("10");
    emit ui->hostPole1->editingFinished();
    QVERIFY(w->designModified);
}

void TestStabPage::phaseButtonAndLegends()
{
    QVERIFY(w->phaseShiftComponents);
    ui->phaseButton->click();
    QVERIFY(!w->phaseShiftComponents);
    QCOMPARE(ui->phaseButton->text(), QStringLiteral("View Phase Components"));
    QCOMPARE(ui->PhasePlot->graph(1)->name(), QStringLiteral("Closed Loop Phase"));
    ui->phaseButton->click();
    QVERIFY(w->phaseShiftComponents);
    QCOMPARE(ui->phaseButton->text(), QStringLiteral("View Phase Shift"));

    ui->HidePhaseLegend->click();
    QVERIFY(ui->HidePhaseLegend->isChecked());
    QVERIFY(!ui->GainPlot->legend->visible());
    QVERIFY(!ui->PhasePlot->legend->visible());
    // Hidden also after a refresh that adds graphs.
    ui->LloadButton->click();
    QVERIFY(!ui->GainPlot->legend->visible());
    ui->HidePhaseLegend->click();
    QVERIFY(ui->GainPlot->legend->visible());
    QVERIFY(ui->PhasePlot->legend->visible());
}

QTEST_MAIN(TestStabPage)
#include "tst_stabpage.moc"
