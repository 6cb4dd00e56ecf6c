// The tutorials in the window: the tutorial page, the tutorial buttons of the other pages, the
// examples dialog stepping through a tutorial, and every worked example whose page it sets up.
#include "app/mainwindow.h"
#include "examples/examplesdialog.h"
#include "examples/exampletable.h"
#include "ui_examplesdialog.h"
#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QStringList slotWarnings;
QtMessageHandler previousHandler = nullptr;

// Records the binder's complaints about the slots of this subsystem: a renamed widget would
// leave one of them unbound.
void watchBinding(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const QStringList ours = {"on_ExampleSelection", "on_startTutorial", "on_StabTutorial",
                                     "on_PWMTut",           "on_closeButton",   "on_nextButton",
                                     "on_prevButton",       "on_examplesButton"};
    if (message.contains(QLatin1String("No matching signal")))
        for (const QString &prefix : ours)
            if (message.contains(prefix)) slotWarnings << message;
    if (previousHandler) previousHandler(type, context, message);
}

// What a widget shows, as one text: the text of fields, labels, combo boxes and plain push
// buttons, "checked" or "unchecked" for checkable buttons and boxes, the index of tab and stacked
// widgets, the value of spin boxes.
QString widgetState(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) return e->text();
    if (auto *l = qobject_cast<QLabel *>(w)) return l->text();
    if (auto *c = qobject_cast<QComboBox *>(w)) return c->currentText();
    if (auto *s = qobject_cast<QSpinBox *>(w)) return QString::number(s->value());
    if (auto *t = qobject_cast<QTabWidget *>(w)) return QString::number(t->currentIndex());
    if (auto *k = qobject_cast<QStackedWidget *>(w)) return QString::number(k->currentIndex());
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        if (!b->isCheckable()) return b->text();
        return b->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    }
    return QStringLiteral("<unknown widget>");
}

// The page members the examples write, by their design-file keys.
QString memberState(MainWindow &w, const QString &name)
{
    const QMap<QString, std::function<QString()>> members = {
        {"SOAVs_pos", [&] { return w.SOAVs_pos; }},
        {"SOAVs_neg", [&] { return w.SOAVs_neg; }},
        {"SOAVb_pos", [&] { return w.SOAVb_pos; }},
        {"SOAVb_neg", [&] { return w.SOAVb_neg; }},
        {"boostSup", [&] { return QString::number(w.boostSup); }},
        {"SOAVout", [&] { return QString::number(w.SOAVout); }},
        {"SOAmaxOut", [&] { return w.SOAmaxOut; }},
        {"SOAminOut", [&] { return w.SOAminOut; }},
        {"SOAfreq", [&] { return w.SOAfreq; }},
        {"SignalType", [&] { return QString::number(w.SignalType); }},
        {"SOAtRise", [&] { return w.SOAtRise; }},
        {"SOAtHigh", [&] { return w.SOAtHigh; }},
        {"SOAtLow", [&] { return w.SOAtLow; }},
        {"CompOption", [&] { return QString::number(w.CompOption); }},
        {"phaseShiftComponents", [&] { return QString::number(w.phaseShiftComponents); }},
        {"CLoadStab", [&] { return w.CLoadStab; }},
        {"RisoC", [&] { return w.RisoC; }},
        {"RinC", [&] { return w.RinC; }},
        {"RfbC", [&] { return w.RfbC; }},
        {"CfbC", [&] { return w.CfbC; }},
        {"RngC", [&] { return w.RngC; }},
        {"CngC", [&] { return w.CngC; }},
        {"RclC", [&] { return w.RclC; }},
        {"LLoadStab", [&] { return w.LLoadStab; }},
        {"RloadL", [&] { return w.RloadL; }},
        {"RinL", [&] { return w.RinL; }},
        {"RfbL", [&] { return w.RfbL; }},
        {"CfbL", [&] { return w.CfbL; }},
        {"RdL", [&] { return w.RdL; }},
        {"RsL", [&] { return w.RsL; }},
        {"RsGainL", [&] { return w.RsGainL; }},
        {"hostRin", [&] { return w.hostRin; }},
        {"compRfb", [&] { return w.compRfb; }},
        {"compCfb", [&] { return w.compCfb; }},
        {"hostRng", [&] { return w.hostRng; }},
        {"hostCng", [&] { return w.hostCng; }},
        {"P1",
         [&] {
             return QStringList{w.P1[0], w.P1[1], w.P1[2]}.join('/');
         }},
        {"P2",
         [&] {
             return QStringList{w.P2[0], w.P2[1], w.P2[2]}.join('/');
         }},
        {"P3",
         [&] {
             return QStringList{w.P3[0], w.P3[1], w.P3[2]}.join('/');
         }},
        {"P4",
         [&] {
             return QStringList{w.P4[0], w.P4[1], w.P4[2]}.join('/');
         }},
        {"MN",
         [&] {
             return QStringList{w.MN[0], w.MN[1], w.MN[2]}.join('/');
         }},
        {"L1",
         [&] {
             return QStringList{w.L1[0], w.L1[1], w.L1[2]}.join('/');
         }},
        {"L3",
         [&] {
             return QStringList{w.L3[0], w.L3[1], w.L3[2]}.join('/');
         }},
        {"L5",
         [&] {
             return QStringList{w.L5[0], w.L5[1], w.L5[2]}.join('/');
         }},
        {"extendedLoad", [&] { return QString::number(w.extendedLoad); }},
        {"SConRint", [&] { return w.SConRint; }},
        {"SConCint", [&] { return w.SConCint; }},
        {"SConVref", [&] { return w.SConVref; }},
        {"SConVbias", [&] { return w.SConVbias; }},
        {"SConRbias", [&] { return w.SConRbias; }},
        {"SConRin", [&] { return w.SConRin; }},
        {"SConRf", [&] { return w.SConRf; }},
        {"SConRdf", [&] { return w.SConRdf; }},
        {"SConCdf", [&] { return w.SConCdf; }},
        {"SConRdin", [&] { return w.SConRdin; }},
        {"SConRdif", [&] { return w.SConRdif; }},
        {"SConCdif", [&] { return w.SConCdif; }},
        {"IHCPRin", [&] { return w.IHCPRin; }},
        {"IHCPRd", [&] { return w.IHCPRd; }},
        {"IHCPCd", [&] { return w.IHCPCd; }},
        {"CompOptionIHCP", [&] { return QString::number(w.CompOptionIHCP); }},
        {"IHCPRload", [&] { return w.IHCPRload; }},
        {"IHCPLload", [&] { return w.IHCPLload; }},
        {"IHCPCload", [&] { return w.IHCPCload; }},
        {"IHCPFreq", [&] { return w.IHCPFreq; }},
        {"IHCPRs", [&] { return w.IHCPRs; }},
        {"IHCPRfn", [&] { return w.IHCPRfn; }},
        {"IHCPRfp", [&] { return w.IHCPRfp; }},
        {"IHCPRinT", [&] { return w.IHCPRinT; }},
        {"IHCPRfnT", [&] { return w.IHCPRfnT; }},
        {"IHCPRfpT", [&] { return w.IHCPRfpT; }},
        {"IHCPRsT", [&] { return w.IHCPRsT; }},
        {"sweepIHCP", [&] { return QString::number(w.sweepIHCP); }},
        {"ThreePhaseR", [&] { return w.ThreePhaseR; }},
        {"ThreePhaseL", [&] { return w.ThreePhaseL; }},
        {"ThreePhaseVemf", [&] { return w.ThreePhaseVemf; }},
        {"ThreePhasenPoles", [&] { return QString::number(w.ThreePhasenPoles); }},
        {"ThreePhaseisDelta", [&] { return QString::number(w.ThreePhaseisDelta); }},
        {"ThreePhaseControlVariable", [&] { return QString::number(w.ThreePhaseControlVariable); }},
        {"ThreePhaseControlType", [&] { return QString::number(w.ThreePhaseControlType); }},
        {"ThreePhaseConstantVariable",
         [&] { return QString::number(w.ThreePhaseConstantVariable); }},
        {"ThreePhaseControlAmplitude", [&] { return w.ThreePhaseControlAmplitude; }},
        {"ThreePhaseConstantAmplitude", [&] { return w.ThreePhaseConstantAmplitude; }},
        {"ThreePhaseisLinear", [&] { return QString::number(w.ThreePhaseisLinear); }},
        {"ThreePhaseTimeVector", [&] { return w.ThreePhaseTimeVector.join('/'); }},
        {"ThreePhaseAmplitudeVector", [&] { return w.ThreePhaseAmplitudeVector.join('/'); }},
        {"P3graphables", [&] { return w.P3graphables.join('/'); }},
    };
    return members.contains(name) ? members.value(name)() : QStringLiteral("<unknown member>");
}

