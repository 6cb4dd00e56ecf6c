#include "soa/loadcalc.h"

#include "ui_loadcalc.h"
#include "values/engwidgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace {

void setTextColour(QLineEdit *field, const QColor &colour)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, colour);
    field->setPalette(palette);
}

} // namespace

LoadCalc::LoadCalc(QWidget *parent) : QDialog(parent), ui(new Ui_LoadCalc)
{
    ui->setupUi(this);
    ui->calcNotes->hide();
}

LoadCalc::~LoadCalc()
{
    delete ui;
}

void LoadCalc::setValues(QString ResS, QString CapS, QString IndS, QString ResP, QString CapP,
                         QString IndP, QString Z1, QString Z2, QString A1, QString A2,
                         QString FreqS, QString FreqP)
{
    ui->Rseries->setText(ResS);
    ui->Cseries->setText(CapS);
    ui->Lseries->setText(IndS);
    ui->Rparallel->setText(ResP);
    ui->Cparallel->setText(CapP);
    ui->Lparallel->setText(IndP);
    ui->Z1->setText(Z1);
    ui->Z2->setText(Z2);
    ui->Angle1->setText(A1);
    ui->Angle2->setText(A2);
    ui->Fseries->setText(FreqS);
    ui->Fparallel->setText(FreqP);
    calcSeries();
    calcParallel();
    combine();
}

double LoadCalc::toValue(QLineEdit *field)
{
    const soa::CalcEntry e = soa::readCalcEntry(field->text());
    setTextColour(field, !e.valid ? QColor(Qt::red)
                                  : (field->isEnabled() ? QColor(Qt::black) : QColor(Qt::gray)));
    return e.value;
}

void LoadCalc::showResult(const soa::CalcImpedance &z, QLabel *magnitude, QLabel *angle,
                          QString &note, const QString &which, QLineEdit *const (&fields)[8])
{
    magnitude->setText(z.magnitudeText());
    angle->setText(z.angleText());
    const bool none = z.kind == soa::CalcImpedance::Kind::Beyond;
    eng::setResultRed(magnitude, none);
    eng::setResultRed(angle, none);
    note.clear();
    if (none) {
        note = which + QStringLiteral(": ") + z.note;
        const int cause = static_cast<int>(z.cause) - 1;
        if (cause >= 0 && cause < 8 && fields[cause]) setTextColour(fields[cause], Qt::red);
    }
    showNotes();
}

void LoadCalc::showNotes()
{
    QStringList notes;
    for (const QString *note : {&seriesNote, &parallelNote, &combineNote})
        if (!note->isEmpty()) notes << *note;
    ui->calcNotes->setText(notes.join(QLatin1Char('\n')));
    ui->calcNotes->setVisible(!notes.isEmpty());
}

void LoadCalc::calcSeries()
{
    // Every field is read, so that each one shows whether it could be read.
    const double r = toValue(ui->Rseries);
    const double l = toValue(ui->Lseries);
    const double c = toValue(ui->Cseries);
    const double f = toValue(ui->Fseries);
    const soa::CalcImpedance z = soa::seriesRlc(soa::calcComponent(ui->Rseries->text(), r),
                                                soa::calcComponent(ui->Lseries->text(), l),
                                                soa::calcComponent(ui->Cseries->text(), c), f);
    QLineEdit *const fields[8] = {ui->Rseries, ui->Lseries, ui->Cseries, ui->Fseries};
    showResult(z, ui->Zseries, ui->thetaSeries, seriesNote, QStringLiteral("Series"), fields);
}

void LoadCalc::calcParallel()
{
    const double r = toValue(ui->Rparallel);
    const double l = toValue(ui->Lparallel);
    const double c = toValue(ui->Cparallel);
    const double f = toValue(ui->Fparallel);
    const soa::CalcImpedance z = soa::parallelRlc(soa::calcComponent(ui->Rparallel->text(), r),
                                                  soa::calcComponent(ui->Lparallel->text(), l),
                                                  soa::calcComponent(ui->Cparallel->text(), c), f);
    QLineEdit *const fields[8] = {ui->Rparallel, ui->Lparallel, ui->Cparallel, ui->Fparallel};
    showResult(z, ui->Zparallel, ui->thetaParallel, parallelNote, QStringLiteral("Parallel"),
               fields);
}

