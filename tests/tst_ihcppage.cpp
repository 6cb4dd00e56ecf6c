// The Howland pump page in the window: the state after start-up, edits that recompute it,
// the part choice, the input mode, the automatic design, the sweep button, value editing on
// the schematic (dialog answers injected) and the transfer to and from the SOA page.
#include "app/mainwindow.h"
#include "ihcp/pumplabels.h"
#include "ihcp/pumpmodel.h"
#include "pumpnodal.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "windowtest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>
#include <qcustomplot.h>

#include <functional>
#include <memory>

namespace {

QStringList graphNames(QCustomPlot *plot)
{
    QStringList names;
    for (int i = 0; i < plot->graphCount(); ++i)
        names << plot->graph(i)->name();
    return names;
}

QStringList itemTexts(QCustomPlot *plot)
{
    QStringList texts;
    for (int i = 0; i < plot->itemCount(); ++i) {
        if (auto *t = qobject_cast<QCPItemText *>(plot->item(i))) texts << t->text();
    }
    return texts;
}

QCPItemText *textItem(QCustomPlot *plot, const QString &text)
{
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *t = qobject_cast<QCPItemText *>(plot->item(i));
        if (t && t->text() == text) return t;
    }
    return nullptr;
}

QColor fieldColour(QLineEdit *edit)
{
    return edit->palette().color(QPalette::Text);
}

// Runs `act` on the next modal dialog as soon as it is shown; counts the dialogs it saw.
int dialogsSeen = 0;
void onNextDialog(std::function<void(QDialog *)> act)
{
    windowtest::onNextDialog([act](QDialog *dialog) {
        ++dialogsSeen;
        act(dialog);
    });
}

// The colour of the notes' paragraph that reads `line`; invalid when there is none.
QColor noteColour(QTextBrowser *notes, const QString &line)
{
    for (QTextBlock b = notes->document()->begin(); b.isValid(); b = b.next()) {
        if (b.text() == line) return b.begin().fragment().charFormat().foreground().color();
    }
    return QColor();
}

// No figure of the page may read as a number that is none.
void verifyNoNonNumbers(const QString &text)
{
    for (const QString &line : text.split('\n')) {
        QVERIFY2(!line.contains(QLatin1String("inf")) && !line.contains(QLatin1String("nan")),
                 qPrintable(line));
    }
}

// The notes as lines; section headings in their order.
QStringList headings(const QString &notes)
{
    QStringList out;
    for (const QString &line : notes.split('\n')) {
        if (!line.isEmpty() && !line.startsWith('\t') && !line.startsWith(' ')) out << line;
    }
    return out;
}

} // namespace

class TestIhcpPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUp();
    void editsRecompute_data();
    void editsRecompute();
    void partChange();
    void degenerateDesigns_data();
    void degenerateDesigns();
    void unusableValues_data();
    void unusableValues();
    void unusableCurrents_data();
    void unusableCurrents();
    void unsuitedAndUncompensatedParts();
    void inputModeMovesTheInput();
    void autoDesign();
    void autoDesignRefusesZeroTarget();
    void autoDesignRefusals_data();
    void autoDesignRefusals();
    void outputImpedanceAfterAuto();
    void sweepButton();
    void sweepOfBalancedPump_data();
    void sweepOfBalancedPump();
    void sweepWithNothingToSweep();
    void resistorDialog_data();
    void resistorDialog();
    void loadDialog_data();
    void loadDialog();
    void dampingAndCompensationDialogs();
    void clickWithTheMouse();
    void clickOnPlainTextOpensNothing();
    void prereleasedPartLeaves();
    void exportToSoa();
    void importFromSoa();

private:
    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestIhcpPage::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestIhcpPage::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
    dialogsSeen = 0;
}

void TestIhcpPage::cleanup()
{
    windowtest::dropPendingDialogHandlers();
    w.reset();
}

void TestIhcpPage::startUp()
{
    QCOMPARE(ui->IHCPampSelector->currentText(), QStringLiteral("LX26"));
    QCOMPARE(w->CompOptionIHCP, 0);
    QVERIFY(!w->designModified);
    QVERIFY(w->IHCPbodeTitle);
    QCOMPARE(w->IHCPbodeTitle->text(), QStringLiteral("Bode Plot - Gain"));
    QCOMPARE(ui->IHCPbode->plotLayout()->element(0, 0),
             static_cast<QCPLayoutElement *>(w->IHCPbodeTitle));

    // Defaults: inverting, 10k/10k/10k/1 ohm, 10 ohm load, +-2 A.
    const QString notes = ui->IHCPnotes->toPlainText();
    QCOMPARE(headings(notes), (QStringList{"Notes:", "TRANSCONDUCTANCE", "STABILITY",
                                           "MISCELLANEOUS DETAILS", "MAXIMUM BANDWIDTH"}));
    QVERIFY(notes.contains("\tIdeal: -1 A/V\n\tActual: -1 A/V\n"));
    QVERIFY(notes.contains("\tSTABLE\n"));
    // A resistive load and no damping network have no corners.
    QVERIFY(notes.contains("\t1/ß F_zero: none\n\t1/ß F_pole: none\n\t1/ß #2 F_zero: none\n"));
    verifyNoNonNumbers(notes);
    QCOMPARE(ui->IHCPnotes->verticalScrollBar()->value(), 0);
    QCOMPARE(w->IHCPVinLabel->text(), QStringLiteral("V_IN = \n2 to -2 V"));
    QCOMPARE(w->IHCPVloadLabel->text(), QStringLiteral("V at Load = \n-20 to 20 V"));
    QCOMPARE(w->IHCPVloadLabel->color(), QColor(Qt::black));
    QCOMPARE(w->IHCPVinLabel->position->coords(), QPointF(-2300, 1000));

    QCOMPARE(graphNames(ui->IHCPbode),
             (QStringList{"Open Loop Gain", QStringLiteral("1/ß"), "V at Load"}));
    QCOMPARE(ui->IHCPbode->graph(0)->dataCount(), 128);
    QCOMPARE(ui->IHCPbode->xAxis->range(), QCPRange(1, 1e8));
    QCOMPARE(ui->IHCPbode->yAxis->range(), QCPRange(-20, 140));

    QCOMPARE(w->IHCPRinLabel->text(), QStringLiteral("10 kΩ\n0.1%"));
    QCOMPARE(w->IHCPRsLabel->text(), QStringLiteral("1 Ω\n1%"));
    QCOMPARE(w->IHCPRdLabel->text(), QStringLiteral("R_D\nopen"));
    QCOMPARE(w->IHCPloadLabel->text(), QStringLiteral("10 Ω\n\n @ 1 kHz"));
    // LX26 has two compensation options, the first without a capacitor.
    QCOMPARE(w->IHCPCcompLabel->text(), QStringLiteral("C_COMP\n0 pF"));
    QCOMPARE(ui->IHCPschematic->xAxis->range(), QCPRange(-4500, 7500));
    QCOMPARE(ui->IHCPschematic->yAxis->range(), QCPRange(-2100, 2300));

    // Refilling the part boxes (as at start, before the page is set up) runs no refresh.
    w->fillAllDropDownMenus();
    QVERIFY(!w->designModified);
}

