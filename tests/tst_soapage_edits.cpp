// The SOA page driven as a user drives it: editing fields, choosing parts, clicking values on
// the supply schematic (dialog answers injected), warnings, and the load calculator.
#include "app/mainwindow.h"
#include "soa/loadcalc.h"
#include "soa/supplyschematic.h"
#include "ui_mainwindow.h"
#include "windowtest.h"

#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <qcustomplot.h>

#include <functional>
#include <memory>

namespace {

QCPCurve *loadLineCurve(QCustomPlot *plot)
{
    for (int i = 0; i < plot->plottableCount(); ++i) {
        auto *curve = qobject_cast<QCPCurve *>(plot->plottable(i));
        if (curve && curve->name() == QLatin1String("Load Line")) return curve;
    }
    return nullptr;
}

QString labelText(MainWindow &w, soa::SupplyLabel role)
{
    QCPItemText *item = w.SOAschLabels[int(role)];
    return item ? item->text() : QStringLiteral("<none>");
}

const QString kTooHigh = QStringLiteral("!!! Total Supply Voltage too High !!!");

} // namespace

class TestSoaPageEdits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editingLoadResistanceRecomputes();
    void choosingAnotherAmplifier_data();
    void choosingAnotherAmplifier();
    void datasheetSentenceDoesNotStay();
    void clickingSupplyValueOpensDialog();
    void supplyDialog_data();
    void supplyDialog();
    void boostDialog();
    void currentSharingResistor();
    void clickOffTheLabelsOnlyRefreshes();
    void warningsOnThePage();
    void neighbourAdjustments();
    void loadCalculatorIsReused();

private:
    void choosePart(const QString &name);
    void showSchematic();

    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestSoaPageEdits::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestSoaPageEdits::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
    QCOMPARE(ui->AmpSelecterSOA->currentText(), QStringLiteral("LX30A"));
    QVERIFY(!w->designModified);
}

void TestSoaPageEdits::cleanup()
{
    w.reset();
}

// As the user chooses from the list: the combo box's activated signal runs the page's slot.
void TestSoaPageEdits::choosePart(const QString &name)
{
    const int index = ui->AmpSelecterSOA->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    ui->AmpSelecterSOA->setCurrentIndex(index);
    emit ui->AmpSelecterSOA->activated(index);
}

void TestSoaPageEdits::showSchematic()
{
    w->resize(1230, 691);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    ui->Page->setCurrentIndex(2);
    ui->SOAdisplayTab->setCurrentIndex(0);
    QCoreApplication::processEvents();
    ui->SOAsch->replot();
}

void TestSoaPageEdits::editingLoadResistanceRecomputes()
{
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    ui->Page->setCurrentIndex(2);
    QCOMPARE(ui->PdLoad->text(), QStringLiteral("0.8"));
    const double peakBefore = w->SOAmaxIout;

    QLineEdit *r = ui->SOA_Rload;
    r->setFocus();
    r->selectAll();
    QTest::keyClicks(r, QStringLiteral("100"));
    QVERIFY(!w->designModified);     // typing alone recomputes nothing
    QTest::keyClick(r, Qt::Key_Tab); // leaving the field finishes the edit

    QVERIFY(w->designModified);
    // 40 V peak into 100 Ω: 8 W in the load, 0.4 A peak.
    QCOMPARE(ui->PdLoad->text(), QStringLiteral("8"));
    QCOMPARE(w->SOAmaxIout, 0.4);
    QVERIFY(w->SOAmaxIout != peakBefore);
    QCPCurve *line = loadLineCurve(ui->SOA);
    QVERIFY(line);
    QCOMPARE(line->data()->at(89)->value, 0.4);
}

void TestSoaPageEdits::choosingAnotherAmplifier_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("foEnabled");    // Rb present
    QTest::addColumn<bool>("rclEnabled");   // external current-limit resistor
    QTest::addColumn<bool>("rangeEnabled"); // any current limit

    QTest::newRow("LX30A: foldover, external limit") << "LX30A" << true << true << true;
    QTest::newRow("LX26: no foldover") << "LX26" << false << true << true;
    QTest::newRow("LX28: no current limit") << "LX28" << false << false << false;
    QTest::newRow("LX41: internal limit") << "LX41" << false << false << true;
}