// One probe: "w:<object>=<state>" for a widget, "e:<object>=enabled" or "=disabled" for its
// enabled state, "m:<member>=<value>" for a member.
QString probeMismatch(MainWindow &w, const QString &probe)
{
    const int eq = probe.indexOf(QLatin1Char('='));
    const QString target = probe.mid(2, eq - 2);
    const QString expected = probe.mid(eq + 1);
    QString actual;
    if (probe.startsWith(QLatin1String("w:"))) {
        QWidget *widget = w.findChild<QWidget *>(target);
        actual = widget ? widgetState(widget) : QStringLiteral("<no widget>");
    } else if (probe.startsWith(QLatin1String("e:"))) {
        QWidget *widget = w.findChild<QWidget *>(target);
        actual = !widget               ? QStringLiteral("<no widget>")
                 : widget->isEnabled() ? QStringLiteral("enabled")
                                       : QStringLiteral("disabled");
    } else {
        actual = memberState(w, target);
    }
    return actual == expected
               ? QString()
               : target + QStringLiteral(": ") + actual + QStringLiteral(" instead of ") + expected;
}

} // namespace

class TestExamplesWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w;

    Examples *dialog() const { return w->exampleDialog; }
    void startTutorial(int comboIndex)
    {
        w->ui->ExampleSelection->setCurrentIndex(comboIndex);
        QTest::mouseClick(w->ui->startTutorial, Qt::LeftButton);
    }
    void press(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void slotsAreBound();
    void startsOnTheIntroduction();
    void choosingATutorialShowsItsOverview_data();
    void choosingATutorialShowsItsOverview();
    void tutorialButtons_data();
    void tutorialButtons();
    void startOpensTheDialogAtTheFirstExample();
    void startWithNoTutorialDoesNothing();
    void stepsThroughTheIntroduction();
    void previousAtOneSetsOneUpAgain();
    void previousFromAFirstExampleEndsTheTutorial();
    void nextAfterTheLastDescription();
    void examplesAndCloseButtons();
    void twoStartsLeaveTwoWorkingDialogs();
    void dialogBesideTheWindow();
    void dialogPulledBackOntoTheScreen();
    void nextAfterMainMenuKeepsTheWayBack();
    void buttonsTheDescriptionsName_data();
    void buttonsTheDescriptionsName();
    void entriesThatOnlyChangeThePage_data();
    void entriesThatOnlyChangeThePage();
    void setUps_data();
    void setUps();
    void aSetUpCountsAsAChange();
    void conditionsStepRecomputesNothing();
    void slewRateExampleKeepsItsSlewRate();
    void compositeWithAShortHostList();
    void resultsTheDescriptionsTell_data();
    void resultsTheDescriptionsTell();
    void notesTheDescriptionsTell_data();
    void notesTheDescriptionsTell();
    void pumpNotesTheDescriptionsTell_data();
    void pumpNotesTheDescriptionsTell();
    void motorNotesTheDescriptionsTell();
    void powerNotesTheDescriptionsTell();
    void selectorListsTheDescriptionsTell_data();
    void selectorListsTheDescriptionsTell();
    void powerExamplesCondenseTheLoad_data();
    void powerExamplesCondenseTheLoad();
};

void TestExamplesWindow::initTestCase()
{
    previousHandler = qInstallMessageHandler(watchBinding);
}

void TestExamplesWindow::init()
{
    w = std::make_unique<MainWindow>();
}

void TestExamplesWindow::cleanup()
{
    w.reset();
}

void TestExamplesWindow::slotsAreBound()
{
    Examples standalone;
    QVERIFY2(slotWarnings.isEmpty(), qPrintable(slotWarnings.join('\n')));
    QCOMPARE(standalone.objectName(), QStringLiteral("Examples"));
    QCOMPARE(standalone.windowTitle(), QStringLiteral("Examples"));
    QCOMPARE(standalone.size(), QSize(359, 388));
    QCOMPARE(standalone.ui->prevButton->text(), QStringLiteral("Previous"));
    QCOMPARE(standalone.ui->nextButton->text(), QStringLiteral("Next"));
    QCOMPARE(standalone.ui->examplesButton->text(), QStringLiteral("Examples"));
    QCOMPARE(standalone.ui->closeButton->text(), QStringLiteral("Close"));
}

void TestExamplesWindow::startsOnTheIntroduction()
{
    QCOMPARE(w->ui->ExampleSelection->currentIndex(), 0);
    QCOMPARE(w->ui->ExDesc->toPlainText(), examples::readDescription(61));
    QVERIFY(!w->ui->ExDesc->toPlainText().isEmpty());
    QVERIFY(!w->designModified);
    QVERIFY(!w->exampleDialog);
    QCOMPARE(w->ui->ExampleSelection->count(), 12);
    for (int i = 0; i < 12; ++i)
        QCOMPARE(w->ui->ExampleSelection->itemText(i), examples::tutorials().at(i).name);
}

void TestExamplesWindow::choosingATutorialShowsItsOverview_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("overview");
    const int overviews[] = {61, 0, 10, 17, 23, 29, 35, 50, 54, 69, 78, 86};
    for (int i = 0; i < 12; ++i)
        QTest::addRow("index %d", i) << i << overviews[i];
    QTest::newRow("outside the table") << 12 << 0;
    QTest::newRow("negative") << -1 << 0;
}

void TestExamplesWindow::choosingATutorialShowsItsOverview()
{
    QFETCH(int, index);
    QFETCH(int, overview);
    w->ui->Page->setCurrentIndex(11);
    emit w->ui->ExampleSelection->activated(index);
    QCOMPARE(w->ui->ExDesc->toPlainText(), examples::readDescription(overview));
    // Only the text changes.
    QCOMPARE(w->ui->Page->currentIndex(), 11);
    QVERIFY(!w->designModified);
    QVERIFY(!w->exampleDialog);
}

void TestExamplesWindow::tutorialButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("startPage");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("overview");
    QTest::newRow("stability page") << "StabTutorial" << 4 << 1 << 0;
    QTest::newRow("filter page") << "PWMTutFilter" << 12 << 6 << 35;
    QTest::newRow("PWM power page") << "PWMTut" << 9 << 6 << 35;
}

void TestExamplesWindow::tutorialButtons()
{
    QFETCH(QString, button);
    QFETCH(int, startPage);
    QFETCH(int, index);
    QFETCH(int, overview);
    w->ui->Page->setCurrentIndex(startPage);
    auto *b = w->findChild<QAbstractButton *>(button);
    QVERIFY(b);
    press(b);
    QCOMPARE(w->ui->Page->currentIndex(), 11);
    QCOMPARE(w->ui->ExampleSelection->currentIndex(), index);
    QCOMPARE(w->ui->ExDesc->toPlainText(), examples::readDescription(overview));
    // Again, with the tutorial already chosen: the page is shown all the same.
    w->ui->Page->setCurrentIndex(startPage);
    press(b);
    QCOMPARE(w->ui->Page->currentIndex(), 11);
}

void TestExamplesWindow::startOpensTheDialogAtTheFirstExample()
{
    w->show();
    startTutorial(1);
    QVERIFY(dialog());
    QVERIFY(dialog()->isVisible());
    QCOMPARE(dialog()->parent(), w.get());
    QCOMPARE(dialog()->currentExample, 1);
    QCOMPARE(dialog()->ui->textBrowser->toPlainText(), examples::readDescription(1));
    // ...and example 1 is set up behind it.
    QCOMPARE(w->ui->Page->currentIndex(), 2);
    QCOMPARE(w->ui->AmpSelecterSOA->currentText(), QStringLiteral("LX49"));
    QCOMPARE(w->SOAVs_pos, QStringLiteral("200"));
    QVERIFY(w->designModified);
}

