// Readable on a laptop screen however a page is reached: at 10 pt in a 1366 x 720 window and at
// 12 pt in 1536 x 864, every page opened from its home page button and every worked example
// reached through its tutorial's Next button shows its charts with room for their data (legends
// inside the widget, axis rects that keep their share, tick labels apart), its schematics with
// texts clear of each other and of every wire and symbol but their own, and the Main Menu button
// wherever the page is not the home page; the window and its minimum keep to the screen, and
// the plotting library has nothing to complain of on the way. The tabs of a page that hold a chart or a schematic are
// opened as the user would open them.
#include "app/mainwindow.h"
#include "examples/examplesdialog.h"
#include "examples/exampletable.h"
#include "ui_examplesdialog.h"
#include "ui_mainwindow.h"

#include "plotcheck.h"
#include "windowtest.h"
#include "schematic/schematicstroke.h"

#include <QComboBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

const char *const fontFamily = "DejaVu Sans";

using windowtest::saveShot;
using windowtest::settle;

void press(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}

void clickTab(QTabWidget *tabs, int index)
{
    QTabBar *bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    settle();
}

// What a shown plot lets the user down in, one line each, prefixed with `where`.
QStringList plotFaults(QCustomPlot *plot, const QString &where)
{
    QStringList found;
    if (plotcheck::hasShownAxes(plot)) {
        found << plotcheck::roomFaults(plot, 0.5);
        found << plotcheck::axisRectTooLow(plot, 0.4, 100);
    } else {
        found << plotcheck::textsOnOthers(plot);
        found << plotcheck::textsByAnotherSymbol(plot);
    }
    for (QString &line : found)
        line.prepend(where + QStringLiteral(" / ") + plot->objectName() + QStringLiteral(": "));
    return found;
}

// The tabs to open, outermost first, for `w` on `page` to show: each tab widget with the tab
// that holds `w`. Empty when `w` is hidden otherwise (a stack the page itself switches, a widget
// the page hides): the user cannot bring it up with a tab.
QVector<QPair<QTabWidget *, int>> tabsToOpen(QWidget *w, QWidget *page, bool *reachable)
{
    QVector<QPair<QTabWidget *, int>> tabs;
    *reachable = true;
    for (QWidget *child = w; child && child != page; child = child->parentWidget()) {
        QWidget *parent = child->parentWidget();
        auto *stack = qobject_cast<QStackedWidget *>(parent);
        auto *tabWidget = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
        if (tabWidget) {
            const int index = tabWidget->indexOf(child);
            if (index != tabWidget->currentIndex()) {
                if (!tabWidget->isTabEnabled(index)) *reachable = false;
                tabs.prepend({tabWidget, index});
            }
        } else if (stack && stack->currentWidget() != child) {
            *reachable = false;
        } else if (child->isHidden()) {
            *reachable = false;
        }
    }
    return tabs;
}

QString tabNames(const QVector<QPair<QTabWidget *, int>> &tabs)
{
    QStringList names;
    for (const auto &tab : tabs)
        names << QStringLiteral("tab \"%1\"").arg(tab.first->tabText(tab.second).remove('&'));
    return names.join(QStringLiteral(" / "));
}

struct Screen
{
    int points;
    QSize size;
};

const Screen laptop{10, QSize(1366, 720)};
const Screen screens[] = {laptop, {12, QSize(1536, 864)}};

QString screenName(const Screen &s)
{
    return QStringLiteral("%1 pt, %2 x %3").arg(s.points).arg(s.size.width()).arg(s.size.height());
}

// A window larger than its screen, or one that cannot shrink to it, leaves its edge off the
// screen: the results' frame, the end of the Main Menu bar.
QStringList offScreen(MainWindow &w, const Screen &screen, const QString &where)
{
    QStringList found;
    const QSize least = w.minimumSize().expandedTo(w.minimumSizeHint());
    const auto larger = [&](QSize size) {
        return size.width() > screen.size.width() || size.height() > screen.size.height();
    };
    if (larger(w.size()))
        found << QStringLiteral("%1: the window is %2 x %3 px").arg(where).arg(w.width()).arg(w.height());
    if (larger(least))
        found << QStringLiteral("%1: the window needs at least %2 x %3 px")
                     .arg(where)
                     .arg(least.width())
                     .arg(least.height());
    return found;
}

