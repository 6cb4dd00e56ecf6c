#pragma once

#include <qcustomplot.h>

#include <QPen>

// A wire of the schematic editor: a horizontal or vertical segment between start and end that
// stays parallel to its axis however its ends are moved, and marks with a dot every end that
// meets another wire in the middle (a T-junction).
class wire : public QCPAbstractItem
{
    Q_OBJECT
    Q_PROPERTY(QPen pen READ getPen WRITE setPen)
    Q_PROPERTY(QPen selectedPen READ getSelectedPen WRITE setSelectedPen)

public:
    explicit wire(QCustomPlot *parentPlot);

    QCPItemPosition *const start;
    QCPItemPosition *const end;
    QCPItemPosition *const center;

    bool horizontal = true;

    QPen getPen() const { return pen; }
    QPen getSelectedPen() const { return selectedPen; }
    void setPen(const QPen &p) { pen = p; }
    void setSelectedPen(const QPen &p) { selectedPen = p; }
    QPen mainPen() const;

    double selectTest(const QPointF &pos, bool onlySelectable,
                      QVariant *details = nullptr) const override;

    void moveCenterTo(double x, double y);
    void moveStartTo(double x, double y);
    void moveEndTo(double x, double y);

    // True when `point` (an end of this wire) lies strictly inside the other wire, which runs
    // across this one. Ends that meet at ends, and parallel wires, are no junction.
    bool isTJunctionWith(QCPItemPosition *point, QCPAbstractItem *other) const;

public slots:
    void removeComponent();

protected:
    void draw(QCPPainter *painter) override;

    QPen pen;
    QPen selectedPen;
};

// True when the item is a wire itself, not some other item.
bool isWireItem(const QCPAbstractItem *item);