void TestIhcpPage::editsRecompute_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("vLoad");
    QTest::addColumn<bool>("maxRed");
    QTest::addColumn<bool>("loadRed");
    // LX26: 10 A peak, 100 V total supply.
    QTest::newRow("max current within the part") << "IHCPmaxIout"
                                                 << "5"
                                                 << "V at Load = \n-20 to 50 V" << false << false;
    QTest::newRow("max current beyond peak and supply")
        << "IHCPmaxIout"
        << "12"
        << "V at Load = \n-20 to 120 V" << true << true;
    QTest::newRow("min current") << "IHCPminIout"
                                 << "0"
                                 << "V at Load = \n0 to 20 V" << false << false;
    QTest::newRow("transconductance field") << "IHCPtrans"
                                            << "3"
                                            << "V at Load = \n-20 to 20 V" << false << false;
}

void TestIhcpPage::editsRecompute()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, vLoad);
    QFETCH(bool, maxRed);
    QFETCH(bool, loadRed);
    auto *edit = w->findChild<QLineEdit *>(field);
    QVERIFY(edit);
    ui->IHCPnotes->clear();
    edit->setText(text);
    emit edit->editingFinished();
    QVERIFY(w->designModified);
    QVERIFY(ui->IHCPnotes->toPlainText().startsWith("Notes:"));
    QCOMPARE(w->IHCPVloadLabel->text(), vLoad);
    QCOMPARE(w->IHCPVloadLabel->color(), loadRed ? QColor(255, 0, 0) : QColor(Qt::black));
    QCOMPARE(fieldColour(ui->IHCPmaxIout), maxRed ? QColor(Qt::red) : QColor(Qt::black));
}

void TestIhcpPage::partChange()
{
    w->CompOptionIHCP = 1;
    w->designModified = false;
    const QString before = ui->IHCPnotes->toPlainText();
    ui->IHCPampSelector->setCurrentText("KW314");
    QCOMPARE(w->CompOptionIHCP, 0);
    QVERIFY(w->designModified);
    QCOMPARE(w->IHCPCcompLabel->text(), QStringLiteral("C_COMP\n4.7 pF"));
    // Another part, another loop: 110 dB and its own poles.
    QCOMPARE(ui->IHCPbode->graph(0)->data()->at(0)->value, 110.0);
    QVERIFY(ui->IHCPnotes->toPlainText() != before);
}

void TestIhcpPage::degenerateDesigns_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("text");
    QTest::newRow("input resistors shorted") << "IHCPRin"
                                             << "short";
    QTest::newRow("no sense resistor") << "IHCPRs"
                                       << "0";
    QTest::newRow("open load") << "IHCPRload"
                               << "open";
    QTest::newRow("zero frequency") << "IHCPFreq"
                                    << "0";
    QTest::newRow("unreadable feedback resistor") << "IHCPRfn"
                                                  << "abc";
    QTest::newRow("open series capacitance") << "IHCPCload"
                                             << "open";
    QTest::newRow("net positive feedback") << "IHCPRfp"
                                           << "100";
    QTest::newRow("compensation option the part lacks") << "CompOptionIHCP"
                                                        << "7";
}

void TestIhcpPage::degenerateDesigns()
{
    QFETCH(QString, member);
    QFETCH(QString, text);
    if (member == "CompOptionIHCP")
        w->CompOptionIHCP = text.toInt();
    else
        *(member == "IHCPRin"     ? &w->IHCPRin
          : member == "IHCPRs"    ? &w->IHCPRs
          : member == "IHCPRload" ? &w->IHCPRload
          : member == "IHCPFreq"  ? &w->IHCPFreq
          : member == "IHCPRfn"   ? &w->IHCPRfn
          : member == "IHCPCload" ? &w->IHCPCload
                                  : &w->IHCPRfp) = text;
    // Both modes, schematic and all: nothing may fail, every section is still written.
    for (int mode = 0; mode < 2; ++mode) {
        w->drawIHCP();
        w->refreshIHCP();
        QCOMPARE(headings(ui->IHCPnotes->toPlainText()),
                 (QStringList{"Notes:", "TRANSCONDUCTANCE", "STABILITY", "MISCELLANEOUS DETAILS",
                              "MAXIMUM BANDWIDTH"}));
        for (int g = 0; g < ui->IHCPbode->graphCount(); ++g) {
            for (auto it = ui->IHCPbode->graph(g)->data()->constBegin();
                 it != ui->IHCPbode->graph(g)->data()->constEnd(); ++it)
                QVERIFY(std::isfinite(it->value) || std::isnan(it->value));
        }
        ui->IHCPsweepButton->click();
    }
    if (member == "CompOptionIHCP")
        QCOMPARE(w->IHCPCcompLabel->text(), QStringLiteral("C_COMP\n0 pF"));
}

