// Value labels of the PWM schematics: the texts (value with unit, the filter inductor and
// capacitor labels with their parasitics) and the window members that write a label and its
// twin and ask for a new value.
#include "app/mainwindow.h"
#include "pwmpower/valuelabel.h"
#include "windowtest.h"

#include <QInputDialog>
#include <QtTest>
#include <qcustomplot.h>

#include <memory>

namespace {

const QString kOhm = QString(QChar(0x03A9));

const QColor kRed(255, 0, 0), kBlack(0, 0, 0);

} // namespace

class TestValueLabels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void valueText_data();
    void valueText();
    void inductorLabel_data();
    void inductorLabel();
    void capacitorLabel_data();
    void capacitorLabel();

    void displayWithTwin();
    void dialogAnswer_data();
    void dialogAnswer();
    void cancelKeepsStoredText_data();
    void cancelKeepsStoredText();

private:
    std::unique_ptr<MainWindow> w;
    QCustomPlot *plot = nullptr;
    QCPItemText *label = nullptr;
    QCPItemText *twin = nullptr;
};

void TestValueLabels::initTestCase()
{
    w.reset(new MainWindow);
    plot = new QCustomPlot;
    label = new QCPItemText(plot);
    twin = new QCPItemText(plot);
}

void TestValueLabels::cleanup()
{
    windowtest::dropPendingDialogHandlers();
}

void TestValueLabels::cleanupTestCase()
{
    delete plot;
    w.reset();
}

void TestValueLabels::valueText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("valid");
    QTest::newRow("prefix letter") << "4.7n"
                                   << "F"
                                   << "4.7 nF" << true;
    QTest::newRow("plain number") << "83333" << kOhm << "83333 " + kOhm << true;
    QTest::newRow("blank before prefix") << "2.2 k" << kOhm << "2.2 k" + kOhm << true;
    QTest::newRow("10 k") << "10 k" << kOhm << "10 k" + kOhm << true;
    QTest::newRow("exponent") << "1e6" << kOhm << "1e+06 " + kOhm << true;
    QTest::newRow("six digits") << "1234567" << kOhm << "1.23457e+06 " + kOhm << true;
    QTest::newRow("volts") << "2.5"
                           << "V"
                           << "2.5 V" << true;
    QTest::newRow("mega") << "1meg" << kOhm << "1 meg" + kOhm << true;
    QTest::newRow("zero has no unit") << "0" << kOhm << "0" << true;
    QTest::newRow("open") << "open" << kOhm << "open" << true;
    QTest::newRow("short") << "short"
                           << "F"
                           << "short" << true;
    QTest::newRow("none") << "none"
                          << "F"
                          << "none" << true;
    QTest::newRow("unreadable word") << "abc" << kOhm << "abc" << false;
    // Beyond the largest prefix no part value is meant: shown as typed, in red.
    QTest::newRow("out of scale") << "1e308" << kOhm << "1e308" << false;
    QTest::newRow("out of scale, negative") << "-1e20" << "F" << "-1e20" << false;
    QTest::newRow("stray text after prefix") << "5 kk" << kOhm << "5 kk" << false;
    // On a schematic an upper-case F is the farad, not femto.
    QTest::newRow("upper F is no prefix") << "4.7F"
                                          << "F"
                                          << "4.7F" << false;
}

void TestValueLabels::valueText()
{
    QFETCH(QString, typed);
    QFETCH(QString, unit);
    QFETCH(QString, shown);
    QFETCH(bool, valid);
    bool ok = !valid;
    QCOMPARE(pwmpower::valueLabelText(typed, unit, &ok), shown);
    QCOMPARE(ok, valid);

    w->displayItemText(typed, label, unit);
    QCOMPARE(label->text(), shown);
    QCOMPARE(label->color(), valid ? kBlack : kRed);
}

void TestValueLabels::inductorLabel_data()
{
    QTest::addColumn<QString>("L");
    QTest::addColumn<QString>("R");
    QTest::addColumn<QString>("C");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ideal") << "470u"
                           << "0"
                           << "0"
                           << "470 uH";
    QTest::newRow("with parasitics") << "470u"
                                     << "10m"
                                     << "100p"
                                     << "470 uH\n    10 m" + kOhm + "\n    100 pF";
    QTest::newRow("resistance only") << "0.5"
                                     << "2.2m"
                                     << "0"
                                     << "0.5 H\n    2.2 m" + kOhm;
    QTest::newRow("six significant digits") << "1.23456789m"
                                            << "0"
                                            << "0"
                                            << "1.23457 mH";
    QTest::newRow("shorted by its capacitance") << "470u"
                                                << "open"
                                                << "short"
                                                << "short";
    QTest::newRow("open resistance") << "470u"
                                     << "open"
                                     << "100p"
                                     << "open";
    QTest::newRow("zero inductance kept as typed") << "0"
                                                   << "10m"
                                                   << "0"
                                                   << "0\n    10 m" + kOhm;
    QTest::newRow("open inductance kept") << "open"
                                          << "0"
                                          << "0"
                                          << "open";
}

void TestValueLabels::inductorLabel()
{
    QFETCH(QString, L);
    QFETCH(QString, R);
    QFETCH(QString, C);
    QFETCH(QString, shown);
    QCOMPARE(pwmpower::inductorLabelText(L, R, C), shown);
}

