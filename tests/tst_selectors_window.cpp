// The selector pages in the window, on the shipped catalog: the staff access phrase, the
// tables the filters leave (hidden rows, tints, price order, the chosen part), the rate fields,
// the slots bound by name, and the selection of bridge and parallel rows.
//
// Set AMPWRIGHT_SCREENSHOTS to a folder to have screenshots() save the pages there as PNG.
#include "app/mainwindow.h"
#include "selectors/heatsinkselector.h"
#include "selectors/linearselector.h"
#include "selectors/pwmselector.h"
#include "selectors/selectortable.h"
#include "ui_mainwindow.h"

#include <QStandardItemModel>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>

namespace {

QStringList slotWarnings;
QtMessageHandler previousHandler = nullptr;

// Records the binder's complaints about our slots: a renamed widget would leave one unbound.
void watchBinding(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const QStringList ours = {"on_LPS", "on_SPS", "on_sortPrice", "on_PSG", "on_HS"};
    if (message.contains(QLatin1String("No matching signal")))
        for (const QString &prefix : ours)
            if (message.contains(prefix)) slotWarnings << message;
    if (previousHandler) previousHandler(type, context, message);
}

// Types a text into a field and leaves it, as the user does.
void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

struct ShownRow
{
    QString name;
    double price;
    bool tinted;
};

// The rows the table shows, top to bottom; a row is tinted when its name cell is.
QVector<ShownRow> shownRows(QTableView *view)
{
    QVector<ShownRow> rows;
    auto *model = qobject_cast<QStandardItemModel *>(view->model());
    const int priceColumn = model->columnCount() - 1;
    for (int r = 0; r < model->rowCount(); ++r) {
        if (view->isRowHidden(r)) continue;
        rows.append({model->item(r, 1)->data(Qt::EditRole).toString(),
                     model->item(r, priceColumn)->data(Qt::EditRole).toDouble(),
                     model->item(r, 1)->background().style() != Qt::NoBrush});
    }
    return rows;
}

bool inPriceOrder(const QVector<ShownRow> &rows)
{
    for (int i = 1; i < rows.size(); ++i)
        if (rows.at(i).price < rows.at(i - 1).price) return false;
    return true;
}

// Counts the connections of a selection model's current-row signal. The protected member is
// reached through a member pointer, so no object is ever cast to a type it is not.
struct SelectionPeek : QItemSelectionModel
{
    using QObject::receivers;
};

int rowReceivers(const QItemSelectionModel *model)
{
    int (QObject::*count)(const char *) const = &SelectionPeek::receivers;
    return (model->*count)(SIGNAL(currentRowChanged(QModelIndex, QModelIndex)));
}

} // namespace

class tst_selectors_window : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void slotsAreBound();
    void tablesAtStart();
    void accessPhrase_data();
    void accessPhrase();
    void linearFilter();
    void linearSlewRateField();
    void linearParallelRowSelectsPart();
    void linearNothingShown();
    void linearSortAndReset();
    void connectedOnce();
    void pwmFilter();
    void heatsinkAtStart();
    void heatsinkFilter();
    void heatsinkByPart();
    void heatsinkUnits();
    void heatsinkFlow_data();
    void heatsinkFlow();
    void heatsinkFlowOff();
    void heatsinkFlowUnusable_data();
    void heatsinkFlowUnusable();
    void unmeetableRequirementLeavesNoRunawayCells_data();
    void unmeetableRequirementLeavesNoRunawayCells();
    void heatsinkNothingShown();
    void screenshots();

private:
    MainWindow *window = nullptr;
    Ui_MainWindow *ui = nullptr;
};

void tst_selectors_window::initTestCase()
{
    previousHandler = qInstallMessageHandler(watchBinding);
    window = new MainWindow;
    ui = window->ui;
    window->resize(1500, 950);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void tst_selectors_window::slotsAreBound()
{
    QVERIFY2(slotWarnings.isEmpty(), qPrintable(slotWarnings.join(QLatin1Char('\n'))));
}

void tst_selectors_window::tablesAtStart()
{
    // Before any refresh both tables list every part, cheapest first, none hidden.
    QCOMPARE(window->LPSmodel->rowCount(), window->ampVector.size());
    QCOMPARE(window->LPSmodel->columnCount(), 12);
    QCOMPARE(window->SPSmodel->rowCount(), window->pwmVector.size());
    const QVector<ShownRow> linear = shownRows(ui->selectorTable);
    QCOMPARE(linear.size(), window->ampVector.size());
    QVERIFY(inPriceOrder(linear));
    QVERIFY(inPriceOrder(shownRows(ui->pwmTable)));
    QVERIFY(ui->selectorTable->isColumnHidden(0));
    QVERIFY(ui->selectorTable->isColumnHidden(11));
    QVERIFY(!ui->selectorTable->isColumnHidden(5));
    QCOMPARE(window->LPSmodel->headerData(6, Qt::Horizontal).toString(),
             QString::fromUtf8("Max Slew Rate (V/\u00b5s)"));
    QCOMPARE(window->SPSmodel->headerData(11, Qt::Horizontal).toString(),
             QStringLiteral("Relative Price - 10/7/16 Digikey USD"));
    // Numbers stay numbers, so a click on a header sorts them as numbers.
    QCOMPARE(window->LPSmodel->item(0, 3)->data(Qt::EditRole).userType(), int(QMetaType::Double));
    QCOMPARE(window->LPSmodel->item(0, 3)->textAlignment(), Qt::AlignCenter);
}

void tst_selectors_window::accessPhrase_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("opens");
    QTest::newRow("as given") << "howfarisrk42?" << true;
    QTest::newRow("any case") << "HowFarIsRK42?" << true;
    QTest::newRow("blank before") << " howfarisrk42?" << false;
    QTest::newRow("blank after") << "howfarisrk42? " << false;
}