void TestExamplesWindow::startWithNoTutorialDoesNothing()
{
    w->ui->ExampleSelection->clear();
    w->ui->Page->setCurrentIndex(11);
    press(w->ui->startTutorial);
    QVERIFY(!dialog());
    QCOMPARE(w->ui->Page->currentIndex(), 11);
    QVERIFY(!w->designModified);
}

void TestExamplesWindow::stepsThroughTheIntroduction()
{
    w->show();
    startTutorial(0);
    QCOMPARE(dialog()->currentExample, 62);
    QCOMPARE(w->ui->Page->currentIndex(), 0);

    press(dialog()->ui->nextButton);
    QCOMPARE(dialog()->currentExample, 63);
    QCOMPARE(dialog()->ui->textBrowser->toPlainText(), examples::readDescription(63));
    QCOMPARE(w->ui->Page->currentIndex(), 1);
    QCOMPARE(w->ui->LPScurrent->text(), QStringLiteral("4.8"));

    press(dialog()->ui->nextButton);
    QCOMPARE(w->ui->Page->currentIndex(), 2);
    QCOMPARE(w->ui->AmpSelecterSOA->currentText(), QStringLiteral("KW321"));

    press(dialog()->ui->prevButton);
    QCOMPARE(dialog()->currentExample, 63);
    QCOMPARE(w->ui->Page->currentIndex(), 1);

    // Straight to the last step, then past it onto the next tutorial's overview.
    dialog()->showDescription(68);
    press(dialog()->ui->nextButton);
    QCOMPARE(dialog()->currentExample, 69);
    QCOMPARE(w->ui->Page->currentIndex(), 11);
    QVERIFY(!dialog()->isVisible());
}

void TestExamplesWindow::previousAtOneSetsOneUpAgain()
{
    w->show();
    startTutorial(1);
    w->ui->tempA->setText(QStringLiteral("99"));
    press(dialog()->ui->prevButton);
    QCOMPARE(dialog()->currentExample, 1);
    QVERIFY(dialog()->isVisible());
    QCOMPARE(w->ui->Page->currentIndex(), 2);
    QCOMPARE(w->ui->tempA->text(), QStringLiteral("25"));
}

void TestExamplesWindow::previousFromAFirstExampleEndsTheTutorial()
{
    w->show();
    startTutorial(3);
    QCOMPARE(dialog()->currentExample, 18);
    QCOMPARE(w->ui->Page->currentIndex(), 2);
    press(dialog()->ui->prevButton);
    QCOMPARE(dialog()->currentExample, 17);
    QCOMPARE(w->ui->Page->currentIndex(), 11);
    QVERIFY(!dialog()->isVisible());
}

void TestExamplesWindow::nextAfterTheLastDescription()
{
    w->show();
    w->openExDia(95);
    w->ui->Page->setCurrentIndex(10);
    press(dialog()->ui->nextButton);
    QCOMPARE(dialog()->currentExample, 96);
    QCOMPARE(w->ui->Page->currentIndex(), 11);
    QVERIFY(!dialog()->isVisible());
    QCOMPARE(dialog()->ui->textBrowser->toPlainText(), QString());
}

void TestExamplesWindow::examplesAndCloseButtons()
{
    w->show();
    startTutorial(3);
    press(dialog()->ui->closeButton);
    QVERIFY(!dialog()->isVisible());
    QCOMPARE(w->ui->Page->currentIndex(), 2);
    QCOMPARE(dialog()->currentExample, 18);

    startTutorial(3);
    press(dialog()->ui->examplesButton);
    QVERIFY(!dialog()->isVisible());
    QCOMPARE(w->ui->Page->currentIndex(), 11);
}

void TestExamplesWindow::twoStartsLeaveTwoWorkingDialogs()
{
    w->show();
    startTutorial(0);
    Examples *first = dialog();
    startTutorial(3);
    Examples *second = dialog();
    QVERIFY(first != second);
    QCOMPARE(w->findChildren<Examples *>().size(), 2);
    QVERIFY(first->isVisible());
    QVERIFY(second->isVisible());

    press(first->ui->nextButton);
    QCOMPARE(first->currentExample, 63);
    QCOMPARE(w->ui->Page->currentIndex(), 1);
    press(second->ui->nextButton);
    QCOMPARE(second->currentExample, 19);
    QCOMPARE(w->ui->Page->currentIndex(), 2);
    QCOMPARE(w->SOAfreq, QStringLiteral("60.1"));
}

void TestExamplesWindow::dialogBesideTheWindow()
{
    // Unshown, the window keeps a size small enough to leave room on the test screen.
    w->setMinimumSize(0, 0);
    w->setGeometry(10, 20, 300, 400);
    w->openExDia(62);
    // Right of the window's 300 pixels, a tenth of its 400 pixels down.
    QCOMPARE(dialog()->frameGeometry().topLeft(), QPoint(10 + 300, 20 + 40));
}

void TestExamplesWindow::dialogPulledBackOntoTheScreen()
{
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    w->resize(400, 300);
    w->show();
    w->move(screenWidth - 500, 30);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->openExDia(62);
    const QRect main = w->frameGeometry();
    const QRect d = dialog()->frameGeometry();
    QCOMPARE(d.x() + d.width(), screenWidth);
    QCOMPARE(d.y(), main.y() + main.height() / 10);
}

// A tutorial left through the Main Menu button and carried on with Next: every page it shows, to
// the end of the tutorial, offers the Main Menu button again.
void TestExamplesWindow::nextAfterMainMenuKeepsTheWayBack()
{
    w->show();
    startTutorial(1);
    QVERIFY(w->ui->HomeButton->isVisible());
    press(w->ui->HomeButton);
    QCOMPARE(w->ui->Page->currentIndex(), 0);
    QVERIFY(!w->ui->HomeButton->isVisible());
    while (dialog()->isVisible()) {
        press(dialog()->ui->nextButton);
        QVERIFY2(w->ui->HomeButton->isVisible(),
                 qPrintable(QStringLiteral("no Main Menu button after Next to %1 (page %2)")
                                .arg(dialog()->currentExample)
                                .arg(w->ui->Page->currentIndex())));
    }
    QCOMPARE(w->ui->Page->currentIndex(), 11); // the tutorial page, once it ends
}

void TestExamplesWindow::buttonsTheDescriptionsName_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("button");
    const QRegularExpression named(QStringLiteral("\\b(?:[Pp]ress|[Cc]lick|[Uu]se) \"([^\"]+)\""));
    for (int n = 0; n < examples::descriptionCount; ++n) {
        auto it = named.globalMatch(examples::readDescription(n));
        while (it.hasNext()) {
            const QString button = it.next().captured(1);
            QTest::addRow("%d: %s", n, qPrintable(button)) << n << button;
        }
    }
}

// A description that asks to press a button names it as it reads once the example is set up,
// on the main window or on the tutorial window.
void TestExamplesWindow::buttonsTheDescriptionsName()
{
    QFETCH(int, number);
    QFETCH(QString, button);
    w->show();
    w->openExDia(number);
    w->displayExample(number);
    // The three-phase page's two picture buttons carry their caption in the picture.
    const QHash<QString, QString> pictureCaptions{
        {QStringLiteral("ThreePhaseEditWaveform.png"), QStringLiteral("Edit Waveform")},
        {QStringLiteral("ThreePhaseEditMotor.png"), QStringLiteral("Edit Motor")}};
    QStringList texts;
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
        texts << b->text().remove(QLatin1Char('&'));
        for (auto it = pictureCaptions.cbegin(); it != pictureCaptions.cend(); ++it)
            if (b->styleSheet().contains(it.key())) texts << it.value();
    }
    QVERIFY2(texts.contains(button),
             qPrintable(QStringLiteral("no button reads \"%1\"").arg(button)));
}

void TestExamplesWindow::entriesThatOnlyChangeThePage_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("page");
    QTest::newRow("0: tutorial page") << 0 << 11;
    QTest::newRow("62: home page") << 62 << 0;
    QTest::newRow("68: home page") << 68 << 0;
    for (int n : {10, 17, 23, 29, 35, 50, 54, 61, 69, 78, 86, 96, -1})
        QTest::addRow("%d: nothing", n) << n << 7;
}

