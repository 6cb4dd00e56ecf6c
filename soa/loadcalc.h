#pragma once

#include "soa/loadcalcengine.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class Ui_LoadCalc;

// The load calculator: turns a resistor, inductor and capacitor at one frequency (in series
// and, beside it, in parallel) or two impedances given as magnitude and angle into an
// impedance. Modeless; its twelve entries go back to the main window by sendRLCValues when a
// button closes it, so that they come back at the next opening.
class LoadCalc : public QDialog
{
    Q_OBJECT

public:
    explicit LoadCalc(QWidget *parent = nullptr);
    ~LoadCalc() override;

    // Fills the twelve entries and recomputes all three results.
    void setValues(QString ResS, QString CapS, QString IndS, QString ResP, QString CapP,
                   QString IndP, QString Z1, QString Z2, QString A1, QString A2, QString FreqS,
                   QString FreqP);

    void calcSeries();
    void calcParallel();
    void combineSeries();
    void combineParallel();
    // The calculator's own reader of a typed value; colours the field black (grey when
    // disabled) or red when it cannot be read, and then gives 0.
    double toValue(QLineEdit *field);

signals:
    void sendLoadCalc(QString Z, QString angle, QString freq);
    void sendRLCValues(QString ResS, QString CapS, QString IndS, QString ResP, QString CapP,
                       QString IndP, QString Z1, QString Z2, QString A1, QString A2, QString FreqS,
                       QString FreqP);

private slots:
    void on_Rseries_editingFinished();
    void on_Lseries_editingFinished();
    void on_Cseries_editingFinished();
    void on_Fseries_editingFinished();
    void on_Rparallel_editingFinished();
    void on_Lparallel_editingFinished();
    void on_Cparallel_editingFinished();
    void on_Fparallel_editingFinished();
    void on_cancelButton_clicked();
    void on_useSeries_clicked();
    void on_useParallel_clicked();
    void on_Z1_editingFinished();
    void on_Angle1_editingFinished();
    void on_Z2_editingFinished();
    void on_Angle2_editingFinished();
    void on_SeriesButton_toggled(bool checked);
    void on_useValuesButton_clicked();

private:
    void combine();
    void emitEntries();
    // Writes a result into its two labels; one that has no figure turns the entry it is
    // blamed on red and keeps its note for the notes line. fields: R, L, C, frequency, Z1,
    // Z2, angle 1, angle 2, as far as the result has them.
    void showResult(const soa::CalcImpedance &z, QLabel *magnitude, QLabel *angle, QString &note,
                    const QString &which, QLineEdit *const (&fields)[8]);
    void showCombination(const soa::CalcImpedance &z);
    void showNotes();

    Ui_LoadCalc *ui = nullptr;
    // Why the series, parallel and combined results show no figure; empty while they do.
    QString seriesNote, parallelNote, combineNote;
};