void tst_selectors_window::accessPhrase()
{
    QFETCH(QString, typed);
    QFETCH(bool, opens);

    ui->Page->setCurrentIndex(1);
    ui->LPScurrent->setText(typed); // typed in one go: keyClicks would trim nothing either
    window->designModified = false;
    emit ui->LPScurrent->editingFinished();
    QVERIFY(window->designModified);
    if (opens) {
        QCOMPARE(ui->Page->currentIndex(), 17);
        QCOMPARE(ui->LPScurrent->text(), QStringLiteral("0"));
    } else {
        // Read as a current it is unreadable: the field turns red and counts as 0.
        QCOMPARE(ui->Page->currentIndex(), 1);
        QCOMPARE(ui->LPScurrent->text(), typed);
        QCOMPARE(ui->LPScurrent->palette().color(QPalette::Text), QColor(Qt::red));
    }
    ui->LPScurrent->setText(QStringLiteral("0"));
}

void tst_selectors_window::linearFilter()
{
    ui->Page->setCurrentIndex(1);
    ui->LPSFreqButton->setChecked(true);
    ui->LPSParallelCheckBox->setChecked(true);
    ui->LPSBridgeCheckBox->setChecked(false);
    typeInto(ui->LPSFreq, QStringLiteral("1"));
    typeInto(ui->LPSVpp, QStringLiteral("80"));
    typeInto(ui->LPScurrent, QStringLiteral("20"));

    // What the engine decides is what the table shows: the same rows, cheapest first.
    selectors::LinearRequirement req;
    req.currentA = 20;
    req.vpp = 80;
    req.frequencyKHz = 1;
    req.relaxPercent = ui->LPSRelax->value();
    req.showParallel = true;
    req.maxParallel = ui->LPSNumAmps->value();
    const selectors::LinearSelection sel =
        selectors::selectLinear(window->ampVector, window->packageVector, req);
    QStringList expected;
    for (const selectors::LinearRow &row : sel.rows)
        if (row.verdict != selectors::Verdict::Hidden) expected << row.shownName;

    const QVector<ShownRow> rows = shownRows(ui->selectorTable);
    QStringList shown;
    for (const ShownRow &row : rows)
        shown << row.name;
    QCOMPARE(shown.size(), expected.size());
    for (const QString &name : expected)
        QVERIFY2(shown.contains(name), qPrintable(name));
    QVERIFY(inPriceOrder(rows));

    // 30 A parts fit; a 15 A part in an open frame pairs up: swing at 10 A each is
    // 100 - 2·(3.2 + 0.2·10 + 0.006·100) = 88 V, two packages.
    QVERIFY(shown.contains(QStringLiteral("LX307")));
    const int pair = shown.indexOf(QStringLiteral("LX33-PARALLEL (2)"));
    QVERIFY(pair >= 0);
    QCOMPARE(rows.at(pair).price, 2 * 165.0);
    // The frequency typed asks π·1·80/1000 V/µs, written back with six digits.
    QCOMPARE(ui->LPSSR->text(), QStringLiteral("0.251327"));

    // The cheapest part shown is the chosen one.
    const QModelIndex current = ui->selectorTable->currentIndex();
    QCOMPARE(current.column(), 1);
    QCOMPARE(current.data().toString(), rows.first().name);
    QCOMPARE(window->selectedAmp.getAmpName(), selectors::plainPartName(rows.first().name));
}