void TestExamplesWindow::entriesThatOnlyChangeThePage()
{
    QFETCH(int, number);
    QFETCH(int, page);
    w->ui->Page->setCurrentIndex(7);
    const QString desc = w->ui->ExDesc->toPlainText();
    w->displayExample(number);
    QCOMPARE(w->ui->Page->currentIndex(), page);
    QVERIFY(!w->designModified);
    QCOMPARE(w->ui->ExDesc->toPlainText(), desc);
    QCOMPARE(w->ui->ExampleSelection->currentIndex(), 0);
}

void TestExamplesWindow::setUps_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("probes");

    // SOA page: the supplies and signal written after the part change must survive it.
    QTest::newRow("1 piezo") << 1 << 2 << QStringList{"w:AmpSelecterSOA=LX49",
                                                      "w:SOA_Cload=10.6n",
                                                      "w:SOA_series=checked",
                                                      "m:SOAVs_pos=200",
                                                      "m:SOAVs_neg=-200",
                                                      "m:SOAmaxOut=180",
                                                      "m:SOAfreq=10k",
                                                      "w:SOAtabWidget=1",
                                                      "w:SOAdisplayTab=1",
                                                      "w:RangeBox=20",
                                                      "w:heatsink=0",
                                                      "w:SOAdisplayCycles=2",
                                                      "w:BridgeCheckBox=unchecked",
                                                      "w:NumParallel=1"};
    QTest::newRow("2 hot") << 2 << 2
                           << QStringList{"w:tempA=85", "w:R_CL=5.64", "w:SOAtabWidget=2",
                                          "w:ThermalCompound=0"};
    QTest::newRow("3 R_CL") << 3 << 2 << QStringList{"w:R_CL=4.2", "w:tempA=85"};
    QTest::newRow("15 unloaded") << 15 << 2
                                 << QStringList{"w:AmpSelecterSOA=LX356DF", "w:SOA_Cload=open",
                                                "m:SOAVs_pos=60", "w:tempA=30"};
    QTest::newRow("16 100 nF") << 16 << 2
                               << QStringList{"w:SOA_Cload=0.1u", "w:heatsink=foil",
                                              "w:SOAtabWidget=0"};
    QTest::newRow("18 audio") << 18 << 2
                              << QStringList{"w:AmpSelecterSOA=LX22", "w:SOA_Rload=4",
                                             "m:SOAfreq=10", "m:SOAVs_pos=18"};
    QTest::newRow("19 60.1 Hz") << 19 << 2 << QStringList{"m:SOAfreq=60.1"};
    QTest::newRow("20 55 C") << 20 << 2 << QStringList{"m:SOAfreq=60.1", "w:tempA=55"};
    QTest::newRow("21 worst case") << 21 << 2 << QStringList{"m:SOAfreq=10", "w:tempA=55"};
    QTest::newRow("26 coil current")
        << 26 << 2
        << QStringList{"w:AmpSelecterSOA=LX26", "m:SOAVout=0", "m:SOAmaxOut=1.67",
                       "w:SOA_Lload=159m", "w:SOA_Rload=10.2"};
    QTest::newRow("34 4 uF") << 34 << 2
                             << QStringList{"w:SOA_Cload=4u", "w:SOA_Rload=1.5", "m:SOAfreq=8.6k"};
    QTest::newRow("49 KW20") << 49 << 2
                             << QStringList{"w:AmpSelecterSOA=KW20", "m:SOAVb_pos=48",
                                            "m:SOAVb_neg=-48", "m:boostSup=0", "w:SOA_Lload=0.7m"};
    QTest::newRow("64 trapezoid") << 64 << 2
                                  << QStringList{"w:AmpSelecterSOA=KW321", "m:SignalType=1",
                                                 "m:SOAtRise=25u",         "m:SOAVs_neg=-10",
                                                 "m:SOAVb_pos=130",        "m:SOAminOut=0"};
    QTest::newRow("65 fast edges") << 65 << 2
                                   << QStringList{"m:SOAtRise=1u", "m:SOAtHigh=5u", "m:SOAtLow=20u",
                                                  "w:R_CL=75m", "w:SOAtabWidget=2"};

    // Stability page: the option index is set after the part, the calculator's result comes
    // from the example's two values, the composite steps copy the OP07's figures.
    QTest::newRow("4 piezo loop") << 4 << 4
                                  << QStringList{"w:AmpSelectorStab=LX49",
                                                 "w:CloadButton=checked",
                                                 "w:StabInv=checked",
                                                 "w:StabilityTab=0",
                                                 "w:StabilityTabOutput=0",
                                                 "m:CLoadStab=10.6n",
                                                 "m:RinC=5k",
                                                 "m:RfbC=90k",
                                                 "m:RngC=150k",
                                                 "m:RclC=4.2",
                                                 "m:CompOption=1",
                                                 "w:compositeCheckBox=unchecked",
                                                 "m:phaseShiftComponents=1",
                                                 "w:phaseButton=View Phase Shift"};
    QTest::newRow("5 noise gain") << 5 << 4 << QStringList{"m:RngC=900",       "m:CngC=18n",
                                                           "w:StabilityTab=0", "w:RCPCR1=900",
                                                           "w:RCPCF1=10k",     "w:RCPCC1=17.7 nF"};
    QTest::newRow("6 feedback capacitor")
        << 6 << 4 << QStringList{"m:CfbC=18p", "w:StabilityTab=1", "w:RCPCC1=17.7 pF"};
    QTest::newRow("7 isolation resistor")
        << 7 << 4
        << QStringList{"m:CngC=0", "w:StabilityTab=0", "w:RCPCF3=450k", "w:RCPCC3=10.6n",
                       QString::fromUtf8("w:RCPCR3=33.4 \u03a9")};
    QTest::newRow("8 small feedback capacitor")
        << 8 << 4 << QStringList{"m:CfbC=3p", "m:RngC=open", "w:RCPCC1=2.95 pF"};
    QTest::newRow("11 composite power stage") << 11 << 4
                                              << QStringList{"w:AmpSelectorStab=LX356DF",
                                                             "w:StabNon=checked",
                                                             "m:CLoadStab=100n",
                                                             "m:RisoC=0",
                                                             "m:RfbC=340k",
                                                             "m:RclC=15",
                                                             "m:CompOption=3"};
    QTest::newRow("12 power stage C_FB")
        << 12 << 4 << QStringList{"m:CfbC=10p", "w:StabilityTab=1", "m:CompOption=3"};
    QTest::newRow("13 composite") << 13 << 4
                                  << QStringList{
                                         "w:StabInv=checked",   "w:compositeCheckBox=checked",
                                         "w:hostSelector=OP07", "w:hostAOL=112",
                                         "w:hostPole1=1.51",    "w:hostPole2=4e+06",
                                         "w:hostPole3=2.5e+07", "m:hostRin=21k",
                                         "m:compRfb=340k",      "m:compCfb=open",
                                         "m:CompOption=3",      "w:StabilityTab=3"};
    QTest::newRow("14 composite compensated")
        << 14 << 4
        << QStringList{"m:compCfb=15p", "m:hostRng=3.4k", "m:hostCng=10n", "w:hostAOL=112",
                       "w:StabilityTab=1"};
    QTest::newRow("24 coil loop") << 24 << 4
                                  << QStringList{"w:AmpSelectorStab=LX26",
                                                 "w:LloadButton=checked",
                                                 "m:LLoadStab=159m",
                                                 "m:RloadL=9",
                                                 "m:RinL=4.99k",
                                                 "m:RfbL=1k",
                                                 "m:CfbL=open",
                                                 "m:RdL=open",
                                                 "m:RsL=1.2",
                                                 "m:RsGainL=1",
                                                 "m:CompOption=0"};
    QTest::newRow("25 coil loop again") << 25 << 4 << QStringList{"m:LLoadStab=159m", "m:RsL=1.2"};
    QTest::newRow("28 local feedback")
        << 28 << 4
        << QStringList{"m:CfbL=68n", "m:RdL=82.5k", "w:StabilityTab=1", "m:phaseShiftComponents=0",
                       "w:phaseButton=View Phase Components"};
    QTest::newRow("30 4 uF") << 30 << 4 << QStringList{"w:CloadButton=checked",
                                                       "m:CLoadStab=4u",
                                                       "m:RinC=2k",
                                                       "m:RfbC=20k",
                                                       "m:RclC=0.33",
                                                       "w:StabilityTab=1"};
    QTest::newRow("31 C_FB") << 31 << 4
                             << QStringList{"m:CfbC=390p", "w:RCPCR1=220", "w:RCPCF1=1.5k",
                                            "w:RCPCC1=482 nF"};
    QTest::newRow("32 noise gain")
        << 32 << 4
        << QStringList{"m:CfbC=open",  "m:RngC=220",  "m:CngC=470n",
                       "w:RCPCF3=25k", "w:RCPCC3=4u", QString::fromUtf8("w:RCPCR3=1.59 \u03a9")};
    QTest::newRow("33 R_ISO") << 33 << 4 << QStringList{"m:RisoC=1.5", "m:RngC=open"};
    QTest::newRow("67 KW321") << 67 << 4
                              << QStringList{"w:AmpSelectorStab=KW321", "m:CLoadStab=40n",
                                             "m:RinC=1k", "m:RfbC=18k", "m:RclC=75m"};

    // PWM control: every step first writes the PWM power page's circuit.
    const QStringList nv21Power = {"m:P1=440u/0/0",      "m:P2=0/0/27u",     "m:MN=6.8m/4/short",
                                   "m:L1=0/0/short",     "m:L3=0/0/0",       "m:L5=0/3.8/400u",
                                   "w:PWMfilterOrder=2", "m:extendedLoad=0", "w:FBPower=checked",
                                   "w:SIpower=checked"};
    QTest::newRow("72 topology") << 72 << 13
                                 << nv21Power +
                                        QStringList{"w:V1button=checked", "w:ampSelectorPower=NV21",
                                                    "w:VsPWM=65",         "w:FsPWM=42k",
                                                    "w:FsigPWM=400",      "w:PWMOut=60",
                                                    "w:PWMOutMin=-60"};
    QTest::newRow("73 conditions")
        << 73 << 14
        << nv21Power + QStringList{"w:V1button=checked", "w:ampSelectorPower=NV21",
                                   "w:SigTypePWM=Max V_out = "};
    QTest::newRow("74 the designer's resistors")
        << 74 << 15
        << nv21Power +
               QStringList{"w:ampSelectorSCon=NV21", "w:SConVs=65",      "w:SConFsw=42k",
                           "w:SConFreq=400",         "w:SConVoutMax=60", "w:SConVoutMin=-60",
                           "w:SConVcc=7.5",          "w:SConVinMax=2.5", "w:SConVinMin=-2.5",
                           "m:SConRin=10k",          "m:SConRdf=6.2k"};
    QTest::newRow("75 complete network")
        << 75 << 15
        << QStringList{"m:SConRint=0",    "m:SConCint=9.4n",  "m:SConVref=5",    "m:SConVbias=7.5",
                       "m:SConRbias=5k",  "m:SConRf=5.31k",   "m:SConRdf=10k",   "m:SConCdf=3.79n",
                       "m:SConRdin=394k", "m:SConRdif=39.4k", "m:SConCdif=962p", "w:SConVcc=7.5"};
    QTest::newRow("76 standard values")
        << 76 << 15
        << QStringList{"m:SConCint=10n", "m:SConRf=5.55k", "m:SConCdf=3.9n", "m:SConRdin=390k",
                       "m:SConRdif=39k", "m:SConCdif=1n",  "m:SConVref=5"};

    // PWM filter page.
    QTest::newRow("37 filter")
        << 37 << 12
        << QStringList{"w:ampSelectorFilter=NV314", "w:filterVs=48",      "w:filterFsw=30k",
                       "w:filterFcut=3k",           "w:filterVrip=400m",  "w:FBbutton=checked",
                       "w:SIbutton=checked",        "e:DCbutton=enabled", "e:SIbutton=enabled",
                       "w:filterOrderActual=2",     "w:filterStack=0"};
    QTest::newRow("38 matching network") << 38 << 12
                                         << QStringList{"w:filterR_L=5",
                                                        "w:filterStack=1",
                                                        "w:filterRload=5",
                                                        "w:filterLoadIsL=checked",
                                                        "w:filterLload=0.7",
                                                        QString::fromUtf8("w:filterRm=5 \u03a9"),
                                                        QString::fromUtf8("w:filterCm=28 \u00b5F")};
    QTest::newRow("46 dual capacitor")
        << 46 << 12
        << QStringList{"w:DCbutton=checked", "w:FBbutton=checked", "w:filterOrderActual=3",
                       "w:filterStack=0",    "w:filterRload=5",    "w:filterLload=0.7"};
    QTest::newRow("51 half bridge")
        << 51 << 12
        << QStringList{"w:ampSelectorFilter=NV22", "w:HBbutton=checked",  "w:SEbutton=checked",
                       "e:DCbutton=disabled",      "e:SIbutton=disabled", "w:filterR_L=10",
                       "w:filterRload=5",          "w:filterVrip=1"};
    QTest::newRow("56 heater filter")
        << 56 << 12
        << QStringList{"w:ampSelectorFilter=JNV307", "w:filterVs=178", "w:filterFcut=100",
                       "w:filterR_L=5.2", "w:SEbutton=checked"};
    QTest::newRow("70 control-loop filter")
        << 70 << 12
        << QStringList{"w:ampSelectorFilter=NV21", "w:filterFsw=42k",   "w:filterLoadIsC=checked",
                       "w:filterCload=400",        "w:filterRload=3.8", "w:filterR_L=3.8"};

    // PWM power page.
    QTest::newRow("39 power page") << 39 << 9
                                   << QStringList{"w:PowerTabs=0",
                                                  "m:P1=199u/0/0",
                                                  "m:P2=0/0/14.1u",
                                                  "m:P3=66.3u/0/0",
                                                  "m:P4=0/0/0",
                                                  "m:MN=0/5/28u",
                                                  "m:L1=0/0/short",
                                                  "m:L3=0/0/0",
                                                  "m:L5=700u/5/short",
                                                  "w:PWMfilterOrder=3",
                                                  "m:extendedLoad=0",
                                                  "w:ampSelectorPower=NV314",
                                                  "w:VsPWM=48",
                                                  "w:FsPWM=30k",
                                                  "w:FsigPWM=2k",
                                                  "w:FBPower=checked",
                                                  "w:SIpower=checked",
                                                  "w:yVariable=Attenuation (dB)",
                                                  "w:Fmin=auto",
                                                  "w:Fmax=auto",
                                                  "w:tempAPower=25",
                                                  "w:heatsinkPower=0",
                                                  "w:ThermalCompoundPower=0.1"};
    QTest::newRow("40 parasitics")
        << 40 << 9
        << QStringList{"m:P1=200u/70m/25p", "m:P2=25.2n/108m/14.7u", "m:P3=66u/29.8m/21.6p",
                       "m:MN=0/5/27u",      "w:PowerTabs=2",         "w:FsigPWM=1k",
                       "w:PWMOut=40",       "w:PWMOutMin=-40",       "w:SigTypePWM=Max V_out = "};
    QTest::newRow("41 impedance") << 41 << 9 << QStringList{"w:yVariable=Impedance"};
    QTest::newRow("42 phase") << 42 << 9 << QStringList{"w:yVariable=Phase Shift"};
    QTest::newRow("43 no matching network")
        << 43 << 9 << QStringList{"m:MN=0/0/0", "w:yVariable=Power"};
    QTest::newRow("44 more output")
        << 44 << 9 << QStringList{"w:PowerTabs=2", "w:PWMOut=46", "w:PWMOutMin=-46", "w:Fmax=1.8k"};
    QTest::newRow("45 heatsink") << 45 << 9 << QStringList{"w:heatsinkPower=5.3"};
    QTest::newRow("47 dual capacitor")
        << 47 << 9 << QStringList{"m:P2=0/0/28.3u",    "m:MN=0/0/0",    "w:DCpower=checked",
                                  "w:FBPower=checked", "w:PowerTabs=0", "w:yVariable=Power",
                                  "w:Fmax=1.8k",       "w:PWMOut=46"};
    QTest::newRow("52 half bridge") << 52 << 9
                                    << QStringList{"w:ampSelectorPower=NV22",
                                                   "m:P1=1.13m/0/0",
                                                   "m:P2=0/0/5.63u",
                                                   "m:L5=0/10/short",
                                                   "w:HBPower=checked",
                                                   "w:SEpower=checked",
                                                   "e:DCpower=disabled",
                                                   "e:SIpower=disabled",
                                                   "w:VsPWM=90",
                                                   "w:FsPWM=22.5k",
                                                   "w:yVariable=Attenuation (dB)"};
    QTest::newRow("53 unloaded") << 53 << 9
                                 << QStringList{"m:L5=0/open/short", "w:FsigPWM=1k", "w:PWMOut=85",
                                                "w:PWMOutMin=5", "w:yVariable=Voltage"};
    QTest::newRow("57 real parts") << 57 << 9
                                   << QStringList{"w:ampSelectorPower=JNV307",
                                                  "m:P1=1.5m/460m/57.5p",
                                                  "m:P2=66.3n/513m/33u",
                                                  "m:L5=0/3.7/short",
                                                  "w:Fmin=1",
                                                  "w:Fmax=1M",
                                                  "w:VsPWM=178",
                                                  "w:FsPWM=20k"};
    QTest::newRow("58 DC") << 58 << 9
                           << QStringList{"w:FsigPWM=0",   "w:PWMOut=52",         "w:PWMOutMin=52",
                                          "w:PowerTabs=2", "w:yVariable=Voltage", "w:Fmin=0",
                                          "w:Fmax=10"};
    QTest::newRow("59 better inductor")
        << 59 << 9 << QStringList{"m:P1=1.5m/50m/57.5p", "w:PowerTabs=0"};
    QTest::newRow("60 final") << 60 << 9 << QStringList{"m:P1=1.5m/50m/57.5p"};
    QTest::newRow("71 control-loop power stage")
        << 71 << 9 << QStringList{"w:ampSelectorPower=NV21", "m:MN=6.8m/4/short", "m:L5=0/3.8/400u",
                                  "w:PowerTabs=2",           "w:yVariable=Power", "w:PWMOut=60",
                                  "w:PWMOutMin=-60"};

    // Current pump.
    QTest::newRow("80 pump page") << 80 << 5
                                  << QStringList{"w:IHCPampSelector=LX58",
                                                 "m:IHCPRin=10k",
                                                 "m:CompOptionIHCP=0",
                                                 "m:IHCPRd=open",
                                                 "m:IHCPCd=open",
                                                 "m:sweepIHCP=0",
                                                 "w:IHCPsweepButton=Sweep Load Impedance"};
    QTest::newRow("81 1 A pump") << 81 << 5
                                 << QStringList{"w:IHCPmaxIout=1",
                                                "w:IHCPminIout=-1",
                                                "w:IHCPtrans=0.1",
                                                "w:IHCPtol=2",
                                                "w:IHCPInvButton=checked",
                                                "m:IHCPRload=18",
                                                "m:IHCPLload=2u",
                                                "m:IHCPCload=short",
                                                "m:IHCPFreq=1M",
                                                "m:IHCPRs=0.1",
                                                "m:IHCPRfn=100",
                                                "m:IHCPRfp=99.9",
                                                "m:IHCPRinT=0.1",
                                                "m:IHCPRfnT=0.1",
                                                "m:IHCPRfpT=0.1",
                                                "m:IHCPRsT=1",
                                                "m:sweepIHCP=0"};
    QTest::newRow("82 unbalanced") << 82 << 5 << QStringList{"m:IHCPRfp=100", "m:IHCPRfn=100"};
    QTest::newRow("83 sweep") << 83 << 5
                              << QStringList{
                                     "w:IHCPNonButton=checked", "m:IHCPRinT=0.25",
                                     "m:IHCPRsT=0.5",           "m:IHCPRfp=99.9",
                                     "m:sweepIHCP=1",           "w:IHCPsweepButton=Bode Plot"};
    QTest::newRow("84 100 kHz") << 84 << 5
                                << QStringList{"m:IHCPRfp=100",
                                               "m:IHCPFreq=100k",
                                               "m:sweepIHCP=0",
                                               "w:IHCPsweepButton=Sweep Load Impedance",
                                               "w:BridgeCheckBox=unchecked",
                                               "w:ParallelCheckBox=unchecked"};

    // Three-phase motor.
    QTest::newRow("87 small motor") << 87 << 10
                                    << QStringList{"w:P3ampSelector=NV335",
                                                   "w:P3Vs=50",
                                                   "w:P3Vcc=5",
                                                   "w:P3Fsw=1",
                                                   "w:P3commType=Sinusoidal",
                                                   "w:P3outputTabs=0",
                                                   "w:P3Tambient=25",
                                                   "w:P3heatsink=0",
                                                   "w:P3TIM=0",
                                                   "w:P3dispDC=unchecked",
                                                   "w:P3removeDiode=unchecked",
                                                   "w:P3removeSwitching=unchecked",
                                                   "w:P3startTime=25m",
                                                   "w:P3endTime=75m",
                                                   "m:ThreePhaseR=10",
                                                   "m:ThreePhaseL=33m",
                                                   "m:ThreePhaseVemf=5m",
                                                   "m:ThreePhasenPoles=4",
                                                   "m:ThreePhaseisDelta=1",
                                                   "m:ThreePhaseControlVariable=1",
                                                   "m:ThreePhaseControlType=0",
                                                   "m:ThreePhaseConstantVariable=2",
                                                   "m:ThreePhaseControlAmplitude=600",
                                                   "m:ThreePhaseConstantAmplitude=75",
                                                   "m:ThreePhaseisLinear=0",
                                                   "m:ThreePhaseTimeVector=0/1/2/3/4",
                                                   "m:ThreePhaseAmplitudeVector=0/600/600/0/0",
                                                   "m:P3graphables=I1/null/null/null/null/null"};
    QTest::newRow("88 650 V") << 88 << 10
                              << QStringList{"w:P3Vs=650",           "w:P3Vcc=18",
                                             "w:P3Fsw=20",           "m:ThreePhaseR=6",
                                             "m:ThreePhaseL=1.5m",   "m:ThreePhaseVemf=10m",
                                             "m:ThreePhasenPoles=5", "m:ThreePhaseisDelta=0"};
    QTest::newRow("89 same as 88") << 89 << 10 << QStringList{"w:P3Vs=650", "m:ThreePhasenPoles=5"};
    QTest::newRow("90 full speed")
        << 90 << 10
        << QStringList{"m:ThreePhaseControlAmplitude=6000", "m:ThreePhaseConstantAmplitude=80",
                       "w:P3endTime=30m", "w:P3startTime=25m"};
    QTest::newRow("91 three currents")
        << 91 << 10 << QStringList{"w:P3outputTabs=1", "m:P3graphables=I1/I2/I3/null/null/null"};
    QTest::newRow("92 cooling") << 92 << 10
                                << QStringList{"w:P3outputTabs=2", "w:P3heatsink=0.4",
                                               "w:P3TIM=0.05"};
    QTest::newRow("93 same as 92") << 93 << 10 << QStringList{"w:P3heatsink=0.4"};
    QTest::newRow("94 reversal") << 94 << 10
                                 << QStringList{"w:P3outputTabs=1",
                                                "w:P3startTime=0",
                                                "w:P3endTime=1",
                                                "m:ThreePhaseControlType=1",
                                                "m:ThreePhaseConstantVariable=1",
                                                "m:ThreePhaseConstantAmplitude=0.086",
                                                "m:ThreePhaseTimeVector=0/0.5/1",
                                                "m:ThreePhaseAmplitudeVector=6000/0/-6000",
                                                "m:ThreePhaseControlVariable=1"};
    QTest::newRow("95 same as 94") << 95 << 10 << QStringList{"m:ThreePhaseTimeVector=0/0.5/1"};

    QTest::newRow("9 heatsink LX49") << 9 << 7 << QStringList{"w:HSpart=LX49",
                                                              "w:HSrtheta=2.28",
                                                              "w:HSchoosePart=checked",
                                                              "w:HSfluidCheckBox=unchecked",
                                                              "w:HSH=all",
                                                              "w:HSrelax=10"};
    QTest::newRow("22 forced air")
        << 22 << 7 << QStringList{"w:HSpart=LX22", "w:HSrtheta=3.41", "w:HSfluidCheckBox=checked"};
    QTest::newRow("27 heatsink LX26") << 27 << 7 << QStringList{"w:HSpart=LX26", "w:HSrtheta=1"};
    QTest::newRow("66 all parts") << 66 << 7
                                  << QStringList{"w:HSpart=All Parts", "w:HSrtheta=30",
                                                 "w:HSconstCheckBox=unchecked"};
    QTest::newRow("77 all parts, flow")
        << 77 << 7 << QStringList{"w:HSpart=All Parts", "w:HSfluidCheckBox=checked"};
    QTest::newRow("85 heatsink LX58") << 85 << 7 << QStringList{"w:HSpart=LX58", "w:HSrtheta=4.8"};

    QTest::newRow("48 linear 8 A") << 48 << 1
                                   << QStringList{"w:LPScurrent=8",
                                                  "w:LPSVpp=80",
                                                  "w:LPSFreq=1",
                                                  "w:LPSFreqButton=checked",
                                                  "w:LPSBridgeCheckBox=unchecked",
                                                  "w:LPSRelax=20"};
    QTest::newRow("63 linear slew rate")
        << 63 << 1
        << QStringList{"w:LPScurrent=4.8", "w:LPSVpp=120", "w:LPSSR=120",
                       "w:LPSParallelCheckBox=unchecked"};
    QTest::newRow("79 every part")
        << 79 << 1 << QStringList{"w:LPScurrent=0", "w:LPSVpp=0", "w:LPSFreq=0"};
    QTest::newRow("36 PWM 8 A") << 36 << 8
                                << QStringList{"w:SPScurrent=8", "w:SPSvoltage=40",
                                               "w:SPSfrequency=1"};
    QTest::newRow("55 PWM 175 V") << 55 << 8
                                  << QStringList{"w:SPScurrent=0", "w:SPSvoltage=175",
                                                 "w:SPSfrequency=0"};
}

