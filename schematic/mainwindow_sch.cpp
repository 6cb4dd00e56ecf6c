// The free schematic editor page: tools, snapping, wire drawing, dragging, flipping, editing
// and deleting the items of schematic/ on the canvas `sch`.
#include "app/mainwindow.h"

#include "schematic/ampsym.h"
#include "schematic/capacitor.h"
#include "schematic/component2.h"
#include "schematic/editorgeometry.h"
#include "schematic/resistor.h"
#include "schematic/schgridticker.h"
#include "schematic/wire.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QMouseEvent>
#include <QShortcut>
#include <QStackedWidget>

#include <memory>

namespace {

const int schematicEditorPage = 19;
const QCP::Interactions schDefaultInteractions = QCP::iRangeDrag | QCP::iRangeZoom;

} // namespace

void MainWindow::setupSch()
{
    QCustomPlot *plot = ui->sch;
    const int step = ui->snapBox->currentText().toInt();
    if (step > 0) schGridStep = step;
    currentSchItem = nullptr;
    wireMode = false;

    plot->setInteractions(schDefaultInteractions);
    connect(plot, &QCustomPlot::mousePress, this, &MainWindow::onMousePress);
    connect(plot, &QCustomPlot::mouseMove, this, &MainWindow::onMouseMove);
    connect(plot, &QCustomPlot::mouseRelease, this, &MainWindow::onMouseRelease);

    const struct
    {
        Qt::Key key;
        void (MainWindow::*slot)();
    } shortcuts[] = {{Qt::Key_R, &MainWindow::placeResistor},
                     {Qt::Key_C, &MainWindow::placeCapacitor},
                     {Qt::Key_L, &MainWindow::placeInductor},
                     {Qt::Key_W, &MainWindow::placeWire},
                     {Qt::Key_Escape, &MainWindow::exitSchMode}};
    for (const auto &s : shortcuts) {
        auto *shortcut = new QShortcut(QKeySequence(s.key), this);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, this, s.slot);
        schShortcuts << shortcut;
    }
    // Plain letters are what the user types into the other pages' fields and lists; there the
    // keys must reach the widget, not the editor.
    auto enableShortcuts = [this](int page) {
        for (QShortcut *shortcut : qAsConst(schShortcuts))
            shortcut->setEnabled(page == schematicEditorPage);
    };
    enableShortcuts(ui->Page->currentIndex());
    connect(ui->Page, &QStackedWidget::currentChanged, this, enableShortcuts);

    // The axes show nothing but their grid lines, one every grid step.
    schXTicker.reset(new SchGridTicker);
    schYTicker.reset(new SchGridTicker);
    const QSharedPointer<SchGridTicker> tickers[] = {schXTicker, schYTicker};
    QCPAxis *axes[] = {plot->xAxis, plot->yAxis};
    for (int i = 0; i < 2; ++i) {
        QCPAxis *axis = axes[i];
        axis->setTicker(tickers[i]);
        axis->setTicks(false);
        axis->setTickLabels(false);
        axis->setBasePen(QPen(Qt::white));
        axis->grid()->setZeroLinePen(axis->grid()->subGridPen());
    }
    setSchTickVector();

    plot->xAxis->setRange(0, 6000);
    // One unit is as tall as it is wide, so the grid is square and symbols keep their shape.
    // The y range follows from the canvas's size in pixels. While the window is being built the
    // canvas has none yet (its axis rect is 0 px high), which would leave the y axis at its
    // initial 0 to 5; so the ratio is applied as soon as the canvas is first laid out.
    auto canvasHasSize = [plot] {
        return plot->axisRect()->width() > 0 && plot->axisRect()->height() > 0;
    };
    if (canvasHasSize()) {
        plot->yAxis->setScaleRatio(plot->xAxis, 1.0);
    } else {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(plot, &QCustomPlot::afterLayout, this, [plot, once, canvasHasSize] {
            if (!canvasHasSize()) return;
            disconnect(*once);
            plot->yAxis->setScaleRatio(plot->xAxis, 1.0);
            plot->replot(QCustomPlot::rpQueuedReplot);
        });
    }
    plot->replot();
}

void MainWindow::setSchTickVector()
{
    if (schXTicker) schXTicker->setStep(schGridStep);
    if (schYTicker) schYTicker->setStep(schGridStep);
}

bool MainWindow::isComponent2(QCPAbstractItem *item)
{
    if (!item) return false;
    const QMetaObject *mo = item->metaObject();
    return mo == &component2::staticMetaObject || mo == &resistor::staticMetaObject ||
           mo == &capacitor::staticMetaObject;
}

QPointF MainWindow::schPointerCoords(QCustomPlot *plot, QMouseEvent *event) const
{
    const QPoint px = event->pos();
    return QPointF(plot->xAxis->pixelToCoord(px.x()), plot->yAxis->pixelToCoord(px.y()));
}

