// The selector pages in the window, on the shipped catalog: the staff access phrase, the
// tables the filters leave (hidden rows, tints, price order, the chosen part), the rate fields,
// the slots bound by name, and the selection of bridge and parallel rows.
//
// Set AMPWRIGHT_SCREENSHOTS to a folder to have screenshots() save the pages there as PNG.
#include "app/mainwindow.h"
#include "selectors/linearselector.h"
#include "selectors/pwmselector.h"
#include "selectors/selectortable.h"
#include "ui_mainwindow.h"

#include <QStandardItemModel>
#include <QtTest>

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

// Counts the connections of a selection model's current-row signal.
struct SelectionPeek : QItemSelectionModel
{
    int rowReceivers() const
    {
        return receivers(SIGNAL(currentRowChanged(QModelIndex, QModelIndex)));
    }
};

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
        QCOMPARE(ui->LPSimage->styleSheet(),
                 QStringLiteral("image: url(:/KestLinear/") +
                     window->selectedAmp.getPackageStyle() + QStringLiteral(".JPG)"));
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
    auto *linear = static_cast<SelectionPeek *>(ui->selectorTable->selectionModel());
    auto *pwm = static_cast<SelectionPeek *>(ui->pwmTable->selectionModel());
    window->refreshLPS();
    window->refreshSPS();
    const int linearReceivers = linear->rowReceivers();
    const int pwmReceivers = pwm->rowReceivers();
    for (int i = 0; i < 3; ++i) {
        window->refreshLPS();
        window->refreshSPS();
        window->FillInTable();
        window->FillInPwmTable();
    }
    QCOMPARE(linear->rowReceivers(), linearReceivers);
    QCOMPARE(pwm->rowReceivers(), pwmReceivers);
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
}

QTEST_MAIN(tst_selectors_window)
#include "tst_selectors_window.moc"
