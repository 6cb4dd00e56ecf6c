// Heatsink page: the selected heatsink's thermal resistance against air or water flow, and
// the least flow (with the fan opening's volume flow) that reaches the desired resistance.
#include "app/mainwindow.h"
#include "app/plotview.h"

#include "selectors/heatsinkflow.h"
#include "ui_mainwindow.h"
#include "values/engwidgets.h"

#include <qcustomplot.h>

#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {

const QString plotTitle = QStringLiteral("Thermal Resistance");
const QString thetaLabel = QString::fromUtf8("R_\u03b8 [\u00b0C/W]");
const QString notReachable = QStringLiteral("Not reachable");

// number2String writes seven digits at most; a flow it would have to write with an exponent
// comes only from an opening no fan has.
constexpr double largestShownFlow = 1e7;

// The x axis of each medium and unit system.
struct FlowAxis
{
    double tickStep;
    double rangeMax;
    const char *label;
};

FlowAxis flowAxis(bool water, bool metric)
{
    if (water)
        return metric ? FlowAxis{1.0, 8.5, "Water Flow [Liters per Minute per channel]"}
                      : FlowAxis{0.25, 2.25, "Water Flow [Gallons per Minute per channel]"};
    return metric ? FlowAxis{0.5, 5.5, "Air Flow [Meters per Second]"}
                  : FlowAxis{100, 1100, "Air Flow [Linear Feet per Minute]"};
}

// The flow axis's own step, or twice or four times it where the labels would run together.
void setFixedTicks(QCPAxis *axis, double step)
{
    plotview::setTickSteps(axis, {step, 2 * step, 4 * step});
}

// The title element in the plot's top row, made when the row is not there yet.
QCPTextElement *titleOf(QCustomPlot *plot)
{
    QCPLayoutGrid *layout = plot->plotLayout();
    if (auto *title = qobject_cast<QCPTextElement *>(layout->element(0, 0))) return title;
    layout->insertRow(0);
    auto *title = new QCPTextElement(plot, plotTitle);
    layout->addElement(0, 0, title);
    return title;
}

} // namespace

void MainWindow::setupHeatsinkPlot()
{
    QCustomPlot *plot = ui->HSplot;
    plot->legend->setVisible(false);
    setFixedTicks(plot->xAxis, 100);
    plot->xAxis->setLabel(QStringLiteral("Air Flow [Linear Feet per Minute]"));
    plot->yAxis->setLabel(thetaLabel);
    titleOf(plot)->setText(plotTitle);
    ui->HSflowNote->hide();
}

