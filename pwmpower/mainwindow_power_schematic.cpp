// The PWM power page's schematic of the whole output network on FullFilter: amplifier, filter
// with parasitics, matching network and load, every value a label that is edited by clicking.
#include "app/mainwindow.h"
#include "app/plotview.h"

#include "pwmpower/plotaxes.h"
#include "pwmpower/valuelabel.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

const QString kOhm = QString(QChar(0x03A9));
const QColor kFilterGreen(0, 180, 0), kMatchingBlue(0, 85, 255), kLoadRed(200, 0, 0);

// Label positions are compared as the schematic placed them.
bool samePosition(double a, double b)
{
    if (a == 0 || b == 0) return std::fabs(a - b) <= 1e-12;
    return std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
}

bool samePlace(const QCPItemText *a, const QCPItemText *b)
{
    const QPointF pa = a->position->coords(), pb = b->position->coords();
    return samePosition(pa.x(), pb.x()) && samePosition(pa.y(), pb.y());
}

} // namespace

void MainWindow::setupSPower()
{
    ui->yVariable->clear();
    ui->yVariable->addItems({QStringLiteral("Impedance"), QStringLiteral("Current"),
                             QStringLiteral("Voltage"), QStringLiteral("Phase Shift"),
                             QStringLiteral("Power"), QStringLiteral("Overall Efficiency"),
                             QStringLiteral("Attenuation (dB)"),
                             QStringLiteral("Attenuation (%)")});
    ui->yVariable->setCurrentIndex(6);
    ui->SigTypePWM->clear();
    ui->SigTypePWM->addItems({QStringLiteral("Max V_out = "), QStringLiteral("Max I_out = ")});
    ui->SigTypePWM->setCurrentIndex(0);
    ui->FilterFreq->legend->setVisible(true);
    plotview::keepLegendFitted(ui->FilterFreq);
    plotview::keepValueTitleReadable(ui->FilterFreq);
    ui->ExtendedLoad->setText(QStringLiteral("Extended Load"));
    ui->FullFilter->setInteraction(QCP::iSelectItems, true);
    connect(ui->FullFilter, &QCustomPlot::itemClick, this, &MainWindow::onSPowerItemClicked,
            Qt::UniqueConnection);
    // The refresh first: it settles the filter type a half-bridge part allows, which the
    // schematic then shows.
    refreshPower();
    plotFullFilter();
}

void MainWindow::extendLoad()
{
    ui->ExtendedLoad->setText(extendedLoad ? QStringLiteral("Condensed Load")
                                           : QStringLiteral("Extended Load"));
}

QCPItemText *MainWindow::addPowerText(const QString &text, double x, double y, Qt::Alignment align,
                                      const QColor &colour)
{
    auto *item = new QCPItemText(ui->FullFilter);
    item->position->setCoords(x, y);
    item->setPositionAlignment(align);
    item->setTextAlignment(Qt::AlignLeft);
    item->setText(text);
    item->setColor(colour);
    return item;
}

// One series L-R-C branch of the load from the top line at x down to the return line; its
// labels go to powerSchLabels[labelBase .. labelBase + 2]. The bottom end is a ground, or a
// wire along the return line back to x = returnTo.
void MainWindow::plotLoadBranch(double x, double returnTo, int labelBase, const QPen &pen,
                                bool toGround)
{
    QCustomPlot *plot = ui->FullFilter;
    plotWver(plot, pen, x, 0, 200);
    plotLver(plot, pen, x, -200);
    plotWver(plot, pen, x, -600, 200);
    plotRver(plot, pen, x, -800);
    plotWver(plot, pen, x, -1200, 200);
    plotCver(plot, pen, x, -1400);
    plotWver(plot, pen, x, -1800, 200);
    if (toGround)
        plotG(plot, pen, x, -2000);
    else
        plotWhor(plot, pen, x, -2000, returnTo - x);

    QString *branch[6] = {MN, L1, L2, L3, L4, L5};
    const QString *values = branch[labelBase / 3];
    const double dx[3] = {-250, -200, -200};
    const double y[3] = {-400, -1000, -1600};
    const QString units[3] = {QStringLiteral("H"), kOhm, QStringLiteral("F")};
    for (int j = 0; j < 3; ++j) {
        QCPItemText *label =
            addPowerText(QString(), x + dx[j], y[j], Qt::AlignRight | Qt::AlignVCenter);
        displayItemText(values[j], label, units[j]);
        label->setColor(kLoadRed);
        powerSchLabels[labelBase + j] = label;
    }
}

