// The filter design page (page 12): refresh, order and ripple, attenuation plot, matching
// network and the hand-over to the power page. Arithmetic in pwmpower/filterdesign.h.
#include "app/plotview.h"
#include "app/mainwindow.h"

#include "pwmpower/fieldcheck.h"
#include "pwmpower/filterdesign.h"
#include "pwmpower/plotaxes.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"

#include <QGridLayout>
#include <QSignalBlocker>
#include <qcustomplot.h>

#include <cmath>

namespace {

const QString kOhm = QString(QChar(0x03A9));

pwmpower::FilterType filterPageType(const Ui_MainWindow *ui)
{
    if (ui->SIbutton->isChecked()) return pwmpower::FilterType::SplitInductor;
    if (ui->DCbutton->isChecked()) return pwmpower::FilterType::DualCapacitor;
    return pwmpower::FilterType::SingleEnded;
}

const QString kSizeConsequence = QStringLiteral("the filter cannot be sized");

// The fields the order, the ladder and the plot are computed from; NaN for each field that
// cannot be used (red, with its note).
struct FilterFields
{
    double Vs, Vrip, Fsw, Fcut, RL; // V, V, Hz, Hz, ohm
    QStringList notes;
};

FilterFields readFilterFields(const Ui_MainWindow *ui)
{
    pwmpower::FieldReader reader(kSizeConsequence);
    FilterFields f;
    f.Vs = reader.read(ui->filterVs, QStringLiteral("Vs"));
    f.Fsw = reader.read(ui->filterFsw, QStringLiteral("Fsw"));
    f.Fcut = reader.read(ui->filterFcut, QStringLiteral("Fcut"));
    f.Vrip = reader.read(ui->filterVrip, QStringLiteral("The allowable ripple"));
    f.RL = reader.read(ui->filterR_L, QStringLiteral("R_LOAD"));
    f.notes = reader.notes;
    return f;
}

// A figure of the page, or the placeholder in red when it could not be computed; *shown
// turns false then.
void showFigure(QLabel *label, double value, const QString &unit, bool *shown = nullptr)
{
    if (pwmpower::isShowable(value)) {
        eng::setEngLabel(value, label, unit);
        eng::setResultRed(label, false);
    } else {
        eng::setNoResult(label);
        if (shown) *shown = false;
    }
}

} // namespace

// The page's notes: one line for each input that keeps a figure from being computed.
void MainWindow::showFilterNotes(const QStringList &notes)
{
    auto *label = findChild<QLabel *>(QStringLiteral("filterNotes"));
    if (!label) return;
    label->setText(notes.join(QLatin1Char('\n')));
    label->setVisible(!notes.isEmpty());
}

void MainWindow::refreshFilter()
{
    designModified = true;
    const pwm part = findSwitching(ui->ampSelectorFilter->currentText());

    if (part.getOutputs() <= 1) {
        ui->HBbutton->setChecked(true);
        ui->FBbutton->setEnabled(false);
    } else {
        ui->FBbutton->setEnabled(true);
    }
    const bool halfBridge = ui->HBbutton->isChecked();
    if (halfBridge) ui->SEbutton->setChecked(true); // a half bridge has only the one output line
    ui->DCbutton->setEnabled(!halfBridge);
    ui->SIbutton->setEnabled(!halfBridge);
    // After the half bridge has settled the filter type, so that the leg capacitor is never
    // offered for a single-ended filter.
    const bool split = ui->SIbutton->isChecked();
    ui->Cleg->setVisible(split);
    ui->ClegLabel->setVisible(split);

    drawFilterSchematic();
    calcOrder();
    plotAttenuation();

    const double Vs = parseLineEdit(ui->filterVs, QStringLiteral("R"));
    if (Vs > part.getVs_max() || ui->filterVs->text() == QLatin1String("Exceeds Abs Max"))
        ui->filterVs->setText(QStringLiteral("Exceeds Abs Max"));
    else if (part.getVs_min() > parseLineEdit(ui->filterVs, QStringLiteral("R")))
        ui->filterVs->setText(QStringLiteral("Vs too Low"));

    const double fk = parseLineEdit(ui->filterFsw, QStringLiteral("R")) / 1000.0;
    if (fk > part.getFsw_max() || ui->filterFsw->text() == QLatin1String("Exceeds Abs Max"))
        ui->filterFsw->setText(QStringLiteral("Exceeds Abs Max"));
    else if (part.getFsw_min() > parseLineEdit(ui->filterFsw, QStringLiteral("R")) / 1000.0)
        ui->filterFsw->setText(QStringLiteral("Fsw too Low"));

    if (part.getFsw_max() == part.getFsw_min()) {
        setEngLineEdit(part.getFsw_max() * 1000.0, ui->filterFsw, QString());
        ui->filterFsw->setEnabled(false);
    } else {
        ui->filterFsw->setEnabled(true);
    }
}

