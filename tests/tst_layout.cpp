// Every page, tab and dialog readable at the font sizes users pick: at the window's minimum size
// no caption is cut short, and at 10 pt the window fits a 1366 x 768 laptop screen.
#include "app/mainwindow.h"
#include "examples/examplesdialog.h"
#include "examples/exampletable.h"
#include "motor/motordialog.h"
#include "soa/loadcalc.h"
#include "soa/signaldialog.h"
#include "ui_mainwindow.h"

#include "captioncheck.h"
#include "plotcheck.h"
#include "windowtest.h"

#include <QAction>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const char *const fontFamily = "DejaVu Sans";

// The widgets that switch between faces of a page: tab widgets and stacked widgets (but not the
// stacks tab widgets keep inside themselves).
QList<QWidget *> switchers(QWidget *page)
{
    QList<QWidget *> found;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        if (qobject_cast<QTabWidget *>(w) ||
            (qobject_cast<QStackedWidget *>(w) && !qobject_cast<QTabWidget *>(w->parentWidget())))
            found << w;
    }
    return found;
}

int faceCount(QWidget *switcher)
{
    if (auto *t = qobject_cast<QTabWidget *>(switcher))
        return t->count();
    return static_cast<QStackedWidget *>(switcher)->count();
}

int currentFace(QWidget *switcher)
{
    if (auto *t = qobject_cast<QTabWidget *>(switcher))
        return t->currentIndex();
    return static_cast<QStackedWidget *>(switcher)->currentIndex();
}

void showFace(QWidget *switcher, int index)
{
    if (auto *t = qobject_cast<QTabWidget *>(switcher))
        t->setCurrentIndex(index);
    else
        static_cast<QStackedWidget *>(switcher)->setCurrentIndex(index);
}

// Brings every tab and stack above `w` round to the face that holds it.
void reveal(QWidget *w)
{
    for (QWidget *child = w; child; child = child->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(child->parentWidget());
        if (!stack)
            continue;
        if (auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget()))
            tabs->setCurrentWidget(child);
        else
            stack->setCurrentWidget(child);
    }
}

using windowtest::settle;

// Runs `check` on every face of every tab and stack inside `root`, once the face has settled;
// it gets the name of the face.
void forAllFaces(QWidget *root, const std::function<void(const QString &)> &check)
{
    settle();
    check(QString());
    for (QWidget *s : switchers(root)) {
        const int start = currentFace(s);
        reveal(s);
        for (int i = 0; i < faceCount(s); ++i) {
            showFace(s, i);
            settle();
            check(QStringLiteral(" / %1 %2").arg(s->objectName()).arg(i));
        }
        showFace(s, start);
    }
}

// Checks `root` on every face of every tab and stack inside it; `where` names the face.
void checkAllFaces(QWidget *root, const QString &where, QStringList *clipped)
{
    forAllFaces(root, [&](const QString &face) {
        for (const QString &line : captioncheck::clippedCaptions(root)) {
            // One line a widget, naming the first face that shows it cut.
            const QString tail = QStringLiteral(": ") + line;
            if (std::none_of(clipped->cbegin(), clipped->cend(),
                             [&](const QString &seen) { return seen.endsWith(tail); }))
                *clipped << where + face + tail;
        }
    });
}

// Names every clipped widget in the log; the failure message alone would be cut short.
bool noneClipped(const QStringList &clipped)
{
    for (const QString &line : clipped)
        qWarning().noquote() << line;
    return clipped.isEmpty();
}

QSize minimumOf(QWidget *w)
{
    return w->minimumSizeHint().expandedTo(w->minimumSize());
}

// Shows each page of the window in turn, Main Menu as it shows there, at the window's least
// size for that page, and hands the page to `look`.
void eachPageAtLeastSize(MainWindow &w, const std::function<void(QWidget *page, int index)> &look)
{
    for (int index = 0; index < w.ui->Page->count(); ++index) {
        w.ui->Page->setCurrentIndex(index);
        w.ui->HomeButton->setVisible(index != 0);
        settle();
        w.resize(minimumOf(&w));
        look(w.ui->Page->widget(index), index);
    }
}

