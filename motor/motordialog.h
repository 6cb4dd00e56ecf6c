#pragma once

#include <QDialog>
#include <QString>
#include <QVector>

class QRadioButton;
class Ui_P3motor;

// The motor properties dialog of the three-phase page: the motor (wiring, one leg's R, L and
// back-EMF, poles or stroke length) on one face and the control profile on the other. Texts
// travel exactly as typed; the page parses them when it simulates. OK sends every value back
// through sendMotorValues, whichever face was shown.
class P3motor : public QDialog
{
    Q_OBJECT

public:
    explicit P3motor(QWidget *parent = nullptr);
    ~P3motor() override;

    // Fills both faces and shows face `mode` (1 motor, 0 control). Counts outside the spin
    // boxes' ranges are clamped: poles to 1..20, profile points to 2..16.
    void setMotorValues(QString R, QString L, QString Vemf, int nPoles, bool isDelta, int mode,
                        int controlVariable, int controlType, int constantVariable,
                        QString controlAmplitude, QString constantAmplitude,
                        QVector<QString> timeVector, QVector<QString> AmplitudeVector,
                        bool isLinear, QString CycleLength);

    Ui_P3motor *ui = nullptr;

signals:
    void sendMotorValues(QString R, QString L, QString Vemf, int nPoles, bool isDelta,
                         int controlVariable, int controlType, int constantVariable,
                         QString controlAmplitude, QString constantAmplitude,
                         QVector<QString> timeVector, QVector<QString> AmplitudeVector,
                         bool isLinear, QString CycleLength);

private slots:
    void on_P3motor_OK_clicked();
    void on_P3motor_cancel_clicked();
    void on_ControlType_activated(int index);
    void on_ControlCurrent_clicked(bool checked);
    void on_ControlRPM_clicked(bool checked);
    void on_ControlDutyCycle_clicked(bool checked);
    void on_ConstantRPM_clicked(bool checked);
    void on_ConstantVf_clicked(bool checked);
    void on_ConstantDutyCycle_clicked(bool checked);

public slots:
    // Called by setMotorValues, not bound to a widget.
    void setupP3ProfileTable(int controlVariable, QVector<QString> timeVector,
                             QVector<QString> AmplitudeVector);

private slots:
    void on_ProfilePointCount_valueChanged(int arg1);
    void on_DeltaButton_clicked();
    void on_WyeButton_clicked();
    void on_LinearMotorCheckBox_clicked(bool checked);

private:
    // A control-variable button: its unit and column header, the constant it excludes and the
    // constant that takes over the check when the excluded one had it.
    void chooseControl(bool checked, const QString &unit, const QString &header,
                       QRadioButton *excluded, QRadioButton *fallback, const QString &fallbackUnit);
    // Whether the profile's times never go back; tells the user which point does and takes
    // them to it when one does.
    bool profileInOrder(const QVector<QString> &times);
    void showWiringPicture(bool delta);
    void showLinearMotor(bool linear);
    void numberRows();
    void fitTableToRows();
};
