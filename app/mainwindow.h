#pragma once

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