// What the charts of `page` lose of their room on each of its faces: each fault names the
// route that reached the page, the page, the face and the plot.
void checkPlotRoom(QWidget *page, const QString &route, QStringList *faults)
{
    forAllFaces(page, [&](const QString &face) {
        for (QCustomPlot *plot : page->findChildren<QCustomPlot *>()) {
            if (!plot->isVisible()) continue;
            const QString where = QStringLiteral("%1: %2%3 / %4: ")
                                      .arg(route, page->objectName(), face, plot->objectName());
            QStringList found = plotcheck::roomFaults(plot);
            found << plotcheck::curvesUnderLegend(plot);
            for (const QString &fault : qAsConst(found))
                if (!faults->contains(where + fault)) *faults << where + fault;
        }
    });
}

// The worked examples that set a page up (not those that only show one, nor the overviews).
QList<int> settingUpExamples()
{
    QList<int> numbers;
    for (int n = 0; n < examples::descriptionCount; ++n) {
        const examples::Family family = examples::example(n).family;
        if (family != examples::Family::None && family != examples::Family::PageOnly) numbers << n;
    }
    return numbers;
}

// A laptop screen's working area, and the font size the window must fit it at.
const QSize laptop(1366, 720);
const int laptopPoints = 10;

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void windowFitsLaptopScreen_data();
    void windowFitsLaptopScreen();
    void pagesShowWholeCaptions_data();
    void pagesShowWholeCaptions();
    void textsReadAtEveryMenuSize_data();
    void textsReadAtEveryMenuSize();
    void dialogsShowWholeCaptions_data();
    void dialogsShowWholeCaptions();
    void plotsShowTheirData_data();
    void plotsShowTheirData();
    void plotsKeepTheirRoom_data();
    void plotsKeepTheirRoom();
};

void TestLayout::cleanup()
{
    QApplication::setFont(QFont());
}

void TestLayout::windowFitsLaptopScreen_data()
{
    QTest::addColumn<bool>("fromMenu");
    // The menu's font is the program's own, which a wider stand-in may replace. First, while
    // the application's font is still the platform's.
    QTest::newRow("10 pt chosen in the Font menu") << true;
    QTest::newRow("10 pt from the start") << false;
}

void TestLayout::windowFitsLaptopScreen()
{
    QFETCH(bool, fromMenu);
    if (!fromMenu) QApplication::setFont(QFont(QString::fromLatin1(fontFamily), 10));
    MainWindow w;
    w.ui->HomeButton->show(); // every page but the home page shows it
    w.show();
    settle();
    if (fromMenu) {
        w.ui->action10_pt->trigger();
        settle();
    }
    const QSize min = minimumOf(&w);
    QVERIFY2(min.width() <= 1366 && min.height() <= 720,
             qPrintable(QStringLiteral("minimum size %1 x %2").arg(min.width()).arg(min.height())));
}

void TestLayout::pagesShowWholeCaptions_data()
{
    QTest::addColumn<int>("points");
    for (int points : {9, 10, 12, 16})
        QTest::addRow("%d pt", points) << points;
}

void TestLayout::pagesShowWholeCaptions()
{
    QFETCH(int, points);
    QApplication::setFont(QFont(QString::fromLatin1(fontFamily), points));
    MainWindow w;
    w.show();
    QStringList clipped;
    eachPageAtLeastSize(w, [&](QWidget *page, int index) {
        checkAllFaces(page, QStringLiteral("%1 (%2)").arg(page->objectName()).arg(index), &clipped);
    });
    QVERIFY2(noneClipped(clipped), qPrintable(QStringLiteral("%1 captions clipped at %2 pt")
                                                  .arg(clipped.size())
                                                  .arg(points)));
}

