// The filter design page in the window: start-up state, edits that recompute, the part's
// limits, the ladder drawing, the attenuation plot, the matching-network sheet, the "use"
// buttons and the hand-over to the PWM power page.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "windowtest.h"

#include "schematicwindow.h"

#include <QtTest>
#include <qcustomplot.h>

#include <memory>

namespace {

const QString kMicro = QString(QChar(0x00B5));
const QString kRedLabel = QStringLiteral("QLabel { color : red; }");
const QString kBlackLabel = QStringLiteral("QLabel { color : black; }");

// The texts of the visible items on a plot.
QStringList visibleTexts(QCustomPlot *plot)
{
    QStringList texts;
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *t = qobject_cast<QCPItemText *>(plot->item(i));
        if (t && t->visible() && !t->text().isEmpty()) texts << t->text();
    }
    return texts;
}

QStringList graphNames(QCustomPlot *plot)
{
    QStringList names;
    for (int i = 0; i < plot->graphCount(); ++i)
        names << plot->graph(i)->name();
    return names;
}

} // namespace

class TestPwmFilterPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUp();
    void workedDefaults();
    void editRecomputes();
    void equalFrequenciesGiveNoOrder();
    void unusableInputs_data();
    void unusableInputs();
    void supplyAndFrequencyLimits();
    void fixedFrequencyPart();
    void ladderDrawing_data();
    void ladderDrawing();
    void ladderTextsFit_data();
    void ladderTextsFit();
    void valuesBesideTheirParts_data();
    void valuesBesideTheirParts();
    void attenuationPlot();
    void useButtons();
    void matchingSheet();
    void matchingWithoutResistance();
    void handOver();
    void handOverOfPartPowerPageLacks();
    void navigation();

private:
    void choosePart(const QString &name);
    QString notes() const;
    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestPwmFilterPage::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestPwmFilterPage::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
}

void TestPwmFilterPage::cleanup()
{
    w.reset();
    QApplication::setFont(QFont()); // a test may have picked a size
}

// The note lines under the results; empty while hidden.
QString TestPwmFilterPage::notes() const
{
    auto *label = w->findChild<QLabel *>("filterNotes");
    return label && !label->isHidden() ? label->text() : QString();
}

// As the user does it: pick the part, the combo box reports the activation.
void TestPwmFilterPage::choosePart(const QString &name)
{
    const int index = ui->ampSelectorFilter->findText(name);
    QVERIFY(index >= 0);
    ui->ampSelectorFilter->setCurrentIndex(index);
    emit ui->ampSelectorFilter->activated(index);
}

// The default part is a half bridge: single-ended filter only, no leg capacitor.
void TestPwmFilterPage::startUp()
{
    QVERIFY(!w->designModified);
    QCOMPARE(ui->ampSelectorFilter->currentText(), QStringLiteral("NV22"));
    QVERIFY(ui->HBbutton->isChecked());
    QVERIFY(!ui->FBbutton->isEnabled());
    QVERIFY(ui->SEbutton->isChecked());
    QVERIFY(!ui->DCbutton->isEnabled() && !ui->SIbutton->isEnabled());
    QVERIFY(ui->Cleg->isHidden() && ui->ClegLabel->isHidden());
    // k = 1: ceil(log10(1500)) = 4, 60 / 2 / 100 = 0.3 V.
    QCOMPARE(ui->filterOrder->text(), QStringLiteral("4"));
    QCOMPARE(ui->filterVripActual->text(), QStringLiteral("300 mV peak"));
    QCOMPARE(ui->attenuationPlot->graphCount(), 3);
    QVERIFY(visibleTexts(ui->filterPlot).contains(QStringLiteral("PWM Out A")));
}

