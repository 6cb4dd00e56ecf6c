#pragma once

#include "catalog/amp.h"
#include "catalog/heatsink.h"
#include "catalog/packagestyle.h"
#include "catalog/pwm.h"
#include "values/comp.h"
#include "values/engvalues.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QVector>

class QLabel;
class QLineEdit;
class QCPItemText;
class QCustomPlot;

class Ui_MainWindow;

// The one window of the program. Its members are grouped by page; each group's arithmetic
// lives in a widget-free engine in that page's folder, and the members here read the fields,
// call the engine and show the result. Slots named on_<object>_<signal> are bound by the form.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Ui_MainWindow *ui = nullptr;

    // ------------------------------------------------------------------ engineering values
public slots:
    QString number2String(double number);

public:
    double roundTo3Sig(double value);
    QString engString(double value, QString unit);
    void setEngLabel(double value, QLabel *label, QString unit);
    void setEngLineEdit(double value, QLineEdit *edit, QString unit);
    void setEngItemText(double value, QCPItemText *item, QString unit);
    double parseValue(const QString &text);
    double parseLineEdit(QLineEdit *edit, QString kind);
    double parseItemValue(QString text, QCPItemText *item);

    // ------------------------------------------------------------------ part catalog
public:
    // The catalog, in table order. Filled once at start; all but the host list are read again
    // when pre-released parts are switched in or out.
    QVector<amp> ampVector;         // linear amplifiers
    QVector<amp> hostVector;        // host op-amps of other vendors
    QVector<pwm> pwmVector;         // PWM amplifiers
    QVector<heatsink> heatsinkVector;
    QVector<packageStyle> packageVector;

    void loadPartLists();

public slots:
    // Copy of the part named ampName; the first part when none is.
    amp findLinear(QString ampName);
    pwm findSwitching(QString ampName);
    int ampVectorIndex(QString ampName);
    QString interpretPackage(QString code);
    QString interpretPackageFullDesc(QString code);
    // Part names for the indices that design files of releases before 7 store.
    QString beforeV7IndextoAmpName(int index);
    QString beforeV7IndextoPwmName(int index);
    QString beforeV7IndextoHostName(int index);

    // ------------------------------------------------------------------ application shell
public:
    // Unsaved changes: set by every page refresh, cleared by construction, saving and opening.
    bool designModified = false;
    QString fileName;
    bool hasFileName = false;

    // ------------------------------------------------------------------ schematic kit

    // ------------------------------------------------------------------ SOA page

    // ------------------------------------------------------------------ product selectors

    // ------------------------------------------------------------------ stability page

    // ------------------------------------------------------------------ PWM filter and power

    // ------------------------------------------------------------------ PWM control

    // ------------------------------------------------------------------ Howland current pump

    // ------------------------------------------------------------------ three-phase motor

    // ------------------------------------------------------------------ design files

    // ------------------------------------------------------------------ examples
};