void TestExamplesWindow::setUps()
{
    QFETCH(int, number);
    QFETCH(int, page);
    QFETCH(QStringList, probes);
    w->displayExample(number);
    QCOMPARE(w->ui->Page->currentIndex(), page);
    QStringList wrong;
    for (const QString &probe : probes) {
        const QString mismatch = probeMismatch(*w, probe);
        if (!mismatch.isEmpty()) wrong << mismatch;
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
}

void TestExamplesWindow::aSetUpCountsAsAChange()
{
    QVERIFY(!w->designModified);
    w->displayExample(9);
    QVERIFY(w->designModified);
    // The heatsink set-up selects the cheapest heatsink that meets it.
    QVERIFY(!w->selectedHeatsink.getName().isEmpty());
}

// Step 2 of the control design only writes values: nothing is recomputed, and the window
// counts as modified only if it did before.
void TestExamplesWindow::conditionsStepRecomputesNothing()
{
    w->displayExample(73);
    QCOMPARE(w->ui->Page->currentIndex(), 14);
    QVERIFY(!w->designModified);
    w->designModified = true;
    w->displayExample(73);
    QVERIFY(w->designModified);
}

// The selector rewrites the rate field it does not read; the slew rate of the introduction
// must be the one it filters by.
void TestExamplesWindow::slewRateExampleKeepsItsSlewRate()
{
    w->ui->LPSFreqButton->setChecked(true);
    w->displayExample(63);
    QVERIFY(w->ui->LPSSRButton->isChecked());
    QCOMPARE(w->ui->LPSSR->text(), QStringLiteral("120"));
    int shown = 0;
    for (int r = 0; r < w->ui->selectorTable->model()->rowCount(); ++r)
        shown += !w->ui->selectorTable->isRowHidden(r);
    QVERIFY(shown > 0);
    QVERIFY(shown < 10);
}

// The composite steps take the OP07 from its row of the host table; a shorter table must not
// be read past its end, and no other part's figures may stand in for it.
void TestExamplesWindow::compositeWithAShortHostList()
{
    w->hostVector.resize(11);
    w->displayExample(13);
    QCOMPARE(w->ui->Page->currentIndex(), 4);
    QVERIFY(w->ui->compositeCheckBox->isChecked());
    for (QLineEdit *field : {w->ui->hostAOL, w->ui->hostPole1, w->ui->hostPole2, w->ui->hostPole3})
        QCOMPARE(field->text(), QString());
    QCOMPARE(w->compRfb, QStringLiteral("340k"));
}

// What the tutorial texts tell the user to look at; when a model or the catalog changes these,
// the texts in tutorials/exampleDescriptions/source need reviewing too.
void TestExamplesWindow::resultsTheDescriptionsTell_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expected");
    QTest::newRow("4 only just stable") << 4 << "Stability"
                                        << "STABLE";
    QTest::newRow("4 margin") << 4 << "PhaseMargin" << QString::fromUtf8("45.7\u00b0");
    QTest::newRow("5 margin") << 5 << "PhaseMargin" << QString::fromUtf8("54.1\u00b0");
    QTest::newRow("8 margin") << 8 << "PhaseMargin" << QString::fromUtf8("64.4\u00b0");
    QTest::newRow("11 unstable") << 11 << "Stability"
                                 << "UNSTABLE";
    QTest::newRow("12 marginal") << 12 << "Stability"
                                 << "MARGINALLY STABLE";
    QTest::newRow("13 unstable") << 13 << "Stability"
                                 << "UNSTABLE";
    QTest::newRow("13 closure rate") << 13 << "RateClosure"
                                     << "60 dB/dec";
    QTest::newRow("14 marginal") << 14 << "Stability"
                                 << "MARGINALLY STABLE";
    QTest::newRow("24 unstable") << 24 << "Stability"
                                 << "UNSTABLE";
    QTest::newRow("28 stable") << 28 << "Stability"
                               << "STABLE";
    QTest::newRow("30 unstable") << 30 << "Stability"
                                 << "UNSTABLE";
    QTest::newRow("31 stable") << 31 << "Stability"
                               << "STABLE";
    QTest::newRow("32 still unstable") << 32 << "Stability"
                                       << "UNSTABLE";
    QTest::newRow("33 still unstable") << 33 << "Stability"
                                       << "UNSTABLE";
    QTest::newRow("67 unstable") << 67 << "Stability"
                                 << "UNSTABLE";
    QTest::newRow("1 piezo power") << 1 << "PdAmpAvg"
                                   << "17";
    QTest::newRow("1 piezo heatsink") << 1 << "minHeatsink"
                                      << "5.63";
    QTest::newRow("2 hot heatsink") << 2 << "minHeatsink"
                                    << "2.2";
    QTest::newRow("18 10 Hz heatsink") << 18 << "minHeatsink"
                                       << "4.66";
    QTest::newRow("19 60.1 Hz heatsink") << 19 << "minHeatsink"
                                         << "6.02";
    QTest::newRow("21 worst-case heatsink") << 21 << "minHeatsink"
                                            << "3.23";
    QTest::newRow("26 coil case") << 26 << "TempC"
                                  << "54.4";
    QTest::newRow("49 KW20 power") << 49 << "PdAmpAvg"
                                   << "96";
    QTest::newRow("15 quiet") << 15 << "minHeatsink"
                              << "1 square inch foil";
    QTest::newRow("75 peaking") << 75 << "SConPeaking"
                                << "2.92 dB";
    QTest::newRow("75 phase margin") << 75 << "SConPhase" << QString::fromUtf8("35.4\u00b0");
    QTest::newRow("76 peaking") << 76 << "SConPeaking"
                                << "2.38 dB";
    QTest::newRow("76 phase margin") << 76 << "SConPhase" << QString::fromUtf8("37.8\u00b0");
    QTest::newRow("87 motor power") << 87 << "P3loadPower"
                                    << "76.8";
    QTest::newRow("87 motor peak") << 87 << "P3Ipeak"
                                   << "4.15";
    QTest::newRow("88 RMS current") << 88 << "P3RMScurrent"
                                    << "27";
    QTest::newRow("90 amplifier loss") << 90 << "P3ampPower"
                                       << "136";
    QTest::newRow("90 RMS current") << 90 << "P3RMScurrent"
                                    << "18.1";
    QTest::newRow("92 junction") << 92 << "P3Tjunction"
                                 << "189";
    QTest::newRow("92 conduction") << 92 << "P3conductionPower"
                                   << "168";
    QTest::newRow("94 peak") << 94 << "P3Ipeak"
                             << "26.6";
    QTest::newRow("37 recommended order") << 37 << "filterOrder"
                                          << "3";
    QTest::newRow("37 ripple") << 37 << "filterVripActual"
                               << "600 mV peak";
    QTest::newRow("40 load power") << 40 << "PoutPower"
                                   << "86.1 W rms";
    QTest::newRow("40 amplifier power") << 40 << "PampPower"
                                        << "6 W";
    QTest::newRow("44 output range") << 44 << "VrangePower"
                                     << "-46.9 to 46.9 V";
    QTest::newRow("45 no heatsink needed") << 45 << "minHeatsinkPower"
                                           << "none";
    QTest::newRow("52 load power") << 52 << "PoutPower"
                                   << "222 W rms";
    QTest::newRow("53 hot spot") << 53 << "Fhotspot"
                                 << "2.01 kHz";
    QTest::newRow("58 heater power") << 58 << "PoutPower"
                                     << "578 W rms";
    QTest::newRow("59 heater power") << 59 << "PoutPower"
                                     << "711 W rms";
    QTest::newRow("60 amplifier power") << 60 << "PampPower"
                                        << "30.2 W";
    QTest::newRow("71 load power") << 71 << "PoutPower"
                                   << "436 W rms";
}

