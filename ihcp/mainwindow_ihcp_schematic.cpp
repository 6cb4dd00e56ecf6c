// The pump page's set-up and its schematic: the circuit drawn from the page state with a
// clickable label on every value, and the texts of those labels.
#include "app/mainwindow.h"

#include "ihcp/pumplabels.h"
#include "schematic/labelplacement.h"
#include "schematic/picturescale.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

namespace {

// A text of the schematic anchored in plot coordinates.
QCPItemText *addText(QCustomPlot *sch, double x, double y, const QString &text, Qt::Alignment align)
{
    auto *item = new QCPItemText(sch);
    item->position->setType(QCPItemPosition::ptPlotCoords);
    item->position->setCoords(x, y);
    item->setText(text);
    item->setPositionAlignment(align);
    return item;
}

const Qt::Alignment kBelow = Qt::AlignHCenter | Qt::AlignTop;
const Qt::Alignment kAbove = Qt::AlignHCenter | Qt::AlignBottom;
const Qt::Alignment kRightOf = Qt::AlignLeft | Qt::AlignVCenter;
const Qt::Alignment kLeftOf = Qt::AlignRight | Qt::AlignVCenter;

} // namespace

void MainWindow::setupIHCP()
{
    QCustomPlot *sch = ui->IHCPschematic;
    connect(sch, &QCustomPlot::itemClick, this, &MainWindow::onIHCPItemClicked);
    sch->legend->setVisible(false);
    sch->xAxis->setVisible(false);
    sch->yAxis->setVisible(false);
    sch->xAxis->grid()->setVisible(false);
    sch->xAxis->grid()->setSubGridVisible(false);
    sch->plotLayout()->insertRow(0);
    sch->plotLayout()->addElement(
        0, 0, new QCPTextElement(sch, QStringLiteral("Improved Howland Current Pump")));
    // Pan and zoom; labels are not selectable, yet their clicks are still reported.
    sch->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    // Its texts grow with the drawing, and so keep their places beside their parts.
    schem::scaleTextsToPageView(sch, 220);

    QCustomPlot *bode = ui->IHCPbode;
    bode->plotLayout()->insertRow(0);
    bode->plotLayout()->addElement(0, 0, IHCPbodeTitle);

    setupIHCPplots();
    drawIHCP();
}