// Everything the current state of the window shows: the window on its screen, the Main Menu
// button, and every chart and schematic of the current page, those on other tabs with their tab
// opened and closed again.
QStringList shownFaults(MainWindow &w, const Screen &screen, const QString &where)
{
    saveShot(w, where);
    QStringList found = offScreen(w, screen, where);
    QWidget *page = w.ui->Page->currentWidget();
    const QString here = QStringLiteral("%1 (page %2 %3)")
                             .arg(where)
                             .arg(w.ui->Page->currentIndex())
                             .arg(page->objectName());
    if (w.ui->Page->currentIndex() != 0 && !w.ui->HomeButton->isVisible())
        found << here + QStringLiteral(": no Main Menu button");
    const QList<QCustomPlot *> plots = page->findChildren<QCustomPlot *>();
    for (QCustomPlot *plot : plots)
        if (plot->isVisible()) found << plotFaults(plot, here);
    for (QCustomPlot *plot : plots) {
        if (plot->isVisible()) continue;
        bool reachable = false;
        const QVector<QPair<QTabWidget *, int>> tabs = tabsToOpen(plot, page, &reachable);
        if (!reachable || tabs.isEmpty()) continue;
        QVector<int> before;
        for (const auto &tab : tabs) {
            before << tab.first->currentIndex();
            clickTab(tab.first, tab.second);
        }
        const QString opened = here + QStringLiteral(" / ") + tabNames(tabs);
        saveShot(w, opened);
        if (plot->isVisible()) found << plotFaults(plot, opened);
        for (int i = tabs.size() - 1; i >= 0; --i)
            clickTab(tabs[i].first, before[i]);
    }
    return found;
}

// A window at the screen's size and font; a window that cannot shrink to it is itself a fault.
std::unique_ptr<MainWindow> windowOn(const Screen &screen, QStringList *faults)
{
    QApplication::setFont(QFont(QString::fromLatin1(fontFamily), screen.points));
    auto w = std::make_unique<MainWindow>();
    w->resize(screen.size);
    w->show();
    settle();
    if (w->size() != screen.size)
        *faults << QStringLiteral("%1: the window is %2 x %3 px")
                       .arg(screenName(screen))
                       .arg(w->width())
                       .arg(w->height());
    return w;
}

bool reportNone(const QStringList &faults)
{
    for (const QString &line : faults)
        qWarning().noquote() << line;
    return faults.isEmpty();
}

} // namespace

class TestReadable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void schematicCheckSeesTextsOnOthers_data();
    void schematicCheckSeesTextsOnOthers();
    void chartCheckSeesCrowdedTicksAndLowAxes_data();
    void chartCheckSeesCrowdedTicksAndLowAxes();
    void chartCheckSeesTickLabelOnLegend_data();
    void chartCheckSeesTickLabelOnLegend();
    void pagesFromTheHomePage_data();
    void pagesFromTheHomePage();
    void examplesThroughTheirTutorial_data();
    void examplesThroughTheirTutorial();
    void sixThreePhaseGraphs_data();
    void sixThreePhaseGraphs();
    void powerChartAtItsLeastHeight_data();
    void powerChartAtItsLeastHeight();
    void fontMenuGivesTheWindowBack_data();
    void fontMenuGivesTheWindowBack();

private:
    std::unique_ptr<plotcheck::LibraryComplaints> complaints;
};

// Every page and example the user reaches leaves the plotting library nothing to complain of.
void TestReadable::init()
{
    complaints = std::make_unique<plotcheck::LibraryComplaints>();
}

void TestReadable::cleanup()
{
    QApplication::setFont(QFont());
    const QString heard = plotcheck::stopHearing(complaints);
    QVERIFY2(heard.isEmpty(), qPrintable(heard));
}

void TestReadable::schematicCheckSeesTextsOnOthers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("at"); // plot units, 1 px each; the text's left edge, centred in y
    QTest::addColumn<QString>("fault");
    QTest::newRow("none added") << QString() << QPointF() << QString();
    QTest::newRow("beside its resistor") << "1 kΩ" << QPointF(105, 75) << QString();
    QTest::newRow("on a wire") << "V_IN" << QPointF(20, 200) << "crosses a wire";
    QTest::newRow("reaching across the amplifier")
        << "a value far too long" << QPointF(180, 130) << "crosses another symbol";
    QTest::newRow("across the end of its resistor")
        << "10 kΩ" << QPointF(80, 100) << "its own symbol, standing partly outside it";
    QTest::newRow("on the amplifier's name") << "AMP2" << QPointF(290, 100) << "overlaps \"AMP2\"";
    QTest::newRow("a space after the resistor's name")
        << "10 kΩ" << QPointF(113, 125) << "runs into \"10 kΩ\"";
    QTest::newRow("on a line item") << "V_M" << QPointF(40, 260) << "crosses a drawn QCPItemLine";
    QTest::newRow("across an ellipse item")
        << "Ph" << QPointF(290, 260) << "crosses a drawn QCPItemEllipse";
}