void TestExamplesWindow::resultsTheDescriptionsTell()
{
    QFETCH(int, number);
    QFETCH(QString, label);
    QFETCH(QString, expected);
    w->displayExample(number);
    auto *l = w->findChild<QLabel *>(label);
    QVERIFY(l);
    QCOMPARE(l->text(), expected);
}

void TestExamplesWindow::notesTheDescriptionsTell_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    const QString limit = "Current Limit Should Not Activate";
    const QString continuous = "Continuous Current Specification Exceeded";
    const QString breakdown = "Second Breakdown Violation";
    const QString clipping = "Clipping Likely";
    QTest::newRow("1 no warnings") << 1 << QStringList{} << QStringList{limit, continuous};
    QTest::newRow("2 limit too low") << 2 << QStringList{limit} << QStringList{};
    QTest::newRow("3 band still too low") << 3 << QStringList{limit} << QStringList{};
    QTest::newRow("16 100 nF too much") << 16 << QStringList{continuous, limit} << QStringList{};
    QTest::newRow("18 audio clean") << 18 << QStringList{} << QStringList{limit, breakdown};
    QTest::newRow("26 coil clean") << 26 << QStringList{} << QStringList{limit};
    QTest::newRow("34 beyond the part")
        << 34 << QStringList{continuous, breakdown, limit} << QStringList{};
    QTest::newRow("49 linear alternative") << 49 << QStringList{breakdown} << QStringList{limit};
    QTest::newRow("64 slow edges") << 64 << QStringList{} << QStringList{breakdown, clipping};
    QTest::newRow("65 fast edges") << 65 << QStringList{breakdown, clipping} << QStringList{limit};
}

