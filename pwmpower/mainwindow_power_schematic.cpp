// The PWM power page's schematic of the whole output network on FullFilter: amplifier, filter
// with parasitics, matching network and load, every value a label that is edited by clicking.
#include "app/mainwindow.h"
#include "app/plotview.h"

#include "pwmpower/plotaxes.h"
#include "pwmpower/valuelabel.h"
#include "schematic/labelplacement.h"
#include "schematic/picturescale.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {

const QString kOhm = QString(QChar(0x03A9));
const QColor kFilterGreen(0, 180, 0), kMatchingBlue(0, 85, 255), kLoadRed(200, 0, 0);

// The drawing is a picture fitted to its plot: a line of text is kTextLine plot units high at
// most, and the places below leave each value that room beside its own part.
constexpr double kTextLine = 200;
constexpr double kReturnLine = -1600;      // the y of the B output's line
constexpr double kOverFilterCoil = 150;    // the bottom of a value above a filter coil (it hangs)
constexpr double kOverTopLine = 250;       // ... above a part of the load, in its line
constexpr double kUnderReturnCoil = -1950; // a mark under a coil of the return line
constexpr double kBesidePart = 250;        // the left edge of a value right of a vertical R or C
constexpr double kBesideInductor = 150;    // ... of a vertical inductor, which bulges to the left
constexpr double kBranchSpacing = 1600;    // between load branches: a value and the next coil

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
    schem::keepLabelsClear(ui->FullFilter);
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
// labels go to powerSchLabels[labelBase .. labelBase + 2], to the right of their parts (the
// vertical inductor bulges to the left). The bottom end is a ground, or a wire along the return
// line back to x = returnTo.
void MainWindow::plotLoadBranch(double x, double returnTo, int labelBase, const QPen &pen,
                                bool toGround)
{
    QCustomPlot *plot = ui->FullFilter;
    plotWver(plot, pen, x, 0, 100);
    plotLver(plot, pen, x, -100);
    plotWver(plot, pen, x, -500, 100);
    plotRver(plot, pen, x, -600);
    plotWver(plot, pen, x, -1000, 100);
    plotCver(plot, pen, x, -1100);
    plotWver(plot, pen, x, -1500, -1500 - kReturnLine);
    if (toGround)
        plotG(plot, pen, x, kReturnLine);
    else
        plotWhor(plot, pen, x, kReturnLine, returnTo - x);

    QString *branch[6] = {MN, L1, L2, L3, L4, L5};
    const QString *values = branch[labelBase / 3];
    const double dx[3] = {kBesideInductor, kBesidePart, kBesidePart};
    const double y[3] = {-300, -800, -1300};
    const QString units[3] = {QStringLiteral("H"), kOhm, QStringLiteral("F")};
    for (int j = 0; j < 3; ++j) {
        QCPItemText *label =
            addPowerText(QString(), x + dx[j], y[j], Qt::AlignLeft | Qt::AlignVCenter);
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
    const Qt::Alignment above = Qt::AlignHCenter | Qt::AlignBottom;
    const Qt::Alignment rightOf = Qt::AlignLeft | Qt::AlignVCenter;

    // Amplifier.
    plotRect(plot, ampPen, -1500, kReturnLine - 300, 1500, 600 - kReturnLine);
    addPowerText(ui->ampSelectorPower->currentText(), -750, kReturnLine / 2, Qt::AlignCenter);
    addPowerText(QStringLiteral("A OUT"), -100, 0, Qt::AlignRight | Qt::AlignVCenter);
    addPowerText(QStringLiteral("B OUT"), -100, kReturnLine, Qt::AlignRight | Qt::AlignVCenter);

    // Filter: inductors in the top line with their values above them, capacitors hanging from it
    // with theirs on their right, in the room before the next stage.
    const double xf = n >= 5 ? 6000 : n >= 3 ? 4000 : n >= 1 ? 2000 : 0;
    QString *P[6] = {P1, P2, P3, P4, P5, P6};
    for (int k = 1; k <= n && k <= 6; ++k) {
        const QString *t = P[k - 1];
        if (k % 2 == 1) {
            const double x0 = (k - 1) * 1000.0;
            for (const double y : {0.0, kReturnLine}) {
                if (y != 0 && !si) break;
                plotWhor(plot, filterPen, x0, y, 600);
                plotLLarge(plot, filterPen, x0 + 600, y);
                plotWhor(plot, filterPen, x0 + 1400, y, 600);
            }
            QCPItemText *label = addPowerText(QString(), x0 + 1000, kOverFilterCoil, above);
            displayLParasitics(t[0], t[1], t[2], label);
            label->setColor(kFilterGreen);
            powerFilterLabels[k - 1] = label;
            if (si)
                addPowerText(QStringLiteral("*"), x0 + 1000, kUnderReturnCoil, Qt::AlignCenter,
                             kFilterGreen);
        } else {
            const double x1 = k * 1000.0;
            plotWver(plot, filterPen, x1, 0, 400);
            plotCLarge(plot, filterPen, x1, -400);
            QCPItemText *label = addPowerText(QString(), x1 + 400, -800, rightOf);
            displayCParasitics(t[2], t[1], t[0], label);
            label->setColor(kFilterGreen);
            powerFilterLabels[k - 1] = label;
            if (si)
                plotWver(plot, filterPen, x1, -1200, -1200 - kReturnLine);
            else
                plotG(plot, filterPen, x1, -1200);
        }
    }
    // The captions' middle: over the tallest values above the top line, a line apart from them
    // (values stacked closer read as one text), and clear of the matching network's two lines.
    int filterLines = 0;
    for (int k = 0; k < n && k < 6; k += 2)
        if (powerFilterLabels[k])
            filterLines = std::max(filterLines, int(powerFilterLabels[k]->text().count('\n')) + 1);
    const double captionLine =
        std::max({kOverFilterCoil + kTextLine * (filterLines + 1.75),
                  extendedLoad ? kOverTopLine + kTextLine * 2.75 : 0.0, 2.5 * kTextLine});
    if (n >= 1) {
        addPowerText(QStringLiteral("FILTER"), xf / 2, captionLine, Qt::AlignCenter, kFilterGreen);
        if (si)
            addPowerText(QStringLiteral("* Identical Inductor as Above"), xf, kUnderReturnCoil,
                         Qt::AlignLeft | Qt::AlignVCenter, kFilterGreen);
    }
    // A filter that ends with a capacitor leaves its value the room on its right.
    const double xe = n >= 1 && n % 2 == 0 ? xf + 600 : xf;

    // Matching network, its values on the right of its parts.
    const QLatin1String open("open");
    const bool matching =
        MN[0] != open && MN[1] != open && MN[2] != open && MN[2] != QLatin1String("0");
    double xs = xe;
    if (matching) {
        const double xm = xe + 1200;
        plotWhor(plot, mnPen, xf, 0, xm - xf);
        plotWver(plot, mnPen, xm, 0, 200);
        auto addMnLabel = [&](int j, double x, double y, const QString &unit) {
            QCPItemText *label = addPowerText(QString(), x, y, rightOf);
            displayItemText(MN[j], label, unit);
            label->setColor(kMatchingBlue);
            powerSchLabels[j] = label;
        };
        if (MN[2] == QLatin1String("short")) {
            plotLver(plot, mnPen, xm, -200);
            addMnLabel(0, xm + kBesideInductor, -400, QStringLiteral("H"));
        } else {
            plotCver(plot, mnPen, xm, -200);
            addMnLabel(2, xm + kBesidePart, -400, QStringLiteral("F"));
        }
        plotWver(plot, mnPen, xm, -600, 200);
        plotRver(plot, mnPen, xm, -800);
        addMnLabel(1, xm + kBesidePart, -1000, kOhm);
        plotWver(plot, mnPen, xm, -1200, -1200 - kReturnLine);
        if (se)
            plotG(plot, mnPen, xm, kReturnLine);
        else
            plotWhor(plot, mnPen, xm, kReturnLine, xf - xm);
        addPowerText(QStringLiteral("MATCHING\nNETWORK"), xm, captionLine, Qt::AlignCenter,
                     kMatchingBlue);
        xs = xm + 400; // the room its values take
    }
    const double xw = matching ? xs - 400 : xf; // where the load's wires start

    // Load: a branch keeps its values between it and the next one.
    if (!extendedLoad) {
        const double xL = xs + 1200;
        plotWhor(plot, loadPen, xw, 0, xL - xw);
        addPowerText(QStringLiteral("LOAD"), xL, captionLine, Qt::AlignCenter, kLoadRed);
        plotLoadBranch(xL, xw, 15, loadPen, se);
    } else {
        // L1 in the top line with its values above it, L2 across it one level down with its
        // values below.
        const QString units[3] = {QStringLiteral("H"), kOhm, QStringLiteral("F")};
        QString *series[2] = {L1, L2};
        const double x0 = xs + 1200;
        plotWhor(plot, loadPen, xw, 0, x0 - xw);
        for (int b = 0; b < 2; ++b) {
            const double y = b == 0 ? 0 : -800;
            if (b == 1) plotWver(plot, loadPen, x0, 0, 800);
            plotWhor(plot, loadPen, x0, y, 200);
            plotLhor(plot, loadPen, x0 + 200, y);
            plotWhor(plot, loadPen, x0 + 600, y, 400);
            plotRhor(plot, loadPen, x0 + 1000, y);
            plotWhor(plot, loadPen, x0 + 1400, y, 400);
            plotChor(plot, loadPen, x0 + 1800, y);
            plotWhor(plot, loadPen, x0 + 2200, y, 200);
            if (b == 1) plotWver(plot, loadPen, x0 + 2400, -800, -800);
            for (int j = 0; j < 3; ++j) {
                QCPItemText *label =
                    b == 0 ? addPowerText(QString(), x0 + 400 + 800 * j, kOverTopLine, above)
                           : addPowerText(QString(), x0 + 400 + 800 * j, -800 - kOverTopLine,
                                          Qt::AlignHCenter | Qt::AlignTop);
                displayItemText(series[b][j], label, units[j]);
                label->setColor(kLoadRed);
                powerSchLabels[3 + 3 * b + j] = label;
            }
        }
        const double xb = x0 + 2400; // the end of the series part
        plotWhor(plot, loadPen, xb, 0, 1200);
        plotLoadBranch(xb + 1200, xw, 9, loadPen, se);
        plotWhor(plot, loadPen, xb + 1200, 0, kBranchSpacing);
        plotLoadBranch(xb + 1200 + kBranchSpacing, xb + 1200, 12, loadPen, se);
        plotWhor(plot, loadPen, xb + 1200 + kBranchSpacing, 0, kBranchSpacing);
        const double xL = xb + 1200 + 2 * kBranchSpacing;
        plotLoadBranch(xL, xb + 1200 + kBranchSpacing, 15, loadPen, se);
        addPowerText(QStringLiteral("LOAD"), (x0 + xL) / 2, captionLine, Qt::AlignCenter, kLoadRed);
    }

    // The other half of a dual-capacitor filter is not drawn: a note in the return line stands
    // in for it, on one line where the filter is wide enough for it.
    if (dc && n >= 1) {
        QCPItemText *note = addPowerText(QStringLiteral("Identical Filter as Above"), xf / 2,
                                         kReturnLine, Qt::AlignCenter, kFilterGreen);
        note->setTextAlignment(Qt::AlignHCenter);
        double half = schem::textBoxInUnits(note, kTextLine).width() / 2;
        if (2 * half + 400 > xf) {
            note->setText(QStringLiteral("Identical\nFilter as Above"));
            half = schem::textBoxInUnits(note, kTextLine).width() / 2;
        }
        const double gap = std::min(half + 100, xf / 2);
        plotWhor(plot, filterPen, 0, kReturnLine, xf / 2 - gap);
        plotWhor(plot, filterPen, xf, kReturnLine, xf / 2 + gap - xf);
    }

    schem::fitViewToPicture(plot, schem::drawnBox(plot, kTextLine).adjusted(-100, -100, 100, 100),
                            kTextLine);
    plot->replot();
}

void MainWindow::displayLParasitics(QString L, QString Rp, QString Cp, QCPItemText *item)
{
    item->setTextAlignment(Qt::AlignLeft);
    item->setText(pwmpower::inductorLabelText(L, Rp, Cp));
}

void MainWindow::displayCParasitics(QString C, QString Rp, QString Lp, QCPItemText *item)
{
    item->setTextAlignment(Qt::AlignLeft);
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