// With a full-bridge part the form's defaults give the worked numbers: order 4, 600 mV,
// 355 mA, C_leg 230 nF shown for the split inductor.
void TestPwmFilterPage::workedDefaults()
{
    choosePart("NV24");
    QVERIFY(ui->FBbutton->isEnabled());
    ui->FBbutton->click();
    ui->SIbutton->click();
    QVERIFY(ui->FBbutton->isChecked() && ui->SIbutton->isChecked());
    QCOMPARE(ui->filterOrder->text(), QStringLiteral("4"));
    QCOMPARE(ui->filterVripActual->text(), QStringLiteral("600 mV peak"));
    QCOMPARE(ui->FilterIrip->text(), QStringLiteral("355 mA peak"));
    QCOMPARE(ui->Cleg->text(), QStringLiteral("230 nF"));
    QVERIFY(!ui->Cleg->isHidden() && !ui->ClegLabel->isHidden());

    ui->SEbutton->click();
    QCOMPARE(ui->filterVripActual->text(), QStringLiteral("300 mV peak"));
    QVERIFY(ui->Cleg->isHidden());
}

void TestPwmFilterPage::editRecomputes()
{
    choosePart("NV24");
    ui->FBbutton->click();
    ui->SIbutton->click();
    w->designModified = false;
    // 16 V: log10(1000) / log10(10) = 3, not raised.
    ui->filterVs->setText("16");
    emit ui->filterVs->editingFinished();
    QVERIFY(w->designModified);
    QCOMPARE(ui->filterOrder->text(), QStringLiteral("3"));
    QCOMPARE(ui->filterVripActual->text(), QStringLiteral("200 mV peak"));

    ui->filterOrderActual->setValue(3); // valueChanged recomputes
    QCOMPARE(ui->filterVripActual->text(), QStringLiteral("20 mV peak"));

    ui->filterVrip->setText("x");
    emit ui->filterVrip->editingFinished();
    QCOMPARE(ui->filterVrip->palette().color(QPalette::Text), QColor(Qt::red));
}

void TestPwmFilterPage::equalFrequenciesGiveNoOrder()
{
    ui->filterFcut->setText("20k");
    emit ui->filterFcut->editingFinished();
    QCOMPARE(ui->filterOrder->text(), eng::noResultText());
    QCOMPARE(ui->filterOrder->styleSheet(), kRedLabel);
    QCOMPARE(notes(), QStringLiteral("Fsw is not above Fcut: no filter order brings the ripple down"));
    // The ripple of the order in use is still a figure: 1.25 x 48 / 2 at a ratio of 1.
    QCOMPARE(ui->filterVripActual->text(), QStringLiteral("30 V peak"));
    QVERIFY(!QApplication::activeModalWidget());
}

// Each input that cannot be used leaves the placeholder in every figure it feeds, a red field
// and one note line; no figure reads nan, inf or a number computed from it.
void TestPwmFilterPage::unusableInputs_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("blank"); // labels that show the placeholder
    QTest::addColumn<QString>("note");
    const QStringList all{"filterOrder", "filterVripActual", "FilterIrip", "Cleg"};
    QTest::newRow("Vs 0") << "filterVs"
                          << "0" << QStringList{"filterOrder", "filterVripActual", "FilterIrip"}
                          << "Vs is 0: the filter cannot be sized";
    QTest::newRow("ripple 0") << "filterVrip"
                              << "0" << QStringList{"filterOrder"}
                              << "The allowable ripple is 0: the filter cannot be sized";
    QTest::newRow("negative ripple") << "filterVrip"
                                     << "-0.02" << QStringList{"filterOrder"}
                                     << "The allowable ripple is negative: the filter cannot be "
                                        "sized";
    QTest::newRow("Fsw 0") << "filterFsw"
                           << "0" << QStringList{"filterOrder", "filterVripActual", "FilterIrip"}
                           << "Fsw is 0: the filter cannot be sized";
    QTest::newRow("Fcut 0") << "filterFcut"
                            << "0" << all << "Fcut is 0: the filter cannot be sized";
    QTest::newRow("Fcut negative") << "filterFcut"
                                   << "-2k" << all << "Fcut is negative: the filter cannot be sized";
    QTest::newRow("R_L 0") << "filterR_L"
                           << "0" << QStringList{"FilterIrip", "Cleg"}
                           << "R_LOAD is 0: the filter cannot be sized";
    QTest::newRow("R_L open") << "filterR_L"
                              << "open" << QStringList{"FilterIrip", "Cleg"}
                              << "R_LOAD is open: the filter cannot be sized";
    QTest::newRow("limit message") << "filterFsw"
                                   << "Fsw too Low"
                                   << QStringList{"filterOrder", "filterVripActual", "FilterIrip"}
                                   << "Fsw reads \"Fsw too Low\": the filter cannot be sized";
}