void TestSoaPageEdits::choosingAnotherAmplifier()
{
    QFETCH(QString, part);
    QFETCH(bool, foEnabled);
    QFETCH(bool, rclEnabled);
    QFETCH(bool, rangeEnabled);

    // Leave state behind that a part change must reset.
    choosePart(QStringLiteral("KW20"));
    ui->FOcheckBox->setEnabled(true);
    ui->FOcheckBox->setChecked(true);
    ui->R_FO->setText(QStringLiteral("10k"));
    ui->LogCheckBox->setChecked(false);
    w->boostSup = true;
    w->SOAVb_pos = QStringLiteral("60");
    w->designModified = false;

    choosePart(part);
    const amp a = w->findLinear(part);
    QVERIFY(w->designModified);
    QCOMPARE(ui->R_FO->text(), QStringLiteral("open"));
    QVERIFY(!ui->R_FO->isEnabled());
    QVERIFY(!ui->FOcheckBox->isChecked());
    QCOMPARE(ui->FOcheckBox->isEnabled(), foEnabled);
    QCOMPARE(ui->R_CL->isEnabled(), rclEnabled);
    QCOMPARE(ui->RangeBox->isEnabled(), rangeEnabled);
    QVERIFY(ui->LogCheckBox->isChecked());
    QVERIFY(!w->boostSup);
    QCOMPARE(ui->SOA->xAxis->range(), QCPRange(1, 1.5 * a.getVss_max()));
    QCOMPARE(ui->SOA->yAxis->range(), QCPRange(a.getI_cont() / 100, 1.5 * a.getI_pk()));
    // The schematic names the new part.
    bool named = false;
    for (int i = 0; i < ui->SOAsch->itemCount(); ++i)
        if (auto *t = qobject_cast<QCPItemText *>(ui->SOAsch->item(i)))
            named = named || t->text() == part;
    QVERIFY(named);
}

void TestSoaPageEdits::datasheetSentenceDoesNotStay()
{
    choosePart(QStringLiteral("LX61"));
    QCOMPARE(ui->R_CL->text(), QStringLiteral("See datasheet for details."));
    choosePart(QStringLiteral("LX30A"));
    QCOMPARE(ui->R_CL->text(), QStringLiteral("short"));
    // A typed resistor gives the part its current-limit band again.
    ui->R_CL->setText(QStringLiteral("0.5"));
    w->refreshSOA();
    bool band = false;
    for (int i = 0; i < ui->SOA->graphCount(); ++i)
        band = band || ui->SOA->graph(i)->name() == QLatin1String("Current Limit");
    QVERIFY(band);
    // A value the user typed is kept across a part change.
    choosePart(QStringLiteral("LX26"));
    QCOMPARE(ui->R_CL->text(), QStringLiteral("0.5"));
}

void TestSoaPageEdits::clickingSupplyValueOpensDialog()
{
    showSchematic();
    QCPItemText *pos = w->SOAschLabels[int(soa::SupplyLabel::PosSupply)];
    QVERIFY(pos);
    QCOMPARE(pos->text(), QStringLiteral("+V_S =\n50 V"));
    // The label hangs above its anchor: click into the text.
    const QPointF anchor = pos->position->pixelPosition();
    const QPoint at = (anchor + QPointF(0, -8)).toPoint();

    QString title;
    bool seen = false;
    const auto watcher1 = windowtest::watchNextDialog(
        [&title](QDialog *d) {
            title = d->windowTitle();
            auto *edit = d->findChild<QLineEdit *>("SupplyPositive");
            QVERIFY(edit);
            QCOMPARE(edit->selectedText(), QStringLiteral("50")); // clicked supply, selected
            edit->setText(QStringLiteral("45"));
            d->accept();
        },
        &seen);
    w->designModified = false;
    QTest::mouseClick(ui->SOAsch, Qt::LeftButton, Qt::NoModifier, at);
    QVERIFY(seen);
    QCOMPARE(title, QStringLiteral("Change Supply Voltage"));
    QCOMPARE(w->SOAVs_pos, QStringLiteral("45"));
    QCOMPARE(w->SOAVs_neg, QStringLiteral("-50"));
    QVERIFY(w->designModified);
    // The page was recomputed: the schematic shows the new value, the stage voltage follows.
    QCOMPARE(labelText(*w, soa::SupplyLabel::PosSupply), QStringLiteral("+V_S =\n45 V"));
    QCPCurve *line = loadLineCurve(ui->SOA);
    QVERIFY(line);
    QCOMPARE(line->data()->at(89)->key, 5.0); // 45 V - 40 V across the stage at the crest
}

