// The PWM control wizard around its three pages: set-up, the topology description and
// pictures, and the validation of step 2.
#include "app/mainwindow.h"

#include "pwmcontrol/scontopology.h"
#include "pwmcontrol/sconvalidate.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "values/engwidgets.h"

#include <qcustomplot.h>

#include <QIcon>
#include <QPixmap>

namespace {

// The gain axis carries one sub-tick between its labelled ticks.
class OneSubTickTicker : public QCPAxisTicker
{
protected:
    int getSubTickCount(double) override { return 1; }
};

void setTextColour(QLineEdit *edit, const QColor &colour)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Active, QPalette::Text, colour);
    palette.setColor(QPalette::Inactive, QPalette::Text, colour);
    palette.setColor(QPalette::Disabled, QPalette::Text, colour);
    edit->setPalette(palette);
}

} // namespace

scon::ValueStrings MainWindow::sconValues() const
{
    scon::ValueStrings s;
    const QString *members[scon::ValueCount] = {
        &SConRint, &SConCint, &SConVref, &SConVbias, &SConRbias, &SConRin,  &SConRf,
        &SConRnf,  &SConCnf,  &SConRdf,  &SConCdf,   &SConRdin,  &SConRdif, &SConCdif,
        &SConRbh,  &SConRbl,  &SConRs,   &SConRv,    &SConCv};
    for (int i = 0; i < scon::ValueCount; ++i)
        s[i] = *members[i];
    return s;
}

QString *MainWindow::sconValue(int value)
{
    QString *members[scon::ValueCount] = {&SConRint, &SConCint, &SConVref, &SConVbias, &SConRbias,
                                          &SConRin,  &SConRf,   &SConRnf,  &SConCnf,   &SConRdf,
                                          &SConCdf,  &SConRdin, &SConRdif, &SConCdif,  &SConRbh,
                                          &SConRbl,  &SConRs,   &SConRv,   &SConCv};
    return (value >= 0 && value < scon::ValueCount) ? members[value] : nullptr;
}

scon::Fields MainWindow::readSConFields()
{
    using eng::Range;
    const struct
    {
        QLineEdit *edit;
        QString name;
        Range range;
    } fields[scon::FieldCount] = {
        {ui->SConFreq, QStringLiteral("F_signal"), Range::NonNegative},
        {ui->SConFsw, QStringLiteral("F_switch"), Range::Positive},
        {ui->SConVs, QStringLiteral("Vs"), Range::Positive},
        {ui->SConVcc, QStringLiteral("Vcc"), Range::Positive},
        {ui->SConVinMax, QStringLiteral("V_in Max"), Range::Any},
        {ui->SConVinMin, QStringLiteral("V_in Min"), Range::Any},
        {ui->SConVoutMax, ui->SConMaxLabel->text(), Range::Any},
        {ui->SConVoutMin, ui->SConMinLabel->text(), Range::Any}};
    scon::Fields out;
    for (int i = 0; i < scon::FieldCount; ++i) {
        const auto &f = fields[i];
        bool usable = true;
        out.value[i] = eng::parseLineEdit(f.edit, QStringLiteral("R"), f.range, &usable);
        // The words read as 0 ("nan") or as the open value, which no supply, frequency or
        // range of the loop can be.
        const QString word = eng::nonFigureWord(f.edit->text());
        const bool open = out.value[i] == infiniteValue;
        if (usable && word.isEmpty() && !open) continue;
        eng::setFieldRed(f.edit);
        bool readable = true;
        eng::parseFieldText(f.edit->text(), QStringLiteral("R"), &readable);
        if (!word.isEmpty())
            out.problem[i] = f.name + QStringLiteral(" is ") + word;
        else if (!readable)
            out.problem[i] = f.name + QStringLiteral(" cannot be read");
        else if (open)
            out.problem[i] = f.name + QStringLiteral(" is open");
        else if (f.range == Range::Positive)
            out.problem[i] = f.name + QStringLiteral(" must be above 0");
        else
            out.problem[i] = f.name + QStringLiteral(" cannot be negative");
    }
    return out;
}

void MainWindow::showSConSupply(QCPItemText *label, int field)
{
    const QString text = (field == scon::FieldVs ? ui->SConVs : ui->SConVcc)->text();
    if (readSConFields().problem[field].isEmpty())
        displayItemText(text, label, QStringLiteral("V"));
    else
        displayNoResultItem(text, label);
}

scon::Topology MainWindow::sconTopology() const
{
    if (ui->V1button->isChecked()) return scon::Topology::Voltage1;
    if (ui->V2button->isChecked()) return scon::Topology::Voltage2;
    if (ui->I1button->isChecked()) return scon::Topology::Current1;
    return scon::Topology::Current2;
}

void MainWindow::setupSCon()
{
    SConDescription();
    QCustomPlot *sch = ui->SControlSch;
    sch->setInteractions(sch->interactions() | QCP::iSelectItems);
    connect(sch, &QCustomPlot::itemClick, this, &MainWindow::onSConItemClicked);
    setupSControlSch();
}