void TestPwmFilterPage::unusableInputs()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, blank);
    QFETCH(QString, note);
    choosePart("NV24"); // a bridge part: the leg capacitor is shown
    ui->FBbutton->click();
    ui->SIbutton->click();
    auto *edit = w->findChild<QLineEdit *>(field);
    edit->setText(text);
    emit edit->editingFinished();
    if (edit->text() == text) // a limit message may have replaced a typed value
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));
    for (const char *name : {"filterOrder", "filterVripActual", "FilterIrip", "Cleg"}) {
        auto *label = w->findChild<QLabel *>(name);
        QVERIFY2(!label->text().contains("nan") && !label->text().contains("inf"),
                 qPrintable(QString(name) + ": " + label->text()));
        QCOMPARE(label->text() == eng::noResultText(), blank.contains(name));
        if (blank.contains(name)) QCOMPARE(label->styleSheet(), kRedLabel);
    }
    QCOMPARE(notes(), note);
    // Ladder values that need the field show the placeholder, never "inf H" or "0 H".
    const bool ladderBlank = field == "filterFcut" || field == "filterR_L";
    for (const QString &t : visibleTexts(ui->filterPlot))
        QVERIFY2(!t.contains("inf") && !t.contains("nan"), qPrintable(t));
    QCOMPARE(visibleTexts(ui->filterPlot).contains(eng::noResultText()), ladderBlank);
    // The attenuation plot draws no curve or marker from a frequency it cannot use.
    for (int i = 0; i < ui->attenuationPlot->graphCount(); ++i)
        for (auto it = ui->attenuationPlot->graph(i)->data()->constBegin();
             it != ui->attenuationPlot->graph(i)->data()->constEnd(); ++it)
            QVERIFY(std::isfinite(it->key) && std::isfinite(it->value));

    // Typing a usable value again clears the note.
    edit->setText(field == "filterFsw" ? "20k" : field == "filterFcut" ? "2k" : "15");
    if (field == "filterVs") edit->setText("48");
    if (field == "filterVrip") edit->setText("0.02");
    emit edit->editingFinished();
    QCOMPARE(notes(), QString());
    QCOMPARE(ui->filterOrder->text(), QStringLiteral("4"));
    QCOMPARE(ui->filterOrder->styleSheet(), kBlackLabel);
}

void TestPwmFilterPage::supplyAndFrequencyLimits()
{
    // NV22: 15 .. 100 V, 5 .. 200 kHz; the limits themselves pass.
    ui->filterVs->setText("100");
    emit ui->filterVs->editingFinished();
    QCOMPARE(ui->filterVs->text(), QStringLiteral("100"));
    ui->filterVs->setText("101");
    emit ui->filterVs->editingFinished();
    QCOMPARE(ui->filterVs->text(), QStringLiteral("Exceeds Abs Max"));
    w->refreshFilter(); // the message stays, and reads as an unreadable field
    QCOMPARE(ui->filterVs->text(), QStringLiteral("Exceeds Abs Max"));
    QCOMPARE(ui->filterVs->palette().color(QPalette::Text), QColor(Qt::red));
    ui->useMaxVs->click();
    QCOMPARE(ui->filterVs->text(), QStringLiteral("100"));

    ui->filterVs->setText("14");
    emit ui->filterVs->editingFinished();
    QCOMPARE(ui->filterVs->text(), QStringLiteral("Vs too Low"));

    ui->filterFsw->setText("200k");
    emit ui->filterFsw->editingFinished();
    QCOMPARE(ui->filterFsw->text(), QStringLiteral("200k"));
    ui->filterFsw->setText("250k");
    emit ui->filterFsw->editingFinished();
    QCOMPARE(ui->filterFsw->text(), QStringLiteral("Exceeds Abs Max"));
    ui->filterFsw->setText("4k");
    emit ui->filterFsw->editingFinished();
    QCOMPARE(ui->filterFsw->text(), QStringLiteral("Fsw too Low"));
}

// NV25 switches at 500 kHz only: the field shows it and cannot be edited.
void TestPwmFilterPage::fixedFrequencyPart()
{
    choosePart("NV25");
    QCOMPARE(ui->filterFsw->text(), QStringLiteral("500k"));
    QVERIFY(!ui->filterFsw->isEnabled());
    choosePart("NV24");
    QVERIFY(ui->filterFsw->isEnabled());
}