// ------------------------------------------------------------------------------------ tools

void MainWindow::placeResistor()
{
    exitSchMode();
    if (ui->Page->currentIndex() != schematicEditorPage) return;
    currentSchItem = new resistor(ui->sch);
}

void MainWindow::placeCapacitor()
{
    exitSchMode();
    if (ui->Page->currentIndex() != schematicEditorPage) return;
    currentSchItem = new capacitor(ui->sch);
}

void MainWindow::placeAmplifier()
{
    exitSchMode();
    if (ui->Page->currentIndex() != schematicEditorPage) return;
    // The editor cannot move an amplifier afterwards: it must land where the user sees it, and
    // not hide under one placed before.
    QCustomPlot *plot = ui->sch;
    QVector<QPointF> taken;
    for (int i = 0; i < plot->itemCount(); ++i)
        if (auto *other = qobject_cast<ampSym *>(plot->item(i)))
            taken << other->center->coords();
    const QCPRange x = plot->xAxis->range();
    const QCPRange y = plot->yAxis->range();
    const QPointF c = schem::amplifierPlacement(
        QRectF(QPointF(x.lower, y.lower), QPointF(x.upper, y.upper)), schGridStep, taken);
    auto *amplifier = new ampSym(plot);
    amplifier->moveCenterTo(c.x(), c.y());
    currentSchItem = amplifier;
}

void MainWindow::placeInductor()
{
    // There is no inductor item: the key only ends the current tool.
    exitSchMode();
}

void MainWindow::placeWire()
{
    exitSchMode();
    if (ui->Page->currentIndex() != schematicEditorPage) return;
    wireMode = true;
    QApplication::setOverrideCursor(Qt::CrossCursor);
    schCursorOverridden = true;
    QApplication::processEvents();
}

void MainWindow::exitSchMode()
{
    QCPAbstractItem *item = currentSchItem;
    if (schDragOrigin.active && !wireMode)
        restoreSchDragOrigin(item); // a drag is cancelled, not the item it moves
    else if (isComponent2(item))
        static_cast<component2 *>(item)->removeComponent();
    else if (wireMode && isWireItem(item))
        static_cast<wire *>(item)->removeComponent();
    schDragOrigin.active = false;
    wireMode = false;
    currentSchItem = nullptr;
    // Only the wire tool's own cursor: another part of the program may hold one underneath.
    if (schCursorOverridden) {
        QApplication::restoreOverrideCursor();
        schCursorOverridden = false;
    }
    ui->sch->replot();
}

void MainWindow::on_resButton_clicked()
{
    placeResistor();
}

void MainWindow::on_capButton_clicked()
{
    placeCapacitor();
}

void MainWindow::on_wireButton_clicked()
{
    placeWire();
}

void MainWindow::on_ampButton_clicked()
{
    placeAmplifier();
}

void MainWindow::on_snapBox_currentIndexChanged(QString arg1)
{
    const int step = arg1.toInt();
    // The combo holds positive steps only; anything else would divide by zero when snapping.
    if (step > 0) schGridStep = step;
    setSchTickVector();
    ui->sch->replot();
}

void MainWindow::on_SchGridBox_toggled(bool checked)
{
    ui->sch->xAxis->setVisible(checked);
    ui->sch->yAxis->setVisible(checked);
    ui->sch->replot();
}

// ------------------------------------------------------------------------------ dispatching

void MainWindow::onMousePress(QMouseEvent *event)
{
    QCustomPlot *plot = ui->sch;
    QCPAbstractItem *item = plot->itemAt(QPointF(event->pos()), false);
    if (wireMode)
        wireMousePress(plot, event, item);
    else
        regMousePress(plot, event, item);
}

void MainWindow::onMouseMove(QMouseEvent *event)
{
    if (!wireMode)
        regMouseMove(ui->sch, event);
    else if (currentSchItem)
        wireDragTo(ui->sch, event);
}

void MainWindow::onMouseRelease(QMouseEvent *event)
{
    if (!wireMode) regMouseRelease(ui->sch, event);
    ui->sch->setInteractions(schDefaultInteractions);
}

// --------------------------------------------------------------------------- regular mode

void MainWindow::regMousePress(QCustomPlot *plot, QMouseEvent *event, QCPAbstractItem *item)
{
    // What the item is, decided once: the edit dialog below may destroy it.
    const bool itemIsComponent = isComponent2(item);
    const bool itemIsWire = isWireItem(item);
    QPointer<QCPAbstractItem> guarded(item);

    if (event->button() == Qt::LeftButton) {
        if (itemIsComponent || itemIsWire) {
            // A component being placed stays new when the press drops it where it is.
            if (item != currentSchItem) rememberSchDragOrigin(item);
            currentSchItem = item;
            plot->setInteractions(QCP::Interactions());
        }
    } else if (event->button() == Qt::RightButton) {
        if (isComponent2(currentSchItem)) {
            auto *c = static_cast<component2 *>(currentSchItem.data());
            c->horizontal = !c->horizontal;
            const QPointF centre = c->center->coords();
            c->moveCenterTo(centre.x(), centre.y());
            plot->replot();
        } else if (itemIsComponent) {
            // The user may delete the component from the dialog: `item` is not used after it.
            static_cast<component2 *>(item)->editComponentDialog();
            plot->replot();
        }
        if (itemIsWire && guarded) {
            static_cast<wire *>(guarded.data())->removeComponent();
            plot->replot();
        }
    }
}

