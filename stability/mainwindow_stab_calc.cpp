// Stability page: the R-C pole calculators and the R_ISO power calculator of the side tab.
#include "app/mainwindow.h"

#include "stability/rccalc.h"
#include "ui_mainwindow.h"
#include "values/engwidgets.h"

#include <cmath>
#include <limits>

namespace {

// Beyond the largest prefix (T) a result is no part value or frequency, only the echo of an
// input near 0.
constexpr double kLargestResult = 1e15;
// No isolation resistor is rated at a gigawatt.
constexpr double kLargestRating = 1e9;

// A pole calculator: both inputs must be positive, or the pole (or the part that sets it) is
// unbounded. The result label then shows the placeholder and its tip says which input.
void showPoleCalculator(QLineEdit *a, const char *aName, QLineEdit *b, const char *bName,
                        QLabel *result, const QString &unit, double (*formula)(double, double))
{
    const QString kind = QStringLiteral("R");
    bool aOk = false, bOk = false;
    const double x = eng::parseLineEdit(a, kind, eng::Range::Positive, &aOk);
    const double y = eng::parseLineEdit(b, kind, eng::Range::Positive, &bOk);
    const double value = aOk && bOk ? formula(x, y) : 0.0;
    if (aOk && bOk && std::fabs(value) < kLargestResult) {
        eng::setResultRed(result, false);
        eng::setEngLabel(value, result, unit);
        result->setToolTip(QString());
        return;
    }
    eng::setNoResult(result);
    const char *bad = !aOk ? aName : !bOk ? bName : nullptr;
    result->setToolTip(bad ? QLatin1String(bad) + QStringLiteral(" must be a positive value")
                           : QStringLiteral("The result is out of range"));
}

} // namespace

void MainWindow::RCPC()
{
    designModified = true;
    showPoleCalculator(ui->RCPCR1, "R", ui->RCPCF1, "f", ui->RCPCC1, QStringLiteral("F"),
                       stab::capacitorForPole);
    showPoleCalculator(ui->RCPCR2, "R", ui->RCPCC2, "C", ui->RCPCF2, QStringLiteral("Hz"),
                       stab::poleFrequency);
    showPoleCalculator(ui->RCPCF3, "f", ui->RCPCC3, "C", ui->RCPCR3, QStringLiteral("Ω"),
                       stab::resistorForPole);

    // An open R_ISO carries no current, so no rating follows from the current.
    const QString kind = QStringLiteral("R");
    bool rOk = false, iOk = false;
    const double Riso = eng::parseLineEdit(ui->R_ISO_R, kind, eng::Range::NonNegative, &rOk);
    const double Imax = eng::parseLineEdit(ui->R_ISO_I, kind, eng::Range::NonNegative, &iOk);
    const bool open = rOk && Riso == infiniteValue;
    const double watts = stab::isolationResistorPower(Riso, Imax);
    if (rOk && iOk && !open && std::fabs(watts) < kLargestRating) {
        eng::setResultRed(ui->R_ISO_P, false);
        ui->R_ISO_P->setText(stab::isolationPowerText(watts));
        ui->R_ISO_P->setToolTip(QString());
    } else {
        eng::setResultRed(ui->R_ISO_P, true);
        ui->R_ISO_P->setText(stab::isolationPowerText(std::numeric_limits<double>::quiet_NaN()));
        ui->R_ISO_P->setToolTip(open ? QStringLiteral("R_ISO is open: no current flows through it")
                                : !rOk ? QStringLiteral("R_ISO is unreadable or negative")
                                : !iOk
                                    ? QStringLiteral("The output current is unreadable or negative")
                                    : QStringLiteral("The rating is out of range"));
    }
}
void MainWindow::on_RCPCR1_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCF1_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCR2_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCC2_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCF3_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCC3_editingFinished()
{
    RCPC();
}

void MainWindow::on_R_ISO_R_editingFinished()
{
    RCPC();
}

void MainWindow::on_R_ISO_I_editingFinished()
{
    RCPC();
}