void TestPwmFilterPage::ladderDrawing_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("lineB");
    QTest::addColumn<double>("yLow");
    QTest::newRow("split inductor")
        << "SI" << QStringList{"844 " + kMicro + "H", "844 " + kMicro + "H", "3.75 " + kMicro + "F"}
        << true << -1300.0;
    QTest::newRow("dual capacitor") << "DC"
                                    << QStringList{"844 " + kMicro + "H", "844 " + kMicro + "H",
                                                   "7.5 " + kMicro + "F", "7.5 " + kMicro + "F"}
                                    << true << -1700.0;
    QTest::newRow("single-ended") << "SE" << QStringList{"1.69 mH", "3.75 " + kMicro + "F"} << false
                                  << -900.0;
}

// Order 2 into 15 ohm at 2 kHz: 1.688 mH and 3.75 uF, split or doubled by the filter type.
void TestPwmFilterPage::ladderDrawing()
{
    QFETCH(QString, type);
    QFETCH(QStringList, values);
    QFETCH(bool, lineB);
    QFETCH(double, yLow);
    choosePart("NV24");
    ui->FBbutton->click();
    (type == "SI" ? ui->SIbutton : type == "DC" ? ui->DCbutton : ui->SEbutton)->click();

    QStringList texts = visibleTexts(ui->filterPlot);
    texts.removeAll("PWM Out A");
    QCOMPARE(texts.removeAll("PWM Out B") == 1, lineB);
    texts.removeAll("LOAD AND\nMATCHING\nNETWORK");
    texts.sort();
    values.sort();
    QCOMPARE(texts, values);
    QVERIFY(std::abs(w->filterValues[0] - 1.688e-3) < 1e-6);
    QVERIFY(std::abs(w->filterValues[3] - 3.7513e-6) < 1e-9);
    QCOMPARE(ui->filterPlot->yAxis->range().lower, yLow);
    QCOMPARE(ui->filterPlot->xAxis->range(), QCPRange(400 - 1600, 400 + 1900));
}

// At every order, on a window of laptop size, the ladder's end texts lie wholly inside the
// canvas and no wire runs through them.
void TestPwmFilterPage::ladderTextsFit_data()
{
    QTest::addColumn<int>("order");
    for (int n = 1; n <= 6; ++n)
        QTest::newRow(qPrintable(QString("order %1").arg(n))) << n;
}

void TestPwmFilterPage::ladderTextsFit()
{
    QFETCH(int, order);
    w->resize(1366, 720);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    ui->Page->setCurrentIndex(12);
    choosePart("NV24");
    ui->FBbutton->click();
    ui->DCbutton->click();
    ui->filterOrderActual->setValue(order);
    QCustomPlot *plot = ui->filterPlot;
    plot->replot();

    const QRect canvas = plot->axisRect()->rect();
    QVector<QRectF> boxes;
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *t = qobject_cast<QCPItemText *>(plot->item(i));
        if (!t || !t->visible()) continue;
        if (!t->text().startsWith("PWM Out") && !t->text().startsWith("LOAD AND")) continue;
        const QRectF box(t->topLeft->pixelPosition(), t->bottomRight->pixelPosition());
        QVERIFY2(canvas.contains(box.toRect()), qPrintable(t->text().simplified()));
        boxes << box.adjusted(1, 1, -1, -1);
    }
    QCOMPARE(boxes.size(), 3); // PWM Out A, PWM Out B and the load text
    for (int g = 0; g < plot->graphCount(); ++g) {
        const QCPGraphDataContainer &data = *plot->graph(g)->data();
        for (int k = 1; k < data.size(); ++k) {
            const QPointF a(plot->xAxis->coordToPixel(data.at(k - 1)->key),
                            plot->yAxis->coordToPixel(data.at(k - 1)->value));
            const QPointF b(plot->xAxis->coordToPixel(data.at(k)->key),
                            plot->yAxis->coordToPixel(data.at(k)->value));
            for (int step = 0; step <= 20; ++step)
                for (const QRectF &box : qAsConst(boxes))
                    QVERIFY(!box.contains(a + (b - a) * (step / 20.0)));
        }
    }
}

