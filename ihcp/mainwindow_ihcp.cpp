// The Howland pump page as a whole: the pump model on the page's values, the automatic
// design, and the refresh that turns the page state into notes, plot and schematic ranges.
#include "app/mainwindow.h"

#include "ihcp/pumpcheck.h"
#include "ihcp/pumploop.h"
#include "ihcp/pumpmodel.h"
#include "ui_mainwindow.h"

#include <QPalette>
#include <QScrollBar>
#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {

void setFieldTextColour(QLineEdit *edit, const QColor &colour)
{
    QPalette palette;
    palette.setBrush(QPalette::Text, QBrush(colour));
    edit->setPalette(palette);
}

const double kNoValue = std::numeric_limits<double>::quiet_NaN();

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

void MainWindow::appendIHCPnotes(const QVector<ihcp::PumpNote> &notes)
{
    for (const ihcp::PumpNote &note : notes) {
        const QColor colour = note.colour == ihcp::NoteColour::Green ? QColor(Qt::darkGreen)
                              : note.colour == ihcp::NoteColour::Red ? QColor(Qt::red)
                                                                     : QColor(Qt::black);
        appendIHCPnote(note.text, colour);
    }
}

ihcp::PumpCheck MainWindow::IHCPcheck() const
{
    return ihcp::checkPump(ihcp::PumpTexts{IHCPRin, IHCPRinT, IHCPRfn, IHCPRfnT, IHCPRfp, IHCPRfpT,
                                           IHCPRs, IHCPRsT, IHCPRd, IHCPCd, IHCPRload, IHCPCload,
                                           IHCPLload, IHCPFreq});
}