void TestValueLabels::capacitorLabel_data()
{
    QTest::addColumn<QString>("C");
    QTest::addColumn<QString>("R");
    QTest::addColumn<QString>("L");
    QTest::addColumn<QString>("shown");
    QTest::newRow("with resistance") << "1u"
                                     << "5m"
                                     << "0"
                                     << "1 uF\n    5 m" + kOhm;
    QTest::newRow("all three") << "3.75u"
                               << "5m"
                               << "15n"
                               << "3.75 uF\n    5 m" + kOhm + "\n    15 nH";
    QTest::newRow("open inductance") << "1u"
                                     << "5m"
                                     << "open"
                                     << "open";
    QTest::newRow("open resistance") << "1u"
                                     << "open"
                                     << "0"
                                     << "open";
    QTest::newRow("short capacitance kept") << "short"
                                            << "0"
                                            << "0"
                                            << "short";
}

void TestValueLabels::capacitorLabel()
{
    QFETCH(QString, C);
    QFETCH(QString, R);
    QFETCH(QString, L);
    QFETCH(QString, shown);
    QCOMPARE(pwmpower::capacitorLabelText(C, R, L), shown);
}

// The twin gets the text only: an unreadable value turns the first label red alone.
void TestValueLabels::displayWithTwin()
{
    twin->setColor(QColor(0, 0, 255));
    w->displayItemText("x7", label, kOhm, twin);
    QCOMPARE(label->text(), QStringLiteral("x7"));
    QCOMPARE(twin->text(), QStringLiteral("x7"));
    QCOMPARE(label->color(), kRed);
    QCOMPARE(twin->color(), QColor(0, 0, 255));

    w->displayItemText("10 k", label, kOhm, twin);
    QCOMPARE(label->text(), "10 k" + kOhm);
    QCOMPARE(twin->text(), "10 k" + kOhm);
    QCOMPARE(label->color(), kBlack);
}

void TestValueLabels::dialogAnswer_data()
{
    QTest::addColumn<QString>("before"); // what the label shows
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("after");
    QTest::newRow("typed and OK") << "4.7 nF" << true << "2.2k"
                                  << "2.2k"
                                  << "2.2 k" + kOhm;
    QTest::newRow("unreadable stored as typed") << "4.7 nF" << true << "2.2x"
                                                << "2.2x"
                                                << "2.2x";
    QTest::newRow("cancel drops the unit") << "4.7 nF" << false << "99"
                                           << "4.7 n"
                                           << "4.7 nF";
    QTest::newRow("cancel on a plain value") << "83333 " + kOhm << false << ""
                                             << "83333 "
                                             << "83333 " + kOhm;
    QTest::newRow("cancel on a word") << "open" << false << ""
                                      << "open"
                                      << "open";
    QTest::newRow("OK with nothing typed") << "4.7 nF" << true << ""
                                           << "4.7 n"
                                           << "4.7 nF";
}

void TestValueLabels::dialogAnswer()
{
    QFETCH(QString, before);
    QFETCH(bool, accept);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QString, after);
    label->setText(before);
    twin->setText(before);
    QString title, prompt, initial;
    windowtest::onNextDialog([&](QDialog *d) {
        auto *input = qobject_cast<QInputDialog *>(d);
        QVERIFY(input);
        title = input->windowTitle();
        prompt = input->labelText();
        initial = input->textValue();
        input->setTextValue(typed);
        if (accept)
            input->accept();
        else
            input->reject();
    });
    QCOMPARE(w->changeSConValue(label, kOhm, twin), answer);
    QCOMPARE(title, QStringLiteral("New Value"));
    QCOMPARE(prompt, QStringLiteral("Enter as 470u, 2.2k, open, short, ..."));
    QCOMPARE(initial, QString());
    QCOMPARE(label->text(), after);
    QCOMPARE(twin->text(), accept && !typed.isEmpty() ? after : before);
    // A cancelled edit leaves the label as a value again; a stored unreadable text shows red.
    QCOMPARE(label->color(), answer == QLatin1String("2.2x") ? kRed : kBlack);
}

// A label written from a typed text gives that text back on Cancel, exactly: neither its
// tidied form nor a character less ("foo" once came back as "fo", "1234567" as "1.23457e+06 ").
void TestValueLabels::cancelKeepsStoredText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("unreadable word") << "foo";
    QTest::newRow("long plain number") << "1234567";
    QTest::newRow("value with prefix") << "4.7n";
    QTest::newRow("open") << "open";
}

void TestValueLabels::cancelKeepsStoredText()
{
    QFETCH(QString, stored);
    w->displayItemText(stored, label, kOhm, twin);
    const QString shown = label->text();
    windowtest::onNextDialog([](QDialog *d) { d->reject(); });
    QCOMPARE(w->changeSConValue(label, kOhm, twin), stored);
    QCOMPARE(label->text(), shown);
    QCOMPARE(twin->text(), shown);
    // Once the label shows something else, it no longer stands for the stored text.
    label->setText(QStringLiteral("open"));
    windowtest::onNextDialog([](QDialog *d) { d->reject(); });
    QCOMPARE(w->changeSConValue(label, kOhm), QStringLiteral("open"));
}

QTEST_MAIN(TestValueLabels)
#include "tst_valuelabels.moc"