void TestPwmFilterPage::valuesBesideTheirParts_data()
{
    QTest::addColumn<int>("example"); // 0: the home page's button, then the type and order
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("size");
    const QList<QPair<int, QSize>> screens = {{10, QSize(1366, 720)}, {12, QSize(1536, 864)}};
    for (const auto &screen : screens) {
        const QString at = QStringLiteral(", %1 pt").arg(screen.first);
        // newRow copies the name while the text it comes from still stands.
        const auto row = [&](const QString &name) -> QTestData & {
            return QTest::newRow(qPrintable(name + at));
        };
        row(QStringLiteral("default page")) << 0 << "" << 0 << screen.first << screen.second;
        for (int n : {46, 51})
            row(QStringLiteral("example %1").arg(n))
                << n << "" << 0 << screen.first << screen.second;
        for (const char *type : {"SE", "SI", "DC"})
            for (int order : {2, 6})
                row(QStringLiteral("%1, order %2").arg(type).arg(order))
                    << 0 << type << order << screen.first << screen.second;
    }
}

// Reached as the user does, every value stands clear of the other texts and of the drawing (a
// capacitor's value once stood on its ground), and nearer its own part than any other alike.
void TestPwmFilterPage::valuesBesideTheirParts()
{
    QFETCH(int, example);
    QFETCH(QString, type);
    QFETCH(int, order);
    QFETCH(int, points);
    QFETCH(QSize, size);
    w.reset();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    w.reset(new MainWindow);
    ui = w->ui;
    w->show();
    windowtest::settle();
    w->resize(size);
    windowtest::settle();
    if (example) {
        schematicwindow::nextToExample(*w, example);
    } else {
        ui->FilterButton->click();
        if (!type.isEmpty()) {
            choosePart("NV24");
            ui->FBbutton->click();
            (type == "SI" ? ui->SIbutton : type == "DC" ? ui->DCbutton : ui->SEbutton)->click();
            ui->filterOrderActual->setValue(order);
        }
    }
    QCOMPARE(ui->Page->currentIndex(), 12);
    QCustomPlot *plot = ui->filterPlot;
    const QStringList faults = schematicwindow::schematicFaults(plot);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults").arg(faults.size())));
}

void TestPwmFilterPage::attenuationPlot()
{
    QCustomPlot *plot = ui->attenuationPlot;
    QCOMPARE(graphNames(plot),
             (QStringList{"Filter Response", "Cutoff Frequency", "Switching Frequency"}));
    QCOMPARE(plot->graph(0)->dataCount(), 400);
    // -120 to 0 dB, widened so that the pass band is not drawn on the frame.
    QCOMPARE(plot->yAxis->range().lower, -124.8);
    QCOMPARE(plot->yAxis->range().upper, 4.8);
    QCOMPARE(plot->graph(1)->data()->at(0)->key, 2000.0);
    QCOMPARE(plot->graph(2)->data()->at(0)->key, 20000.0);
    QCOMPARE(plot->xAxis->scaleType(), QCPAxis::stLogarithmic);
    QCOMPARE(plot->xAxis->range(), QCPRange(1, 1000000));

    ui->percentAttenuation->click(); // dbAttenuation toggles off: recompute in per cent
    QCOMPARE(plot->yAxis->range().lower, -4.0);
    QCOMPARE(plot->yAxis->range().upper, 104.0);
    QCOMPARE(plot->yAxis->label(), QStringLiteral("Attenuation [%]"));
    // At the cutoff 29.3 % of the amplitude is removed.
    const QCPGraphDataContainer &data = *plot->graph(0)->data();
    const auto at = data.findBegin(2000);
    QVERIFY(std::abs(at->value - 29.3) < 1.5);
    QCOMPARE((plot->graph(1)->data()->end() - 1)->value, 100.0);
}

void TestPwmFilterPage::useButtons()
{
    ui->useFswOver10->click();
    QCOMPARE(ui->filterFcut->text(), QStringLiteral("2k"));
    ui->useRecN->click();
    QCOMPARE(ui->filterOrderActual->value(), 4);
    QCOMPARE(ui->filterVripActual->text(), QStringLiteral("3 mV peak"));
    ui->useMaxFsw->click();
    QCOMPARE(ui->filterFsw->text(), QStringLiteral("200k"));

    // An order that is no number reads as 0 and the box keeps it at 1.
    ui->filterFcut->setText("200k");
    emit ui->filterFcut->editingFinished();
    ui->useRecN->click();
    QCOMPARE(ui->filterOrderActual->value(), 1);
}