void TestIhcpPage::unusableValues_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");      // the note that names the value
    QTest::addColumn<bool>("circuit");     // false: nothing of the pump is computed
    QTest::addColumn<QStringList>("none"); // further lines that show the placeholder
    const QString rin0 = QStringLiteral("\tR_IN is 0: the transconductance is unbounded");
    const QStringList all = {"\tIdeal: —",
                             "\tActual: —",
                             "\tWorst Case: —",
                             "\tOutput Impedance: —",
                             "\tEquiv. Output Capacitance: —",
                             "\tRate of Closure: —",
                             "\t1/ß F_zero: —"};
    QTest::newRow("R_IN 0") << "IHCPRin"
                            << "0" << rin0 << false << all;
    QTest::newRow("R_IN short") << "IHCPRin"
                                << "short" << rin0 << false << all;
    QTest::newRow("R_IN empty") << "IHCPRin"
                                << "" << rin0 << false << all;
    QTest::newRow("R_IN negative")
        << "IHCPRin"
        << "-10k" << QStringLiteral("\tR_IN is -10 kΩ: a resistance cannot be negative") << false
        << all;
    QTest::newRow("R_S 0") << "IHCPRs"
                           << "0" << QStringLiteral("\tR_S is 0: the transconductance is unbounded")
                           << false << all;
    QTest::newRow("R_FP unreadable")
        << "IHCPRfp"
        << "abc" << QStringLiteral("\tR_FP cannot be read") << false << all;
    QTest::newRow("negative frequency")
        << "IHCPFreq"
        << "-1k" << QStringLiteral("\tF is -1 kHz: a frequency cannot be negative") << false << all;
    QTest::newRow("tolerance of 200 %")
        << "IHCPRsT"
        << "200" << QStringLiteral("\tThe tolerance of R_S is 100 % or more: its band reaches 0 Ω")
        << true << QStringList{"\tWorst Case: —"};
    // An open load is a design, not a fault: the pump is computed, only the load voltage and
    // the input voltage that would drive a current into it cannot be.
    const QString open = QStringLiteral("\tThe load is open: no current can flow into it");
    QTest::newRow("series C 0") << "IHCPCload"
                                << "0" << open << true << QStringList();
    QTest::newRow("series C open") << "IHCPCload"
                                   << "open" << open << true << QStringList();
    QTest::newRow("load open") << "IHCPRload"
                               << "open" << open << true << QStringList();
}

void TestIhcpPage::unusableValues()
{
    QFETCH(QString, member);
    QFETCH(QString, text);
    QFETCH(QString, why);
    QFETCH(bool, circuit);
    QFETCH(QStringList, none);
    QString *value = member == "IHCPRin"     ? &w->IHCPRin
                     : member == "IHCPRs"    ? &w->IHCPRs
                     : member == "IHCPRfp"   ? &w->IHCPRfp
                     : member == "IHCPFreq"  ? &w->IHCPFreq
                     : member == "IHCPRsT"   ? &w->IHCPRsT
                     : member == "IHCPCload" ? &w->IHCPCload
                                             : &w->IHCPRload;
    *value = text;
    for (int mode = 0; mode < 2; ++mode) {
        w->drawIHCP();
        w->refreshIHCP();
        const QString notes = ui->IHCPnotes->toPlainText();
        verifyNoNonNumbers(notes);
        QCOMPARE(noteColour(ui->IHCPnotes, why), QColor(Qt::red));
        for (const QString &line : none)
            QCOMPARE(noteColour(ui->IHCPnotes, line), QColor(Qt::red));
        // Only a loop that was analysed has a verdict.
        QCOMPARE(noteColour(ui->IHCPnotes, "\tCOULD NOT BE ANALYSED").isValid(), !circuit);
        QCOMPARE(noteColour(ui->IHCPnotes, "\tSTABLE").isValid(), circuit);
        if (!circuit) {
            QCOMPARE(w->IHCPVinLabel->text(), QStringLiteral("V_IN = \n—"));
            QCOMPARE(w->IHCPVinLabel->color(), QColor(255, 0, 0));
        }
        if (member == "IHCPCload" || member == "IHCPRload") {
            QCOMPARE(w->IHCPVloadLabel->text(), QStringLiteral("V at Load = \n—"));
            QCOMPARE(w->IHCPVloadLabel->color(), QColor(255, 0, 0));
            QCOMPARE(w->IHCPVinLabel->text(), QStringLiteral("V_IN = \n—"));
            QCOMPARE(w->IHCPloadLabel->color(), QColor(Qt::black));
            QVERIFY(notes.contains("\t1/ß F_zero: none\n"));
        }
        // The value's label is marked on the schematic.
        QCPItemText *label = member.startsWith("IHCPRin")  ? w->IHCPRinLabel.data()
                             : member.startsWith("IHCPRs") ? w->IHCPRsLabel.data()
                             : member == "IHCPRfp"         ? w->IHCPRfpLabel.data()
                             : member == "IHCPFreq"        ? w->IHCPloadLabel.data()
                                                           : nullptr;
        if (label) QCOMPARE(label->color(), QColor(255, 0, 0));
        if (member == "IHCPRin") QCOMPARE(w->IHCPRipLabel->color(), QColor(255, 0, 0));
        for (QCPItemText *v : {w->IHCPVinLabel.data(), w->IHCPVloadLabel.data()})
            QVERIFY2(!v->text().contains("inf") && !v->text().contains("nan"),
                     qPrintable(v->text()));
        // No curve holds a point that is not a number; a refused loop draws only the amplifier.
        for (int g = 0; g < ui->IHCPbode->graphCount(); ++g) {
            for (auto it = ui->IHCPbode->graph(g)->data()->constBegin();
                 it != ui->IHCPbode->graph(g)->data()->constEnd(); ++it)
                QVERIFY(std::isfinite(it->value));
        }
        if (!circuit && !w->sweepIHCP)
            QCOMPARE(graphNames(ui->IHCPbode), QStringList{"Open Loop Gain"});
        ui->IHCPsweepButton->click();
    }
}

