// The filter design page's schematic canvas: the Butterworth ladder with its values, and the
// block picture of filter, matching network and load.
#include "app/mainwindow.h"

#include "pwmpower/filterdesign.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

namespace {

QCPItemText *addText(QCustomPlot *plot, const QString &text, double x, double y,
                     Qt::Alignment align)
{
    auto *item = new QCPItemText(plot);
    item->position->setCoords(x, y);
    item->setPositionAlignment(align);
    item->setTextAlignment(Qt::AlignLeft);
    item->setText(text);
    return item;
}

} // namespace

void MainWindow::drawFilterSchematic()
{
    const int n = ui->filterOrderActual->value();
    const bool se = ui->SEbutton->isChecked();
    const bool dc = ui->DCbutton->isChecked();
    const pwmpower::FilterType type = se   ? pwmpower::FilterType::SingleEnded
                                      : dc ? pwmpower::FilterType::DualCapacitor
                                           : pwmpower::FilterType::SplitInductor;
    const bool twoLines = !se;
    const double RL = parseLineEdit(ui->filterR_L, QStringLiteral("R"));
    const double Fcut = parseLineEdit(ui->filterFcut, QStringLiteral("R"));
    const pwmpower::Ladder ladder = pwmpower::butterworthLadder(n, RL, Fcut);
    for (int i = 0; i < ladder.inductorCount; ++i)
        filterValues[i] = ladder.inductors[i];
    for (int i = 0; i < ladder.capacitorCount; ++i)
        filterValues[3 + i] = ladder.capacitors[i];

    QCustomPlot *plot = ui->filterPlot;
    plot->clearGraphs();
    plot->clearItems();
    const QPen pen(Qt::black, 2);

    addText(plot, QStringLiteral("PWM Out A"), -250, 0, Qt::AlignCenter);
    plotWhor(plot, pen, -100, 0, 100);
    if (twoLines) {
        addText(plot, QStringLiteral("PWM Out B"), -250, -800, Qt::AlignCenter);
        plotWhor(plot, pen, -100, -800, 100);
    }

    // Labels: inductors on the upper and lower line, shunt capacitors, lower capacitors.
    QCPItemText *upperL[3], *lowerL[3], *shuntC[3], *lowerC[3];
    for (int i = 0; i < 3; ++i) {
        upperL[i] = addText(plot, QString(), 200 + 800 * i, 150, Qt::AlignCenter);
        lowerL[i] = addText(plot, QString(), 200 + 800 * i, -650, Qt::AlignCenter);
        shuntC[i] = addText(plot, QString(), 800 + 800 * i, -450, Qt::AlignCenter);
        lowerC[i] = addText(plot, QString(), 800 + 800 * i, -1250, Qt::AlignCenter);
        for (QCPItemText *label : {upperL[i], lowerL[i], shuntC[i], lowerC[i]})
            label->setVisible(false);
    }

    for (int k = 1; k <= n; ++k) {
        const double x0 = (k - 1) * 400.0;
        if (k % 2 == 1) {
            const int i = (k - 1) / 2;
            const double value = pwmpower::inductorLabelValue(ladder.inductors[i], type);
            plotLhor(plot, pen, x0, 0);
            setEngItemText(value, upperL[i], QStringLiteral("H"));
            upperL[i]->setVisible(true);
            if (twoLines) {
                plotLhor(plot, pen, x0, -800);
                setEngItemText(value, lowerL[i], QStringLiteral("H"));
                lowerL[i]->setVisible(true);
            }
        } else {
            const int i = k / 2 - 1;
            const double value = pwmpower::capacitorLabelValue(ladder.capacitors[i], type);
            const double x = k * 400.0 - 200;
            plotWhor(plot, pen, x0, 0, 400);
            if (twoLines) plotWhor(plot, pen, x0, -800, 400);
            plotWver(plot, pen, x, 0, 100);
            plotCver(plot, pen, x, -100);
            setEngItemText(value, shuntC[i], QStringLiteral("F"));
            shuntC[i]->setVisible(true);
            if (se) {
                plotG(plot, pen, x, -500);
            } else if (dc) {
                plotG(plot, pen, x, -500);
                plotWver(plot, pen, x, -800, 100);
                plotCver(plot, pen, x, -900);
                plotG(plot, pen, x, -1300);
                setEngItemText(value, lowerC[i], QStringLiteral("F"));
                lowerC[i]->setVisible(true);
            } else {
                plotWver(plot, pen, x, -500, 300);
            }
        }
    }

    const double end = n * 400.0;
    plotWhor(plot, pen, end, 0, 300);
    plotLoad(plot, pen, end + 300, 0);
    if (se)
        plotG(plot, pen, end + 300, -800);
    else
        plotWhor(plot, pen, end, -800, 300);
    addText(plot, QStringLiteral("LOAD AND\nMATCHING\nNETWORK"), end + 550, -400,
            Qt::AlignLeft | Qt::AlignVCenter);

    plot->xAxis->setRange(n * 200.0 - 1600, n * 200.0 + 1900);
    plot->yAxis->setRange(se ? -900 : dc ? -1700 : -1300, 300);
    plot->replot();
}

void MainWindow::plotLoad(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    plotWver(plot, pen, xLoc, yLoc, 100);
    plotRect(plot, pen, xLoc - 50, yLoc - 700, 100, 600);
    plotWver(plot, pen, xLoc, yLoc - 700, 100);
}

void MainWindow::loadSchematic()
{
    QCustomPlot *plot = ui->filterPlot;
    plot->clearGraphs();
    plot->clearItems();
    const QPen pen(Qt::black, 2);

    plotWhor(plot, pen, 0, 0, 1500);
    plotWhor(plot, pen, 0, -1200, 1500);
    addText(plot, QStringLiteral("FILTER"), -200, 0, Qt::AlignRight | Qt::AlignVCenter);
    addText(plot, QStringLiteral("FILTER"), -200, -1200, Qt::AlignRight | Qt::AlignVCenter);

    const bool capacitiveLoad = ui->filterLoadIsC->isChecked();
    for (const double x : {300.0, 1500.0}) {
        const bool loadBranch = x == 1500.0;
        plotWver(plot, pen, x, 0, 100);
        plotRver(plot, pen, x, -100);
        plotWver(plot, pen, x, -500, 200);
        // The load's own reactance, and its dual in the matching branch.
        if (capacitiveLoad == loadBranch)
            plotCver(plot, pen, x, -700);
        else
            plotLver(plot, pen, x, -700);
        plotWver(plot, pen, x, -1100, 100);
    }
    addText(plot, QStringLiteral("MATCHING\nNETWORK"), 600, -500, Qt::AlignLeft | Qt::AlignVCenter);
    addText(plot, QStringLiteral("LOAD"), 1800, -500, Qt::AlignLeft | Qt::AlignVCenter);

    plot->xAxis->setRange(-1200, 2800);
    plot->yAxis->setRange(-1400, 100);
    plot->replot();
}