void TestPwmFilterPage::matchingSheet()
{
    ui->MNbutton->click();
    QCOMPARE(ui->filterStack->currentIndex(), 1);
    QVERIFY(ui->filterLoadIsL->isChecked());
    QVERIFY(!ui->filterCload->isEnabled());
    QCOMPARE(ui->filterLm->text(), QStringLiteral("none"));
    QVERIFY(visibleTexts(ui->filterPlot).contains(QStringLiteral("MATCHING\nNETWORK")));

    // 2.25 mH / 15^2 = 10 uF.
    ui->filterLload->setText("2.25");
    emit ui->filterLload->editingFinished();
    QCOMPARE(ui->filterRm->text(), QString::fromUtf8("15 Ω"));
    QCOMPARE(ui->filterCm->text(), "10 " + kMicro + "F");
    QCOMPARE(ui->filterLm->text(), QStringLiteral("none"));

    // 15^2 x 10 uF = 2.25 mH; switching the load type clears the other field.
    ui->filterLoadIsC->click();
    QCOMPARE(ui->filterLload->text(), QStringLiteral("short"));
    QVERIFY(!ui->filterLload->isEnabled() && ui->filterCload->isEnabled());
    ui->filterCload->setText("10");
    emit ui->filterCload->editingFinished();
    QCOMPARE(ui->filterLm->text(), QStringLiteral("2.25 mH"));
    QCOMPARE(ui->filterCm->text(), QStringLiteral("none"));

    ui->filterRload->setText("8");
    emit ui->filterRload->editingFinished();
    ui->useMNvalues->click();
    QCOMPARE(ui->filterR_L->text(), QStringLiteral("8"));
    QCOMPARE(ui->filterStack->currentIndex(), 0);
    QVERIFY(visibleTexts(ui->filterPlot).contains(QStringLiteral("PWM Out A")));
}