void TestExamplesWindow::notesTheDescriptionsTell()
{
    QFETCH(int, number);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    w->displayExample(number);
    const QString notes = w->ui->notes->toPlainText();
    for (const QString &text : present)
        QVERIFY2(notes.contains(text), qPrintable(text));
    for (const QString &text : absent)
        QVERIFY2(!notes.contains(text), qPrintable(text));
}

void TestExamplesWindow::pumpNotesTheDescriptionsTell_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("81 balanced") << 81 << QStringList{"Ideal: -100 mA/V",      "Actual: -100 mA/V",
                                                      "Worst Case: -102 mA/V", "STABLE",
                                                      "Suggested R_D: open",   "1.54 kHz"};
    QTest::newRow("82 unbalanced") << 82 << QStringList{"Actual: -99.8 mA/V"};
    QTest::newRow("83 non-inverting") << 83 << QStringList{"Ideal: 100 mA/V"};
    QTest::newRow("84 no damping needed") << 84 << QStringList{"STABLE", "Suggested C_D: open"};
}

void TestExamplesWindow::pumpNotesTheDescriptionsTell()
{
    QFETCH(int, number);
    QFETCH(QStringList, lines);
    w->displayExample(number);
    const QString notes = w->ui->IHCPnotes->toPlainText();
    for (const QString &line : lines)
        QVERIFY2(notes.contains(line), qPrintable(line));
}

