// Schematic value labels shared by the stability, SOA and Howland pump pages: the value line,
// the label's colour, and the "New Value" dialog with its answer injected.
#include "app/mainwindow.h"
#include "app/resources.h"
#include "stability/stablabel.h"
#include "values/engvalues.h"

#include <QApplication>
#include <QInputDialog>
#include <QTimer>
#include <QtTest>
#include <qcustomplot.h>

namespace {

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

// Answers the next modal input dialog: fills in `text` and presses OK, or cancels it.
void answerNextDialog(const QString &text, bool accept, QString *title = nullptr,
                      QString *prompt = nullptr, QString *startText = nullptr)
{
    QTimer::singleShot(0, [=]() {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (title) *title = dialog->windowTitle();
        if (prompt) *prompt = dialog->labelText();
        if (startText) *startText = dialog->textValue();
        dialog->setTextValue(text);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
}

} // namespace

class TestStabLabels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void valueDisplay_data();
    void valueDisplay();
    void labelTextAndColour_data();
    void labelTextAndColour();
    void changeValue_data();
    void changeValue();

private:
    MainWindow *window = nullptr;
};

void TestStabLabels::initTestCase()
{
    initAmpwrightResources();
    window = new MainWindow;
}

void TestStabLabels::valueDisplay_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("display");

    const QString ohm = u8("Ω");
    QTest::newRow("2.2k") << "2.2k" << ohm << u8("2.2 kΩ");
    QTest::newRow("470u") << "470u"
                          << "F"
                          << "470 uF";
    QTest::newRow("2200") << "2200" << ohm << u8("2200 Ω");
    QTest::newRow("1e3") << "1e3" << ohm << u8("1000 Ω");
    QTest::newRow("1000000") << "1000000" << ohm << u8("1e+06 Ω");
    QTest::newRow("1MEG") << "1MEG" << ohm << u8("1 MEGΩ");
    QTest::newRow("no unit") << "2.2k"
                             << ""
                             << "2.2 k";
    QTest::newRow("4.7k as in the SOA labels") << "4.7k" << ohm << u8("4.7 kΩ");
    QTest::newRow("blank before prefix kept as one word") << "5 k"
                                                          << "V"
                                                          << "5 kV";
    QTest::newRow("negative supply") << "-50"
                                     << "V"
                                     << "-50 V";
    QTest::newRow("seven digits rounded to six") << "1.2345678"
                                                 << "V"
                                                 << "1.23457 V";
    QTest::newRow("ten digits as typed") << "1e308" << ohm << "1e308";
    QTest::newRow("just below ten digits") << "9.99e9" << ohm << u8("9.99e+09 Ω");
    QTest::newRow("open") << "open" << ohm << "open";
    QTest::newRow("short") << "short" << ohm << "short";
    QTest::newRow("zero") << "0"
                          << "F"
                          << "0";
    QTest::newRow("unreadable") << "abc" << ohm << "abc";
}

void TestStabLabels::valueDisplay()
{
    QFETCH(QString, typed);
    QFETCH(QString, unit);
    QFETCH(QString, display);
    bool valid = false;
    const double value = eng::parseItemText(typed, &valid);
    QCOMPARE(stab::valueDisplay(typed, value, unit), display);
}

void TestStabLabels::labelTextAndColour_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("readable") << "4.7k" << u8("R_CS\n4.7 kΩ") << QColor(Qt::black);
    QTest::newRow("open is black") << "open" << u8("R_CS\nopen") << QColor(Qt::black);
    QTest::newRow("unreadable is red") << "abc" << u8("R_CS\nabc") << QColor(Qt::red);
    QTest::newRow("unit after prefix is red") << "5kV" << u8("R_CS\n5kV") << QColor(Qt::red);
}

void TestStabLabels::labelTextAndColour()
{
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QCustomPlot plot;
    auto *item = new QCPItemText(&plot);
    item->setColor(Qt::blue);
    window->displayStabText(typed, item, QStringLiteral("R_CS"), u8("Ω"));
    QCOMPARE(item->text(), text);
    QCOMPARE(item->color(), colour);
}

void TestStabLabels::changeValue_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("label");

    QTest::newRow("OK with a value") << "2.2k" << true << "2.2k" << u8("R_FB\n2.2 kΩ");
    QTest::newRow("OK with a word") << "open" << true << "open" << u8("R_FB\nopen");
    QTest::newRow("OK with unreadable text: kept as typed")
        << "1x" << true << "1x" << u8("R_FB\n1x");
    QTest::newRow("OK with nothing keeps the old") << "" << true << "20k"
                                                   << "before";
    QTest::newRow("Cancel keeps the old") << "5k" << false << "20k"
                                          << "before";
}

void TestStabLabels::changeValue()
{
    QFETCH(QString, answer);
    QFETCH(bool, accept);
    QFETCH(QString, result);
    QFETCH(QString, label);
    QCustomPlot plot;
    auto *item = new QCPItemText(&plot);
    item->setText(QStringLiteral("before"));
    QString title, prompt, startText = QStringLiteral("<unset>");
    answerNextDialog(answer, accept, &title, &prompt, &startText);
    QCOMPARE(window->changeStabValue(item, QStringLiteral("R_FB"), u8("Ω"), QStringLiteral("20k")),
             result);
    QCOMPARE(item->text(), label);
    QCOMPARE(title, QStringLiteral("New Value"));
    QCOMPARE(prompt, QStringLiteral("Enter as 470u, 2.2k, open, short, ..."));
    QCOMPARE(startText, QString());
}

QTEST_MAIN(TestStabLabels)
#include "tst_stablabels.moc"