void TestSoaPageEdits::supplyDialog_data()
{
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("posAnswer");
    QTest::addColumn<QString>("negAnswer");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("vsPos");
    QTest::addColumn<QString>("vsNeg");

    const int neg = int(soa::SupplyLabel::NegSupply);
    const int pos = int(soa::SupplyLabel::PosSupply);
    QTest::newRow("negative supply") << neg << "50"
                                     << "-30" << true << "50"
                                     << "-30";
    QTest::newRow("both, stored as typed") << pos << "6O"
                                           << "-60" << true << "6O"
                                           << "-60";
    QTest::newRow("both emptied: nothing changes") << neg << ""
                                                   << "" << true << "50"
                                                   << "-50";
    QTest::newRow("cancel") << pos << "10"
                            << "-10" << false << "50"
                            << "-50";
}

void TestSoaPageEdits::supplyDialog()
{
    QFETCH(int, label);
    QFETCH(QString, posAnswer);
    QFETCH(QString, negAnswer);
    QFETCH(bool, accept);
    QFETCH(QString, vsPos);
    QFETCH(QString, vsNeg);
    const bool negative = label == int(soa::SupplyLabel::NegSupply);

    QString maximum;
    const auto watcher2 = windowtest::watchNextDialog([&](QDialog *d) {
        auto *p = d->findChild<QLineEdit *>("SupplyPositive");
        auto *n = d->findChild<QLineEdit *>("SupplyNegative");
        QVERIFY(p && n);
        // The clicked supply comes first in the tab order.
        QCOMPARE((negative ? n : p)->nextInFocusChain(), negative ? p : n);
        for (QLabel *l : d->findChildren<QLabel *>())
            if (l->text().startsWith(QString::fromUtf8("Maximum"))) maximum = l->text();
        p->setText(posAnswer);
        n->setText(negAnswer);
        accept ? d->accept() : d->reject();
    });
    w->onSOAschItemClicked(w->SOAschLabels[label], nullptr);
    QCOMPARE(maximum, QString::fromUtf8("Maximum ±V_S = ±100 V")); // LX30A: 200 V total
    QCOMPARE(w->SOAVs_pos, vsPos);
    QCOMPARE(w->SOAVs_neg, vsNeg);
    QVERIFY(w->designModified);
    // An unreadable supply shows red on the schematic and counts as 0 V.
    if (vsPos == QLatin1String("6O")) {
        QCPItemText *item = w->SOAschLabels[int(soa::SupplyLabel::PosSupply)];
        QCOMPARE(item->text(), QStringLiteral("+V_S =\n6O"));
        QCOMPARE(item->color(), QColor(Qt::red));
    }
}

void TestSoaPageEdits::boostDialog()
{
    choosePart(QStringLiteral("KW20")); // one boost option of 10 V
    QCOMPARE(w->SOAVb_pos, QStringLiteral("50"));
    QVERIFY(w->SOAschLabels[int(soa::SupplyLabel::PosBoost)]);

    QStringList items;
    const auto watcher3 = windowtest::watchNextDialog([&items](QDialog *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Change Boost Supply Voltage"));
        auto *choice = d->findChild<QComboBox *>("BoostChoice");
        QVERIFY(choice);
        QCOMPARE(choice->currentIndex(), 0);
        for (int i = 0; i < choice->count(); ++i)
            items << choice->itemText(i);
        choice->setCurrentIndex(1);
        d->accept();
    });
    w->onSOAschItemClicked(w->SOAschLabels[int(soa::SupplyLabel::NegBoost)], nullptr);
    QCOMPARE(items, QStringList({"No Boost", QString::fromUtf8("±V_S ± 10 V")}));
    QVERIFY(w->boostSup);
    QCOMPARE(w->SOAVb_pos, QStringLiteral("60"));
    QCOMPARE(w->SOAVb_neg, QStringLiteral("-60"));
    QCOMPARE(labelText(*w, soa::SupplyLabel::PosBoost), QStringLiteral("+V_B =\n60 V"));

    // A supply edit moves the boost supplies with it.
    const auto watcher4 = windowtest::watchNextDialog([](QDialog *d) {
        d->findChild<QLineEdit *>("SupplyPositive")->setText(QStringLiteral("40"));
        d->accept();
    });
    w->onSOAschItemClicked(w->SOAschLabels[int(soa::SupplyLabel::PosSupply)], nullptr);
    QCOMPARE(w->SOAVb_pos, QStringLiteral("50"));
    QCOMPARE(w->SOAVb_neg, QStringLiteral("-60"));

    const auto watcher5 = windowtest::watchNextDialog([](QDialog *d) { d->accept(); }); // "No Boost"
    w->onSOAschItemClicked(w->SOAschLabels[int(soa::SupplyLabel::PosBoost)], nullptr);
    QVERIFY(!w->boostSup);
    QCOMPARE(w->SOAVb_pos, QStringLiteral("40"));
    QCOMPARE(w->SOAVb_neg, QStringLiteral("-50"));
}