void TestIhcpPage::unusableCurrents_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("unreadable") << "IHCPmaxIout"
                                << "abc";
    QTest::newRow("a sign alone") << "IHCPmaxIout"
                                  << "-";
    QTest::newRow("open") << "IHCPmaxIout"
                          << "open";
    QTest::newRow("inf") << "IHCPminIout"
                         << "inf";
    QTest::newRow("beyond the prefix") << "IHCPminIout"
                                       << "1e308k";
    QTest::newRow("huge") << "IHCPmaxIout"
                          << "1e308";
}

void TestIhcpPage::unusableCurrents()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    auto *edit = w->findChild<QLineEdit *>(field);
    edit->setText(text);
    emit edit->editingFinished();
    QCOMPARE(fieldColour(edit), QColor(Qt::red));
    const QString caption = field == "IHCPmaxIout" ? "Max I_out" : "Min I_out";
    QCOMPARE(noteColour(ui->IHCPnotes, QStringLiteral("\t%1 is not a usable current").arg(caption)),
             QColor(Qt::red));
    QCOMPARE(w->IHCPVinLabel->text(), QStringLiteral("V_IN = \n—"));
    QCOMPARE(w->IHCPVloadLabel->text(), QStringLiteral("V at Load = \n—"));
    QCOMPARE(w->IHCPVloadLabel->color(), QColor(255, 0, 0));
    QCOMPARE(noteColour(ui->IHCPnotes, "\tRMS Power in R_sense: —"), QColor(Qt::red));
    // The pump itself does not depend on the currents.
    QVERIFY(ui->IHCPnotes->toPlainText().contains("\tIdeal: -1 A/V\n"));
    QVERIFY(noteColour(ui->IHCPnotes, "\tSTABLE").isValid());
    verifyNoNonNumbers(ui->IHCPnotes->toPlainText());

    // A usable current again: the figures come back.
    edit->setText("1");
    emit edit->editingFinished();
    QCOMPARE(fieldColour(edit), QColor(Qt::black));
    QVERIFY(!w->IHCPVloadLabel->text().contains(eng::noResultText()));
}

void TestIhcpPage::unsuitedAndUncompensatedParts()
{
    // KW349 takes only its non-inverting input.
    ui->IHCPampSelector->setCurrentText("KW349");
    QCOMPARE(itemTexts(ui->IHCPschematic),
             QStringList{"This product is not recommended for IHCP operation. \n"
                         "Please select a different amplifier."});
    QCOMPARE(ui->IHCPschematic->graphCount(), 0);
    QVERIFY(!w->IHCPRinLabel && !w->IHCPVinLabel && !w->IHCPVloadLabel);
    // The page is still computed.
    QVERIFY(ui->IHCPnotes->toPlainText().contains("MAXIMUM BANDWIDTH"));

    // LX21: one compensation option of 0 pF, so no C_COMP at all.
    ui->IHCPampSelector->setCurrentText("LX21");
    QVERIFY(w->IHCPRinLabel);
    QVERIFY(!w->IHCPCcompLabel);
    QVERIFY(!itemTexts(ui->IHCPschematic).join('|').contains("C_COMP"));
}

void TestIhcpPage::inputModeMovesTheInput()
{
    const int graphs = ui->IHCPschematic->graphCount();
    ui->IHCPNonButton->click();
    QVERIFY(!ui->IHCPInvButton->isChecked());
    QCOMPARE(w->IHCPVinLabel->position->coords(), QPointF(-2300, -1000));
    QCOMPARE(textItem(ui->IHCPschematic, "V_IN")->position->coords(), QPointF(-1900, -1400));
    QCOMPARE(w->IHCPVinLabel->text(), QStringLiteral("V_IN = \n-2 to 2 V"));
    QCOMPARE(ui->IHCPschematic->graphCount(), graphs); // the ground moved, nothing more
    QVERIFY(ui->IHCPnotes->toPlainText().contains("\tIdeal: 1 A/V"));

    ui->IHCPInvButton->click();
    QCOMPARE(w->IHCPVinLabel->position->coords(), QPointF(-2300, 1000));
    QCOMPARE(textItem(ui->IHCPschematic, "V_IN")->position->coords(), QPointF(-1900, 1400));
}

void TestIhcpPage::autoDesign()
{
    ui->IHCPtrans->setText("2");
    ui->IHCPtol->setText("5");
    w->IHCPRd = "22";
    w->IHCPCd = "1u";
    w->designModified = false;
    ui->IHCPauto->click();

    QCOMPARE(w->IHCPRfn, QStringLiteral("20000"));
    QCOMPARE(w->IHCPRfp, QStringLiteral("19999"));
    QCOMPARE(w->IHCPRd, QStringLiteral("open"));
    QCOMPARE(w->IHCPCd, QStringLiteral("open"));
    QCOMPARE(w->IHCPRin, QStringLiteral("10k"));
    QCOMPARE(w->IHCPRs, QStringLiteral("1"));
    const ihcp::AutoDesign d =
        ihcp::autoDesign(2, 5, 10e3, 1, comp(10, 0), ui->IHCPInvButton->isChecked());
    QCOMPARE(w->IHCPRinT, d.tolIn);
    QCOMPARE(w->IHCPRsT, d.tolS);
    QVERIFY(d.met);
    // The schematic is drawn again with the new values, and the page recomputed.
    QCOMPARE(w->IHCPRfnLabel->text(), QStringLiteral("20000 Ω\n") + d.tolFn + "%");
    QCOMPARE(w->IHCPRdLabel->text(), QStringLiteral("R_D\nopen"));
    QVERIFY(w->designModified);
    QVERIFY(ui->IHCPnotes->toPlainText().contains("\tIdeal: -2 A/V"));
}