void tst_selectors_window::linearSlewRateField()
{
    ui->LPSSRButton->setChecked(true); // the frequency button's slot refreshes once
    QVERIFY(ui->LPSSR->isEnabled());
    QVERIFY(!ui->LPSFreq->isEnabled());
    typeInto(ui->LPSVpp, QStringLiteral("20"));
    ui->LPSSR->setText(QStringLiteral("10"));
    emit ui->LPSSR->editingFinished();
    QCOMPARE(ui->LPSFreq->text(), QStringLiteral("159.155"));

    // No swing to slew: any frequency will do, and no figure stands for it.
    typeInto(ui->LPSVpp, QStringLiteral("0"));
    QCOMPARE(ui->LPSFreq->text(), QString(QChar(0x2014)));
    ui->LPSSR->setText(QStringLiteral("0"));
    emit ui->LPSSR->editingFinished();
    QCOMPARE(ui->LPSFreq->text(), QString(QChar(0x2014)));

    ui->LPSFreqButton->setChecked(true);
    QVERIFY(!ui->LPSSR->isEnabled());
    QVERIFY(ui->LPSFreq->isEnabled());
}

void tst_selectors_window::linearParallelRowSelectsPart()
{
    ui->LPSFreqButton->setChecked(true);
    ui->LPSParallelCheckBox->setChecked(true);
    ui->LPSBridgeCheckBox->setChecked(true);
    typeInto(ui->LPSFreq, QStringLiteral("1"));
    typeInto(ui->LPSVpp, QStringLiteral("80"));
    typeInto(ui->LPScurrent, QStringLiteral("20"));

    for (const char *shown : {"LX33-PARALLEL (2)", "LX307"}) {
        const QList<QStandardItem *> found =
            window->LPSmodel->findItems(QString::fromLatin1(shown), Qt::MatchExactly, 1);
        QCOMPARE(found.size(), 1);
        // A click moves the current row; the part itself is chosen, with its package picture.
        ui->selectorTable->setCurrentIndex(found.first()->index());
        const QString part = selectors::plainPartName(QString::fromLatin1(shown));
        QCOMPARE(window->selectedAmp.getAmpName(), part);
        QCOMPARE(ui->LPSimage->styleSheet(), QStringLiteral("image: url(:/KestLinear/") +
                                                 window->selectedAmp.getPackageStyle() +
                                                 QStringLiteral(".JPG)"));
        QCOMPARE(ui->LPSLinearName->text(),
                 QStringLiteral("<html><head/><body><p><a href=\"") +
                     window->selectedAmp.getSiteLink() +
                     QStringLiteral("\"><span style=\" text-decoration: underline; "
                                    "color:#0000ff;\">") +
                     part + QStringLiteral("</span></a></p></body></html>"));
    }

    // At 3 A the 100 V part of 6 A swings 100 - 2·(2.8 + 0.35·3 + 0.02·9) = 91 V: too far
    // short of 120 V for a close match, but two of them in bridge swing 182 V.
    typeInto(ui->LPScurrent, QStringLiteral("3"));
    typeInto(ui->LPSVpp, QStringLiteral("120"));
    QStringList bridges;
    for (const ShownRow &row : shownRows(ui->selectorTable))
        if (row.name.endsWith(QLatin1String("-BRIDGE"))) bridges << row.name;
    QVERIFY(bridges.contains(QStringLiteral("LX26-BRIDGE")));
}

void tst_selectors_window::linearNothingShown()
{
    const QString before = window->selectedAmp.getAmpName();
    QVERIFY(!before.isEmpty());
    typeInto(ui->LPScurrent, QStringLiteral("open"));
    QVERIFY(shownRows(ui->selectorTable).isEmpty());
    QVERIFY(!ui->selectorTable->currentIndex().isValid());
    QCOMPARE(window->selectedAmp.getAmpName(), before);
    QVERIFY(ui->LPSLinearName->text().contains(QLatin1String("color:#0000ff;\"></span>")));
}

void tst_selectors_window::linearSortAndReset()
{
    ui->LPSresetButton->click();
    QCOMPARE(ui->LPScurrent->text(), QStringLiteral("0"));
    QCOMPARE(ui->LPSNumAmps->value(), 3);
    QCOMPARE(ui->LPSRelax->value(), 20);
    QVERIFY(!ui->LPSParallelCheckBox->isChecked());
    // Nothing is asked for: every part is shown.
    QCOMPARE(shownRows(ui->selectorTable).size(), window->ampVector.size());

    ui->selectorTable->sortByColumn(3, Qt::DescendingOrder); // a click on "Vss max (V)"
    QVERIFY(!inPriceOrder(shownRows(ui->selectorTable)));
    ui->sortPrice->click();
    QVERIFY(inPriceOrder(shownRows(ui->selectorTable)));

    ui->pwmTable->sortByColumn(3, Qt::DescendingOrder);
    QVERIFY(!inPriceOrder(shownRows(ui->pwmTable)));
    ui->SPSsortPrice->click();
    QVERIFY(inPriceOrder(shownRows(ui->pwmTable)));
}