void TestSoaPageEdits::currentSharingResistor()
{
    ui->ParallelCheckBox->setChecked(true);
    ui->NumParallel->setValue(2);
    QCPItemText *rcs = w->SOAschLabels[int(soa::SupplyLabel::RCS)];
    QVERIFY(rcs);
    QCOMPARE(rcs->text(), QString::fromUtf8("R_CS\n1 Ω"));

    const auto watcher6 = windowtest::watchNextDialog([](QDialog *d) {
        auto *input = qobject_cast<QInputDialog *>(d);
        QVERIFY(input);
        QCOMPARE(input->windowTitle(), QStringLiteral("New Value"));
        input->setTextValue(QStringLiteral("0.22"));
        input->accept();
    });
    w->onSOAschItemClicked(rcs, nullptr);
    QCOMPARE(w->SOAR_CS, QStringLiteral("0.22"));
    QCOMPARE(labelText(*w, soa::SupplyLabel::RCS), QString::fromUtf8("R_CS\n0.22 Ω"));
    QVERIFY(ui->PowerDetails->toPlainText().contains(QLatin1String("R_CS")));

    const auto watcher7 = windowtest::watchNextDialog([](QDialog *d) { d->reject(); });
    w->onSOAschItemClicked(w->SOAschLabels[int(soa::SupplyLabel::RCS)], nullptr);
    QCOMPARE(w->SOAR_CS, QStringLiteral("0.22"));
}

void TestSoaPageEdits::clickOffTheLabelsOnlyRefreshes()
{
    QCPItemText *name = nullptr;
    for (int i = 0; i < ui->SOAsch->itemCount(); ++i) {
        auto *t = qobject_cast<QCPItemText *>(ui->SOAsch->item(i));
        if (t && t->text() == QLatin1String("LX30A")) name = t;
    }
    QVERIFY(name);
    bool seen = true;
    const auto watcher8 = windowtest::watchNextDialog([](QDialog *d) { d->reject(); }, &seen);
    w->onSOAschItemClicked(name, nullptr);
    QVERIFY(!seen);
    QVERIFY(w->designModified);
    QCOMPARE(w->SOAVs_pos, QStringLiteral("50"));
}

void TestSoaPageEdits::warningsOnThePage()
{
    const QString red = QStringLiteral("QLabel { color : red; }");
    QVERIFY(!ui->notes->toPlainText().contains(QLatin1String("!!!")));
    QCOMPARE(labelText(*w, soa::SupplyLabel::PosSupply), QStringLiteral("+V_S =\n50 V"));
    QCOMPARE(w->SOAschLabels[int(soa::SupplyLabel::PosSupply)]->color(), QColor(Qt::black));

    // 150 V each way on a 200 V part, 4 Ω: supplies too high, hot, a heatsink beyond reason.
    w->SOAVs_pos = QStringLiteral("150");
    w->SOAVs_neg = QStringLiteral("-150");
    ui->SOA_Rload->setText(QStringLiteral("4"));
    w->SOAmaxOut = QStringLiteral("140");
    w->SOAminOut = QStringLiteral("-140");
    w->refreshSOA();
    const QString notes = ui->notes->toPlainText();
    QVERIFY2(notes.contains(kTooHigh), qPrintable(notes));
    QVERIFY(notes.contains(QLatin1String("!!! Power Dissipation too High !!! ")));
    QCOMPARE(ui->PdAmpAvg->styleSheet(), red);
    for (auto role : {soa::SupplyLabel::PosSupply, soa::SupplyLabel::NegSupply})
        QCOMPARE(w->SOAschLabels[int(role)]->color(), QColor(Qt::red));

    // Back within limits: the marks go away on the next refresh.
    w->SOAVs_pos = QStringLiteral("50");
    w->SOAVs_neg = QStringLiteral("-50");
    ui->SOA_Rload->setText(QStringLiteral("1k"));
    w->SOAmaxOut = QStringLiteral("40");
    w->SOAminOut = QStringLiteral("-40");
    w->refreshSOA();
    QVERIFY(!ui->notes->toPlainText().contains(QLatin1String("!!!")));
    QCOMPARE(ui->PdAmpAvg->styleSheet(), QStringLiteral("QLabel { color : black; }"));
    QCOMPARE(w->SOAschLabels[int(soa::SupplyLabel::PosSupply)]->color(), QColor(Qt::black));

    // A sine of ±40 V on ±30 V supplies: the note once for each extreme.
    w->SOAVs_pos = QStringLiteral("30");
    w->SOAVs_neg = QStringLiteral("-30");
    w->refreshSOA();
    QCOMPARE(ui->notes->toPlainText().count(QLatin1String("!!! V_out May Not Exceed Supply !!!")),
             2);
}