void TestIhcpPage::autoDesignRefusesZeroTarget()
{
    ui->IHCPtrans->setText("0");
    ui->IHCPauto->click();
    QCOMPARE(w->IHCPRfn, QStringLiteral("10k"));
    QCOMPARE(w->IHCPRfp, QStringLiteral("10k"));
    QCOMPARE(w->IHCPRinT, QStringLiteral("0.1"));
    QCOMPARE(fieldColour(ui->IHCPtrans), QColor(Qt::red));
}

void TestIhcpPage::autoDesignRefusals_data()
{
    QTest::addColumn<QString>("trans");
    QTest::addColumn<QString>("tol");
    QTest::addColumn<QString>("rin");
    QTest::addColumn<QString>("why");
    QTest::addColumn<bool>("transRed");
    // 1e9 A/V * 10k * 1 = 1e13 ohm.
    QTest::newRow("R_FN beyond any resistor")
        << "1e9"
        << "5"
        << "10k"
        << "R_FN = R_S g R_IN would be beyond any real resistance" << true;
    QTest::newRow("R_FP negative")
        << "1e-5"
        << "5"
        << "10k"
        << "R_FP = R_S (g R_IN - 1) would not be positive: the desired transconductance times "
           "R_IN must exceed 1"
        << true;
    QTest::newRow("R_IN shorted") << "1"
                                  << "5"
                                  << "short"
                                  << "R_IN and R_S must be set first" << false;
    QTest::newRow("transconductance inf")
        << "inf"
        << "5"
        << "10k"
        << "Desired Transconductance is not a usable value" << true;
    QTest::newRow("transconductance huge")
        << "1e308"
        << "5"
        << "10k"
        << "Desired Transconductance is not a usable value" << true;
    QTest::newRow("tolerance unreadable")
        << "1"
        << "abc"
        << "10k"
        << "Desired Tolerance of Transconductance is not a usable value" << false;
}

void TestIhcpPage::autoDesignRefusals()
{
    QFETCH(QString, trans);
    QFETCH(QString, tol);
    QFETCH(QString, rin);
    QFETCH(QString, why);
    QFETCH(bool, transRed);
    ui->IHCPtrans->setText(trans);
    ui->IHCPtol->setText(tol);
    w->IHCPRin = rin;
    ui->IHCPauto->click();
    // The design stays as it was, and the notes say why.
    QCOMPARE(w->IHCPRfn, QStringLiteral("10k"));
    QCOMPARE(w->IHCPRfp, QStringLiteral("10k"));
    QCOMPARE(w->IHCPRinT, QStringLiteral("0.1"));
    QCOMPARE(w->IHCPRsT, QStringLiteral("1"));
    QCOMPARE(w->IHCPRd, QStringLiteral("open"));
    const QString line = QStringLiteral("\tAuto changed nothing: ") + why;
    QCOMPARE(noteColour(ui->IHCPnotes, line), QColor(Qt::red));
    QCOMPARE(fieldColour(ui->IHCPtrans) == QColor(Qt::red), transRed);
    verifyNoNonNumbers(ui->IHCPnotes->toPlainText());
    // Said once: the next refresh is about the design again.
    w->refreshIHCP();
    QVERIFY(!ui->IHCPnotes->toPlainText().contains("Auto changed nothing"));
}

void TestIhcpPage::outputImpedanceAfterAuto()
{
    // 0.1 A/V within 1 % with Rin 2k and Rs 10 on LX26 at 1 kHz.
    w->IHCPRin = "2k";
    w->IHCPRs = "10";
    ui->IHCPtrans->setText("0.1");
    ui->IHCPtol->setText("1");
    ui->IHCPauto->click();
    QCOMPARE(w->IHCPRfn, QStringLiteral("2000"));
    QCOMPARE(w->IHCPRfp, QStringLiteral("1990"));

    // The circuit solved node by node with LX26's gain at 1 kHz.
    const amp part = w->findLinear("LX26");
    const double a = pumpnodal::openLoopGain(
        part.getAol_DC(), {part.getPole1(0), part.getPole2(0), part.getPole3(0)}, 1e3);
    const double z = pumpnodal::outputImpedance(2e3, 2e3, 2000, 1990, 10, a);
    QVERIFY2(z > 12.4e3 && z < 12.6e3, qPrintable(QString::number(z)));
    const QString line = QStringLiteral("\tOutput Impedance: ") + w->engString(z, "Ω");
    QCOMPARE(line, QStringLiteral("\tOutput Impedance: 12.5 kΩ"));
    QVERIFY(ui->IHCPnotes->toPlainText().contains(line + "\n"));
}

void TestIhcpPage::sweepOfBalancedPump_data()
{
    QTest::addColumn<bool>("inv");
    QTest::newRow("inverting") << true;
    QTest::newRow("non-inverting") << false; // showed a constant 0.5025 %
}

void TestIhcpPage::sweepOfBalancedPump()
{
    QFETCH(bool, inv);
    w->IHCPRin = "2k";
    w->IHCPRfn = "2000";
    w->IHCPRfp = "1990";
    w->IHCPRs = "10";
    w->IHCPRinT = w->IHCPRfnT = w->IHCPRfpT = w->IHCPRsT = "0 (trim pot)";
    (inv ? ui->IHCPInvButton : ui->IHCPNonButton)->click();
    ui->IHCPsweepButton->click();
    QCOMPARE(ui->IHCPbode->graphCount(), 1);
    QCPGraph *graph = ui->IHCPbode->graph(0);
    QCOMPARE(graph->dataCount(), 400);
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        QVERIFY2(it->value < 1e-6, qPrintable(QString::number(it->value)));
    // A flat line at 0 is shown from 0, not on a span of rounding noise.
    QCOMPARE(ui->IHCPbode->yAxis->range(), QCPRange(0, 1));
    QCOMPARE(ui->IHCPbode->xAxis->range().upper, 10.0);
}