void tst_selectors_window::connectedOnce()
{
    const QItemSelectionModel *linear = ui->selectorTable->selectionModel();
    const QItemSelectionModel *pwm = ui->pwmTable->selectionModel();
    window->refreshLPS();
    window->refreshSPS();
    const int linearReceivers = rowReceivers(linear);
    const int pwmReceivers = rowReceivers(pwm);
    for (int i = 0; i < 3; ++i) {
        window->refreshLPS();
        window->refreshSPS();
        window->FillInTable();
        window->FillInPwmTable();
    }
    QCOMPARE(rowReceivers(linear), linearReceivers);
    QCOMPARE(rowReceivers(pwm), pwmReceivers);
}

void tst_selectors_window::pwmFilter()
{
    ui->Page->setCurrentIndex(8);
    ui->SPSparallelCheckBox->setChecked(true);
    typeInto(ui->SPSfrequency, QStringLiteral("5"));
    typeInto(ui->SPSvoltage, QStringLiteral("50"));
    typeInto(ui->SPScurrent, QStringLiteral("25"));

    selectors::PwmRequirement req;
    req.currentA = 25;
    req.voltageV = 50;
    req.frequencyKHz = 5;
    req.relaxPercent = ui->SPSrelax->value();
    req.showParallel = true;
    req.maxParallel = ui->SPSnumAmps->value();
    QStringList expected;
    for (const selectors::PwmRow &row :
         selectors::selectPwm(window->pwmVector, window->packageVector, req))
        if (row.verdict != selectors::Verdict::Hidden) expected << row.shownName;

    const QVector<ShownRow> rows = shownRows(ui->pwmTable);
    QStringList shown;
    for (const ShownRow &row : rows)
        shown << row.name;
    QCOMPARE(shown.size(), expected.size());
    for (const QString &name : expected)
        QVERIFY2(shown.contains(name), qPrintable(name));
    QVERIFY(inPriceOrder(rows));

    // Three 10 A parts share 25 A: 80 - 0.17·25/3 = 78.6 V; three times the price.
    const int group = shown.indexOf(QStringLiteral("NV21-PARALLEL (3)"));
    QVERIFY(group >= 0);
    QCOMPARE(rows.at(group).price, 3 * 39.0);
    QCOMPARE(window->selectedPwm.getAmpName(), selectors::plainPartName(rows.first().name));
    QVERIFY(ui->SPSname->text().contains(window->selectedPwm.getSiteLink()));

    // No parallel amplifiers allowed: the group is gone.
    ui->SPSnumAmps->setValue(0);
    QVERIFY(window->SPSmodel->findItems(QStringLiteral("NV21-PARALLEL (3)"), Qt::MatchExactly, 1)
                .isEmpty());
    ui->SPSresetButton->click();
    QCOMPARE(ui->SPSnumAmps->value(), 3);
    QCOMPARE(shownRows(ui->pwmTable).size(), window->pwmVector.size());
}

heatsink heatsinkNamed(const QVector<heatsink> &list, const QString &name)
{
    for (const heatsink &sink : list)
        if (sink.getName() == name) return sink;
    return heatsink();
}

void tst_selectors_window::heatsinkAtStart()
{
    // The constructor has filled, set up and refreshed the page: the package choices, every
    // heatsink within 10 % of 30 °C/W in free air, the cheapest chosen and drawn.
    QCOMPARE(ui->HSpackage->count(), 9);
    QCOMPARE(ui->HSpackage->itemText(8), QStringLiteral("Power SIP"));
    QCOMPARE(window->HSmodel->rowCount(), window->heatsinkVector.size());
    const QVector<ShownRow> rows = shownRows(ui->HStable);
    int within = 0;
    for (const heatsink &sink : qAsConst(window->heatsinkVector))
        if (sink.getFreeAirTheta() <= 33) ++within;
    QCOMPARE(rows.size(), within);
    QVERIFY(inPriceOrder(rows));
    QCOMPARE(window->selectedHeatsink.getName(), rows.first().name);
    QCOMPARE(ui->HSimage->styleSheet(), QStringLiteral("image: url(:/KestLinear/") +
                                            rows.first().name + QStringLiteral(".jpg)"));
    QVERIFY(ui->HSName->text().contains(window->selectedHeatsink.getDrawingLink()));

    QCustomPlot *plot = ui->HSplot;
    QCOMPARE(plot->graphCount(), 1);
    QCOMPARE(plot->graph(0)->dataCount(), 128);
    auto *title = qobject_cast<QCPTextElement *>(plot->plotLayout()->element(0, 0));
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Thermal Resistance - ") + rows.first().name);
    QVERIFY(!plot->legend->visible());
}