// A schematic of a resistor (a zigzag), a wire, an amplifier (a box with its name inside), and a
// lead and a winding drawn as line and ellipse items:
// the check finds a text put where it does not belong, and nothing else.
void TestReadable::schematicCheckSeesTextsOnOthers()
{
    QFETCH(QString, text);
    QFETCH(QPointF, at);
    QFETCH(QString, fault);
    QCustomPlot plot;
    plot.resize(400, 300);
    plot.setViewport(plot.rect()); // a hidden widget gets no resize event
    plot.axisRect()->setAutoMargins(QCP::msNone);
    plot.axisRect()->setMargins(QMargins());
    plot.xAxis->setVisible(false);
    plot.yAxis->setVisible(false);
    plot.xAxis->setRange(0, 400);
    plot.yAxis->setRange(0, 300);
    const auto stroke = [&](const QVector<double> &x, const QVector<double> &y, int figure) {
        QCPGraph *graph = plot.addGraph();
        graph->setData(x, y);
        graph->setPen(QPen(Qt::black, 2));
        if (figure) graph->setProperty(schem::kFigureNumber, figure);
    };
    stroke({100, 110, 120, 130, 140}, {100, 110, 90, 110, 100}, 1); // resistor
    stroke({0, 400}, {200, 200}, 0);                                // wire
    stroke({260, 360, 360, 260, 260}, {50, 50, 150, 150, 50}, 2);   // amplifier
    // A lead and a winding drawn as items, as the three-phase schematic draws them.
    auto *lead = new QCPItemLine(&plot);
    lead->start->setCoords(20, 260);
    lead->end->setCoords(80, 260);
    auto *winding = new QCPItemEllipse(&plot);
    winding->topLeft->setCoords(300, 280);
    winding->bottomRight->setCoords(380, 240);
    const auto label = [&](const QString &t, QPointF p, Qt::Alignment a) {
        auto *item = new QCPItemText(&plot);
        item->setText(t);
        item->setPositionAlignment(a);
        item->position->setCoords(p);
    };
    label(QStringLiteral("AMP"), QPointF(310, 100), Qt::AlignCenter);
    label(QStringLiteral("R1"), QPointF(110, 125), Qt::AlignRight | Qt::AlignVCenter);
    if (!text.isEmpty()) label(text, at, Qt::AlignLeft | Qt::AlignVCenter);
    plot.replot();
    const QStringList found = plotcheck::textsOnOthers(&plot);
    if (fault.isEmpty()) {
        QCOMPARE(found, QStringList());
    } else {
        QCOMPARE(found.size(), 1);
        QVERIFY2(found[0].contains(fault), qPrintable(found[0]));
    }
}

void TestReadable::chartCheckSeesCrowdedTicksAndLowAxes_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("crowded"); // pairs of tick labels that run together
    QTest::addColumn<bool>("low");
    QTest::newRow("room for every label") << 400 << 0 << false;
    QTest::newRow("labels on top of each other") << 160 << 10 << false;
    QTest::newRow("too low for its data") << 110 << 10 << true;
}

// Eleven tick labels on the value axis, every 10 from 0 to 100.
void TestReadable::chartCheckSeesCrowdedTicksAndLowAxes()
{
    QFETCH(int, height);
    QFETCH(int, crowded);
    QFETCH(bool, low);
    QCustomPlot plot;
    plot.resize(400, height);
    plot.setViewport(plot.rect());
    plot.yAxis->setRange(0, 100);
    QSharedPointer<QCPAxisTickerFixed> ticker(new QCPAxisTickerFixed);
    ticker->setTickStep(10);
    plot.yAxis->setTicker(ticker);
    plot.replot();
    QCOMPARE(plotcheck::tickLabelsRunTogether(plot.yAxis).size(), crowded);
    QCOMPARE(plotcheck::tickLabelsRunTogether(plot.xAxis), QStringList());
    QCOMPARE(!plotcheck::axisRectTooLow(&plot, 0.4, 100).isEmpty(), low);
}