void MainWindow::plotRtheta()
{
    designModified = true;
    const bool metric = ui->HSmetric->isChecked();
    const bool forced = ui->HSfluidCheckBox->isChecked();
    const heatsink sink = selectedHeatsink;
    const selectors::RthetaCurve curve = selectors::rthetaCurve(sink);

    QVector<double> x = curve.flow;
    if (metric)
        for (double &f : x)
            f = curve.water ? selectors::gpmToLitresPerMinute(f)
                            : selectors::lfmToMetresPerSecond(f);

    QCustomPlot *plot = ui->HSplot;
    plot->clearGraphs();
    QCPGraph *graph = plot->addGraph();
    graph->setData(x, curve.theta, true);
    graph->setPen(QPen(QColor(200, 0, 0), 3));
    titleOf(plot)->setText(plotTitle + QStringLiteral(" - ") + sink.getName());

    const FlowAxis axis = flowAxis(curve.water, metric);
    setFixedTicks(plot->xAxis, axis.tickStep);
    plot->xAxis->setRange(0, axis.rangeMax);
    plot->xAxis->setLabel(QString::fromLatin1(axis.label));
    plot->yAxis->setLabel(thetaLabel);
    plot->yAxis->setRange(0, 1.1 * curve.thetaMax);
    plot->replot();

    for (QLabel *result : {ui->HSlinearFlow, ui->HSvolumeFlow})
        eng::setResultRed(result, false);
    const auto note = [this](const QString &text) {
        ui->HSflowNote->setText(text);
        ui->HSflowNote->setVisible(!text.isEmpty());
    };
    note(QString());
    if (!forced) {
        ui->HSlinearFlow->setText(QStringLiteral("0 FPM air"));
        ui->HSvolumeFlow->setText(QStringLiteral("0 CFM air"));
        return;
    }

    const QString kind = QStringLiteral("R");
    bool usable = true;
    const double thetaCW =
        eng::parseLineEdit(ui->HSrtheta, kind, eng::Range::NonNegative, &usable);
    if (!usable) {
        // A negative or unreadable requirement asks for no flow that exists.
        eng::setNoResult(ui->HSlinearFlow);
        eng::setNoResult(ui->HSvolumeFlow);
        note(QStringLiteral("The desired thermal resistance is not a number of 0 or more."));
        return;
    }
    const selectors::RequiredFlow need = selectors::requiredFlow(sink, thetaCW);
    const bool reachable = need.need != selectors::FlowNeed::Unreachable;
    const double F = need.flow;

    if (curve.water) {
        ui->HSlinearFlow->setText(QStringLiteral("-----"));
        if (!reachable)
            ui->HSvolumeFlow->setText(notReachable);
        else if (metric)
            ui->HSvolumeFlow->setText(number2String(selectors::gpmToLitresPerMinute(F)) +
                                      QStringLiteral(" L/min per channel water"));
        else
            ui->HSvolumeFlow->setText(number2String(F) + QStringLiteral(" GPM per channel water"));
        ui->HSflowDimensions->setEnabled(false);
        return;
    }

    ui->HSflowDimensions->setEnabled(true);
    if (!reachable) {
        ui->HSlinearFlow->setText(notReachable);
        ui->HSvolumeFlow->setText(notReachable);
        return;
    }
    const bool round = ui->HSfanCirc->isChecked();
    // A fan opening is a size: a negative, unreadable or open one gives no volume flow.
    bool fanUsable = true;
    const auto fanSize = [&](QLineEdit *field) {
        bool ok = true;
        const double v = eng::parseLineEdit(field, kind, eng::Range::NonNegative, &ok);
        if (!ok || v == infiniteValue) {
            fanUsable = false;
            eng::setFieldRed(field);
        }
        return v;
    };
    const double area = round ? selectors::fanAreaSqIn(true, fanSize(ui->HSfanDia), 0, 0, metric)
                              : selectors::fanAreaSqIn(false, 0, fanSize(ui->HSfanX),
                                                       fanSize(ui->HSfanY), metric);
    const double cfm = selectors::airVolumeFlowCfm(area, F);
    const double shownFlow = metric ? selectors::cfmToLitresPerMinute(cfm) : cfm;
    if (metric) {
        ui->HSlinearFlow->setText(number2String(selectors::lfmToMetresPerSecond(F)) +
                                  QStringLiteral(" m/s air"));
        ui->HSvolumeFlow->setText(number2String(shownFlow) + QStringLiteral(" L/min air"));
    } else {
        ui->HSlinearFlow->setText(number2String(F) + QStringLiteral(" FPM air"));
        ui->HSvolumeFlow->setText(number2String(shownFlow) + QStringLiteral(" CFM air"));
    }
    if (!fanUsable) {
        eng::setNoResult(ui->HSvolumeFlow);
        note(QStringLiteral("The fan opening is not a size of 0 or more."));
    } else if (!(shownFlow < largestShownFlow)) {
        eng::setNoResult(ui->HSvolumeFlow);
        for (QLineEdit *field : {ui->HSfanDia, ui->HSfanX, ui->HSfanY})
            if (field->isEnabled() && (field == ui->HSfanDia) == round) eng::setFieldRed(field);
        note(QStringLiteral("The fan opening is too large for a volume flow."));
    }
}