void tst_selectors_window::heatsinkFilter()
{
    ui->Page->setCurrentIndex(7);
    ui->HSchoosePackage->click();
    QVERIFY(ui->HSpackage->isEnabled());
    QVERIFY(!ui->HSpart->isEnabled());
    ui->HSpackage->setCurrentIndex(1); // 8-pin TO-3
    emit ui->HSpackage->activated(1);
    typeInto(ui->HSrtheta, QStringLiteral("2"));
    ui->HSconstCheckBox->setChecked(true);
    typeInto(ui->HSH, QStringLiteral("1.5"));

    selectors::HeatsinkRequirement req;
    req.packageCode = QStringLiteral("CE");
    req.thetaCW = 2;
    req.relax = ui->HSrelax->value() / 100.0;
    req.envelope =
        selectors::heatsinkEnvelope(true, 1.5, infiniteValue, infiniteValue, infiniteValue, false);
    QStringList expected;
    for (const selectors::HeatsinkRow &row :
         selectors::selectHeatsinks(window->heatsinkVector, req, false))
        if (row.verdict != selectors::Verdict::Hidden) expected << row.name;
    QStringList shown;
    for (const ShownRow &row : shownRows(ui->HStable))
        shown << row.name;
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown.size(), expected.size());
    for (const QString &name : expected)
        QVERIFY2(shown.contains(name), qPrintable(name));
    QVERIFY(inPriceOrder(shownRows(ui->HStable)));
    // 2.2 °C/W is within 10 % of 2: tinted in its thermal-resistance cell only.
    const QList<QStandardItem *> tk24 =
        window->HSmodel->findItems(QStringLiteral("TK24"), Qt::MatchExactly, 1);
    QCOMPARE(tk24.size(), 1);
    QVERIFY(!ui->HStable->isRowHidden(tk24.first()->row()));
    QCOMPARE(window->HSmodel->item(tk24.first()->row(), 2)->background().color(),
             QColor(255, 255, 160));
    QCOMPARE(window->HSmodel->item(tk24.first()->row(), 3)->background().style(), Qt::NoBrush);

    // Switched off, the size group is ignored whatever it holds.
    typeInto(ui->HSH, QStringLiteral("0.01"));
    QVERIFY(shownRows(ui->HStable).isEmpty());
    ui->HSconstCheckBox->setChecked(false);
    emit ui->HSconstCheckBox->clicked();
    req.envelope = selectors::heatsinkEnvelope(false, 0, 0, 0, 0, false);
    int unconstrained = 0;
    for (const selectors::HeatsinkRow &row :
         selectors::selectHeatsinks(window->heatsinkVector, req, false))
        if (row.verdict != selectors::Verdict::Hidden) ++unconstrained;
    QVERIFY(unconstrained > shown.size());
    QCOMPARE(shownRows(ui->HStable).size(), unconstrained);
}

void tst_selectors_window::heatsinkByPart()
{
    // "All Parts", then the linear parts, then the PWM parts: each entry stands for the
    // package of its part.
    ui->HSchoosePart->click();
    QVERIFY(ui->HSpart->isEnabled());
    QVERIFY(!ui->HSpackage->isEnabled());
    QCOMPARE(ui->HSpart->count(), 1 + window->ampVector.size() + window->pwmVector.size());
    typeInto(ui->HSrtheta, QStringLiteral("100"));
    for (const QString &part : {QStringLiteral("LX22"), QStringLiteral("NV23")}) {
        const int entry = ui->HSpart->findText(part);
        QVERIFY(entry > 0);
        ui->HSpart->setCurrentIndex(entry);
        emit ui->HSpart->activated(entry);
        const QString code =
            entry <= window->ampVector.size()
                ? window->ampVector.at(entry - 1).getPackageStyle()
                : window->pwmVector.at(entry - 1 - window->ampVector.size()).getPackageStyle();
        const QVector<ShownRow> rows = shownRows(ui->HStable);
        QVERIFY(!rows.isEmpty());
        int taking = 0;
        for (const heatsink &sink : qAsConst(window->heatsinkVector))
            if (sink.listPackages().contains(code)) ++taking;
        QCOMPARE(rows.size(), taking);
        for (const ShownRow &row : rows)
            QVERIFY2(heatsinkNamed(window->heatsinkVector, row.name).listPackages().contains(code),
                     qPrintable(row.name + QLatin1Char(' ') + code));
    }
    ui->HSpart->setCurrentIndex(0);
    emit ui->HSpart->activated(0);
    QCOMPARE(shownRows(ui->HStable).size(), window->heatsinkVector.size());
}