void TestReadable::chartCheckSeesTickLabelOnLegend_data()
{
    QTest::addColumn<int>("spacing"); // pixels between the axis rect and the legend's column
    QTest::addColumn<int>("touching");
    QTest::newRow("legend's frame against the axes") << 0 << 1;
    QTest::newRow("legend's frame 40 px off") << 40 << 0;
}

// A legend in a column beside the axes, and a time axis numbered to 6000 at its right end: half
// of "6000" reaches past the axis rect.
void TestReadable::chartCheckSeesTickLabelOnLegend()
{
    QFETCH(int, spacing);
    QFETCH(int, touching);
    QCustomPlot plot;
    plot.resize(500, 200);
    plot.setViewport(plot.rect());
    plot.legend->setVisible(true);
    plot.addGraph()->setName(QStringLiteral("Power"));
    plot.plotLayout()->addElement(0, 1, plot.legend);
    plot.plotLayout()->setColumnSpacing(spacing);
    plot.plotLayout()->setColumnStretchFactor(1, 0.01);
    plot.xAxis->setRange(0, 6000);
    plot.replot();
    const QStringList found = plotcheck::tickLabelsOnLegend(&plot);
    QCOMPARE(found.size(), touching);
    if (touching) QVERIFY2(found[0].contains(QLatin1String("\"6000\"")), qPrintable(found[0]));
}

void TestReadable::pagesFromTheHomePage_data()
{
    QTest::addColumn<int>("screen");
    for (int i = 0; i < int(std::size(screens)); ++i)
        QTest::newRow(qPrintable(screenName(screens[i]))) << i;
}

// Each page as its home page button opens it, with each choice of what the PWM power chart and the
// three-phase drive show, and the PWM control's later steps as its Next buttons open them.
void TestReadable::pagesFromTheHomePage()
{
    QFETCH(int, screen);
    const Screen &s = screens[screen];
    QStringList faults;
    auto w = windowOn(s, &faults);
    faults << shownFaults(*w, s, screenName(s) + QStringLiteral(" / home page"));
    QWidget *home = w->ui->Page->widget(0);
    for (QPushButton *button : home->findChildren<QPushButton *>()) {
        if (!button->isVisible()) continue;
        const QString where =
            QStringLiteral("%1 / home page button %2").arg(screenName(s), button->objectName());
        press(button);
        faults << shownFaults(*w, s, where);
        // The choices a page offers for what its chart or schematic shows, each picked with the
        // keyboard as a user steps through them.
        for (QComboBox *choice : {w->ui->yVariable, w->ui->P3commType}) {
            if (!choice->isVisible()) continue;
            choice->setFocus();
            const int shown = choice->currentIndex(); // checked above
            for (int i = 0; i < choice->count(); ++i) {
                QTest::keyClick(choice, i == 0 ? Qt::Key_Home : Qt::Key_Down);
                settle();
                if (choice->currentIndex() == shown) continue;
                faults << shownFaults(*w, s,
                                      QStringLiteral("%1 / %2 \"%3\"")
                                          .arg(where, choice->objectName(), choice->currentText()));
            }
        }
        if (w->ui->NexttoStep2->isVisible()) {
            press(w->ui->NexttoStep2);
            faults << shownFaults(*w, s, where + QStringLiteral(" / Next to step 2"));
            press(w->ui->NexttoStep3);
            faults << shownFaults(*w, s, where + QStringLiteral(" / Next to step 3"));
        }
        if (!w->ui->HomeButton->isVisible()) {
            faults << where + QStringLiteral(": no way back to the home page");
            w->ui->actionMain_Menu->trigger();
            settle();
            continue;
        }
        press(w->ui->HomeButton);
        if (w->ui->Page->currentWidget() != home)
            faults << where + QStringLiteral(": Main Menu does not lead home");
    }
    QVERIFY2(reportNone(faults), qPrintable(QStringLiteral("%1 faults at %2 (listed above)")
                                                .arg(faults.size())
                                                .arg(screenName(s))));
}

void TestReadable::examplesThroughTheirTutorial_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("tutorial"); // index in the tutorial page's list
    for (int i = 0; i < int(std::size(screens)); ++i)
        for (int t = 0; t < examples::tutorials().size(); ++t)
            QTest::addRow("%s, %s", qPrintable(screenName(screens[i])),
                          qPrintable(examples::tutorials().at(t).name))
                << i << t;
}