void MainWindow::plotFullFilter()
{
    for (QCPItemText *&label : powerFilterLabels)
        label = nullptr;
    for (QCPItemText *&label : powerSchLabels)
        label = nullptr;
    QCustomPlot *plot = ui->FullFilter;
    plot->clearGraphs();
    plot->clearItems();
    pwmpower::hideAxesAndGrid(plot);

    const bool se = ui->SEpower->isChecked();
    const bool dc = ui->DCpower->isChecked();
    const bool si = ui->SIpower->isChecked();
    const int n = ui->PWMfilterOrder->value();

    const QPen ampPen(Qt::black, 2), filterPen(kFilterGreen, 2), mnPen(kMatchingBlue, 2),
        loadPen(kLoadRed, 2);

    // Amplifier.
    plotRect(plot, ampPen, -1500, -2500, 1500, 3000);
    addPowerText(ui->ampSelectorPower->currentText(), -750, -1000, Qt::AlignCenter);
    addPowerText(QStringLiteral("A OUT"), -100, 0, Qt::AlignRight | Qt::AlignVCenter);
    addPowerText(QStringLiteral("B OUT"), -100, -2000, Qt::AlignRight | Qt::AlignVCenter);

    // Filter.
    const double xf = n >= 5 ? 6000 : n >= 3 ? 4000 : n >= 1 ? 2000 : 0;
    QString *P[6] = {P1, P2, P3, P4, P5, P6};
    for (int k = 1; k <= n && k <= 6; ++k) {
        const QString *t = P[k - 1];
        if (k % 2 == 1) {
            const double x0 = (k - 1) * 1000.0;
            for (const double y : {0.0, -2000.0}) {
                if (y != 0 && !si) break;
                plotWhor(plot, filterPen, x0, y, 600);
                plotLLarge(plot, filterPen, x0 + 600, y);
                plotWhor(plot, filterPen, x0 + 1400, y, 600);
            }
            QCPItemText *label =
                addPowerText(QString(), x0 + 450, -300, Qt::AlignLeft | Qt::AlignTop);
            displayLParasitics(t[0], t[1], t[2], label);
            label->setColor(kFilterGreen);
            powerFilterLabels[k - 1] = label;
            if (si)
                addPowerText(QStringLiteral("*"), x0 + 650, -2400, Qt::AlignCenter, kFilterGreen);
        } else {
            const double x1 = k * 1000.0;
            plotWver(plot, filterPen, x1, 0, 600);
            plotCLarge(plot, filterPen, x1, -600);
            QCPItemText *label =
                addPowerText(QString(), x1 - 350, -1150, Qt::AlignRight | Qt::AlignTop);
            displayCParasitics(t[2], t[1], t[0], label);
            label->setColor(kFilterGreen);
            powerFilterLabels[k - 1] = label;
            if (si)
                plotWver(plot, filterPen, x1, -1400, 600);
            else
                plotG(plot, filterPen, x1, -1400);
        }
    }
    if (n >= 1) {
        addPowerText(QStringLiteral("FILTER"), xf / 2, 400, Qt::AlignCenter, kFilterGreen);
        if (si)
            addPowerText(QStringLiteral("* Identical Inductor as Above"), xf, -2400,
                         Qt::AlignLeft | Qt::AlignVCenter, kFilterGreen);
    }

    // Matching network.
    const QLatin1String open("open");
    const bool matching =
        MN[0] != open && MN[1] != open && MN[2] != open && MN[2] != QLatin1String("0");
    double xs = xf;
    if (matching) {
        const double xm = xf + 1200;
        plotWhor(plot, mnPen, xf, 0, xm - xf);
        plotWver(plot, mnPen, xm, 0, 400);
        auto addMnLabel = [&](int j, double x, double y, const QString &unit) {
            QCPItemText *label = addPowerText(QString(), x, y, Qt::AlignRight | Qt::AlignVCenter);
            displayItemText(MN[j], label, unit);
            label->setColor(kMatchingBlue);
            powerSchLabels[j] = label;
        };
        if (MN[2] == QLatin1String("short")) {
            plotLver(plot, mnPen, xm, -400);
            addMnLabel(0, xm - 250, -600, QStringLiteral("H"));
        } else {
            plotCver(plot, mnPen, xm, -400);
            addMnLabel(2, xm - 200, -600, QStringLiteral("F"));
        }
        plotWver(plot, mnPen, xm, -800, 400);
        plotRver(plot, mnPen, xm, -1200);
        addMnLabel(1, xm - 200, -1400, kOhm);
        plotWver(plot, mnPen, xm, -1600, 400);
        if (se)
            plotG(plot, mnPen, xm, -2000);
        else
            plotWhor(plot, mnPen, xm, -2000, xf - xm);
        addPowerText(QStringLiteral("MATCHING\nNETWORK"), xm - 600, 400, Qt::AlignCenter,
                     kMatchingBlue);
        xs = xm;
    }

    // Load.
    double xL = 0;
    if (!extendedLoad) {
        addPowerText(QStringLiteral("LOAD"), xs + 600, 400, Qt::AlignCenter, kLoadRed);
        plotWhor(plot, loadPen, xs, 0, 1200);
        xL = xs + 1200;
        plotLoadBranch(xL, xs, 15, loadPen, se);
    } else {
        // L1 in the top line, L2 across it one level down.
        const QString units[3] = {QStringLiteral("H"), kOhm, QStringLiteral("F")};
        QString *series[2] = {L1, L2};
        for (int b = 0; b < 2; ++b) {
            const double y = b == 0 ? 0 : -1000;
            if (b == 0) {
                plotWhor(plot, loadPen, xs, 0, 1400);
            } else {
                plotWver(plot, loadPen, xs + 1200, 0, 1000);
                plotWhor(plot, loadPen, xs + 1200, y, 200);
            }
            plotLhor(plot, loadPen, xs + 1400, y);
            plotWhor(plot, loadPen, xs + 1800, y, 200);
            plotRhor(plot, loadPen, xs + 2000, y);
            plotWhor(plot, loadPen, xs + 2400, y, 200);
            plotChor(plot, loadPen, xs + 2600, y);
            plotWhor(plot, loadPen, xs + 3000, y, 200);
            if (b == 1) plotWver(plot, loadPen, xs + 3200, -1000, -1000);
            for (int j = 0; j < 3; ++j) {
                QCPItemText *label = addPowerText(QString(), xs + 1600 + 600 * j, y - 200,
                                                  Qt::AlignHCenter | Qt::AlignTop);
                displayItemText(series[b][j], label, units[j]);
                label->setColor(kLoadRed);
                powerSchLabels[3 + 3 * b + j] = label;
            }
        }
        plotWhor(plot, loadPen, xs + 3000, 0, 1200);
        plotLoadBranch(xs + 4200, xs, 9, loadPen, se);
        plotWhor(plot, loadPen, xs + 4200, 0, 1200);
        plotLoadBranch(xs + 5400, xs + 4200, 12, loadPen, se);
        addPowerText(QStringLiteral("LOAD"), xs + 3300, 400, Qt::AlignCenter, kLoadRed);
        plotWhor(plot, loadPen, xs + 5400, 0, 1200);
        xL = xs + 6600;
        plotLoadBranch(xL, xs + 5400, 15, loadPen, se);
    }

    // The other half of a dual-capacitor filter is not drawn: a note stands in for it.
    if (dc && n >= 1) {
        const QString twoLine = QStringLiteral("Identical\nFilter as Above");
        const QString oneLine = QStringLiteral("Identical Filter as Above");
        const double centre = n <= 2 ? 1000 : n <= 4 ? 2000 : 3000;
        const double gap = n <= 2 ? 700 : 1100; // half the space the text leaves
        addPowerText(n <= 2 ? twoLine : oneLine, centre, -2000, Qt::AlignCenter, kFilterGreen);
        plotWhor(plot, filterPen, 0, -2000, centre - gap);
        plotWhor(plot, filterPen, xf, -2000, centre + gap - xf);
    }

    plot->yAxis->setRange(-2600, 600);
    const double c = (xL - 1300) / 2;
    plot->xAxis->setRange(c - 7750, c + 7750);
    plot->replot();
}

