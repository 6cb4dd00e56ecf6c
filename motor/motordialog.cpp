#include "motor/motordialog.h"

#include "motor/bridgesim.h"
#include "ui_motordialog.h"
#include "values/engvalues.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QScrollBar>
#include <QTableWidgetItem>

#include <algorithm>
#include <cmath>

namespace {

const QString kDeltaPicture = QStringLiteral("border-image: url(:/KestLinear/ThreePhaseDelta.png)");
const QString kWyePicture = QStringLiteral("border-image: url(:/KestLinear/ThreePhaseWye.png)");

QString amplitudeHeader(int controlVariable)
{
    switch (controlVariable) {
    case 0:
        return QStringLiteral("Current [A]");
    case 1:
        return QStringLiteral("RPM");
    case 2:
        return QStringLiteral("Duty Cycle [% maximum]");
    default:
        return QString();
    }
}

} // namespace

P3motor::P3motor(QWidget *parent) : QDialog(parent), ui(new Ui_P3motor)
{
    ui->setupUi(this);
}

P3motor::~P3motor()
{
    delete ui;
}

void P3motor::setMotorValues(QString R, QString L, QString Vemf, int nPoles, bool isDelta, int mode,
                             int controlVariable, int controlType, int constantVariable,
                             QString controlAmplitude, QString constantAmplitude,
                             QVector<QString> timeVector, QVector<QString> AmplitudeVector,
                             bool isLinear, QString CycleLength)
{
    ui->Rfield->setText(R);
    ui->Lfield->setText(L);
    ui->VemfField->setText(Vemf);
    ui->nPolesBox->setValue(nPoles);

    ui->DeltaButton->setChecked(isDelta);
    ui->WyeButton->setChecked(!isDelta);
    showWiringPicture(isDelta);

    ui->ThreePhaseStack->setCurrentIndex(mode);

    ui->ConstantRPM->setEnabled(true);
    ui->ConstantVf->setEnabled(true);
    ui->ConstantDutyCycle->setEnabled(true);
    switch (controlVariable) {
    case 0:
        ui->ControlCurrent->setChecked(true);
        ui->ControlAmplitudeLabel->setText(QStringLiteral("Amps Peak"));
        ui->ConstantVf->setEnabled(false);
        break;
    case 1:
        ui->ControlRPM->setChecked(true);
        ui->ControlAmplitudeLabel->setText(QStringLiteral("RPM"));
        ui->ConstantRPM->setEnabled(false);
        break;
    case 2:
        ui->ControlDutyCycle->setChecked(true);
        ui->ControlAmplitudeLabel->setText(QStringLiteral("% Maximum"));
        ui->ConstantDutyCycle->setEnabled(false);
        break;
    default:
        break;
    }

    // Setting the combo box from code does not run on_ControlType_activated.
    ui->ControlType->setCurrentIndex(controlType);
    ui->ControlTypeStack->setCurrentIndex(controlType);

    switch (constantVariable) {
    case 0:
        ui->ConstantRPM->setChecked(true);
        ui->ConstantAmplitudeLabel->setText(QStringLiteral("RPM"));
        break;
    case 1:
        ui->ConstantVf->setChecked(true);
        ui->ConstantAmplitudeLabel->setText(QStringLiteral("V/RPM"));
        break;
    case 2:
        ui->ConstantDutyCycle->setChecked(true);
        ui->ConstantAmplitudeLabel->setText(QStringLiteral("% Maximum"));
        break;
    default:
        break;
    }

    ui->ControlAmplitude->setText(controlAmplitude);
    ui->ConstantAmplitude->setText(constantAmplitude);

    setupP3ProfileTable(controlVariable, timeVector, AmplitudeVector);
    // The spin box clamps to 2..16; a change of its value brings the table to that many rows.
    ui->ProfilePointCount->setValue(timeVector.size());

    ui->LinearMotorCheckBox->setChecked(isLinear);
    showLinearMotor(isLinear);
    ui->CycleLength->setText(CycleLength);
    fitTableToRows();
}

