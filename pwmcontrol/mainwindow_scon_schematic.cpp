// Step 3 of the wizard: the control schematic with its clickable values.
#include "app/mainwindow.h"

#include "pwmcontrol/sconschematic.h"
#include "schematic/labelplacement.h"
#include "schematic/picturescale.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

void MainWindow::drawSConSchematic()
{
    designModified = true;
    for (auto &pair : sconLabels)
        pair[0] = pair[1] = nullptr;
    for (auto &label : sconRangeLabels)
        label = nullptr;
    sconVsLabel = nullptr;
    sconVccLabel = nullptr;

    if (ui->V1button->isChecked())
        drawV1();
    else if (ui->V2button->isChecked())
        drawV2();
    else if (ui->I1button->isChecked())
        drawI1();
    else
        drawI2();
}

void MainWindow::drawV1()
{
    drawSCon(scon::Topology::Voltage1);
}

void MainWindow::drawV2()
{
    drawSCon(scon::Topology::Voltage2);
}

void MainWindow::drawI1()
{
    drawSCon(scon::Topology::Current1);
}

void MainWindow::drawI2()
{
    drawSCon(scon::Topology::Current2);
}

void MainWindow::drawSCon(scon::Topology topology)
{
    QCustomPlot *sch = ui->SControlSch;
    sch->clearGraphs();
    sch->clearItems();

    const pwm part = findSwitching(ui->ampSelectorSCon->currentText());
    scon::SchematicInput in;
    in.topology = topology;
    in.fullBridge = ui->FBPower->isChecked();
    in.hideBlocks = ui->SConHideBlocks->isChecked();
    in.partName = part.getAmpName();
    in.errorAmp = part.getErrorAmp();
    in.positiveDC = part.getPositiveDC();
    const scon::Drawing d = scon::controlSchematic(in);

    for (const scon::Stroke &s : d.strokes) {
        QPen pen(scon::inkColour(s.ink), 2, Qt::SolidLine);
        if (scon::inkDotted(s.ink)) pen = QPen(scon::inkColour(s.ink), 1, Qt::DotLine);
        switch (s.shape) {
        case scon::Shape::ResistorHor:
            plotRhor(sch, pen, s.x, s.y);
            break;
        case scon::Shape::ResistorVer:
            plotRver(sch, pen, s.x, s.y);
            break;
        case scon::Shape::CapacitorHor:
            plotChor(sch, pen, s.x, s.y);
            break;
        case scon::Shape::CapacitorVer:
            plotCver(sch, pen, s.x, s.y);
            break;
        case scon::Shape::WireHor:
            plotWhor(sch, pen, s.x, s.y, s.a);
            break;
        case scon::Shape::WireVer:
            plotWver(sch, pen, s.x, s.y, s.a);
            break;
        case scon::Shape::Ground:
            plotG(sch, pen, s.x, s.y);
            break;
        case scon::Shape::HopVer:
            plotJver(sch, pen, s.x, s.y, s.a);
            break;
        case scon::Shape::Rect:
            plotRect(sch, pen, s.x, s.y, s.a, s.b);
            break;
        case scon::Shape::OpAmp:
            plotOA(sch, pen, s.x, s.y);
            break;
        case scon::Shape::OpAmpLeft:
            plotOAR(sch, pen, s.x, s.y);
            break;
        }
    }

    const scon::ValueStrings values = sconValues();
    for (const scon::Text &t : d.texts) {
        auto *item = new QCPItemText(sch);
        item->position->setCoords(t.x, t.y);
        item->setPositionAlignment(t.align);
        if (!t.offset.isNull()) schem::setLabelOffset(item, t.offset);
        switch (t.role) {
        case scon::TextRole::Plain:
            item->setText(t.text);
            item->setColor(t.colour);
            break;
        case scon::TextRole::Value:
            sconLabels[t.value][t.copy - 1] = item;
            displayItemText(values[t.value], item, scon::valueUnit(t.value));
            break;
        case scon::TextRole::Range:
            sconRangeLabels[t.range] = item;
            item->setText(sconRanges[t.range]);
            break;
        case scon::TextRole::VsSupply:
            sconVsLabel = item;
            showSConSupply(item, scon::FieldVs);
            break;
        case scon::TextRole::VccSupply:
            sconVccLabel = item;
            showSConSupply(item, scon::FieldVcc);
            break;
        }
    }

    sch->xAxis->setRange(d.xMin, d.xMax);
    sch->yAxis->setRange(d.yMin, d.yMax);
    schem::scaleTextsToPageView(sch, scon::kTextEm);
    schem::keepLabelsClear(sch);
    sch->replot();
}

void MainWindow::onSConItemClicked(QCPAbstractItem *item1, QMouseEvent *event1)
{
    Q_UNUSED(event1);
    auto *clicked = qobject_cast<QCPItemText *>(item1);
    if (clicked) {
        const QPointF at = clicked->position->coords();
        auto matches = [&at](const QPointer<QCPItemText> &label) {
            return label && label->position->coords() == at;
        };
        // A value label asks for the new value and rewrites its twin too.
        auto editValue = [&](int value) {
            const QString unit = scon::valueUnit(value);
            QPointer<QCPItemText> *pair = sconLabels[value];
            for (int i = 0; i < 2; ++i) {
                if (!matches(pair[i])) continue;
                QCPItemText *twin = pair[1 - i].data();
                *sconValue(value) = twin ? changeSConValue(pair[i].data(), unit, twin)
                                         : changeSConValue(pair[i].data(), unit);
            }
        };
        auto editSupply = [&](const QPointer<QCPItemText> &label, QLineEdit *field) {
            if (matches(label)) field->setText(changeSConValue(label.data(), QStringLiteral("V")));
        };
        using namespace scon;
        for (int value : {Cint, Rint, Vref, Vbias, Rbias, Rin, Rf, Rnf, Cnf, Rdf, Cdf, Rdin, Rdif,
                          Cdif, Rbh, Rbl})
            editValue(value);
        editSupply(sconVsLabel, ui->SConVs);
        editSupply(sconVccLabel, ui->SConVcc);
        for (int value : {Rv, Cv, Rs})
            editValue(value);
    }
    refreshSCon();
}