void tst_selectors_window::heatsinkUnits()
{
    ui->HSconstCheckBox->setChecked(true);
    ui->HSH->setText(QStringLiteral("2"));
    ui->HSL->setText(QStringLiteral("ALL"));
    ui->HSW->setText(QStringLiteral("all"));
    ui->HSWeight->setText(QStringLiteral("1"));
    ui->HSfanDia->setText(QStringLiteral("4"));

    ui->HSmetric->click();
    QCOMPARE(ui->HSH->text(), QStringLiteral("50.8"));
    // "ALL" reads as the open value: an unbounded size stays unbounded in any unit, and is
    // not turned into the runaway figure 1.09092e+11 mm.
    QCOMPARE(ui->HSL->text(), QStringLiteral("ALL"));
    QCOMPARE(ui->HSW->text(), QStringLiteral("all"));
    QCOMPARE(ui->HSWeight->text(), QStringLiteral("28.3495"));
    QCOMPARE(ui->HSfanDia->text(), QStringLiteral("101.6"));
    QCOMPARE(ui->HSHunit->text(), QStringLiteral("mm (Normal to PCB)"));
    QCOMPARE(ui->HSWeightUnit->text(), QStringLiteral("g"));
    QCOMPARE(ui->HSfanCirc->text(), QStringLiteral("Diameter (mm)"));
    QCOMPARE(window->HSmodel->headerData(3, Qt::Horizontal).toString(), QStringLiteral("H (mm)"));
    // Each catalog size is shown rounded up: to a tenth of a millimetre, to a gram.
    for (int r = 0; r < window->HSmodel->rowCount(); ++r) {
        const int k = window->HSmodel->item(r, 0)->data(Qt::EditRole).toInt();
        const heatsink &sink = window->heatsinkVector.at(k);
        QCOMPARE(window->HSmodel->item(r, 3)->data(Qt::EditRole).toDouble(),
                 std::ceil(sink.getHeight() * 254) / 10);
        QCOMPARE(window->HSmodel->item(r, 6)->data(Qt::EditRole).toDouble(),
                 std::ceil(sink.getWeight() * 28.3495));
    }

    ui->HSenglish->click();
    QCOMPARE(ui->HSH->text(), QStringLiteral("2"));
    QCOMPARE(ui->HSL->text(), QStringLiteral("ALL")); // open both ways, not the stand-in value
    QCOMPARE(ui->HSWeight->text(), QStringLiteral("1"));
    QCOMPARE(ui->HSfanDia->text(), QStringLiteral("4"));
    QCOMPARE(ui->HSHunit->text(), QStringLiteral("in (Normal to PCB)"));
    QCOMPARE(ui->HSfanRect->text(), QStringLiteral("Rectangular (in)"));

    ui->HSreset->click();
    QCOMPARE(ui->HSrtheta->text(), QStringLiteral("30"));
    QCOMPARE(ui->HSL->text(), QStringLiteral("all"));
    QCOMPARE(ui->HSrelax->value(), 10);
    QVERIFY(!ui->HSconstCheckBox->isChecked());
    QVERIFY(!ui->HSfluidCheckBox->isChecked());
    QCOMPARE(ui->HSpackage->currentIndex(), 0);
}

void tst_selectors_window::heatsinkFlow_data()
{
    QTest::addColumn<QString>("sink");
    QTest::addColumn<bool>("metric");
    QTest::addColumn<QString>("theta");
    QTest::addColumn<QString>("linear");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<bool>("dimensions");

    // TK24: 1.7·exp(-0.003·F) + 0.44 °C/W, 2.2 in free air; round opening of 4 in (101.6 mm).
    // 1 °C/W: F = ln(0.56/1.7)/-0.003 = 370.2 LFM; π·16/4/144 · 370.2 = 32.3 CFM.
    QTest::newRow("air") << "TK24" << false << "1"
                         << "370 FPM air"
                         << "32.3 CFM air" << true;
    // 370.2 / 60 / 3.28084 = 1.88 m/s; 32.30 · 28.317 = 915 L/min.
    QTest::newRow("air, metric") << "TK24" << true << "1"
                                 << "1.88 m/s air"
                                 << "915 L/min air" << true;
    QTest::newRow("free air suffices") << "TK24" << false << "2.2"
                                       << "0 FPM air"
                                       << "0 CFM air" << true;
    QTest::newRow("little air: 100 FPM") << "TK24" << false << "2.1"
                                         << "100 FPM air"
                                         << "8.73 CFM air" << true;
    QTest::newRow("little air, metric: 0.508 m/s") << "TK24" << true << "2.1"
                                                   << "0.508 m/s air"
                                                   << "247 L/min air" << true;
    QTest::newRow("below what the heatsink approaches") << "TK24" << false << "0.4"
                                                        << "Not reachable"
                                                        << "Not reachable" << true;
    // TK60H2O: 0.28·exp(-2.4·F) + 0.06; 0.1 °C/W: ln(0.04/0.28)/-2.4 = 0.811 GPM.
    QTest::newRow("water") << "TK60H2O" << false << "0.1"
                           << "-----"
                           << "0.811 GPM per channel water" << false;
    QTest::newRow("water, metric") << "TK60H2O" << true << "0.1"
                                   << "-----"
                                   << "3.07 L/min per channel water" << false;
    QTest::newRow("water, natural") << "TK60H2O" << false << "3"
                                    << "-----"
                                    << "0 GPM per channel water" << false;
    QTest::newRow("water, not reachable") << "TK60H2O" << false << "0.05"
                                          << "-----"
                                          << "Not reachable" << false;
}