void MainWindow::calcOrder()
{
    const FilterFields f = readFilterFields(ui);
    pwmpower::FilterOrderInput in;
    in.Vs = f.Vs;
    in.Vrip = f.Vrip;
    in.FswKHz = f.Fsw / 1000.0;
    in.FcutKHz = f.Fcut / 1000.0;
    in.n = ui->filterOrderActual->value();
    in.RL = f.RL;
    in.singleEnded = ui->SEbutton->isChecked();
    const pwmpower::FilterOrderResult r = pwmpower::filterOrder(in);

    bool shown = true;
    if (pwmpower::isShowable(r.recommended)) {
        ui->filterOrder->setText(QString::number(r.recommended, 'g', 6));
        eng::setResultRed(ui->filterOrder, false);
    } else {
        eng::setNoResult(ui->filterOrder);
        shown = !r.notes.isEmpty() || !std::isfinite(in.FswKHz / in.FcutKHz);
    }
    showFigure(ui->filterVripActual, r.rippleV, QStringLiteral("V peak"), &shown);
    showFigure(ui->FilterIrip, r.rippleI, QStringLiteral("A peak"), &shown);
    showFigure(ui->Cleg, r.Cleg, QStringLiteral("F"), &shown);
    // The ladder drawn from the same fields: its labels show the placeholder in the same case.
    const pwmpower::Ladder ladder = pwmpower::butterworthLadder(in.n, f.RL, f.Fcut);
    for (int i = 0; i < ladder.inductorCount; ++i)
        shown = shown && pwmpower::isShowable(ladder.inductors[i]);
    for (int i = 0; i < ladder.capacitorCount; ++i)
        shown = shown && pwmpower::isShowable(ladder.capacitors[i]);
    QStringList notes = f.notes + r.notes;
    if (f.notes.isEmpty() && !shown) notes << pwmpower::beyondRangeNote();
    showFilterNotes(notes);
}

void MainWindow::setupFilterPlot()
{
    QCustomPlot *sch = ui->filterPlot;
    pwmpower::hideAxesAndGrid(sch);
    sch->plotLayout()->insertRow(0);
    sch->plotLayout()->addElement(0, 0,
                                  new QCPTextElement(sch, QStringLiteral("Filter Schematic")));
    connect(sch, &QCustomPlot::afterLayout, this, [this] { fitFilterSchematic(); });

    // Under the results: which input keeps a figure from being computed.
    auto *notes = new QLabel(ui->groupBox_17);
    notes->setObjectName(QStringLiteral("filterNotes"));
    notes->setWordWrap(true);
    eng::setResultRed(notes, true);
    notes->setVisible(false);
    if (auto *grid = qobject_cast<QGridLayout *>(ui->groupBox_17->layout()))
        grid->addWidget(notes, grid->rowCount(), 0, 1, grid->columnCount());

    QCustomPlot *plot = ui->attenuationPlot;
    plot->legend->setVisible(true);
    plotview::keepLegendFitted(plot);
    plot->xAxis->setScaleType(QCPAxis::stLogarithmic);
    plot->xAxis->setTicker(pwmpower::decadeTicker({1, 10, 100, 1000, 10000, 100000, 1000000},
                                                  {"1", "10", "100", "1k", "10k", "100k", "1M"}));
    plot->xAxis->setRange(1, 1000000);
    plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
    plot->xAxis->grid()->setSubGridVisible(true);
    plotview::setTickSteps(plot->yAxis, {20, 40, 80}, 1);
    plot->yAxis->setLabel(QStringLiteral("Gain [dB]"));
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(
        0, 0, new QCPTextElement(plot, QStringLiteral("Ideal Component Attenuation")));
    const QPen grid(QColor(128, 128, 128), 1, Qt::DotLine);
    plot->xAxis->grid()->setPen(grid);
    plot->xAxis->grid()->setSubGridPen(grid);
    plot->yAxis->grid()->setPen(grid);
}