void MainWindow::setupSControlSch()
{
    QCustomPlot *sch = ui->SControlSch;
    sch->legend->setVisible(false);
    sch->xAxis->setVisible(false);
    sch->yAxis->setVisible(false);
    sch->xAxis->grid()->setVisible(false);
    sch->xAxis->grid()->setSubGridVisible(false);
    sch->yAxis->grid()->setVisible(false);
    // Item clicks reach onSConItemClicked whatever the selection flags say.
    sch->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);

    QCustomPlot *plot = ui->SConTcl;
    plot->xAxis->setScaleType(QCPAxis::stLogarithmic);
    QSharedPointer<QCPAxisTickerText> decades(new QCPAxisTickerText);
    decades->setTicks({1, 10, 100, 1000, 1e4, 1e5, 1e6, 1e7, 1e8},
                      {QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("100"),
                       QStringLiteral("1k"), QStringLiteral("10k"), QStringLiteral("100k"),
                       QStringLiteral("1M"), QStringLiteral("10M"), QStringLiteral("100M")});
    decades->setSubTickCount(8);
    plot->xAxis->setTicker(decades);
    plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
    plot->xAxis->grid()->setSubGridVisible(true);
    plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new OneSubTickTicker));
    plot->yAxis->setLabel(QStringLiteral("Gain [dB]"));
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(
        0, 0,
        new QCPTextElement(plot, QStringLiteral("Integrator Transfer Function - Closed Loop")));
    const QPen gridPen(QColor(128, 128, 128), 1, Qt::DotLine);
    plot->xAxis->grid()->setPen(gridPen);
    plot->xAxis->grid()->setSubGridPen(gridPen);
    plot->yAxis->grid()->setPen(gridPen);
    plot->xAxis->setRange(1, 1e6);
}

void MainWindow::SConDescription()
{
    designModified = true;
    ui->SConDesc->setText(scon::topologyDescription(sconTopology()));
}

void MainWindow::SConIcons()
{
    const QSize size = ui->V1button->size() - QSize(20, 20);
    const struct
    {
        QPushButton *button;
        const char *path;
    } buttons[] = {{ui->V1button, ":/KestLinear/V1SI.png"},
                   {ui->V2button, ":/KestLinear/V2SI.png"},
                   {ui->I1button, ":/KestLinear/I1SI.png"},
                   {ui->I2button, ":/KestLinear/I2SI.png"}};
    for (const auto &b : buttons) {
        b.button->setIcon(QIcon(QPixmap(QString::fromLatin1(b.path))));
        b.button->setIconSize(size);
    }
}

void MainWindow::SConValidate()
{
    designModified = true;
    QTextBrowser *notes = ui->SConNotes;
    notes->setTextColor(Qt::black);
    notes->clear();
    notes->setText(QStringLiteral("Notes:"));

    const pwm part = findSwitching(ui->ampSelectorSCon->currentText());
    scon::ValidateInput in;
    // The validation reads the current topologies first: a loop of current feedback is what
    // changes the meaning of the output fields.
    if (ui->I1button->isChecked())
        in.topology = scon::Topology::Current1;
    else if (ui->I2button->isChecked())
        in.topology = scon::Topology::Current2;
    else
        in.topology =
            ui->V2button->isChecked() ? scon::Topology::Voltage2 : scon::Topology::Voltage1;
    in.fullBridge = ui->FBPower->isChecked();
    // The range captions first: the output fields are named by them.
    const scon::OutputCaptions captions = scon::outputCaptions(in.topology);
    ui->SConMaxLabel->setText(captions.maxLabel);
    ui->SConMinLabel->setText(captions.minLabel);
    const scon::Fields fields = readSConFields();
    in.fswHz = fields[scon::FieldFsw];
    in.fsigHz = fields[scon::FieldFsig];
    in.vs = fields[scon::FieldVs];
    in.vcc = fields[scon::FieldVcc];
    in.outMin = fields[scon::FieldOutMin];
    in.outMax = fields[scon::FieldOutMax];

    const scon::ValidateResult r = scon::validate(in, part);
    ui->SConMaxUnit->setText(r.captions.unit);
    ui->SConMinUnit->setText(r.captions.unit);
    ui->SConOutLabel1->setText(r.captions.note1);
    ui->SConOutLabel2->setText(r.captions.note2);

    const struct
    {
        QLineEdit *edit;
        bool fixed;
        double value;
    } lockable[] = {{ui->SConVcc, r.vccFixed, r.vccFixedValue},
                    {ui->SConFsw, r.fswFixed, r.fswFixedValue}};
    for (const auto &f : lockable) {
        if (f.fixed) {
            setEngLineEdit(f.value, f.edit, QString());
            f.edit->setEnabled(false);
            setTextColour(f.edit, Qt::gray);
        } else {
            f.edit->setEnabled(true);
            setTextColour(f.edit, Qt::black);
        }
    }

    for (const scon::Note &note : r.notes) {
        notes->setTextColor(note.red ? QColor(Qt::red) : QColor(Qt::black));
        notes->append(note.text);
    }
    // A fixed Vcc or Fsw has just been written over whatever the field held.
    const scon::Fields checked = readSConFields();
    notes->setTextColor(Qt::red);
    for (const QString &problem : checked.problem)
        if (!problem.isEmpty()) notes->append(QStringLiteral("!!! %1 !!!").arg(problem));
}
