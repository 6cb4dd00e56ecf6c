// The SOA page's verdicts: thermal results and supplies marked red, and their notes.
#include "app/mainwindow.h"

#include "soa/soawarnings.h"
#include "soa/supplyschematic.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "values/engwidgets.h"

#include <QLabel>
#include <qcustomplot.h>

namespace {

// A supply the page can use: readable, and not beyond the open-circuit value.
bool readable(const QString &text)
{
    bool valid = false;
    const double v = eng::parseItemText(text, &valid);
    return valid && (v == infiniteValue || soa::isFigure(v));
}

// A label showing the placeholder stays red: its figure could not be computed.
void markLabel(QLabel *label, bool red)
{
    if (label->text() != eng::noResultText()) eng::setResultRed(label, red);
}

} // namespace

void MainWindow::powerWarnings()
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    // The results are read back as shown, so the verdict matches the figures on screen.
    soa::PowerWarningInput in;
    in.Pd = soa::resultLabelNumber(ui->PdAmpAvg->text());
    in.Tc = soa::resultLabelNumber(ui->TempC->text());
    in.Tj = soa::resultLabelNumber(ui->TempJ->text());
    in.Rhs = soa::resultLabelNumber(ui->minHeatsink->text());
    in.TcMax = soa::resultLabelNumber(ui->SuggTcMax->text());
    // Read without colouring: the load line has marked the field when it is unusable.
    in.ambient = eng::parseFieldText(ui->tempA->text(), QStringLiteral("R"), nullptr);

    const soa::PowerWarnings w = soa::powerWarnings(in, part);
    markLabel(ui->PdAmpAvg, w.pdRed);
    markLabel(ui->minHeatsink, w.heatsinkRed);
    markLabel(ui->TempC, w.tcRed);
    markLabel(ui->SuggTcMax, w.tcMaxRed);
    markLabel(ui->TempJ, w.tjRed);
    for (const soa::SoaNote &note : w.notes)
        appendSOAnote(note);
}

void MainWindow::SupplyWarnings()
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    soa::SupplyWarningInput in;
    in.vsPos = parseValue(SOAVs_pos);
    in.vsNeg = parseValue(SOAVs_neg);
    const bool bridge = ui->BridgeCheckBox->isChecked();
    in.bridgeSame = bridge && ui->BridgeSameSuppliesButton->isChecked();
    in.bridgeInverted = bridge && ui->BridgeUnipolarSuppliesButton->isChecked();
    in.maxVout = SOAmaxVout;
    in.minVout = SOAminVout;
    in.dcMotor = ui->loadTypeBox->currentText() == QLatin1String("DC Motor");
    if (!in.dcMotor) {
        in.maxOut = parseValue(SOAmaxOut);
        in.minOut = parseValue(SOAminOut);
    }

    const soa::SupplyWarnings w = soa::supplyWarnings(in, part);
    // A supply typed so that it cannot be read counts as 0 V; its value stays red whatever
    // the checks find, so the user sees which entry is not being used as typed.
    const bool unipolar = in.bridgeInverted;
    const bool posUnreadable = !readable(SOAVs_pos);
    const bool negUnreadable = !readable(SOAVs_neg);
    using L = soa::SupplyLabel;
    const QPair<L, bool> labels[] = {{L::PosSupply, posUnreadable},
                                     {L::PosSupply2, !unipolar && posUnreadable},
                                     {L::NegSupply, negUnreadable},
                                     {L::NegSupply2, !unipolar && negUnreadable}};
    for (const auto &l : labels) {
        if (QCPItemText *label = SOAschLabels[int(l.first)])
            label->setColor(w.suppliesRed || l.second ? Qt::red : Qt::black);
    }
    for (const soa::SoaNote &note : w.notes)
        appendSOAnote(note);
}
