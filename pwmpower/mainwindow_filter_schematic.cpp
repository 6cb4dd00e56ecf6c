// The filter design page's schematic canvas: the Butterworth ladder with its values, and the
// block picture of filter, matching network and load.
#include "app/mainwindow.h"

#include "pwmpower/fieldcheck.h"
#include "pwmpower/filterdesign.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

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

// Names of the ladder's end texts, by which the fit finds them again.
const QString kOutText = QStringLiteral("ladderOutText");
const QString kLoadText = QStringLiteral("ladderLoadText");
constexpr double kOutTextEnd = -130; // right edge of "PWM Out A/B", left of the input wire

double textWidthPx(const QCPItemText *item)
{
    const QFontMetrics metrics(item->font());
    const QRect box = metrics.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft,
                                           item->text());
    return box.width() + item->padding().left() + item->padding().right();
}

} // namespace

void MainWindow::fitFilterSchematic()
{
    QCustomPlot *plot = ui->filterPlot;
    double outWidth = 0, loadWidth = 0, loadLeft = 0;
    bool ladder = false;
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text) continue;
        if (text->objectName() == kOutText) outWidth = std::max(outWidth, textWidthPx(text));
        if (text->objectName() == kLoadText) {
            ladder = true;
            loadWidth = textWidthPx(text);
            loadLeft = text->position->coords().x();
        }
    }
    if (!ladder) return; // the block picture of the matching sheet has a fixed view

    const int n = ui->filterOrderActual->value();
    const double low = n * 200.0 - 1600, high = n * 200.0 + 1900;
    const double margin = 6; // px between a text and the canvas edge
    const double widthPx = plot->axisRect()->width();
    const double textsPx = outWidth + loadWidth + 2 * margin;
    if (widthPx <= textsPx + 20) return; // no room to fit anything: keep the plain view

    const double drawing = loadLeft - kOutTextEnd; // from the out texts' end to the load text
    const double scale = std::max((high - low) / widthPx, drawing / (widthPx - textsPx));
    const bool fits = low <= kOutTextEnd - (outWidth + margin) * scale &&
                      high >= loadLeft + (loadWidth + margin) * scale;
    if (fits) {
        plot->xAxis->setRange(low, high);
        return;
    }
    const double slack = widthPx * scale - drawing - textsPx * scale;
    const double from = kOutTextEnd - (outWidth + margin) * scale - slack / 2;
    plot->xAxis->setRange(from, from + widthPx * scale);
}

void MainWindow::drawFilterSchematic()
{
    const int n = ui->filterOrderActual->value();
    const bool se = ui->SEbutton->isChecked();
    const bool dc = ui->DCbutton->isChecked();
    const pwmpower::FilterType type = se   ? pwmpower::FilterType::SingleEnded
                                      : dc ? pwmpower::FilterType::DualCapacitor
                                           : pwmpower::FilterType::SplitInductor;
    const bool twoLines = !se;
    // A load or cutoff that cannot be used gives NaN values: their labels show the
    // placeholder in red, and the hand-over writes no number for them.
    const double RL = pwmpower::usableValue(ui->filterR_L);
    const double Fcut = pwmpower::usableValue(ui->filterFcut);
    const pwmpower::Ladder ladder = pwmpower::butterworthLadder(n, RL, Fcut);
    for (int i = 0; i < ladder.inductorCount; ++i)
        filterValues[i] = ladder.inductors[i];
    for (int i = 0; i < ladder.capacitorCount; ++i)
        filterValues[3 + i] = ladder.capacitors[i];

    auto showValue = [this](double value, QCPItemText *item, const QString &unit) {
        setEngItemText(value, item, unit);
        if (!pwmpower::isShowable(value)) {
            item->setText(eng::noResultText());
            item->setColor(Qt::red);
        }
    };

    QCustomPlot *plot = ui->filterPlot;
    plot->clearGraphs();
    plot->clearItems();
    const QPen pen(Qt::black, 2);

    // Each output's name ends left of its wire, so that no wire runs through it.
    const Qt::Alignment outAlign = Qt::AlignRight | Qt::AlignVCenter;
    addText(plot, QStringLiteral("PWM Out A"), kOutTextEnd, 0, outAlign)->setObjectName(kOutText);
    plotWhor(plot, pen, -100, 0, 100);
    if (twoLines) {
        addText(plot, QStringLiteral("PWM Out B"), kOutTextEnd, -800, outAlign)
            ->setObjectName(kOutText);
        plotWhor(plot, pen, -100, -800, 100);
    }

    // Labels: inductors on the upper and lower line, shunt capacitors, lower capacitors. A
    // capacitor's value stands left of its plates (x - 150 to x + 150), level with them: below
    // them hang its lead and the ground, and on the right the load may follow closely, where
    // on the left only its inductor runs, on the line above.
    QCPItemText *upperL[3], *lowerL[3], *shuntC[3], *lowerC[3];
    const Qt::Alignment besidePlates = Qt::AlignRight | Qt::AlignVCenter;
    for (int i = 0; i < 3; ++i) {
        const double x = 600 + 800 * i; // the capacitor's
        upperL[i] = addText(plot, QString(), 200 + 800 * i, 150, Qt::AlignCenter);
        lowerL[i] = addText(plot, QString(), 200 + 800 * i, -650, Qt::AlignCenter);
        shuntC[i] = addText(plot, QString(), x - 200, -300, besidePlates);
        lowerC[i] = addText(plot, QString(), x - 200, -1100, besidePlates);
        for (QCPItemText *label : {upperL[i], lowerL[i], shuntC[i], lowerC[i]})
            label->setVisible(false);
    }

    for (int k = 1; k <= n; ++k) {
        const double x0 = (k - 1) * 400.0;
        if (k % 2 == 1) {
            const int i = (k - 1) / 2;
            const double value = pwmpower::inductorLabelValue(ladder.inductors[i], type);
            plotLhor(plot, pen, x0, 0);
            showValue(value, upperL[i], QStringLiteral("H"));
            upperL[i]->setVisible(true);
            if (twoLines) {
                plotLhor(plot, pen, x0, -800);
                showValue(value, lowerL[i], QStringLiteral("H"));
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
            showValue(value, shuntC[i], QStringLiteral("F"));
            shuntC[i]->setVisible(true);
            if (se) {
                plotG(plot, pen, x, -500);
            } else if (dc) {
                plotG(plot, pen, x, -500);
                plotWver(plot, pen, x, -800, 100);
                plotCver(plot, pen, x, -900);
                plotG(plot, pen, x, -1300);
                showValue(value, lowerC[i], QStringLiteral("F"));
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
            Qt::AlignLeft | Qt::AlignVCenter)
        ->setObjectName(kLoadText);

    plot->xAxis->setRange(n * 200.0 - 1600, n * 200.0 + 1900);
    fitFilterSchematic();
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