void TestIhcpPage::sweepWithNothingToSweep()
{
    ui->IHCPsweepButton->click();
    QVERIFY(ui->IHCPbode->xAxis->range().upper == 10.0);
    w->IHCPRload = "open";
    w->refreshIHCP();
    QCOMPARE(ui->IHCPbode->graph(0)->dataCount(), 0);
    // Not the axes of the last sweep.
    QCOMPARE(ui->IHCPbode->xAxis->range(), QCPRange(0, 1));
    QCOMPARE(noteColour(ui->IHCPnotes, "\tThe load is open: there is no load impedance to sweep"),
             QColor(Qt::red));
}

void TestIhcpPage::sweepButton()
{
    const QString bodeNotes = ui->IHCPnotes->toPlainText();
    ui->IHCPsweepButton->click();
    QVERIFY(w->sweepIHCP);
    QCOMPARE(ui->IHCPsweepButton->text(), QStringLiteral("Bode Plot"));
    QCOMPARE(w->IHCPbodeTitle->text(), QStringLiteral("Load Impedance vs. Worst Case Error"));
    QCOMPARE(ui->IHCPbode->xAxis->label(), QStringLiteral("Load Impedance [Ω]"));
    QCOMPARE(ui->IHCPbode->xAxis->scaleType(), QCPAxis::stLinear);
    QVERIFY(!ui->IHCPbode->legend->visible());
    QCOMPARE(ui->IHCPbode->graphCount(), 1);
    QCOMPARE(ui->IHCPbode->graph(0)->dataCount(), 400);
    QVERIFY(!ui->IHCPbode->legend->hasItemWithPlottable(ui->IHCPbode->graph(0)));
    QCOMPARE(ui->IHCPbode->xAxis->range().upper, 10.0); // the load magnitude
    // The notes do not depend on the mode.
    QCOMPARE(ui->IHCPnotes->toPlainText(), bodeNotes);

    ui->IHCPsweepButton->click();
    QVERIFY(!w->sweepIHCP);
    QCOMPARE(ui->IHCPsweepButton->text(), QStringLiteral("Sweep Load Impedance"));
    QCOMPARE(w->IHCPbodeTitle->text(), QStringLiteral("Bode Plot - Gain"));
    QCOMPARE(ui->IHCPbode->xAxis->scaleType(), QCPAxis::stLogarithmic);
    QCOMPARE(ui->IHCPbode->xAxis->range(), QCPRange(1, 1e8));
    QCOMPARE(ui->IHCPbode->yAxis->range(), QCPRange(-20, 140));
    auto ticker = ui->IHCPbode->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
    QVERIFY(ticker);
    QCOMPARE(ticker->ticks().value(1e3), QStringLiteral("1k"));
    QCOMPARE(ticker->ticks().size(), 9);
    QCOMPARE(ui->IHCPbode->graphCount(), 3);
    QVERIFY(ui->IHCPbode->legend->visible());
}

void TestIhcpPage::resistorDialog_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("tolerance"); // empty: leave the combo as it opens
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("tol");
    QTest::addColumn<QString>("opensAt");
    QTest::newRow("feedback resistor, own label only") << "Rfn"
                                                       << "12k"
                                                       << "1" << true << "12k"
                                                       << "1"
                                                       << "0.1";
    QTest::newRow("input resistor from its lower label") << "Rip"
                                                         << "4.7k"
                                                         << "0.05" << true << "4.7k"
                                                         << "0.05"
                                                         << "0.1";
    QTest::newRow("empty field keeps both") << "Rs"
                                            << ""
                                            << "5" << true << "1"
                                            << "1"
                                            << "1";
    QTest::newRow("cancel keeps both") << "Rfp"
                                       << "1k"
                                       << "5" << false << "10k"
                                       << "0.1"
                                       << "0.1";
}

void TestIhcpPage::resistorDialog()
{
    QFETCH(QString, label);
    QFETCH(QString, typed);
    QFETCH(QString, tolerance);
    QFETCH(bool, accept);
    QFETCH(QString, value);
    QFETCH(QString, tol);
    QFETCH(QString, opensAt);

    QCPItemText *item = label == "Rfn"   ? w->IHCPRfnLabel.data()
                        : label == "Rip" ? w->IHCPRipLabel.data()
                        : label == "Rs"  ? w->IHCPRsLabel.data()
                                         : w->IHCPRfpLabel.data();
    QString *member = label == "Rfn"   ? &w->IHCPRfn
                      : label == "Rip" ? &w->IHCPRin
                      : label == "Rs"  ? &w->IHCPRs
                                       : &w->IHCPRfp;
    QString *memberT = label == "Rfn"   ? &w->IHCPRfnT
                       : label == "Rip" ? &w->IHCPRinT
                       : label == "Rs"  ? &w->IHCPRsT
                                        : &w->IHCPRfpT;
    QString seenTitle, seenTolerance;
    onNextDialog([&](QDialog *d) {
        seenTitle = d->windowTitle();
        auto *r = d->findChild<QLineEdit *>("IHCPresistance");
        auto *t = d->findChild<QComboBox *>("IHCPtolerance");
        seenTolerance = t->currentText();
        r->setText(typed);
        t->setCurrentText(tolerance);
        accept ? d->accept() : d->reject();
    });
    w->designModified = false;
    w->onIHCPItemClicked(item, nullptr);

    QCOMPARE(seenTitle, QStringLiteral("Resistance and Tolerance"));
    QCOMPARE(seenTolerance, opensAt);
    QCOMPARE(*member, value);
    QCOMPARE(*memberT, tol);
    QVERIFY(w->designModified);
    if (label == "Rip") {
        // Both input resistors show the one value.
        QCOMPARE(w->IHCPRinLabel->text(), QStringLiteral("4.7 kΩ\n0.05%"));
        QCOMPARE(w->IHCPRipLabel->text(), QStringLiteral("4.7 kΩ\n0.05%"));
    }
    if (label == "Rfn") {
        QCOMPARE(w->IHCPRfnLabel->text(), QStringLiteral("12 kΩ\n1%"));
        QCOMPARE(w->IHCPRinLabel->text(), QStringLiteral("10 kΩ\n0.1%"));
        // -12k/(10k * 1) into the notes.
        QVERIFY(ui->IHCPnotes->toPlainText().contains("\tIdeal: -1.2 A/V"));
    }
}