void tst_selectors_window::heatsinkFlow()
{
    QFETCH(QString, sink);
    QFETCH(bool, metric);
    QFETCH(QString, theta);
    QFETCH(QString, linear);
    QFETCH(QString, volume);
    QFETCH(bool, dimensions);

    ui->HSfluidCheckBox->setChecked(true);
    ui->HSfanCirc->setChecked(true);
    (metric ? ui->HSmetric : ui->HSenglish)->setChecked(true);
    ui->HSfanDia->setText(metric ? QStringLiteral("101.6") : QStringLiteral("4"));
    ui->HSrtheta->setText(theta);
    window->selectedHeatsink = heatsinkNamed(window->heatsinkVector, sink);
    QCOMPARE(window->selectedHeatsink.getName(), sink);
    window->plotRtheta();

    QCOMPARE(ui->HSlinearFlow->text(), linear);
    QCOMPARE(ui->HSvolumeFlow->text(), volume);
    QCOMPARE(ui->HSflowDimensions->isEnabled(), dimensions);

    // The axes follow the medium and the units; the curve's top is 10 % under the top edge.
    const bool water = sink.contains(QLatin1String("H2O"));
    QCustomPlot *plot = ui->HSplot;
    const double xMax = water ? (metric ? 8.5 : 2.25) : (metric ? 5.5 : 1100);
    QCOMPARE(plot->xAxis->range().upper, xMax);
    QCOMPARE(plot->xAxis->range().lower, 0.0);
    QCOMPARE(plot->yAxis->range().lower, 0.0);
    const heatsink &hs = window->selectedHeatsink;
    const double top =
        water ? hs.getA() + hs.getC() : hs.getA() * std::exp(hs.getB() * 100) + hs.getC();
    QCOMPARE(plot->yAxis->range().upper, 1.1 * top);
    QCOMPARE(plot->xAxis->label(),
             QString::fromLatin1(water ? (metric ? "Water Flow [Liters per Minute per channel]"
                                                 : "Water Flow [Gallons per Minute per channel]")
                                       : (metric ? "Air Flow [Meters per Second]"
                                                 : "Air Flow [Linear Feet per Minute]")));
    QCOMPARE(plot->graph(0)->pen().color(), QColor(200, 0, 0));
    QCOMPARE(plot->graph(0)->pen().widthF(), 3.0);
    ui->HSenglish->setChecked(true);
}

void tst_selectors_window::heatsinkFlowOff()
{
    ui->HSfluidCheckBox->setChecked(false);
    ui->HSrtheta->setText(QStringLiteral("0.1"));
    window->selectedHeatsink = heatsinkNamed(window->heatsinkVector, QStringLiteral("TK60H2O"));
    window->plotRtheta();
    QCOMPARE(ui->HSlinearFlow->text(), QStringLiteral("0 FPM air"));
    QCOMPARE(ui->HSvolumeFlow->text(), QStringLiteral("0 CFM air"));
}

void tst_selectors_window::heatsinkNothingShown()
{
    ui->HSreset->click();
    const QString before = window->selectedHeatsink.getName();
    typeInto(ui->HSrtheta, QStringLiteral("abc")); // unreadable: 0 °C/W, which none reaches
    QCOMPARE(ui->HSrtheta->palette().color(QPalette::Text), QColor(Qt::red));
    QVERIFY(shownRows(ui->HStable).isEmpty());
    QVERIFY(!ui->HStable->currentIndex().isValid());
    QCOMPARE(window->selectedHeatsink.getName(), before);
    QVERIFY(ui->HSName->text().contains(QLatin1String("color:#0000ff;\"></span>")));
    // The curve is that of the heatsink chosen before.
    auto *title = qobject_cast<QCPTextElement *>(ui->HSplot->plotLayout()->element(0, 0));
    QCOMPARE(title->text(), QStringLiteral("Thermal Resistance - ") + before);
    ui->HSreset->click();
}