void MainWindow::drawIHCP()
{
    const amp part = IHCPamp();
    const bool inv = ui->IHCPInvButton->isChecked();
    const bool suits = part.getInputs() == QLatin1String("both");
    const bool showCcomp =
        part.getSROptions() >= 2 || (part.getSROptions() == 1 && part.getCcomp(0) != 0);

    const QPen pen(Qt::black, 2);
    const QPen damping(QColor(255, 128, 0), 2);
    const QPen compensation(QColor(0, 0, 255), 2);

    QCustomPlot *sch = ui->IHCPschematic;
    sch->clearGraphs();
    sch->clearItems();
    for (QPointer<QCPItemText> *label :
         {&IHCPRinLabel, &IHCPRipLabel, &IHCPRfnLabel, &IHCPRfpLabel, &IHCPRsLabel, &IHCPRdLabel,
          &IHCPCdLabel, &IHCPloadLabel, &IHCPCcompLabel, &IHCPVinLabel, &IHCPVloadLabel})
        *label = nullptr;

    if (!suits) {
        addText(sch, 1500, -100,
                QStringLiteral("This product is not recommended for IHCP operation. \n"
                               "Please select a different amplifier."),
                Qt::AlignCenter);
    } else {
        const QString ohm = QStringLiteral("Ω");
        // A wire between two points on one horizontal or vertical line.
        const auto wire = [&](double x1, double y1, double x2, double y2, const QPen &p) {
            if (y1 == y2)
                plotWhor(sch, p, x1, y1, x2 - x1);
            else
                plotWver(sch, p, x1, y1, y1 - y2);
        };

        plotPA(sch, pen, 0, 0);
        addText(sch, 350, 0, QStringLiteral("AMP"), Qt::AlignCenter);

        plotRhor(sch, pen, 400, 1400);
        IHCPRfnLabel = addText(sch, 600, 1200, QString(), kBelow);
        displayTolText(IHCPRfn, IHCPRfnT, IHCPRfnLabel, ohm);
        plotRhor(sch, pen, 400, -1400);
        IHCPRfpLabel = addText(sch, 600, -1600, QString(), kBelow);
        displayTolText(IHCPRfp, IHCPRfpT, IHCPRfpLabel, ohm);
        plotRhor(sch, pen, -1600, 1400);
        // The input pair's values stand on the outer sides of their resistors, or the two
        // would face each other between them and neither would say which is which.
        IHCPRinLabel = addText(sch, -1400, 1200, QString(), kAbove);
        schem::setLabelOffset(IHCPRinLabel, QPointF(0, 350));
        displayTolText(IHCPRin, IHCPRinT, IHCPRinLabel, ohm);
        plotRhor(sch, pen, -1600, -1400);
        IHCPRipLabel = addText(sch, -1400, -1200, QString(), kBelow);
        schem::setLabelOffset(IHCPRipLabel, QPointF(0, -350));
        displayTolText(IHCPRin, IHCPRinT, IHCPRipLabel, ohm);
        plotRhor(sch, pen, 1600, 0);
        IHCPRsLabel = addText(sch, 1800, 200, QString(), kAbove);
        displayTolText(IHCPRs, IHCPRsT, IHCPRsLabel, ohm);

        plotRver(sch, damping, 3200, -200);
        IHCPRdLabel = addText(sch, 3400, -400, QString(), kRightOf);
        displayStabText(IHCPRd, IHCPRdLabel, QStringLiteral("R_D"), ohm);
        plotCver(sch, damping, 3200, -800);
        IHCPCdLabel = addText(sch, 3450, -1000, QString(), kRightOf);
        displayStabText(IHCPCd, IHCPCdLabel, QStringLiteral("C_D"), QStringLiteral("F"));

        plotRect(sch, pen, 4500, -200, 300, -800);
        IHCPloadLabel = addText(sch, 4900, -600, QString(), kRightOf);
        const bool inductive = IHCPCload == QLatin1String("short");
        displayLoadText(IHCPRload, inductive ? QStringLiteral("L") : QStringLiteral("C"),
                        inductive ? IHCPLload : IHCPCload, IHCPFreq, IHCPloadLabel);

        IHCPVloadLabel = addText(sch, 4650, 500, QStringLiteral("V at Load = "), Qt::AlignCenter);

        if (showCcomp) {
            plotChor(sch, compensation, 300, -600);
            wire(300, -600, 300, -350, compensation);
            wire(700, -600, 700, -150, compensation);
            IHCPCcompLabel =
                addText(sch, 800, -600,
                        QStringLiteral("C_COMP\n") +
                            QString::number(part.getCcomp(IHCPcompOption(part)), 'g', 6) +
                            QStringLiteral(" pF"),
                        kRightOf);
        }

        // Input side and the two input nodes.
        wire(-1800, 1400, -1600, 1400, pen);
        wire(-1800, -1400, -1600, -1400, pen);
        wire(-1200, 1400, 400, 1400, pen);
        wire(-400, 1400, -400, 200, pen);
        wire(-400, 200, 0, 200, pen);
        wire(-1200, -1400, 400, -1400, pen);
        wire(-400, -1400, -400, -200, pen);
        wire(-400, -200, 0, -200, pen);
        // Output node: the negative feedback leaves before the sense resistor ...
        wire(1000, 0, 1600, 0, pen);
        wire(800, 1400, 1300, 1400, pen);
        wire(1300, 1400, 1300, 0, pen);
        // ... the positive feedback after it, from the load node.
        wire(2000, 0, 4650, 0, pen);
        wire(800, -1400, 2300, -1400, pen);
        wire(2300, -1400, 2300, 0, pen);
        wire(3200, 0, 3200, -200, damping);
        wire(3200, -600, 3200, -800, damping);
        plotG(sch, damping, 3200, -1200);
        wire(4650, 0, 4650, -200, pen);
        wire(4650, -1000, 4650, -1200, pen);
        plotG(sch, pen, 4650, -1200);

        // The signal drives one input resistor; the other one's free end is grounded (both
        // grounds hang down from their line).
        const double line = inv ? 1400 : -1400;
        addText(sch, -1900, line, QStringLiteral("V_IN"), kLeftOf);
        wire(-1800, -line, -1800, -line - 200, pen);
        plotG(sch, pen, -1800, -line - 200);
        // The input range stands towards the middle of the drawing, a line's height clear of
        // the terminal's name: at its anchor the two would touch corner to corner and read as
        // one text.
        const double inward = inv ? -1 : 1;
        IHCPVinLabel = addText(sch, -2300, line + 400 * inward, QStringLiteral("V_IN = "), kLeftOf);
        schem::setLabelOffset(IHCPVinLabel, QPointF(0, 200 * inward));
    }

    sch->xAxis->setRange(-4500, 7500);
    sch->yAxis->setRange(-2100, 2300);
    schem::keepLabelsClear(sch);
    sch->replot();
}

void MainWindow::displayTolText(QString text, QString tol, QCPItemText *item, QString type,
                                QCPItemText *item2)
{
    const double value = parseItemValue(text, item); // colours item
    const QString label = ihcp::toleranceLabelText(text, value, tol, type);
    item->setText(label);
    if (item2) item2->setText(label);
}

void MainWindow::displayLoadText(QString R, QString CorL, QString value, QString freq,
                                 QCPItemText *item)
{
    // Each read colours the label; the frequency, read last, decides its colour.
    const double r = parseItemValue(R, item);
    const double x = parseItemValue(value, item);
    parseItemValue(freq, item);
    item->setText(ihcp::loadLabelText(R, r, CorL, value, x, freq));
}
