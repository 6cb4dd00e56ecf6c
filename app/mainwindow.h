#pragma once

#include "values/comp.h"
#include "values/engvalues.h"

#include <QMainWindow>
#include <QPen>
#include <QPointer>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class QLabel;
class QLineEdit;
class QMouseEvent;
class QCPAbstractItem;
class QCPItemText;
class QCustomPlot;
class SchGridTicker;

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
    // Drawing primitives: each adds one fixed figure at the anchor (xLoc, yLoc), in plot units,
    // as graphs in `pen`; they keep no state and never clear or replot.
public slots:
    void plotWhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double len);
    void plotWver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double len);
    void plotWdia(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xEnd, double yEnd);
    void plotRhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotRver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotChor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotCver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotCLarge(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotLhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotLLarge(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotLver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotG(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotGr(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotPA(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotPAR(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotOA(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotOAR(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotRect(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xSize,
                  double ySize);
    void plotTri(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xSize,
                 double ySize);
    void plotJhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double R);
    void plotJver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double R);
    void plotSum(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);

    // Schematic editor page (`sch` on page 19).
public slots:
    void setupSch();
    void setSchTickVector();
    void placeResistor();
    void placeCapacitor();
    void placeInductor();
    void placeWire();
    void placeAmplifier();
    void exitSchMode();
    void onMousePress(QMouseEvent *event);
    void onMouseMove(QMouseEvent *event);
    void onMouseRelease(QMouseEvent *event);
    void regMousePress(QCustomPlot *plot, QMouseEvent *event, QCPAbstractItem *item);
    void regMouseMove(QCustomPlot *plot, QMouseEvent *event);
    void regMouseRelease(QCustomPlot *plot, QMouseEvent *event);
    void wireMousePress(QCustomPlot *plot, QMouseEvent *event, QCPAbstractItem *item);
    void wireMouseMove(QCustomPlot *plot, QMouseEvent *event);
    bool isComponent2(QCPAbstractItem *item);

private slots:
    void on_snapBox_currentIndexChanged(QString arg1);
    void on_capButton_clicked();
    void on_resButton_clicked();
    void on_SchGridBox_toggled(bool checked);
    void on_wireButton_clicked();
    void on_ampButton_clicked();

public:
    void wireDragTo(QCustomPlot *plot, QMouseEvent *event);

    // The item following the pointer. Guarded, because the user can delete it (edit dialog,
    // right press on a wire) while a handler still holds it.
    QPointer<QCPAbstractItem> currentSchItem;
    int schGridStep = 200; // plot units
    bool wireMode = false;

private:
    QPointF schPointerCoords(QCustomPlot *plot, QMouseEvent *event) const;
    // Tickers that place the editor's grid lines, shared with the axes.
    QSharedPointer<SchGridTicker> schXTicker;
    QSharedPointer<SchGridTicker> schYTicker;
    // Whether the wire tool set the cross cursor, so that only its own cursor is restored.
    bool schCursorOverridden = false;

public:

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