// The tutorial is started from the tutorial page and walked with Next to its end; after its first
// example the user goes to the Main Menu and carries on with Next from there.
void TestReadable::examplesThroughTheirTutorial()
{
    QFETCH(int, screen);
    QFETCH(int, tutorial);
    const Screen &s = screens[screen];
    const examples::Tutorial &t = examples::tutorials().at(tutorial);
    QStringList faults;
    auto w = windowOn(s, &faults);
    press(w->ui->Examples);
    w->ui->ExampleSelection->setCurrentIndex(tutorial);
    press(w->ui->startTutorial);
    Examples *dialog = w->exampleDialog;
    QVERIFY(dialog && dialog->isVisible());
    const QString tag = QStringLiteral("%1 / tutorial \"%2\"").arg(screenName(s), t.name);
    QVector<int> seen;
    while (dialog->isVisible()) {
        const int n = dialog->currentExample;
        QVERIFY2(!seen.contains(n) && seen.size() <= t.last - t.first,
                 qPrintable(QStringLiteral("the tutorial came back to example %1").arg(n)));
        seen << n;
        const QString where = QStringLiteral("%1 / example %2").arg(tag).arg(n);
        faults << shownFaults(*w, s, where);
        if (n == t.first && w->ui->HomeButton->isVisible()) {
            press(w->ui->HomeButton);
            faults << shownFaults(*w, s, where + QStringLiteral(" / Main Menu"));
        }
        press(dialog->ui->nextButton);
    }
    QCOMPARE(seen.size(), t.last - t.first + 1);
    faults << shownFaults(*w, s, tag + QStringLiteral(" / after its last example"));
    QVERIFY2(
        reportNone(faults),
        qPrintable(QStringLiteral("%1 faults in %2 (listed above)").arg(faults.size()).arg(tag)));
}

void TestReadable::sixThreePhaseGraphs_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("example"); // -1: the page as its home page button opens it
    for (int i = 0; i < int(std::size(screens)); ++i) {
        QTest::addRow("%s, as opened", qPrintable(screenName(screens[i]))) << i << -1;
        QTest::addRow("%s, example 95", qPrintable(screenName(screens[i]))) << i << 95;
    }
}

// Six graphs share the three-phase page's column: all of them, Download PWL and Main Menu stay on
// the screen, and each graph keeps a scale to read its curve by: at least two labels on its value
// axis, apart.
void TestReadable::sixThreePhaseGraphs()
{
    QFETCH(int, screen);
    QFETCH(int, example);
    const Screen &s = screens[screen];
    QStringList faults;
    auto w = windowOn(s, &faults);
    press(w->ui->ThreePhaseButton);
    if (example >= 0) w->loadExample(example);
    // As the user picks them on the schematic, lines first.
    w->P3graphables = QStringList{"I1", "I2", "I3", "DCA", "DCenv", "loadPower"};
    w->refreshP3();
    settle();
    const QString where = QString::fromLatin1(QTest::currentDataTag());
    saveShot(*w, where);
    // Six graphs share the height of one: the page's least chart height is not theirs to keep.
    faults << offScreen(*w, s, where);
    const QRect screenRect(QPoint(), s.size);
    for (QWidget *shown : {static_cast<QWidget *>(w->ui->P3downloadPWL),
                           static_cast<QWidget *>(w->ui->HomeButton)}) {
        const QRect box(shown->mapTo(w.get(), QPoint()), shown->size());
        if (!shown->isVisible() || !screenRect.contains(box))
            faults << QStringLiteral("%1: %2 at (%3, %4)-(%5, %6) is off the screen")
                          .arg(where, shown->objectName())
                          .arg(box.left())
                          .arg(box.top())
                          .arg(box.right())
                          .arg(box.bottom());
    }
    for (QCustomPlot *plot : w->ui->page_9->findChildren<QCustomPlot *>()) {
        if (!plot->objectName().startsWith(QLatin1String("P3graph"))) continue;
        if (!plot->isVisible()) {
            faults << QStringLiteral("%1 / %2: not shown").arg(where, plot->objectName());
            continue;
        }
        QVector<double> labelled;
        for (double tick : plot->yAxis->tickVector())
            if (plot->yAxis->range().contains(tick)) labelled << tick;
        if (labelled.size() < 2)
            faults << QStringLiteral("%1 / %2: %3 value label(s) on a %4 px axis rect")
                          .arg(where, plot->objectName())
                          .arg(labelled.size())
                          .arg(plot->axisRect()->height());
        for (const QString &lost : plotcheck::roomFaults(plot, 0.5))
            faults << QStringLiteral("%1 / %2: %3").arg(where, plot->objectName(), lost);
    }
    QVERIFY2(reportNone(faults), qPrintable(QStringLiteral("%1 faults (listed above)").arg(faults.size())));
}