void MainWindow::displayLParasitics(QString L, QString Rp, QString Cp, QCPItemText *item)
{
    item->setTextAlignment(Qt::AlignLeft);
    item->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    item->setText(pwmpower::inductorLabelText(L, Rp, Cp));
}

void MainWindow::displayCParasitics(QString C, QString Rp, QString Lp, QCPItemText *item)
{
    item->setTextAlignment(Qt::AlignLeft);
    item->setPositionAlignment(Qt::AlignRight | Qt::AlignTop);
    item->setText(pwmpower::capacitorLabelText(C, Rp, Lp));
}

void MainWindow::onSPowerItemClicked(QCPAbstractItem *item1, QMouseEvent *event1)
{
    Q_UNUSED(event1);
    const auto *clicked = qobject_cast<QCPItemText *>(item1);
    if (clicked) {
        // Load branches from L5 back to L1, then the matching network.
        QString *branch[6] = {MN, L1, L2, L3, L4, L5};
        const QString units[3] = {QStringLiteral("H"), kOhm, QStringLiteral("F")};
        for (int b = 5; b >= 0; --b) {
            for (int j = 0; j < 3; ++j) {
                QCPItemText *label = powerSchLabels[3 * b + j];
                if (label && samePlace(label, clicked))
                    branch[b][j] = changeSConValue(label, units[j]);
            }
        }
        QString *P[6] = {P1, P2, P3, P4, P5, P6};
        for (int k = 0; k < 6; ++k) {
            QCPItemText *label = powerFilterLabels[k];
            if (!label || !samePlace(label, clicked)) continue;
            if (k % 2 == 0)
                changeInductor(&P[k][0], &P[k][1], &P[k][2], label);
            else
                changeCapacitor(&P[k][2], &P[k][1], &P[k][0], label);
        }
    }
    plotFullFilter();
    refreshPower();
}
