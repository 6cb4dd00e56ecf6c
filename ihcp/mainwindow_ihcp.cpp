// The Howland pump page as a whole: the pump model on the page's values, the automatic
// design, and the refresh that turns the page state into notes, plot and schematic ranges.
#include "app/mainwindow.h"

#include "ihcp/pumploop.h"
#include "ihcp/pumpmodel.h"
#include "ui_mainwindow.h"

#include <QPalette>
#include <QScrollBar>
#include <qcustomplot.h>

#include <cmath>

namespace {

void setFieldTextColour(QLineEdit *edit, const QColor &colour)
{
    QPalette palette;
    palette.setBrush(QPalette::Text, QBrush(colour));
    edit->setPalette(palette);
}

} // namespace

amp MainWindow::IHCPamp()
{
    return findLinear(ui->IHCPampSelector->currentText());
}

int MainWindow::IHCPcompOption(const amp &part) const
{
    // A restored option the part does not have (an old file, another catalog) reads as the
    // part's first option rather than as missing poles.
    return CompOptionIHCP >= 0 && CompOptionIHCP < part.getSROptions() ? CompOptionIHCP : 0;
}

void MainWindow::appendIHCPnote(const QString &text, const QColor &colour)
{
    ui->IHCPnotes->setTextColor(colour);
    ui->IHCPnotes->append(text);
    ui->IHCPnotes->setTextColor(Qt::black);
}

double MainWindow::IHCPtransconductance(double Rin, double Rip, double Rfn, double Rfp, double Rs,
                                        comp Zl, comp Zd, bool inv)
{
    return ihcp::transconductance(ihcp::Resistors{Rin, Rip, Rfn, Rfp, Rs}, Zl, Zd, inv);
}

double MainWindow::IHCPworstcase(double Rin, double Rip, double Rfn, double Rfp, double Rs, comp Zl,
                                 comp Zd, bool inv)
{
    const ihcp::Tolerances tol{parseValue(IHCPRinT), parseValue(IHCPRfnT), parseValue(IHCPRfpT),
                               parseValue(IHCPRsT)};
    return ihcp::worstCase(ihcp::Resistors{Rin, Rip, Rfn, Rfp, Rs}, tol, Zl, Zd, inv);
}

void MainWindow::IHCPauto()
{
    const double g = parseLineEdit(ui->IHCPtrans, QStringLiteral("R"));
    const double error = parseLineEdit(ui->IHCPtol, QStringLiteral("R"));
    const comp zl = ihcp::loadImpedance(IHCPRload, IHCPCload, IHCPLload, IHCPFreq);
    const ihcp::AutoDesign d = ihcp::autoDesign(g, error, parseValue(IHCPRin), parseValue(IHCPRs),
                                                zl, ui->IHCPInvButton->isChecked());
    if (!d.valid) {
        // No transconductance to aim for: the design stays, the field says why.
        setFieldTextColour(ui->IHCPtrans, Qt::red);
        return;
    }
    IHCPRd = IHCPCd = QStringLiteral("open");
    IHCPRfp = d.rfp;
    IHCPRfn = d.rfn;
    IHCPRinT = d.tolIn;
    IHCPRfpT = d.tolFp;
    IHCPRfnT = d.tolFn;
    IHCPRsT = d.tolS;
}

void MainWindow::refreshIHCP()
{
    designModified = true;
    const amp part = IHCPamp();

    const double rin = parseValue(IHCPRin);
    const double rfn = parseValue(IHCPRfn);
    const double rfp = parseValue(IHCPRfp);
    const double rs = parseValue(IHCPRs);
    const comp zl = ihcp::loadImpedance(IHCPRload, IHCPCload, IHCPLload, IHCPFreq);
    const comp zd = ihcp::dampingImpedance(IHCPRd, IHCPCd, parseValue(IHCPFreq));
    const bool inv = ui->IHCPInvButton->isChecked();

    const double ideal = (inv ? -rfn : rfn) / (rin * rs);
    const double actual = IHCPtransconductance(rin, rin, rfn, rfp, rs, zl, zd, inv);
    const double worst = IHCPworstcase(rin, rin, rfn, rfp, rs, zl, zd, inv);

    ui->IHCPnotes->clear();
    ui->IHCPnotes->setTextColor(Qt::black);
    for (const ihcp::PumpNote &note : ihcp::transconductanceNotes(ideal, actual, worst))
        appendIHCPnote(note.text, Qt::black);

    const double bandwidth = IHCPBode();
    if (sweepIHCP) IHCPsweepLoad(rin, rin, rfn, rfp, rs, zd, inv);
    appendIHCPnote(ihcp::bandwidthText(bandwidth), Qt::black);

    const double iMax = parseLineEdit(ui->IHCPmaxIout, QStringLiteral("R"));
    const double iMin = parseLineEdit(ui->IHCPminIout, QStringLiteral("R"));
    const double zMag = zl.magnitude();
    if (IHCPVinLabel) IHCPVinLabel->setText(ihcp::inputRangeText(iMin, iMax, actual));
    if (IHCPVloadLabel) {
        IHCPVloadLabel->setText(ihcp::loadRangeText(iMin, iMax, zMag));
        const double swing = iMax == iMin ? 0 : std::fabs(iMax - iMin) * zMag;
        IHCPVloadLabel->setColor(swing <= part.getVss_max() ? QColor(Qt::black)
                                                            : QColor(255, 0, 0));
    }
    setFieldTextColour(ui->IHCPmaxIout,
                       std::fabs(iMax) <= part.getI_pk() ? QColor(Qt::black) : QColor(Qt::red));
    setFieldTextColour(ui->IHCPminIout,
                       std::fabs(iMin) <= part.getI_pk() ? QColor(Qt::black) : QColor(Qt::red));

    ui->IHCPschematic->replot();
    // Start of the notes in view, also once the box is laid out again.
    ui->IHCPnotes->moveCursor(QTextCursor::Start);
    QScrollBar *bar = ui->IHCPnotes->verticalScrollBar();
    bar->setValue(bar->minimum());
}