void TestExamplesWindow::motorNotesTheDescriptionsTell()
{
    w->displayExample(88);
    QVERIFY(w->ui->P3TextBrowser->toPlainText().contains("Continuous (RMS) current too high"));
    w->displayExample(90);
    QVERIFY(!w->ui->P3TextBrowser->toPlainText().contains("too high"));
    w->displayExample(92);
    QVERIFY(w->ui->P3TextBrowser->toPlainText().contains("Junction temperature too high"));
}

void TestExamplesWindow::powerNotesTheDescriptionsTell()
{
    const auto notes = [this] { return w->ui->PowerNotes->toPlainText(); };
    w->displayExample(44);
    QVERIFY(!notes().contains("Duty Cycle"));
    QVERIFY(!notes().contains("!!!"));
    w->displayExample(57);
    QVERIFY(notes().contains("Clipping Likely"));
    w->displayExample(58);
    QVERIFY(!notes().contains("Clipping Likely"));
    w->displayExample(71);
    QVERIFY(notes().contains("!!! Peak Current Specification Exceeded !!!"));
    QVERIFY(!notes().contains("Temperature too High"));
}

// The parts the selector steps name. "first" is the cheapest row shown, "shown" every row
// in order (empty: not checked), "among" a part that must be among them.
void TestExamplesWindow::selectorListsTheDescriptionsTell_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("among");
    QTest::newRow("48 cheapest linear part") << 48 << "selectorTable"
                                             << "KW20" << QStringList{} << "KW20";
    QTest::newRow("63 a close match and the part used")
        << 63 << "selectorTable"
        << "KW349" << QStringList{"KW349", "KW321"} << "KW321";
    QTest::newRow("36 NV314 qualifies") << 36 << "pwmTable"
                                        << "" << QStringList{} << "NV314";
    QTest::newRow("55 JNV307 qualifies") << 55 << "pwmTable"
                                         << "" << QStringList{} << "JNV307";
}

void TestExamplesWindow::selectorListsTheDescriptionsTell()
{
    QFETCH(int, number);
    QFETCH(QString, table);
    QFETCH(QString, first);
    QFETCH(QStringList, shown);
    QFETCH(QString, among);
    w->displayExample(number);
    auto *view = w->findChild<QTableView *>(table);
    QVERIFY(view);
    QStringList names;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        if (!view->isRowHidden(r)) names << view->model()->index(r, 1).data().toString();
    QVERIFY2(names.contains(among), qPrintable(names.join(',')));
    if (!first.isEmpty()) QCOMPARE(names.value(0), first);
    if (!shown.isEmpty()) QCOMPARE(names, shown);
}

// A user who extended the load before the step sees it condensed, with the button offering
// the extended view, also where the step recomputes nothing.
void TestExamplesWindow::powerExamplesCondenseTheLoad_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("39 power page") << 39;
    QTest::newRow("73 control step 2") << 73;
    QTest::newRow("75 control step 3") << 75;
}

void TestExamplesWindow::powerExamplesCondenseTheLoad()
{
    QFETCH(int, number);
    press(w->ui->ExtendedLoad);
    QVERIFY(w->extendedLoad);
    QCOMPARE(w->ui->ExtendedLoad->text(), QStringLiteral("Condensed Load"));
    w->displayExample(number);
    QVERIFY(!w->extendedLoad);
    QCOMPARE(w->ui->ExtendedLoad->text(), QStringLiteral("Extended Load"));
}

QTEST_MAIN(TestExamplesWindow)
#include "tst_examples_window.moc"
