// Stability page: the schematic canvas, the option buttons the selected part allows, and the
// drawing of the chosen circuit from its layout.
#include "app/mainwindow.h"

#include "schematic/labelplacement.h"
#include "schematic/picturescale.h"
#include "schematic/schematicstroke.h"
#include "stability/stabschematic.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

namespace {

QPen stabPen(stab::StabPen which)
{
    QPen pen;
    pen.setWidth(3);
    pen.setColor(stab::stabPenColour(which));
    return pen;
}

} // namespace

void MainWindow::setupStabSch()
{
    QCustomPlot *sch = ui->StabSch;
    sch->setInteractions(sch->interactions() | QCP::iSelectItems);
    connect(sch, &QCustomPlot::itemClick, this, &MainWindow::onStabSchItemClicked);
    sch->legend->setVisible(false);
    sch->xAxis->setVisible(false);
    sch->yAxis->setVisible(false);
    sch->xAxis->grid()->setVisible(false);
    sch->xAxis->grid()->setSubGridVisible(false);
    schem::scaleTextsToPageView(sch, stab::kStabTextEm);
    schem::keepLabelsClear(sch);
}

void MainWindow::settleCompOption()
{
    const amp part = findLinear(ui->AmpSelectorStab->currentText());
    CompOption = stab::validCompOption(CompOption, part.getSROptions());
}

void MainWindow::decideStabSch()
{
    settleCompOption();
    const amp part = findLinear(ui->AmpSelectorStab->currentText());

    stab::StabOptionsInput options;
    options.inputs = part.getInputs();
    options.loads = part.getLoads();
    options.circuitType = part.getCircuitType();
    options.capacitive = ui->CloadButton->isChecked();
    options.composite = ui->compositeCheckBox->isChecked();
    const stab::StabOptions allowed = stab::allowedOptions(options);

    // Checking an input button runs a whole refresh through StabInv's toggled signal; it finds
    // the options settled and draws, and this drawing then replaces it.
    ui->StabInv->setEnabled(true);
    ui->LloadButton->setEnabled(allowed.inductiveEnabled);
    if (allowed.capacitive && !ui->CloadButton->isChecked()) ui->CloadButton->setChecked(true);
    ui->compositeCheckBox->setEnabled(allowed.compositeEnabled);
    if (!allowed.composite) ui->compositeCheckBox->setChecked(false);
    if (allowed.check == stab::InputCheck::NonInverting)
        ui->StabNon->setChecked(true);
    else if (allowed.check == stab::InputCheck::Inverting)
        ui->StabInv->setChecked(true);
    ui->StabNon->setEnabled(allowed.nonInvertingEnabled);
    ui->StabInv->setEnabled(allowed.invertingEnabled);

    stab::StabSchematicInput in;
    in.capacitive = ui->CloadButton->isChecked();
    in.composite = ui->compositeCheckBox->isChecked();
    in.inverting = ui->StabInv->isChecked();
    in.compOption = CompOption;
    in.values = stabCircuitValues();
    const stab::StabSchematic s = stab::layoutStabSchematic(part, in);

    QCustomPlot *sch = ui->StabSch;
    sch->clearGraphs();
    sch->clearItems();
    for (QPointer<QCPItemText> &label : stabSchLabels)
        label = nullptr;
    drawStabSchematic(sch, s);
    sch->xAxis->setRange(s.centre.x() - stab::kStabViewHalfWidth,
                         s.centre.x() + stab::kStabViewHalfWidth);
    sch->yAxis->setRange(s.centre.y() - stab::kStabViewHalfHeight,
                         s.centre.y() + stab::kStabViewHalfHeight);
    sch->replot();
}

void MainWindow::drawStabSchematic(QCustomPlot *plot, const stab::StabSchematic &s)
{
    using P = stab::StabPrimitive;
    for (const stab::StabStroke &st : s.strokes) {
        const QPen pen = stabPen(st.pen);
        switch (st.kind) {
        case P::Whor:
            plotWhor(plot, pen, st.x, st.y, st.len);
            break;
        case P::Wver:
            plotWver(plot, pen, st.x, st.y, st.len);
            break;
        case P::Rhor:
            plotRhor(plot, pen, st.x, st.y);
            break;
        case P::Rver:
            plotRver(plot, pen, st.x, st.y);
            break;
        case P::Chor:
            plotChor(plot, pen, st.x, st.y);
            break;
        case P::Cver:
            plotCver(plot, pen, st.x, st.y);
            break;
        case P::Lhor:
            plotLhor(plot, pen, st.x, st.y);
            break;
        case P::G:
            plotG(plot, pen, st.x, st.y);
            break;
        case P::PA:
            plotPA(plot, pen, st.x, st.y);
            break;
        case P::OA:
            plotOA(plot, pen, st.x, st.y);
            break;
        case P::GZ:
            plotGZ(plot, pen, st.x, st.y);
            break;
        case P::UpTri:
            plotUpTri(plot, pen, st.x, st.y);
            break;
        }
    }

    for (const stab::StabText &t : s.texts) {
        auto *item = new QCPItemText(plot);
        item->position->setCoords(t.pos);
        item->setPositionAlignment(t.align);
        if (!t.offset.isNull()) schem::setLabelOffset(item, t.offset);
        item->setText(t.text);
        if (t.slot >= 0) stabSchLabels[t.slot] = item;
    }
    for (const stab::StabValueLabel &l : s.labels) {
        auto *item = new QCPItemText(plot);
        stabSchLabels[l.slot] = item;
        item->position->setCoords(l.pos);
        item->setPositionAlignment(l.align);
        if (!l.offset.isNull()) schem::setLabelOffset(item, l.offset);
        displayStabText(l.value, item, l.caption, l.unit);
        // A negative part value is as unusable as an unreadable one.
        bool readable = false;
        if (eng::parseItemText(l.value, &readable) < 0) item->setColor(QColor(255, 0, 0));
    }
}

void MainWindow::plotCcomp(QCustomPlot *plot, amp linear)
{
    drawStabSchematic(plot, stab::layoutCompensationNetwork(linear, CompOption));
}

void MainWindow::plotUpTri(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, stab::upTriangle(xLoc, yLoc));
}

void MainWindow::plotGZ(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, stab::boosterTriangle(xLoc, yLoc));
}