void LoadCalc::combineSeries()
{
    const double z1 = toValue(ui->Z1);
    const double z2 = toValue(ui->Z2);
    const double a1 = toValue(ui->Angle1);
    const double a2 = toValue(ui->Angle2);
    showCombination(soa::combineSeries(z1, a1, z2, a2));
}

void LoadCalc::combineParallel()
{
    const double z1 = toValue(ui->Z1);
    const double z2 = toValue(ui->Z2);
    const double a1 = toValue(ui->Angle1);
    const double a2 = toValue(ui->Angle2);
    showCombination(soa::combineParallel(z1, a1, z2, a2));
}

void LoadCalc::showCombination(const soa::CalcImpedance &z)
{
    QLineEdit *const fields[8] = {nullptr, nullptr, nullptr,    nullptr,
                                  ui->Z1,  ui->Z2,  ui->Angle1, ui->Angle2};
    showResult(z, ui->Zresult, ui->AngleResult, combineNote, QStringLiteral("Z combination"),
               fields);
}

void LoadCalc::combine()
{
    if (ui->SeriesButton->isChecked())
        combineSeries();
    else
        combineParallel();
}

void LoadCalc::emitEntries()
{
    emit sendRLCValues(ui->Rseries->text(), ui->Cseries->text(), ui->Lseries->text(),
                       ui->Rparallel->text(), ui->Cparallel->text(), ui->Lparallel->text(),
                       ui->Z1->text(), ui->Z2->text(), ui->Angle1->text(), ui->Angle2->text(),
                       ui->Fseries->text(), ui->Fparallel->text());
}

void LoadCalc::on_Rseries_editingFinished()
{
    calcSeries();
}

void LoadCalc::on_Lseries_editingFinished()
{
    calcSeries();
}

void LoadCalc::on_Cseries_editingFinished()
{
    calcSeries();
}

void LoadCalc::on_Fseries_editingFinished()
{
    calcSeries();
}

void LoadCalc::on_Rparallel_editingFinished()
{
    calcParallel();
}

void LoadCalc::on_Lparallel_editingFinished()
{
    calcParallel();
}

void LoadCalc::on_Cparallel_editingFinished()
{
    calcParallel();
}

void LoadCalc::on_Fparallel_editingFinished()
{
    calcParallel();
}

void LoadCalc::on_cancelButton_clicked()
{
    emitEntries();
    close();
}

void LoadCalc::on_useSeries_clicked()
{
    calcSeries();
    emit sendLoadCalc(ui->Zseries->text(), ui->thetaSeries->text(), ui->Fseries->text());
    emitEntries();
    close();
}

void LoadCalc::on_useParallel_clicked()
{
    calcParallel();
    emit sendLoadCalc(ui->Zparallel->text(), ui->thetaParallel->text(), ui->Fparallel->text());
    emitEntries();
    close();
}

void LoadCalc::on_Z1_editingFinished()
{
    combine();
}

void LoadCalc::on_Angle1_editingFinished()
{
    combine();
}

void LoadCalc::on_Z2_editingFinished()
{
    combine();
}

void LoadCalc::on_Angle2_editingFinished()
{
    combine();
}

void LoadCalc::on_SeriesButton_toggled(bool checked)
{
    if (checked)
        combineSeries();
    else
        combineParallel();
}

void LoadCalc::on_useValuesButton_clicked()
{
    combine();
    // The second tab has no frequency of its own; the series circuit's goes with it.
    emit sendLoadCalc(ui->Zresult->text(), ui->AngleResult->text(), ui->Fseries->text());
    emitEntries();
    close();
}