void TestLayout::textsReadAtEveryMenuSize_data()
{
    QTest::addColumn<int>("points");
    for (int points : {6, 8, 10, 12, 14, 18, 20, 24})
        QTest::addRow("%d pt", points) << points;
}

// At each size the Font menu offers, on every face of every page at the window's least size, no
// label runs into the one beside it, no boxed text is cramped in its box, and no heading the form
// sizes itself reads smaller than the text under it.
void TestLayout::textsReadAtEveryMenuSize()
{
    QFETCH(int, points);
    MainWindow w;
    w.show();
    settle();
    for (QAction *action : w.findChildren<QAction *>())
        if (action->objectName() == QStringLiteral("action%1_pt").arg(points)) action->trigger();
    QStringList together;
    eachPageAtLeastSize(w, [&](QWidget *page, int) {
        forAllFaces(page, [&](const QString &face) {
            QStringList found = captioncheck::textsRunTogether(page);
            found << captioncheck::boxesCramped(page);
            for (const QLabel *heading : page->findChildren<QLabel *>()) {
                if (heading->isVisible() && heading->styleSheet().contains(QLatin1String("font:")) &&
                    heading->font().pointSizeF() < points)
                    found << QStringLiteral("%1 \"%2\" is a heading at %3 pt")
                                 .arg(heading->objectName(), heading->text().simplified())
                                 .arg(heading->font().pointSizeF());
            }
            for (const QString &line : qAsConst(found)) {
                const QString tail = QStringLiteral(": ") + line;
                if (std::none_of(together.cbegin(), together.cend(),
                                 [&](const QString &seen) { return seen.endsWith(tail); }))
                    together << page->objectName() + face + tail;
            }
        });
    });
    QVERIFY2(noneClipped(together), qPrintable(QStringLiteral("%1 texts run together or shrink at "
                                                               "%2 pt")
                                                    .arg(together.size())
                                                    .arg(points)));
}

void TestLayout::plotsShowTheirData_data()
{
    pagesShowWholeCaptions_data();
}

// As each page is shown on a laptop screen, no legend hides a curve and no schematic text is
// cut by the edge of its drawing.
void TestLayout::plotsShowTheirData()
{
    QFETCH(int, points);
    QApplication::setFont(QFont(QString::fromLatin1(fontFamily), points));
    MainWindow w;
    w.ui->HomeButton->show();
    w.show();
    settle();
    w.resize(minimumOf(&w).expandedTo(QSize(1366, 720)));
    QStringList hidden;
    for (int index = 0; index < w.ui->Page->count(); ++index) {
        w.ui->Page->setCurrentIndex(index);
        QWidget *page = w.ui->Page->widget(index);
        forAllFaces(page, [&](const QString &face) {
            for (QCustomPlot *plot : page->findChildren<QCustomPlot *>()) {
                if (!plot->isVisible()) continue;
                const QString where =
                    QStringLiteral("%1%2 / %3: ").arg(page->objectName(), face, plot->objectName());
                for (const QString &curve : plotcheck::curvesUnderLegend(plot))
                    hidden << where + curve;
                for (const QString &text : plotcheck::textsCut(plot))
                    hidden << where + text;
            }
        });
    }
    for (const QString &line : hidden)
        qWarning().noquote() << line;
    QVERIFY2(hidden.isEmpty(), qPrintable(QStringLiteral("%1 curves hidden or texts cut at %2 pt")
                                              .arg(hidden.size())
                                              .arg(points)));
}

void TestLayout::dialogsShowWholeCaptions_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("dialog");
    for (int points : {9, 10, 12, 16})
        for (const char *dialog : {"load calculator", "motor", "tutorial", "signal"})
            QTest::addRow("%s, %d pt", dialog, points) << points << QString::fromLatin1(dialog);
}