double MainWindow::IHCPfield(QLineEdit *edit, bool *ok)
{
    const double value = parseLineEdit(edit, QStringLiteral("R"), ok);
    // "open", "inf" and the like read as the open-circuit number: not an amount of anything.
    if (*ok && !(std::fabs(value) < infiniteValue)) {
        *ok = false;
        setFieldTextColour(edit, Qt::red);
    }
    return value;
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
    bool gOk = false, errorOk = false;
    const double g = IHCPfield(ui->IHCPtrans, &gOk);
    const double error = IHCPfield(ui->IHCPtol, &errorOk);
    if (!gOk || !errorOk) {
        IHCPautoRefused = (gOk ? QStringLiteral("Desired Tolerance of Transconductance")
                               : QStringLiteral("Desired Transconductance")) +
                          QStringLiteral(" is not a usable value");
        return;
    }
    const comp zl = ihcp::loadImpedance(IHCPRload, IHCPCload, IHCPLload, IHCPFreq);
    const ihcp::AutoDesign d = ihcp::autoDesign(g, error, parseValue(IHCPRin), parseValue(IHCPRs),
                                                zl, ui->IHCPInvButton->isChecked());
    if (!d.valid) {
        // Nothing to aim for: the design stays, the notes say why.
        if (d.targetAtFault) setFieldTextColour(ui->IHCPtrans, Qt::red);
        IHCPautoRefused = d.why;
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
    const ihcp::PumpCheck check = IHCPcheck();

    const double rin = parseValue(IHCPRin);
    const double rfn = parseValue(IHCPRfn);
    const double rfp = parseValue(IHCPRfp);
    const double rs = parseValue(IHCPRs);
    const comp zl = ihcp::loadImpedance(IHCPRload, IHCPCload, IHCPLload, IHCPFreq);
    const comp zd = ihcp::dampingImpedance(IHCPRd, IHCPCd, parseValue(IHCPFreq));
    const bool inv = ui->IHCPInvButton->isChecked();
    const ihcp::Resistors r{rin, rin, rfn, rfp, rs};

    // Nothing is computed from a value the model cannot use.
    const double ideal = check.circuit ? ihcp::idealTransconductance(r, inv) : kNoValue;
    // No current flows into an open load, whatever stand-in number "open" reads as.
    const double actual = !check.circuit ? kNoValue
                          : check.openLoad
                              ? 0
                              : IHCPtransconductance(rin, rin, rfn, rfp, rs, zl, zd, inv);
    const double worst = !(check.circuit && check.tolerances) ? kNoValue
                         : check.openLoad                     ? 0
                                          : IHCPworstcase(rin, rin, rfn, rfp, rs, zl, zd, inv);

    bool maxOk = false, minOk = false;
    const double iMax = IHCPfield(ui->IHCPmaxIout, &maxOk);
    const double iMin = IHCPfield(ui->IHCPminIout, &minOk);
    const bool currents = maxOk && minOk;
    const double zMag = check.openLoad ? kNoValue : zl.magnitude();
    const ihcp::PumpNote vIn = ihcp::inputRange(currents ? iMin : kNoValue, iMax, actual);
    const ihcp::PumpNote vLoad = ihcp::loadRange(currents ? iMin : kNoValue, iMax, zMag);

    // Why a figure below shows the placeholder, one line each, ahead of the figures.
    QVector<ihcp::PumpNote> why = check.notes;
    const auto say = [&why](const QString &text) {
        why << ihcp::PumpNote{QStringLiteral("\t") + text, ihcp::NoteColour::Red};
    };
    for (QLineEdit *edit : {ui->IHCPmaxIout, ui->IHCPminIout}) {
        const bool ok = edit == ui->IHCPmaxIout ? maxOk : minOk;
        if (!ok)
            say((edit == ui->IHCPmaxIout ? QStringLiteral("Max I_out")
                                         : QStringLiteral("Min I_out")) +
                QStringLiteral(" is not a usable current"));
    }
    if (check.circuit && currents && !check.openLoad) {
        if (actual == 0)
            say(QStringLiteral("The actual transconductance is 0: no input voltage makes the "
                               "load current"));
        else if (vIn.colour == ihcp::NoteColour::Red || vLoad.colour == ihcp::NoteColour::Red)
            say(QStringLiteral("Max I_out and Min I_out are too large: the voltages overflow"));
    }
    if (!IHCPautoRefused.isEmpty()) {
        say(QStringLiteral("Auto changed nothing: ") + IHCPautoRefused);
        IHCPautoRefused.clear();
    }

    ui->IHCPnotes->clear();
    ui->IHCPnotes->setTextColor(Qt::black);
    const QVector<ihcp::PumpNote> figures = ihcp::transconductanceNotes(ideal, actual, worst);
    appendIHCPnotes(figures.mid(0, 1) + why + figures.mid(1));

    const double bandwidth = IHCPBode();
    if (sweepIHCP) IHCPsweepLoad(rin, rin, rfn, rfp, rs, zd, inv);
    appendIHCPnotes(ihcp::bandwidthNotes(bandwidth));

    // The value labels of values the model cannot use turn red.
    const QVector<QPair<const char *, QCPItemText *>> labels = {
        {"IHCPRin", IHCPRinLabel},    {"IHCPRin", IHCPRipLabel},    {"IHCPRinT", IHCPRinLabel},
        {"IHCPRinT", IHCPRipLabel},   {"IHCPRfn", IHCPRfnLabel},    {"IHCPRfnT", IHCPRfnLabel},
        {"IHCPRfp", IHCPRfpLabel},    {"IHCPRfpT", IHCPRfpLabel},   {"IHCPRs", IHCPRsLabel},
        {"IHCPRsT", IHCPRsLabel},     {"IHCPRd", IHCPRdLabel},      {"IHCPCd", IHCPCdLabel},
        {"IHCPRload", IHCPloadLabel}, {"IHCPCload", IHCPloadLabel}, {"IHCPLload", IHCPloadLabel},
        {"IHCPFreq", IHCPloadLabel}};
    for (const auto &label : labels) {
        if (label.second && check.unusable.contains(QLatin1String(label.first)))
            label.second->setColor(QColor(255, 0, 0));
    }

    if (IHCPVinLabel) {
        IHCPVinLabel->setText(vIn.text);
        IHCPVinLabel->setColor(vIn.colour == ihcp::NoteColour::Red ? QColor(255, 0, 0)
                                                                   : QColor(Qt::black));
    }
    if (IHCPVloadLabel) {
        IHCPVloadLabel->setText(vLoad.text);
        const double swing = iMax == iMin ? 0 : std::fabs(iMax - iMin) * zMag;
        const bool red = vLoad.colour == ihcp::NoteColour::Red || !(swing <= part.getVss_max());
        IHCPVloadLabel->setColor(red ? QColor(255, 0, 0) : QColor(Qt::black));
    }
    // A current beyond the part's peak, or one that cannot be read, is red.
    setFieldTextColour(ui->IHCPmaxIout, maxOk && std::fabs(iMax) <= part.getI_pk()
                                            ? QColor(Qt::black)
                                            : QColor(Qt::red));
    setFieldTextColour(ui->IHCPminIout, minOk && std::fabs(iMin) <= part.getI_pk()
                                            ? QColor(Qt::black)
                                            : QColor(Qt::red));

    ui->IHCPschematic->replot();
    // Start of the notes in view, also once the box is laid out again.
    ui->IHCPnotes->moveCursor(QTextCursor::Start);
    QScrollBar *bar = ui->IHCPnotes->verticalScrollBar();
    bar->setValue(bar->minimum());
}