void TestReadable::powerChartAtItsLeastHeight_data()
{
    pagesFromTheHomePage_data();
}

// The PWM power chart squeezed to its least height by a taller page still keeps its axes 100 px
// high, whatever it displays: its least height comes from its texts.
void TestReadable::powerChartAtItsLeastHeight()
{
    QFETCH(int, screen);
    const Screen &s = screens[screen];
    QStringList faults;
    auto w = windowOn(s, &faults);
    press(w->ui->PWMPowerButton);
    QCustomPlot *plot = w->ui->FilterFreq;
    QComboBox *choice = w->ui->yVariable;
    choice->setFocus();
    for (int i = 0; i < choice->count(); ++i) {
        QTest::keyClick(choice, i == 0 ? Qt::Key_Home : Qt::Key_Down);
        settle();
        // What the texts around the axes take of the plot's height, as drawn now.
        const int texts = plot->height() - plot->axisRect()->height();
        const int least = static_cast<QWidget *>(plot)->minimumSizeHint().expandedTo(plot->minimumSize()).height();
        if (least - texts < 100)
            faults << QStringLiteral("%1 / \"%2\": at its least height of %3 px the chart keeps "
                                     "%4 px for its axes")
                          .arg(screenName(s), choice->currentText())
                          .arg(least)
                          .arg(least - texts);
    }
    QVERIFY2(reportNone(faults), qPrintable(QStringLiteral("%1 faults (listed above)").arg(faults.size())));
}

void TestReadable::fontMenuGivesTheWindowBack_data()
{
    QTest::addColumn<QString>("page");    // the home page button that opens it; empty: home
    QTest::addColumn<QSize>("resizedTo"); // at the larger size, by the user; empty: left alone
    QTest::addColumn<QSize>("expected");  // back at the first size
    QTest::newRow("home page, left as the font grew it") << QString() << QSize() << laptop.size;
    QTest::newRow("home page, made larger at the larger font")
        << QString() << QSize(2200, 1150) << QSize(2200, 1150);
    QTest::newRow("PWM power page, left as the font grew it")
        << "PWMPowerButton" << QSize() << laptop.size;
    QTest::newRow("three-phase page, left as the font grew it")
        << "ThreePhaseButton" << QSize() << laptop.size;
}

// Working at 10 pt in a 1366 x 720 window, the user picks 18 pt in the Font menu, which grows the
// window as far as its form needs, and then 10 pt again: the window is the size the user gave it,
// and the page's charts are drawn for it.
void TestReadable::fontMenuGivesTheWindowBack()
{
    QFETCH(QString, page);
    QFETCH(QSize, resizedTo);
    QFETCH(QSize, expected);
    MainWindow w;
    w.show();
    w.ui->action10_pt->trigger();
    settle();
    w.resize(laptop.size);
    settle();
    if (!page.isEmpty()) press(w.findChild<QPushButton *>(page));
    QCOMPARE(w.size(), laptop.size);
    w.ui->action18_pt->trigger();
    settle();
    const QSize grown = w.size();
    QVERIFY2(grown.width() > laptop.size.width() && grown.height() > laptop.size.height(),
             "18 pt fits 1366 x 720: the window is not grown on the way");
    QCOMPARE(grown, w.minimumSize().expandedTo(w.minimumSizeHint()));
    if (resizedTo.isValid()) {
        w.resize(resizedTo);
        settle();
    }
    w.ui->action10_pt->trigger();
    settle();
    QCOMPARE(w.size(), expected);
    // The page's charts drawn anew for the size they are given back.
    QStringList faults;
    for (QCustomPlot *plot : w.ui->Page->currentWidget()->findChildren<QCustomPlot *>())
        if (plot->isVisible() && plotcheck::hasShownAxes(plot))
            for (const QString &fault : plotcheck::roomFaults(plot, 0.5))
                faults << plot->objectName() + QStringLiteral(": ") + fault;
    QVERIFY2(reportNone(faults), qPrintable(QStringLiteral("%1 faults (listed above)").arg(faults.size())));
}

QTEST_MAIN(TestReadable)
#include "tst_readable.moc"