void TestIhcpPage::loadDialog_data()
{
    QTest::addColumn<QString>("cload");
    QTest::addColumn<QString>("lload");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("reactive");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("opensAt");
    QTest::addColumn<QString>("newC");
    QTest::addColumn<QString>("newL");
    QTest::addColumn<QString>("labelText");
    QTest::newRow("series capacitance") << "short"
                                        << "short" << 1 << "100n" << true << 0 << "100n"
                                        << "short" << QStringLiteral("10 Ω\n + 100 nF\n @ 1 kHz");
    QTest::newRow("series inductance replaces a capacitance")
        << "1u"
        << "short" << 0 << "50u" << true << 1 << "short"
        << "50u" << QStringLiteral("10 Ω\n + 50 uH\n @ 1 kHz");
    QTest::newRow("pure resistance") << "1u"
                                     << "short" << 2 << "x" << true << 1 << "short"
                                     << "short" << QStringLiteral("10 Ω\n\n @ 1 kHz");
    QTest::newRow("empty reactive field ignores the type")
        << "short"
        << "100u" << 1 << "" << true << 0 << "short"
        << "100u" << QStringLiteral("10 Ω\n + 100 uH\n @ 1 kHz");
    // Opening the editor on a capacitive load clears the inductance at once.
    QTest::newRow("cancel on a capacitive load") << "1u"
                                                 << "100u" << 0 << "2m" << false << 1 << "1u"
                                                 << "short" << QString();
}

void TestIhcpPage::loadDialog()
{
    QFETCH(QString, cload);
    QFETCH(QString, lload);
    QFETCH(int, type);
    QFETCH(QString, reactive);
    QFETCH(bool, accept);
    QFETCH(int, opensAt);
    QFETCH(QString, newC);
    QFETCH(QString, newL);
    QFETCH(QString, labelText);
    w->IHCPCload = cload;
    w->IHCPLload = lload;
    w->drawIHCP();
    const QString before = w->IHCPloadLabel->text();
    int seenType = -1;
    onNextDialog([&](QDialog *d) {
        auto *t = d->findChild<QComboBox *>("IHCPloadType");
        seenType = t->currentIndex();
        t->setCurrentIndex(type);
        d->findChild<QLineEdit *>("IHCPloadReactive")->setText(reactive);
        accept ? d->accept() : d->reject();
    });
    w->onIHCPItemClicked(w->IHCPloadLabel, nullptr);
    QCOMPARE(seenType, opensAt);
    QCOMPARE(w->IHCPCload, newC);
    QCOMPARE(w->IHCPLload, newL);
    QCOMPARE(w->IHCPRload, QStringLiteral("10"));
    QCOMPARE(w->IHCPloadLabel->text(), labelText.isEmpty() ? before : labelText);
}

void TestIhcpPage::dampingAndCompensationDialogs()
{
    onNextDialog([](QDialog *d) {
        auto *input = qobject_cast<QInputDialog *>(d);
        input->setTextValue("22");
        input->accept();
    });
    w->onIHCPItemClicked(w->IHCPRdLabel, nullptr);
    QCOMPARE(w->IHCPRd, QStringLiteral("22"));
    QCOMPARE(w->IHCPRdLabel->text(), QStringLiteral("R_D\n22 Ω"));

    onNextDialog([](QDialog *d) {
        auto *input = qobject_cast<QInputDialog *>(d);
        input->setTextValue("4.7u");
        input->accept();
    });
    w->onIHCPItemClicked(w->IHCPCdLabel, nullptr);
    QCOMPARE(w->IHCPCd, QStringLiteral("4.7u"));
    // The damping network now takes part: a fourth curve on the Bode plot.
    QVERIFY(graphNames(ui->IHCPbode).contains(QStringLiteral("1/ß Path 2")));

    QString title;
    onNextDialog([&title](QDialog *d) {
        title = d->windowTitle();
        d->findChild<QComboBox *>("CcompOptions")->setCurrentIndex(1);
        d->accept();
    });
    const double aolBefore = ui->IHCPbode->graph(0)->data()->at(10)->value;
    w->onIHCPItemClicked(w->IHCPCcompLabel, nullptr);
    QCOMPARE(title, QStringLiteral("Change Compensation Capacitor"));
    QCOMPARE(w->CompOptionIHCP, 1);
    QCOMPARE(w->IHCPCcompLabel->text(), QStringLiteral("C_COMP\n33 pF"));
    // LX26 with 33 pF: the first pole moves down from 9.95 Hz to 3.32 Hz.
    QVERIFY(ui->IHCPbode->graph(0)->data()->at(10)->value < aolBefore);
}