void MainWindow::plotAttenuation()
{
    const FilterFields f = readFilterFields(ui);
    const double Fcut = f.Fcut;
    const double Fsw = f.Fsw;
    const int n = ui->filterOrderActual->value();
    // A curve or marker whose frequency cannot be used is left out, not drawn from NaN.
    const bool cutUsable = std::isfinite(Fcut);
    const bool swUsable = std::isfinite(Fsw);
    const pwmpower::AttenuationCurve c =
        cutUsable ? pwmpower::butterworthAttenuation(Fcut, n) : pwmpower::AttenuationCurve();

    QCustomPlot *plot = ui->attenuationPlot;
    plot->clearGraphs();
    const bool dB = ui->dbAttenuation->isChecked();
    QCPGraph *response = plot->addGraph();
    response->setName(QStringLiteral("Filter Response"));
    response->setPen(QPen(QColor(0, 0, 200), 3));
    pwmpower::setFiniteData(response, c.freq, dB ? c.gainDb : c.percent);

    const double markerLow = dB ? -120 : 100; // the far end of the markers from 0
    if (dB) {
        plot->yAxis->setRange(-120, 0);
        plot->yAxis->setLabel(QStringLiteral("Gain [dB]"));
    } else {
        plot->yAxis->setRange(0, 100);
        plot->yAxis->setLabel(QStringLiteral("Attenuation [%]"));
    }
    // The pass band lies on 0: keep it off the frame.
    plotview::padRange(plot->yAxis);
    QCPGraph *cut = plot->addGraph();
    cut->setName(QStringLiteral("Cutoff Frequency"));
    cut->setPen(QPen(QColor(0, 160, 0), 3, Qt::DashLine));
    if (cutUsable) cut->setData({Fcut, Fcut}, {0, markerLow}, true);
    QCPGraph *sw = plot->addGraph();
    sw->setName(QStringLiteral("Switching Frequency"));
    sw->setPen(QPen(QColor(255, 0, 0), 3, Qt::DashLine));
    if (swUsable) sw->setData({Fsw, Fsw}, {0, markerLow}, true);
    plot->replot();
}

void MainWindow::matchingNetwork()
{
    designModified = true;
    pwmpower::FieldReader reader(QStringLiteral("the matching network cannot be sized"));
    const pwmpower::FieldRule magnitude{eng::Range::NonNegative, false, 1e12};
    const double R = reader.read(ui->filterRload, QStringLiteral("R_LOAD"), magnitude);
    const QString none = QStringLiteral("none");

    auto show = [&](const pwmpower::Matching &m) {
        if (m.none) {
            ui->filterRm->setText(none);
            ui->filterCm->setText(none);
            ui->filterLm->setText(none);
            for (QLabel *label : {ui->filterRm, ui->filterCm, ui->filterLm})
                eng::setResultRed(label, false);
            return;
        }
        showFigure(ui->filterRm, m.R, kOhm);
        // The load type decides which part the branch holds: with R = 0 a capacitive load
        // still needs the R^2 C inductance (0), never a capacitor.
        QLabel *used = m.capacitiveLoad ? ui->filterLm : ui->filterCm;
        QLabel *unused = m.capacitiveLoad ? ui->filterCm : ui->filterLm;
        unused->setText(none);
        eng::setResultRed(unused, false);
        showFigure(used, m.capacitiveLoad ? m.L : m.C,
                   m.capacitiveLoad ? QStringLiteral("H") : QStringLiteral("F"));
    };

    // A reactance of "short", "open" or 0 needs no matching; a negative one is impossible.
    auto readReactance = [&](QLineEdit *edit, const QString &name) {
        const QString text = edit->text();
        if (text == QLatin1String("short") || text == QLatin1String("open"))
            return parseLineEdit(edit, QStringLiteral("R"));
        return reader.read(edit, name, magnitude);
    };

    if (ui->filterLoadIsC->isChecked()) {
        ui->filterLload->setEnabled(false);
        ui->filterCload->setEnabled(true);
        ui->filterLload->setText(QStringLiteral("short"));
        const double C = readReactance(ui->filterCload, QStringLiteral("C_LOAD"));
        show(pwmpower::matchingForCapacitiveLoad(R, ui->filterCload->text(), C));
    } else if (ui->filterLoadIsL->isChecked()) {
        ui->filterCload->setEnabled(false);
        ui->filterLload->setEnabled(true);
        ui->filterCload->setText(QStringLiteral("short"));
        const double L = readReactance(ui->filterLload, QStringLiteral("L_LOAD"));
        const pwmpower::Matching m =
            pwmpower::matchingForInductiveLoad(R, ui->filterLload->text(), L);
        show(m);
        if (!m.none && R == 0)
            reader.notes << QStringLiteral("R_LOAD is 0: the matching capacitor L / R%1 is "
                                           "unbounded")
                                .arg(QChar(0x00B2));
    }
    showFilterNotes(reader.notes);
    loadSchematic();
}

