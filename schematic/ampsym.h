#pragma once

#include <qcustomplot.h>

#include <QPen>

// The amplifier symbol of the schematic editor: a triangle 800 units high whose tip points
// toward +x. It is hit only along the line from its centre to its tip.
class ampSym : public QCPAbstractItem
{
    Q_OBJECT
    Q_PROPERTY(QPen pen READ getPen WRITE setPen)
    Q_PROPERTY(QPen selectedPen READ getSelectedPen WRITE setSelectedPen)

public:
    explicit ampSym(QCustomPlot *parentPlot);

    QCPItemPosition *const center;
    QCPItemPosition *const C1;
    QCPItemPosition *const C2;
    QCPItemPosition *const C3;

    QPen getPen() const { return pen; }
    QPen getSelectedPen() const { return selectedPen; }
    void setPen(const QPen &p) { pen = p; }
    void setSelectedPen(const QPen &p) { selectedPen = p; }
    QPen mainPen() const;

    double selectTest(const QPointF &pos, bool onlySelectable,
                      QVariant *details = nullptr) const override;

    void moveCenterTo(double x, double y);

public slots:
    void removeComponent();

protected:
    void draw(QCPPainter *painter) override;

    QPen pen;
    QPen selectedPen;
};