void tst_selectors_window::screenshots()
{
    const QString folder = qEnvironmentVariable("AMPWRIGHT_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("AMPWRIGHT_SCREENSHOTS not set");

    ui->Page->setCurrentIndex(1);
    ui->LPSFreqButton->setChecked(true);
    ui->LPSParallelCheckBox->setChecked(true);
    ui->LPSBridgeCheckBox->setChecked(true);
    typeInto(ui->LPSFreq, QStringLiteral("10"));
    typeInto(ui->LPSVpp, QStringLiteral("80"));
    typeInto(ui->LPScurrent, QStringLiteral("8"));
    QTest::qWait(50);
    QVERIFY(window->grab().save(folder + QStringLiteral("/linear_selector.png")));

    ui->Page->setCurrentIndex(8);
    ui->SPSparallelCheckBox->setChecked(true);
    typeInto(ui->SPSfrequency, QStringLiteral("5"));
    typeInto(ui->SPSvoltage, QStringLiteral("50"));
    typeInto(ui->SPScurrent, QStringLiteral("12"));
    QTest::qWait(50);
    QVERIFY(window->grab().save(folder + QStringLiteral("/pwm_selector.png")));

    ui->Page->setCurrentIndex(7);
    ui->HSchoosePackage->click();
    ui->HSpackage->setCurrentIndex(1);
    emit ui->HSpackage->activated(1);
    ui->HSfluidCheckBox->setChecked(true);
    emit ui->HSfluidCheckBox->clicked();
    typeInto(ui->HSrtheta, QStringLiteral("1.2"));
    QTest::qWait(50);
    QVERIFY(window->grab().save(folder + QStringLiteral("/heatsinks.png")));

    ui->HSmetric->click();
    window->selectedHeatsink = heatsinkNamed(window->heatsinkVector, QStringLiteral("TK60H2O"));
    typeInto(ui->HSrtheta, QStringLiteral("0.1"));
    window->selectedHeatsink = heatsinkNamed(window->heatsinkVector, QStringLiteral("TK60H2O"));
    window->plotRtheta();
    QTest::qWait(50);
    QVERIFY(window->grab().save(folder + QStringLiteral("/heatsinks_water_metric.png")));
    ui->HSenglish->click();
}

void tst_selectors_window::heatsinkFlowUnusable_data()
{
    QTest::addColumn<QString>("theta");
    QTest::addColumn<QString>("fan");
    QTest::addColumn<QString>("linear"); // empty: the placeholder
    QTest::newRow("negative requirement") << "-1" << "4" << QString();
    QTest::newRow("unreadable requirement") << "abc" << "4" << QString();
    // TK24 at 1 C/W needs 370 FPM; the opening decides only the volume.
    QTest::newRow("negative opening") << "1" << "-4" << "370 FPM air";
    QTest::newRow("open opening") << "1" << "open" << "370 FPM air";
    QTest::newRow("opening that overflows") << "1" << "1e308" << "370 FPM air";
}

void tst_selectors_window::heatsinkFlowUnusable()
{
    QFETCH(QString, theta);
    QFETCH(QString, fan);
    QFETCH(QString, linear);
    const QString none(QChar(0x2014));
    ui->HSfluidCheckBox->setChecked(true);
    ui->HSfanCirc->setChecked(true);
    ui->HSenglish->setChecked(true);
    ui->HSfanDia->setText(fan);
    ui->HSrtheta->setText(theta);
    window->selectedHeatsink = heatsinkNamed(window->heatsinkVector, QStringLiteral("TK24"));
    window->plotRtheta();
    QCOMPARE(ui->HSlinearFlow->text(), linear.isEmpty() ? none : linear);
    QCOMPARE(ui->HSvolumeFlow->text(), none);
    QVERIFY(ui->HSvolumeFlow->styleSheet().contains(QLatin1String("red")));
    if (theta.startsWith('-') || fan.startsWith('-'))
        QCOMPARE(
            (theta.startsWith('-') ? ui->HSrtheta : ui->HSfanDia)->palette().color(QPalette::Text),
            QColor(Qt::red));

    // A usable requirement and opening bring the figures back in black.
    ui->HSrtheta->setText(QStringLiteral("1"));
    ui->HSfanDia->setText(QStringLiteral("4"));
    window->plotRtheta();
    QCOMPARE(ui->HSvolumeFlow->text(), QStringLiteral("32.3 CFM air"));
    QVERIFY(!ui->HSvolumeFlow->styleSheet().contains(QLatin1String("red")));
}

void tst_selectors_window::unmeetableRequirementLeavesNoRunawayCells_data()
{
    QTest::addColumn<bool>("linear");
    QTest::addColumn<QString>("current");
    QTest::newRow("linear, open current") << true << "open";
    QTest::newRow("linear, 1e308 A") << true << "1e308";
    QTest::newRow("switching, open current") << false << "open";
    QTest::newRow("switching, 1e308 A") << false << "1e308";
}

void tst_selectors_window::unmeetableRequirementLeavesNoRunawayCells()
{
    // No part carries the current, so every row is hidden; what the hidden rows hold is the
    // part's own figures, not a swing of -1e+19 V or -inf.
    QFETCH(bool, linear);
    QFETCH(QString, current);
    typeInto(linear ? ui->LPScurrent : ui->SPScurrent, current);
    QTableView *view = linear ? ui->selectorTable : ui->pwmTable;
    QVERIFY(shownRows(view).isEmpty());
    const QAbstractItemModel *model = view->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        for (int c = 0; c < model->columnCount(); ++c) {
            bool number = false;
            const double v = model->index(r, c).data(Qt::EditRole).toDouble(&number);
            if (number)
                QVERIFY2(std::isfinite(v) && std::fabs(v) < 1e9,
                         qPrintable(model->index(r, 1).data().toString() + ": " +
                                    QString::number(v)));
        }
    }
}

QTEST_MAIN(tst_selectors_window)
#include "tst_selectors_window.moc"
