#pragma once
// What the schematic window tests share: reaching a page as a user does (its home page button,
// or a worked example through the tutorial's Next), and the checks that a schematic drawn with
// line, curve and ellipse items keeps its texts off those strokes and its framed texts whole.

#include "app/mainwindow.h"
#include "examples/examplesdialog.h"
#include "plotcheck.h"
#include "schematic/editorgeometry.h"
#include "schematic/labelplacement.h"
#include "ui_examplesdialog.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

namespace schematicwindow {

inline void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Worked example `n` as the tutorial's Next button sets it up: the step before it shown, then
// Next.
inline void nextToExample(MainWindow &w, int n)
{
    w.ui->ExampleSelection->setCurrentIndex(1);
    QTest::mouseClick(w.ui->startTutorial, Qt::LeftButton);
    settle();
    QVERIFY(w.exampleDialog);
    w.exampleDialog->showDescription(n - 1);
    QTest::mouseClick(w.exampleDialog->ui->nextButton, Qt::LeftButton);
    settle();
}

// Brings the tabs above `w` round to the one that holds it, and lays it out as shown.
inline void showTabOf(QWidget *w)
{
    for (QWidget *child = w; child; child = child->parentWidget())
        if (auto *stack = qobject_cast<QStackedWidget *>(child->parentWidget()))
            if (auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget()))
                tabs->setCurrentWidget(child);
    settle();
}

struct ItemStroke
{
    QPointF a, b;
    double halfPen;
    const QCPAbstractItem *item;
};

// The line, curve and ellipse items of a plot as pixel segments (curves and ellipses sampled).
inline QVector<ItemStroke> itemStrokes(QCustomPlot *plot)
{
    QVector<ItemStroke> strokes;
    const auto add = [&](const QVector<QPointF> &points, const QCPAbstractItem *item,
                         const QPen &pen) {
        for (int k = 1; k < points.size(); ++k)
            strokes.append({points[k - 1], points[k], pen.widthF() / 2, item});
    };
    for (int i = 0; i < plot->itemCount(); ++i) {
        QCPAbstractItem *item = plot->item(i);
        if (!item->visible()) continue;
        if (auto *line = qobject_cast<QCPItemLine *>(item)) {
            add({line->start->pixelPosition(), line->end->pixelPosition()}, item, line->pen());
        } else if (auto *curve = qobject_cast<QCPItemCurve *>(item)) {
            const QPointF p0 = curve->start->pixelPosition(), p1 = curve->startDir->pixelPosition(),
                          p2 = curve->endDir->pixelPosition(), p3 = curve->end->pixelPosition();
            QVector<QPointF> points;
            for (int s = 0; s <= 32; ++s) {
                const double t = s / 32.0, u = 1 - t;
                points << u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
            }
            add(points, item, curve->pen());
        } else if (auto *ellipse = qobject_cast<QCPItemEllipse *>(item)) {
            const QRectF r =
                QRectF(ellipse->topLeft->pixelPosition(), ellipse->bottomRight->pixelPosition())
                    .normalized();
            QVector<QPointF> points;
            for (int s = 0; s <= 72; ++s) {
                const double t = s * M_PI / 36;
                points << r.center() +
                              QPointF(r.width() / 2 * std::cos(t), r.height() / 2 * std::sin(t));
            }
            add(points, item, ellipse->pen());
        }
    }
    return strokes;
}

// The texts that a line, curve or ellipse item runs through, one line each.
inline QStringList textsOnItems(QCustomPlot *plot)
{
    QStringList found;
    const QVector<ItemStroke> strokes = itemStrokes(plot);
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || text->text().trimmed().isEmpty()) continue;
        const QRectF box = schem::glyphBox(text);
        for (const ItemStroke &s : strokes) {
            const QRectF near = box.adjusted(-s.halfPen, -s.halfPen, s.halfPen, s.halfPen);
            if (schem::segmentMeetsRect(s.a, s.b, near)) {
                found << QStringLiteral("\"%1\" on a %2 at (%3, %4)")
                             .arg(text->text().simplified(),
                                  QLatin1String(s.item->metaObject()->className()))
                             .arg(s.a.x(), 0, 'f', 0)
                             .arg(s.a.y(), 0, 'f', 0);
                break;
            }
        }
    }
    return found;
}

// Framed texts (a text with a pen) whose frame does not lie wholly inside the axis rect, with
// room for the frame's pen: such a frame loses an edge.
inline QStringList framesCut(QCustomPlot *plot)
{
    QStringList cut;
    const QRectF area = plot->axisRect()->rect();
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *text = qobject_cast<QCPItemText *>(plot->item(i));
        if (!text || !text->visible() || text->pen().style() == Qt::NoPen) continue;
        const double pen = std::max(1.0, text->pen().widthF());
        const QRectF box =
            QRectF(text->topLeft->pixelPosition(), text->bottomRight->pixelPosition()).normalized();
        if (!area.adjusted(pen, pen, -pen, -pen).contains(box))
            cut << QStringLiteral("\"%1\" framed at (%2, %3)-(%4, %5)")
                       .arg(text->text().simplified())
                       .arg(box.left())
                       .arg(box.top())
                       .arg(box.right())
                       .arg(box.bottom());
    }
    return cut;
}

// The smallest text size on the plot, in points.
inline double smallestPoints(QCustomPlot *plot)
{
    double smallest = 1e9;
    for (int i = 0; i < plot->itemCount(); ++i)
        if (auto *text = qobject_cast<QCPItemText *>(plot->item(i)))
            if (text->visible()) smallest = std::min(smallest, text->font().pointSizeF());
    return smallest;
}

// Everything the user would find wrong with a shown schematic's texts, each fault logged: texts
// on strokes, on each other or by another part like their own, cut by the canvas's edge, and
// framed texts that lose an edge. Shows the tab that holds the plot and draws it first.
inline QStringList schematicFaults(QCustomPlot *plot)
{
    showTabOf(plot);
    plot->replot();
    QStringList faults = plotcheck::textsOverDrawing(plot);
    faults << plotcheck::textsByAnotherSymbol(plot) << textsOnItems(plot) << framesCut(plot)
           << plotcheck::textsCut(plot);
    for (const QString &f : qAsConst(faults))
        qWarning().noquote() << f;
    return faults;
}

} // namespace schematicwindow
