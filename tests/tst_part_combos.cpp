// The part combo boxes: which parts each page offers, and the pre-released switch.
#include "app/mainwindow.h"
#include "catalog/catalogtable.h"
#include "catalog/partlists.h"
#include "ui_mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A record filled the way the table reader fills it, column by column.
pwm pwmPart(const QString &name, int outputs, const QString &ramp)
{
    pwm p;
    const std::pair<const char *, QString> columns[] = {
        {"ampName", name}, {"outputs", QString::number(outputs)}, {"Ramp", ramp}};
    for (const auto &column : columns) {
        catalog::CellCursor cell({column.second});
        p.readColumn(column.first, cell);
    }
    return p;
}

QStringList items(const QComboBox *combo)
{
    QStringList names;
    for (int i = 0; i < combo->count(); ++i)
        names << combo->itemText(i);
    return names;
}

} // namespace

class TestPartCombos : public QObject
{
    Q_OBJECT

private slots:
    void listsByOutputsAndRamp();
    void windowCombosAfterConstruction();
    void preReleasedSwitch();
    void switchKeepsChosenParts();
};

void TestPartCombos::listsByOutputsAndRamp()
{
    amp lin;
    catalog::CellCursor nameCell({"LXA"});
    lin.readColumn("ampName", nameCell);
    const QVector<amp> linear = {lin};
    const QVector<pwm> parts = {pwmPart("HALF", 1, "Fixed"), pwmPart("FULL", 2, "VccDep"),
                                pwmPart("DIGI", 2, "Digital"), pwmPart("digi", 2, "digital"),
                                pwmPart("THREE", 3, "Fixed")};
    const catalog::PartComboLists l = catalog::partComboLists(linear, parts);
    QCOMPARE(l.linear, QStringList({"LXA"}));
    QCOMPARE(l.allPwm, QStringList({"HALF", "FULL", "DIGI", "digi", "THREE"}));
    QCOMPARE(l.powerPage, QStringList({"HALF", "FULL", "DIGI", "digi"}));
    QCOMPARE(l.threePhase, QStringList({"HALF", "THREE"}));
    // Only the exact word "Digital" keeps a full bridge out of the control wizard.
    QCOMPARE(l.control, QStringList({"FULL", "digi"}));
    QCOMPARE(l.heatsinkPage,
             QStringList({"All Parts", "LXA", "HALF", "FULL", "DIGI", "digi", "THREE"}));

    const catalog::PartComboLists empty = catalog::partComboLists({}, parts);
    QVERIFY(empty.linear.isEmpty());
    QCOMPARE(empty.heatsinkPage.first(), QString("All Parts"));
    QCOMPARE(empty.heatsinkPage.size(), 6);
}

void TestPartCombos::windowCombosAfterConstruction()
{
    MainWindow w;
    const catalog::PartComboLists l = catalog::partComboLists(w.ampVector, w.pwmVector);
    QVERIFY(!l.linear.isEmpty());
    QCOMPARE(items(w.ui->AmpSelecterSOA), l.linear);
    QCOMPARE(items(w.ui->AmpSelectorStab), l.linear);
    QCOMPARE(items(w.ui->IHCPampSelector), l.linear);
    QCOMPARE(items(w.ui->ampSelectorPower), l.powerPage);
    QCOMPARE(items(w.ui->ampSelectorFilter), l.allPwm);
    QCOMPARE(items(w.ui->ampSelectorSCon), l.control);
    QCOMPARE(items(w.ui->P3ampSelector), l.threePhase);
    QCOMPARE(items(w.ui->HSpart), l.heatsinkPage);
    for (const amp &host : w.hostVector)
        QVERIFY(!items(w.ui->AmpSelecterSOA).contains(host.getAmpName()));
    // Filling again gives the same items, not doubled ones.
    w.fillAllDropDownMenus();
    QCOMPARE(items(w.ui->AmpSelecterSOA), l.linear);
    QCOMPARE(items(w.ui->HSpart), l.heatsinkPage);
}

void TestPartCombos::preReleasedSwitch()
{
    MainWindow w;
    const QVector<amp> hosts = w.hostVector;
    const QVector<packageStyle> packages = w.packageVector;
    const QVector<heatsink> sinks = w.heatsinkVector;
    QVERIFY(!items(w.ui->AmpSelecterSOA).contains("LX62"));
    QVERIFY(!items(w.ui->P3ampSelector).contains("NV340"));

    w.ui->includePreReleased->click();
    QVERIFY(w.ui->includePreReleased->isChecked());
    QVERIFY(items(w.ui->AmpSelecterSOA).contains("LX62"));
    QVERIFY(items(w.ui->HSpart).contains("LX62"));
    QVERIFY(items(w.ui->P3ampSelector).contains("NV340"));
    QVERIFY(items(w.ui->ampSelectorFilter).contains("NV340"));
    QVERIFY(!items(w.ui->ampSelectorPower).contains("NV340")); // three-phase part
    QCOMPARE(w.findLinear("LX62").getAmpName(), QString("LX62"));

    w.ui->includePreReleased->click();
    QVERIFY(!items(w.ui->AmpSelecterSOA).contains("LX62"));
    QCOMPARE(w.findLinear("LX62").getAmpName(), w.ampVector.first().getAmpName());
    QCOMPARE(w.hostVector, hosts);
    QCOMPARE(w.packageVector, packages);
    QCOMPARE(w.heatsinkVector, sinks);
}

void TestPartCombos::switchKeepsChosenParts()
{
    MainWindow w;
    w.ui->AmpSelecterSOA->setCurrentText("LX30A");
    w.ui->P3ampSelector->setCurrentText("NV321");
    QSignalSpy p3Changed(w.ui->P3ampSelector,
                         QOverload<int>::of(&QComboBox::currentIndexChanged));
    w.designModified = false;
    w.ui->includePreReleased->click();
    QVERIFY(!w.designModified); // no page had anything to recompute
    // A part that is still offered stays chosen, and its page has nothing to recompute.
    QCOMPARE(w.ui->AmpSelecterSOA->currentText(), QString("LX30A"));
    QCOMPARE(w.ui->P3ampSelector->currentText(), QString("NV321"));
    QCOMPARE(p3Changed.count(), 0);
    // A pre-released part that is switched out gives way to the first part.
    w.ui->AmpSelecterSOA->setCurrentText("LX62");
    QCOMPARE(w.ui->AmpSelecterSOA->currentText(), QString("LX62"));
    w.designModified = false;
    QSignalSpy soaChosen(w.ui->AmpSelecterSOA, QOverload<int>::of(&QComboBox::activated));
    w.ui->includePreReleased->click();
    QCOMPARE(w.ui->AmpSelecterSOA->currentText(), w.ampVector.first().getAmpName());
    // The SOA page recomputes for the part it shows now, as if the user had chosen it.
    QCOMPARE(soaChosen.count(), 1);
    QVERIFY(w.designModified);
}

QTEST_MAIN(TestPartCombos)
#include "tst_part_combos.moc"