void P3motor::fitTableToRows()
{
    // The profile table opens tall enough for every row it holds, whatever the font; the
    // dialog grows with it.
    QTableWidget *t = ui->ProfileTable;
    t->resizeRowsToContents();
    int needed = t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth();
    for (int r = 0; r < t->rowCount(); ++r)
        needed += t->rowHeight(r);
    if (t->horizontalScrollBar()->isVisible() ||
        t->horizontalHeader()->length() > t->viewport()->width())
        needed += t->horizontalScrollBar()->sizeHint().height();
    t->setMinimumHeight(std::max(t->minimumHeight(), needed));
    const QSize hint = sizeHint();
    resize(std::max(width(), hint.width()), std::max(height(), hint.height()));
}

void P3motor::setupP3ProfileTable(int controlVariable, QVector<QString> timeVector,
                                  QVector<QString> AmplitudeVector)
{
    const int rows = timeVector.size();
    ui->ProfileTable->setRowCount(rows);
    ui->ProfileTable->setColumnCount(2);
    ui->ProfileTable->setHorizontalHeaderItem(0, new QTableWidgetItem(QStringLiteral("time [s]")));
    const QString header = amplitudeHeader(controlVariable);
    if (!header.isEmpty())
        ui->ProfileTable->setHorizontalHeaderItem(1, new QTableWidgetItem(header));
    for (int i = 0; i < rows; ++i) {
        ui->ProfileTable->setItem(i, 0, new QTableWidgetItem(timeVector[i]));
        // A value list shorter than the times (only from outside the dialog) reads as "0",
        // as a new row does.
        const QString value = i < AmplitudeVector.size() ? AmplitudeVector[i] : QStringLiteral("0");
        ui->ProfileTable->setItem(i, 1, new QTableWidgetItem(value));
    }
    numberRows();
    ui->ProfileTable->resizeColumnsToContents();
}

void P3motor::numberRows()
{
    for (int i = 0; i < ui->ProfileTable->rowCount(); ++i)
        ui->ProfileTable->setVerticalHeaderItem(
            i, new QTableWidgetItem(QStringLiteral("point %1").arg(i + 1)));
}

void P3motor::on_ProfilePointCount_valueChanged(int arg1)
{
    const int oldRows = ui->ProfileTable->rowCount();
    ui->ProfileTable->setRowCount(arg1);
    for (int i = oldRows; i < arg1; ++i) {
        ui->ProfileTable->setItem(i, 0, new QTableWidgetItem(QStringLiteral("0")));
        ui->ProfileTable->setItem(i, 1, new QTableWidgetItem(QStringLiteral("0")));
    }
    numberRows();
    ui->ProfileTable->resizeColumnsToContents();
}

void P3motor::chooseControl(bool checked, const QString &unit, const QString &header,
                            QRadioButton *excluded, QRadioButton *fallback,
                            const QString &fallbackUnit)
{
    ui->ConstantRPM->setEnabled(true);
    ui->ConstantVf->setEnabled(true);
    ui->ConstantDutyCycle->setEnabled(true);
    if (!checked) return;
    ui->ControlAmplitudeLabel->setText(unit);
    if (ui->ProfileTable->columnCount() > 1) {
        ui->ProfileTable->setHorizontalHeaderItem(1, new QTableWidgetItem(header));
        ui->ProfileTable->resizeColumnsToContents();
    }
    excluded->setEnabled(false);
    if (excluded->isChecked()) {
        fallback->setChecked(true);
        ui->ConstantAmplitudeLabel->setText(fallbackUnit);
    }
}

void P3motor::on_ControlCurrent_clicked(bool checked)
{
    chooseControl(checked, QStringLiteral("Amps Peak"), amplitudeHeader(0), ui->ConstantVf,
                  ui->ConstantRPM, QStringLiteral("RPM"));
}

void P3motor::on_ControlRPM_clicked(bool checked)
{
    chooseControl(checked, QStringLiteral("RPM"), amplitudeHeader(1), ui->ConstantRPM,
                  ui->ConstantVf, QStringLiteral("V/RPM"));
}

void P3motor::on_ControlDutyCycle_clicked(bool checked)
{
    chooseControl(checked, QStringLiteral("% Maximum"), amplitudeHeader(2), ui->ConstantDutyCycle,
                  ui->ConstantRPM, QStringLiteral("RPM"));
}