void TestLayout::dialogsShowWholeCaptions()
{
    QFETCH(int, points);
    QFETCH(QString, dialog);
    QApplication::setFont(QFont(QString::fromLatin1(fontFamily), points));
    std::unique_ptr<QDialog> d;
    if (dialog == QLatin1String("load calculator"))
        d.reset(new LoadCalc);
    else if (dialog == QLatin1String("motor"))
        d.reset(new P3motor);
    else if (dialog == QLatin1String("tutorial"))
        d.reset(new Examples);
    else
        d.reset(new SignalDialog(soa::SignalTexts(), nullptr));
    d->show();
    settle();
    d->resize(minimumOf(d.get()));
    QStringList clipped;
    checkAllFaces(d.get(), dialog, &clipped);
    QVERIFY2(noneClipped(clipped), qPrintable(QStringLiteral("%1 captions clipped at %2 pt")
                                                  .arg(clipped.size())
                                                  .arg(points)));
}

void TestLayout::plotsKeepTheirRoom_data()
{
    QTest::addColumn<int>("example"); // -1: the pages as the home page's buttons open them
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("changedTo"); // 0, or the size picked from the menu afterwards
    for (int points : {10, 12})
        QTest::addRow("home page, %d pt", points) << -1 << points << 0;
    QTest::addRow("home page, %d pt, then %d pt", laptopPoints, 12) << -1 << laptopPoints << 12;
    for (int n : settingUpExamples()) {
        for (int points : {laptopPoints, 12})
            QTest::addRow("example %d, %d pt", n, points) << n << points << 0;
        QTest::addRow("example %d, %d pt, then %d pt", n, laptopPoints, 12)
            << n << laptopPoints << 12;
    }
}

// Each chart keeps most of its width for its axes, its legend inside the widget and off the
// curves, its captions whole and its tick labels apart, however its page is reached: through
// the home page's buttons, after a worked example, after a font size change; at 10 pt the
// window still fits a laptop screen.
void TestLayout::plotsKeepTheirRoom()
{
    QFETCH(int, example);
    QFETCH(int, points);
    QFETCH(int, changedTo);
    QApplication::setFont(QFont(QString::fromLatin1(fontFamily), points));
    MainWindow w;
    w.show();
    settle();
    w.resize(minimumOf(&w).expandedTo(laptop));
    const QString route = QString::fromLatin1(QTest::currentDataTag());
    QStringList faults;
    const auto fontChange = [&] {
        if (!changedTo) return;
        for (QAction *action : w.findChildren<QAction *>())
            if (action->objectName() == QStringLiteral("action%1_pt").arg(changedTo))
                action->trigger();
        settle();
    };
    const auto fitsLaptop = [&] {
        const QSize min = minimumOf(&w);
        if (points == laptopPoints && !changedTo && min.width() > laptop.width())
            faults << QStringLiteral("%1: window at least %2 px wide").arg(route).arg(min.width());
        w.resize(min.expandedTo(laptop));
        settle();
    };
    if (example < 0) {
        fontChange();
        QWidget *home = w.ui->Page->widget(0);
        for (QPushButton *button : home->findChildren<QPushButton *>()) {
            w.ui->Page->setCurrentWidget(home);
            settle();
            if (!button->isVisible()) continue;
            button->click();
            settle();
            fitsLaptop();
            checkPlotRoom(w.ui->Page->currentWidget(), route + " / " + button->objectName(),
                          &faults);
        }
    } else {
        w.loadExample(example);
        settle();
        fontChange();
        fitsLaptop();
        QWidget *page = w.ui->Page->currentWidget();
        checkPlotRoom(page, route, &faults);
        if (page == w.ui->page_4) {
            // Hide Legends, and show them again.
            w.ui->StabilityTab->setCurrentWidget(w.ui->page_4_tabBode);
            for (const char *state : {"legends hidden", "legends shown again"}) {
                w.ui->HidePhaseLegend->click();
                settle();
                checkPlotRoom(page, route + ", " + state, &faults);
            }
        }
        fitsLaptop();
    }
    for (const QString &line : qAsConst(faults))
        qWarning().noquote() << line;
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 plots lose room").arg(faults.size())));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