void MainWindow::loadFilter()
{
    designModified = true;

    pwmpower::HandOverInput in;
    for (int i = 0; i < 6; ++i)
        in.filterValues[i] = filterValues[i];
    in.order = ui->filterOrderActual->value();
    in.type = filterPageType(ui);
    in.load = ui->filterLoadIsC->isChecked()   ? pwmpower::LoadKind::Capacitive
              : ui->filterLoadIsL->isChecked() ? pwmpower::LoadKind::Inductive
                                               : pwmpower::LoadKind::Unset;
    in.LloadText = ui->filterLload->text();
    in.LloadMilli = parseLineEdit(ui->filterLload, QStringLiteral("R"));
    in.RL = parseLineEdit(ui->filterR_L, QStringLiteral("R"));
    in.CloadText = ui->filterCload->text();
    if (in.load == pwmpower::LoadKind::Capacitive)
        in.CloadMicro = parseLineEdit(ui->filterCload, QStringLiteral("R"));
    const pwmpower::HandOver h = pwmpower::handOverFilter(in);

    QString *P[6] = {P1, P2, P3, P4, P5, P6};
    for (int k = 0; k < 6; ++k)
        pwmpower::storeTriple(P[k], h.P[k]);
    pwmpower::storeTriple(MN, h.MN);
    QString *L[5] = {L1, L2, L3, L4, L5};
    for (int i = 0; i < 5; ++i)
        pwmpower::storeTriple(L[i], h.L[i]);

    if (ui->HBbutton->isChecked()) ui->HBPower->setChecked(true);
    if (ui->FBbutton->isChecked()) ui->FBPower->setChecked(true);
    switch (in.type) {
    case pwmpower::FilterType::SingleEnded:
        ui->SEpower->setChecked(true);
        break;
    case pwmpower::FilterType::SplitInductor:
        ui->SIpower->setChecked(true);
        break;
    case pwmpower::FilterType::DualCapacitor:
        ui->DCpower->setChecked(true);
        break;
    }
    {
        // The page is recomputed once below, with everything in place.
        const QSignalBlocker blocker(ui->PWMfilterOrder);
        ui->PWMfilterOrder->setValue(in.order);
    }
    extendedLoad = false;
    ui->ExtendedLoad->setText(QStringLiteral("Extended Load"));

    // By name: the power page lists no three-phase parts, so positions differ between the two
    // lists. A part the power page does not offer leaves its choice as it was.
    const QString name = ui->ampSelectorFilter->currentText();
    const int index =
        ui->ampSelectorPower->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        ui->ampSelectorPower->setCurrentIndex(index);
        powerActionNote.clear();
    } else {
        powerActionNote =
            pwmpower::partNotTakenOverNote(name, ui->ampSelectorPower->currentText());
    }
    ui->VsPWM->setText(ui->filterVs->text());
    ui->FsPWM->setText(ui->filterFsw->text());

    ui->Page->setCurrentIndex(9);
    ui->PowerTabs->setCurrentIndex(0);
    refreshPower();
    plotFullFilter();
}