void TestIhcpPage::clickWithTheMouse()
{
    w->resize(1400, 820);
    w->show();
    ui->Page->setCurrentIndex(5);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    ui->IHCPschematic->replot();

    onNextDialog([](QDialog *d) {
        d->findChild<QLineEdit *>("IHCPresistance")->setText("0.5");
        d->accept();
    });
    const QPoint at = w->IHCPRsLabel->position->pixelPosition().toPoint() + QPoint(0, -6);
    QTest::mouseClick(ui->IHCPschematic, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(dialogsSeen, 1);
    QCOMPARE(w->IHCPRs, QStringLiteral("0.5"));
    QVERIFY(ui->IHCPnotes->toPlainText().contains("\tIdeal: -2 A/V"));
}

void TestIhcpPage::clickOnPlainTextOpensNothing()
{
    for (const QString &text : {QStringLiteral("AMP"), QStringLiteral("V_IN")}) {
        w->designModified = false;
        w->onIHCPItemClicked(textItem(ui->IHCPschematic, text), nullptr);
        QVERIFY(w->designModified);
    }
    w->designModified = false;
    w->onIHCPItemClicked(w->IHCPVloadLabel, nullptr);
    QVERIFY(w->designModified);

    // The warning of an unsuited part edits nothing either.
    ui->IHCPampSelector->setCurrentText("KW349");
    w->designModified = false;
    w->onIHCPItemClicked(ui->IHCPschematic->item(0), nullptr);
    QVERIFY(w->designModified);
    QCOMPARE(dialogsSeen, 0);
}

void TestIhcpPage::prereleasedPartLeaves()
{
    ui->includePreReleased->click();
    ui->IHCPampSelector->setCurrentText("KW370");
    QCOMPARE(ui->IHCPampSelector->currentText(), QStringLiteral("KW370"));
    QVERIFY(w->IHCPCcompLabel);
    w->CompOptionIHCP = 2;
    w->designModified = false;

    // Switching pre-released parts off takes KW370 away: the page shows and computes the
    // first part of the list.
    ui->includePreReleased->click();
    QCOMPARE(ui->IHCPampSelector->currentIndex(), 0);
    const amp first = w->findLinear(ui->IHCPampSelector->currentText());
    QVERIFY(w->designModified);
    QCOMPARE(w->CompOptionIHCP, 0);
    QCOMPARE(ui->IHCPbode->graph(0)->data()->at(0)->value, first.getAol_DC());

    // A part that stays listed stays selected, and nothing is recomputed.
    ui->IHCPampSelector->setCurrentText("LX30");
    w->designModified = false;
    ui->includePreReleased->click();
    QCOMPARE(ui->IHCPampSelector->currentText(), QStringLiteral("LX30"));
    QVERIFY(!w->designModified);
}

void TestIhcpPage::exportToSoa()
{
    ui->IHCPmaxIout->setText("3");
    ui->IHCPminIout->setText("-1");
    w->IHCPFreq = "2k";
    ui->BridgeCheckBox->setChecked(true);
    ui->ParallelCheckBox->setChecked(true);
    ui->NumParallel->setValue(3);
    ui->IHCPexportSOA->click();

    QCOMPARE(ui->SOA_Rload->text(), QStringLiteral("11 ")); // R_S 1 + R_load 10
    QCOMPARE(ui->SOA_Cload->text(), QStringLiteral("short"));
    QCOMPARE(ui->SOA_Lload->text(), QStringLiteral("short"));
    QVERIFY(ui->SOA_series->isChecked());
    QVERIFY(!w->SOAVout);
    QCOMPARE(w->SOAmaxOut, QStringLiteral("3"));
    QCOMPARE(w->SOAminOut, QStringLiteral("-1"));
    QCOMPARE(w->SOAfreq, QStringLiteral("2k"));
    QCOMPARE(ui->AmpSelecterSOA->currentText(), QStringLiteral("LX26"));
    QCOMPARE(ui->Page->currentIndex(), 2);
    QVERIFY(!ui->BridgeCheckBox->isChecked());
    QVERIFY(!ui->ParallelCheckBox->isChecked());
    QCOMPARE(ui->NumParallel->value(), 1);
    // The SOA page ran on the pump's current: 11 ohm carrying 3 A at its peak.
    QCOMPARE(w->SOAmaxIout, 3.0);

    // A capacitive load goes over as it is.
    w->IHCPCload = "100n";
    w->IHCPLload = "short";
    ui->IHCPexportSOA->click();
    QCOMPARE(ui->SOA_Cload->text(), QStringLiteral("100n"));
    QCOMPARE(ui->SOA_Lload->text(), QStringLiteral("short"));
}

void TestIhcpPage::importFromSoa()
{
    ui->AmpSelecterSOA->setCurrentText("LX30");
    ui->SOA_Rload->setText("5");
    ui->SOA_Cload->setText("open");
    ui->SOA_Lload->setText("2m");
    w->SOAfreq = "500";
    w->refreshSOA();
    w->CompOptionIHCP = 1;
    w->designModified = false;

    ui->IHCPimportSOA->click();
    QCOMPARE(ui->IHCPampSelector->currentText(), QStringLiteral("LX30"));
    QCOMPARE(w->CompOptionIHCP, 0);
    QCOMPARE(w->IHCPRload, QStringLiteral("5"));
    QCOMPARE(w->IHCPCload, QStringLiteral("open"));
    QCOMPARE(w->IHCPLload, QStringLiteral("2m"));
    QCOMPARE(w->IHCPFreq, QStringLiteral("500"));
    QCOMPARE(ui->IHCPmaxIout->text(), w->engString(w->SOAmaxIout, QString()));
    QCOMPARE(ui->IHCPminIout->text(), w->engString(w->SOAminIout, QString()));
    QVERIFY(w->designModified);
    QCOMPARE(ui->Page->currentIndex(), 0); // the SOA page is not shown
    // The imported range reads back as typed values.
    QCOMPARE(ui->IHCPmaxIout->palette().color(QPalette::Text) == QColor(Qt::red),
             std::fabs(w->SOAmaxIout) > w->findLinear("LX30").getI_pk());
    QVERIFY(w->IHCPloadLabel->text().startsWith("open"));
}

QTEST_MAIN(TestIhcpPage)
#include "tst_ihcppage.moc"
