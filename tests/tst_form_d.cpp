// The bare main window form, checked for the examples, staff, demonstration-board, schematic-editor,
// PWM selector, PWM control and design-wizard pages: page indexes, default texts, combo items,
// ranges, start states, cells, focus order and status tips. The form is built on a plain
// QMainWindow, so only the form itself is under test, not what MainWindow does with it later.
//
// The relative path lets this test generate the form header from forms/ itself.
#include "../forms/ui_mainwindow.h"

#include <QtTest>

class TestFormD : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pageIndex_data();
    void pageIndex();
    void widgetClass_data();
    void widgetClass();
    void texts_data();
    void texts();
    void comboItems_data();
    void comboItems();
    void states_data();
    void states();
    void cells_data();
    void cells();
    void focusOrder_data();
    void focusOrder();
    void statusTips_data();
    void statusTips();
    void noToolTips();
    void objectNamesUnique();

private:
    template <typename T> T *find(const QString &name)
    {
        T *obj = w.findChild<T *>(name);
        if (!obj)
            qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
        return obj;
    }
    QList<QWidget *> myPages();

    QMainWindow w;
    Ui_MainWindow ui;
};

void TestFormD::initTestCase()
{
    ui.setupUi(&w);
}

QList<QWidget *> TestFormD::myPages()
{
    QList<QWidget *> pages;
    for (const char *name : {"page_35"})
        pages << w.findChild<QWidget *>(name);
    return pages;
}

// ---------------------------------------------------------------------------------- pages

void TestFormD::pageIndex_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("index");
    QTest::newRow("schematic editor") << "page_35" << 19;
}

void TestFormD::pageIndex()
{
    QFETCH(QString, page);
    QFETCH(int, index);
    QWidget *p = find<QWidget>(page);
    QVERIFY(p);
    QCOMPARE(ui.Page->indexOf(p), index);
}

void TestFormD::widgetClass_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::newRow("editor canvas") << "sch" << "QCustomPlot";
    QTest::newRow("inductor tool") << "indButton" << "QToolButton";
    QTest::newRow("amplifier tool") << "ampButton" << "QToolButton";
}

void TestFormD::widgetClass()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    QCOMPARE(QString(wid->metaObject()->className()), className);
}

// ---------------------------------------------------------------------------------- texts

// The "text" property of a label, button or line edit, or the title of a group box.
void TestFormD::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("editor title") << "label_295" << "Schematic Editor";
    QTest::newRow("snap caption") << "label_296" << "Snap";
    QTest::newRow("grid switch") << "SchGridBox" << "Grid On";
    QTest::newRow("resistor tool") << "resButton" << "...";
    QTest::newRow("inductor tool") << "indButton" << "...";
    QTest::newRow("amplifier tool") << "ampButton" << "...";
}

void TestFormD::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QObject *obj = find<QObject>(name);
    QVERIFY(obj);
    const char *prop = qobject_cast<QGroupBox *>(obj) ? "title" : "text";
    QCOMPARE(obj->property(prop).toString(), text);
}

void TestFormD::comboItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("snap steps") << "snapBox"
                                << QStringList{"200", "100", "50", "25", "10", "5", "1"};
}

void TestFormD::comboItems()
{
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    QComboBox *box = find<QComboBox>(name);
    QVERIFY(box);
    QStringList actual;
    for (int i = 0; i < box->count(); ++i)
        actual << box->itemText(i);
    QCOMPARE(actual, items);
    // A combo box the form fills starts on its first item; an empty one has none.
    QCOMPARE(box->currentIndex(), items.isEmpty() ? -1 : 0);
}

// ---------------------------------------------------------------------------------- states

void TestFormD::states_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("grid shown") << "SchGridBox" << true << true << true;
    QTest::newRow("inductor tool enabled") << "indButton" << false << false << true;
}

void TestFormD::states()
{
    QFETCH(QString, name);
    QFETCH(bool, checkable);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    if (auto *button = qobject_cast<QAbstractButton *>(wid)) {
        QCOMPARE(button->isCheckable(), checkable);
        QCOMPARE(button->isChecked(), checked);
    } else if (auto *group = qobject_cast<QGroupBox *>(wid)) {
        QCOMPARE(group->isCheckable(), checkable);
        QCOMPARE(group->isChecked(), checked);
    } else {
        QVERIFY2(!checkable, "only buttons and group boxes can be checkable");
    }
    QCOMPARE(wid->isEnabled(), enabled);
}

// ---------------------------------------------------------------------------------- layout

void TestFormD::cells_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rowSpan");
    QTest::addColumn<int>("columnSpan");
    QTest::newRow("editor title") << "gridLayout_89" << "label_295" << 0 << 0 << 1 << 2;
    QTest::newRow("snap box") << "gridLayout_89" << "snapBox" << 1 << 1 << 1 << 1;
    QTest::newRow("grid switch") << "gridLayout_89" << "SchGridBox" << 1 << 2 << 1 << 1;
    QTest::newRow("first tool") << "gridLayout_89" << "resButton" << 2 << 0 << 1 << 1;
    QTest::newRow("last tool") << "gridLayout_89" << "ampButton" << 6 << 0 << 1 << 1;
    QTest::newRow("editor canvas") << "gridLayout_89" << "sch" << 2 << 1 << 7 << 3;
}

void TestFormD::cells()
{
    QFETCH(QString, layout);
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, rowSpan);
    QFETCH(int, columnSpan);
    QGridLayout *grid = find<QGridLayout>(layout);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(grid && wid);
    const int at = grid->indexOf(wid);
    QVERIFY2(at >= 0, "widget not in this layout");
    int r, c, rs, cs;
    grid->getItemPosition(at, &r, &c, &rs, &cs);
    QCOMPARE(r, row);
    QCOMPARE(c, column);
    QCOMPARE(rs, rowSpan);
    QCOMPARE(cs, columnSpan);
}

void TestFormD::focusOrder_data()
{
    QTest::addColumn<QStringList>("chain");
    QTest::newRow("schematic editor") << QStringList{"snapBox",    "resButton",  "capButton",
                                                     "indButton",  "wireButton", "SchGridBox",
                                                     "ampButton"};
}

void TestFormD::focusOrder()
{
    QFETCH(QStringList, chain);
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QWidget *from = find<QWidget>(chain[i]);
        QWidget *to = find<QWidget>(chain[i + 1]);
        QVERIFY(from && to);
        QCOMPARE(from->nextInFocusChain()->objectName(), to->objectName());
    }
}

// ---------------------------------------------------------------------------------- tips

void TestFormD::statusTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    QTest::newRow("editor canvas has none") << "sch" << "";
}

void TestFormD::statusTips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    QCOMPARE(wid->statusTip(), tip);
}

// Help texts of the form are status tips; tool tips stay empty everywhere on these pages.
void TestFormD::noToolTips()
{
    for (QWidget *page : myPages()) {
        QVERIFY(page);
        for (QWidget *wid : page->findChildren<QWidget *>())
            QVERIFY2(wid->toolTip().isEmpty(), qPrintable(wid->objectName()));
    }
}

// Slots and page code reach widgets by object name, so no name may stand twice in the form.
void TestFormD::objectNamesUnique()
{
    QSet<QString> seen;
    for (QObject *obj : w.findChildren<QObject *>()) {
        const QString name = obj->objectName();
        if (name.isEmpty() || name.startsWith("qt_"))
            continue;
        QVERIFY2(!seen.contains(name), qPrintable(name));
        seen.insert(name);
    }
}

QTEST_MAIN(TestFormD)
#include "tst_form_d.moc"