void TestSoaPageEdits::neighbourAdjustments()
{
    ui->FOcheckBox->setChecked(true);
    QVERIFY(ui->R_FO->isEnabled());
    QCOMPARE(ui->R_FO->text(), QStringLiteral("open")); // kept until the user types
    ui->R_FO->setText(QStringLiteral("22k"));
    ui->FOcheckBox->setChecked(false);
    QCOMPARE(ui->R_FO->text(), QStringLiteral("open"));
    QVERIFY(!ui->R_FO->isEnabled());

    ui->ParallelCheckBox->setChecked(true);
    ui->NumParallel->setValue(3);
    QVERIFY(w->SOAschLabels[int(soa::SupplyLabel::RCS)]);
    QCOMPARE(w->SOAschLabels[int(soa::SupplyLabel::NegSupply)]->position->coords(),
             QPointF(500, -3400));
    ui->ParallelCheckBox->setChecked(false);
    QCOMPARE(ui->NumParallel->value(), 1);
    QVERIFY(!w->SOAschLabels[int(soa::SupplyLabel::RCS)]);

    ui->loadTypeBox->setCurrentIndex(1);
    QCOMPARE(ui->loadType->currentIndex(), 1);
    ui->loadTypeBox->setCurrentIndex(0);
    QCOMPARE(ui->loadType->currentIndex(), 0);

    // The custom case temperature: its field follows the box, its curve joins the plot.
    ui->custTempCheckBox->setChecked(true);
    emit ui->custTempCheckBox->clicked(true);
    QVERIFY(ui->custTempLine->isEnabled());
    bool custom = false;
    for (int i = 0; i < ui->SOA->graphCount(); ++i)
        custom = custom || ui->SOA->graph(i)->name() == QLatin1String("Custom");
    QVERIFY(custom);

    // The log switch changes the axes only.
    const int graphs = ui->SOA->graphCount();
    w->designModified = false;
    ui->LogCheckBox->setChecked(false);
    QCOMPARE(ui->SOA->xAxis->scaleType(), QCPAxis::stLinear);
    QCOMPARE(ui->SOA->graphCount(), graphs);
    QVERIFY(!w->designModified);
}

void TestSoaPageEdits::loadCalculatorIsReused()
{
    ui->loadCalcButton->click();
    QList<LoadCalc *> dialogs = w->findChildren<LoadCalc *>();
    QCOMPARE(dialogs.size(), 1);
    LoadCalc *calc = dialogs.first();
    QVERIFY(calc->isVisible());
    QCOMPARE(calc->findChild<QLineEdit *>("Rseries")->text(), QStringLiteral("short"));

    // Cancel with nothing changed hands the entries back but changes nothing.
    calc->findChild<QPushButton *>("cancelButton")->click();
    QVERIFY(!calc->isVisible());
    QVERIFY(!w->designModified);

    ui->loadCalcButton->click();
    QCOMPARE(w->findChildren<LoadCalc *>().size(), 1);
    calc->findChild<QLineEdit *>("Rseries")->setText(QStringLiteral("100"));
    calc->findChild<QLineEdit *>("Cparallel")->setText(QStringLiteral("1u"));
    calc->findChild<QPushButton *>("useSeries")->click();
    QCOMPARE(w->ResS, QStringLiteral("100"));
    QCOMPARE(w->CapP, QStringLiteral("1u"));
    QCOMPARE(w->IndS, QStringLiteral("short"));
    QVERIFY(w->designModified); // saved in design files: closing must ask

    // The next opening shows them again, in the same dialog.
    calc->findChild<QLineEdit *>("Rseries")->setText(QStringLiteral("999"));
    ui->loadCalcButton->click();
    QCOMPARE(w->findChildren<LoadCalc *>().size(), 1);
    QCOMPARE(calc->findChild<QLineEdit *>("Rseries")->text(), QStringLiteral("100"));
    QCOMPARE(calc->findChild<QLabel *>("Zparallel")->text(), QStringLiteral("159.155"));
}

QTEST_MAIN(TestSoaPageEdits)
#include "tst_soapage_edits.moc"
