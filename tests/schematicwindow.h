#pragma once
// What the schematic window tests share: reaching a page as a user does (a worked example
// through the tutorial's Next, the tab that holds a widget), and the faults of a schematic as
// shown.

#include "app/mainwindow.h"
#include "examples/examplesdialog.h"
#include "plotcheck.h"
#include "ui_examplesdialog.h"
#include "ui_mainwindow.h"
#include "windowtest.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

namespace schematicwindow {

using windowtest::settle;

// The window as a user has it: the application font DejaVu Sans at `points`, the window shown and
// then given `size` (an empty size leaves it at the size it takes).
inline std::unique_ptr<MainWindow> windowAt(int points, const QSize &size)
{
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    auto w = std::make_unique<MainWindow>();
    w->show();
    settle();
    w->resize(size);
    settle();
    return w;
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

// Everything the user would find wrong with a shown schematic's texts, each fault logged: texts
// on strokes, on each other or by another part like their own, cut by the canvas's edge, and
// framed texts that lose an edge. Shows the tab that holds the plot and draws it first.
inline QStringList schematicFaults(QCustomPlot *plot)
{
    showTabOf(plot);
    plot->replot();
    QStringList faults = plotcheck::textsOverDrawing(plot);
    faults << plotcheck::textsByAnotherSymbol(plot) << plotcheck::textsOnItems(plot)
           << plotcheck::framesCut(plot)
           << plotcheck::textsCut(plot);
    for (const QString &f : qAsConst(faults))
        qWarning().noquote() << f;
    return faults;
}

} // namespace schematicwindow