void MainWindow::regMouseMove(QCustomPlot *plot, QMouseEvent *event)
{
    QCPAbstractItem *item = currentSchItem;
    if (!item) return;
    const QPointF p = schPointerCoords(plot, event);
    if (isComponent2(item)) {
        static_cast<component2 *>(item)->moveCenterTo(schem::snapToGrid(p.x(), schGridStep),
                                                      schem::snapToGrid(p.y(), schGridStep));
        plot->replot();
    } else if (isWireItem(item)) {
        auto *w = static_cast<wire *>(item);
        const QPointF c = schem::wireDragCentre(w->center->coords(), p, schGridStep);
        w->moveCenterTo(c.x(), c.y());
        plot->replot();
    }
}

void MainWindow::regMouseRelease(QCustomPlot *plot, QMouseEvent *event)
{
    QCPAbstractItem *item = currentSchItem;
    if (event->button() != Qt::LeftButton || !(isComponent2(item) || isWireItem(item))) return;
    regMouseMove(plot, event);
    currentSchItem = nullptr;
    schDragOrigin.active = false;
    plot->replot();
}

void MainWindow::rememberSchDragOrigin(QCPAbstractItem *item)
{
    SchDragOrigin &o = schDragOrigin;
    o.active = true;
    if (isComponent2(item)) {
        const auto *c = static_cast<component2 *>(item);
        o.horizontal = c->horizontal;
        o.centre = c->center->coords();
    } else if (isWireItem(item)) {
        const auto *w = static_cast<wire *>(item);
        o.horizontal = w->horizontal;
        o.start = w->start->coords();
        o.end = w->end->coords();
    } else {
        o.active = false;
    }
}

void MainWindow::restoreSchDragOrigin(QCPAbstractItem *item)
{
    const SchDragOrigin &o = schDragOrigin;
    if (isComponent2(item)) {
        auto *c = static_cast<component2 *>(item);
        c->horizontal = o.horizontal;
        c->moveCenterTo(o.centre.x(), o.centre.y());
    } else if (isWireItem(item)) {
        auto *w = static_cast<wire *>(item);
        w->horizontal = o.horizontal;
        w->moveStartTo(o.start.x(), o.start.y());
        w->moveEndTo(o.end.x(), o.end.y());
    }
}

// ------------------------------------------------------------------------------ wire mode

void MainWindow::wireMousePress(QCustomPlot *plot, QMouseEvent *event, QCPAbstractItem *)
{
    QCPAbstractItem *current = currentSchItem;
    if (event->button() == Qt::LeftButton) {
        QPointF anchor;
        if (isWireItem(current)) {
            anchor = static_cast<wire *>(current)->end->coords();
        } else {
            const QPointF p = schPointerCoords(plot, event);
            anchor = QPointF(schem::snapToGrid(p.x(), schGridStep),
                             schem::snapToGrid(p.y(), schGridStep));
        }
        auto *w = new wire(plot);
        currentSchItem = w;
        w->moveStartTo(anchor.x(), anchor.y());
        w->moveEndTo(anchor.x(), anchor.y());
        plot->replot();
        plot->setInteractions(QCP::Interactions());
    } else if (event->button() == Qt::RightButton) {
        if (isWireItem(current)) {
            static_cast<wire *>(current)->removeComponent();
            currentSchItem = nullptr;
            plot->replot();
        } else {
            exitSchMode();
        }
    }
}

void MainWindow::wireMouseMove(QCustomPlot *plot, QMouseEvent *event)
{
    if (currentSchItem) wireDragTo(plot, event);
}

void MainWindow::wireDragTo(QCustomPlot *plot, QMouseEvent *event)
{
    if (!isWireItem(currentSchItem)) return;
    auto *w = static_cast<wire *>(currentSchItem.data());
    const QPointF s = w->start->coords();
    const schem::WireTarget t =
        schem::wireModeTarget(s, schPointerCoords(plot, event), schGridStep);
    w->horizontal = t.horizontal;
    const QPointF c = w->center->coords();
    w->moveCenterTo(c.x(), c.y());
    w->moveStartTo(s.x(), s.y());
    w->moveEndTo(t.end.x(), t.end.y());
    plot->replot();
}