void P3motor::on_ConstantRPM_clicked(bool checked)
{
    if (checked) ui->ConstantAmplitudeLabel->setText(QStringLiteral("RPM"));
}

void P3motor::on_ConstantVf_clicked(bool checked)
{
    if (checked) ui->ConstantAmplitudeLabel->setText(QStringLiteral("V/RPM"));
}

void P3motor::on_ConstantDutyCycle_clicked(bool checked)
{
    if (checked) ui->ConstantAmplitudeLabel->setText(QStringLiteral("% Maximum"));
}

void P3motor::on_ControlType_activated(int index)
{
    ui->ControlTypeStack->setCurrentIndex(index);
}

void P3motor::showWiringPicture(bool delta)
{
    ui->MotorPicButton->setStyleSheet(delta ? kDeltaPicture : kWyePicture);
}

void P3motor::on_DeltaButton_clicked()
{
    showWiringPicture(ui->DeltaButton->isChecked());
}

void P3motor::on_WyeButton_clicked()
{
    showWiringPicture(ui->DeltaButton->isChecked());
}

void P3motor::showLinearMotor(bool linear)
{
    ui->VemfLabel->setText(linear ? QStringLiteral("1-Leg Force Constant")
                                  : QStringLiteral("1-Leg Back-EMF"));
    ui->VemfUnitLabel->setText(linear ? QStringLiteral("Newtons/A (equivalent to V*s/m)")
                                      : QStringLiteral("V/RPM"));
    ui->polesLabel->setVisible(!linear);
    ui->nPolesBox->setVisible(!linear);
    ui->polesUnitLabel->setVisible(!linear);
    ui->CycleLengthLabel->setVisible(linear);
    ui->CycleLength->setVisible(linear);
    ui->CycleLengthUnitLabel->setVisible(linear);
}

void P3motor::on_LinearMotorCheckBox_clicked(bool checked)
{
    showLinearMotor(checked);
}

void P3motor::on_P3motor_OK_clicked()
{
    const int controlVariable =
        (ui->ControlRPM->isChecked() ? 1 : 0) + (ui->ControlDutyCycle->isChecked() ? 2 : 0);
    const int constantVariable =
        (ui->ConstantVf->isChecked() ? 1 : 0) + (ui->ConstantDutyCycle->isChecked() ? 2 : 0);
    QVector<QString> times, values;
    for (int r = 0; r < ui->ProfileTable->rowCount(); ++r) {
        const QTableWidgetItem *t = ui->ProfileTable->item(r, 0);
        const QTableWidgetItem *v = ui->ProfileTable->item(r, 1);
        times << (t ? t->text() : QString());
        values << (v ? v->text() : QString());
    }
    if (!profileInOrder(times)) return;
    emit sendMotorValues(ui->Rfield->text(), ui->Lfield->text(), ui->VemfField->text(),
                         ui->nPolesBox->value(), ui->DeltaButton->isChecked(), controlVariable,
                         ui->ControlType->currentIndex(), constantVariable,
                         ui->ControlAmplitude->text(), ui->ConstantAmplitude->text(), times, values,
                         ui->LinearMotorCheckBox->isChecked(), ui->CycleLength->text());
    close();
}

bool P3motor::profileInOrder(const QVector<QString> &times)
{
    // Only a profile the page follows is read in order; a constant amplitude leaves the table
    // unused, to be put right before it is chosen.
    if (ui->ControlType->currentIndex() != 1) return true;
    QVector<double> seconds;
    for (const QString &text : times) {
        bool readable = false;
        const double t = eng::parseFieldText(text.trimmed(), QStringLiteral("R"), &readable);
        // The page names a time that cannot be read; here it only stays out of the order.
        seconds << (readable ? t : std::nan(""));
    }
    const motor::BackwardTime back = motor::backwardProfileTime(seconds);
    if (back.point < 0) return true;
    ui->ProfileTable->setCurrentCell(back.point, 0);
    QMessageBox::warning(this, windowTitle(),
                         motor::backwardProfileText(times.toList(), back) +
                             QStringLiteral(": each point's time must be at or after the time "
                                            "of the point before it."));
    return false;
}

void P3motor::on_P3motor_cancel_clicked()
{
    close();
}