// A load without resistance: a capacitive one is matched by the R^2 C inductance, which is 0
// (never by a capacitor); an inductive one would need an unbounded L / R^2 capacitor.
void TestPwmFilterPage::matchingWithoutResistance()
{
    ui->MNbutton->click();
    ui->filterRload->setText("0");
    ui->filterLoadIsC->click();
    ui->filterCload->setText("10");
    emit ui->filterCload->editingFinished();
    QCOMPARE(ui->filterRm->text(), QString::fromUtf8("0 Ω"));
    QCOMPARE(ui->filterCm->text(), QStringLiteral("none"));
    QCOMPARE(ui->filterLm->text(), QStringLiteral("0 H"));
    QCOMPARE(notes(), QString());

    ui->filterLoadIsL->click();
    ui->filterLload->setText("2.25");
    emit ui->filterLload->editingFinished();
    QCOMPARE(ui->filterLm->text(), QStringLiteral("none"));
    QCOMPARE(ui->filterCm->text(), eng::noResultText());
    QCOMPARE(ui->filterCm->styleSheet(), kRedLabel);
    QCOMPARE(notes(), QString::fromUtf8("R_LOAD is 0: the matching capacitor L / R² is unbounded"));

    // A negative load is no load: red field, placeholders, its note.
    ui->filterRload->setText("-15");
    emit ui->filterRload->editingFinished();
    QCOMPARE(ui->filterRload->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(ui->filterRm->text(), eng::noResultText());
    QCOMPARE(notes(), QStringLiteral("R_LOAD is negative: the matching network cannot be sized"));
}

// The order-2 split-inductor design with a 2.25 mH load moves to the power page.
void TestPwmFilterPage::handOver()
{
    choosePart("NV24");
    ui->FBbutton->click();
    ui->SIbutton->click();
    ui->filterLload->setText("2.25");
    w->extendedLoad = true;
    w->P5[1] = "7"; // parasitics typed on the power page are reset
    ui->loadFilterToPower->click();

    QCOMPARE(ui->Page->currentIndex(), 9);
    QCOMPARE(ui->PowerTabs->currentIndex(), 0);
    QCOMPARE(ui->ampSelectorPower->currentText(), QStringLiteral("NV24"));
    QVERIFY(ui->FBPower->isChecked() && ui->SIpower->isChecked());
    QCOMPARE(ui->PWMfilterOrder->value(), 2);
    QVERIFY(!w->extendedLoad);
    QCOMPARE(ui->ExtendedLoad->text(), QStringLiteral("Extended Load"));
    QCOMPARE(ui->VsPWM->text(), QStringLiteral("48"));
    QCOMPARE(ui->FsPWM->text(), QStringLiteral("20k"));
    QCOMPARE((QStringList{w->P1[0], w->P1[1], w->P1[2]}), (QStringList{"844 u", "0", "0"}));
    QCOMPARE((QStringList{w->P2[0], w->P2[1], w->P2[2]}), (QStringList{"0", "0", "3.75 u"}));
    QCOMPARE(w->P5[1], QStringLiteral("0"));
    QCOMPARE((QStringList{w->MN[0], w->MN[1], w->MN[2]}), (QStringList{"0", "15 ", "10 u"}));
    QCOMPARE((QStringList{w->L5[0], w->L5[1], w->L5[2]}), (QStringList{"2.25 m", "15 ", "short"}));
    // The power page was recomputed and redrawn with the design.
    QVERIFY(w->powerFilterLabels[0] && w->powerFilterLabels[1] && !w->powerFilterLabels[2]);
    QCOMPARE(w->powerFilterLabels[0]->text(), QStringLiteral("844 uH"));
    QVERIFY(ui->PowerNotes->toPlainText().startsWith(QLatin1String("Notes:")));
}

// A three-phase part is not on the power page's list: the power page keeps its part rather
// than taking whatever sits at the same position of its shorter list.
void TestPwmFilterPage::handOverOfPartPowerPageLacks()
{
    const QString before = ui->ampSelectorPower->currentText();
    choosePart("NV321");
    QCOMPARE(ui->ampSelectorPower->findText("NV321"), -1);
    ui->loadFilterToPower->click();
    QCOMPARE(ui->ampSelectorPower->currentText(), before);
    const QString note = "NV321 is not offered on this page: the design was taken over with " +
                         before;
    QVERIFY2(ui->PowerNotes->toPlainText().contains(note), qPrintable(ui->PowerNotes->toPlainText()));
    // The note stays through the page's refreshes, until a part is picked there.
    ui->FsigPWM->setText("1k");
    emit ui->FsigPWM->editingFinished();
    QVERIFY(ui->PowerNotes->toPlainText().contains(note));
    emit ui->ampSelectorPower->activated(ui->ampSelectorPower->currentIndex());
    QVERIFY(!ui->PowerNotes->toPlainText().contains(note));

    // A part further down the list than a three-phase part lands on its own name.
    choosePart("JNV300");
    QVERIFY(ui->ampSelectorFilter->currentIndex() != ui->ampSelectorPower->findText("JNV300"));
    ui->loadFilterToPower->click();
    QCOMPARE(ui->ampSelectorPower->currentText(), QStringLiteral("JNV300"));
}

void TestPwmFilterPage::navigation()
{
    ui->filterVs->setText("101");
    w->designModified = false;
    ui->FilterButton->click();
    QCOMPARE(ui->Page->currentIndex(), 12);
    QVERIFY(w->designModified);
    QVERIFY(!ui->HomeButton->isHidden());
    QCOMPARE(ui->filterVs->text(), QStringLiteral("Exceeds Abs Max"));

    ui->Page->setCurrentIndex(9);
    ui->filterVs->setText("99");
    ui->toFilterDesign->click();
    QCOMPARE(ui->Page->currentIndex(), 12);
    QCOMPARE(ui->filterVripActual->text(), QStringLiteral("619 mV peak")); // 1.25 x 99 / 2 / 100

    ui->PWMTutFilter->click();
    QCOMPARE(ui->Page->currentIndex(), 11);
    QCOMPARE(ui->ExampleSelection->currentIndex(), 6);
}

QTEST_MAIN(TestPwmFilterPage)
#include "tst_pwmfilterpage.moc"
