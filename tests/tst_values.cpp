// Engineering values: SI formatting, typed-value parsing with its colours, and comp.
#include "values/comp.h"
#include "values/engvalues.h"
#include "values/engwidgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(comp)

namespace {
QString u8(const char *s)
{
    return QString::fromUtf8(s);
}
const double inf = infiniteValue;
} // namespace

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void number2String_data();
    void number2String();
    void engString_data();
    void engString();
    void engLabel_data();
    void engLabel();
    void engLineEdit_data();
    void engLineEdit();
    void engItemText_data();
    void engItemText();
    void roundTo3Sig_data();
    void roundTo3Sig();
    void roundTo3SigNonFinite();
    void setters();

    void parsers_data();
    void parsers();
    void rangeChecks_data();
    void rangeChecks();
    void noResultLabel();
    void disabledFieldColours();
    void lineEditTextReadsBack_data();
    void lineEditTextReadsBack();

    void compArithmetic_data();
    void compArithmetic();
    void compRealDivisionByZero();
    void compToString_data();
    void compToString();
};

void TestValues::number2String_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1234.5 to tens") << 1234.5 << "1230";
    QTest::newRow("tie 1225 to even") << 1225.0 << "1220";
    QTest::newRow("tie 1235 to even") << 1235.0 << "1240";
    QTest::newRow("seven digits, exponent") << 12345678.0 << "1.235e+07";
    QTest::newRow("one million") << 1000000.0 << "1000000";
    QTest::newRow("123456 to thousands") << 123456.0 << "123000";
    QTest::newRow("999.7 decade edge") << 999.7 << "1e+03";
    QTest::newRow("99999.5 decade edge") << 99999.5 << "1e+05";
    QTest::newRow("999999.9 decade edge") << 999999.9 << "1e+06";
    QTest::newRow("small three digits") << 0.0012345 << "0.00123";
    QTest::newRow("below 0.001") << 0.0005 << "0";
    QTest::newRow("negative below 0.001") << -0.0005 << "-0";
    QTest::newRow("negative") << -1234.5 << "-1230";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero is not negative") << -0.0 << "0";
    QTest::newRow("not a number") << std::nan("") << "0";
}

void TestValues::number2String()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(eng::number2String(value), text);
}

void TestValues::engString_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("text");
    QTest::newRow("999.4") << 999.4 << "V" << "999 V";
    QTest::newRow("999.5 rounds to kilo") << 999.5 << "V" << "1 kV";
    QTest::newRow("999.7 rounds to kilo") << 999.7 << "V" << "1 kV";
    QTest::newRow("1000") << 1000.0 << "V" << "1 kV";
    QTest::newRow("0.9995") << 0.9995 << "V" << "1 V";
    QTest::newRow("0.0009995") << 0.0009995 << "V" << "0.999 mV";
    QTest::newRow("micro is u") << 2.2e-6 << "V" << "2.2 uV";
    QTest::newRow("negative") << -4700.0 << "V" << "-4.7 kV";
    QTest::newRow("zero") << 0.0 << "V" << "0 V";
    QTest::newRow("negative zero") << -0.0 << "V" << "0 V";
    QTest::newRow("below femto") << 1e-20 << "V" << "1e-05 fV";
    QTest::newRow("negligible is 0") << -4.39e-289 << "W" << "0 W";
    QTest::newRow("above tera") << 2e15 << "V" << "2e+15 V";
    QTest::newRow("empty unit") << 4700.0 << "" << "4.7 k";
    QTest::newRow("ohm") << 1000.0 << u8("Ω") << u8("1 kΩ");
    QTest::newRow("kilo divides: 1005") << 1005.0 << u8("Ω") << u8("1 kΩ");
    QTest::newRow("kilo divides: 10450") << 10450.0 << "Hz" << "10.4 kHz";
    QTest::newRow("infinite is no figure") << qInf() << "V" << QString(QChar(0x2014));
    QTest::newRow("nan is no figure") << qQNaN() << "V" << QString(QChar(0x2014));
}

void TestValues::engString()
{
    QFETCH(double, value);
    QFETCH(QString, unit);
    QFETCH(QString, text);
    QCOMPARE(eng::engString(value, unit), text);
}

void TestValues::engLabel_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("999.7 exact limits") << 999.7 << "1e+03 Hz";
    QTest::newRow("1000") << 1000.0 << "1 kHz";
    QTest::newRow("micro sign") << 0.0009995 << u8("1e+03 µHz");
    QTest::newRow("nano") << 4.7e-9 << "4.7 nHz";
    QTest::newRow("zero") << 0.0 << "0 Hz";
    QTest::newRow("1e15 unscaled") << 1e15 << "1e+15 Hz";
    QTest::newRow("mega divides") << 4.565e6 << "4.57 MHz";
    QTest::newRow("kilo divides") << 10450.0 << "10.4 kHz";
    QTest::newRow("negative: sign before the magnitude") << -1.59e-4 << u8("-159 µHz");
    QTest::newRow("negative kilo") << -2e3 << "-2 kHz";
    QTest::newRow("infinite") << -qInf() << QString(QChar(0x2014));
    QTest::newRow("nan") << qQNaN() << QString(QChar(0x2014));
}

void TestValues::engLabel()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(eng::engLabelText(value, "Hz"), text);
}

void TestValues::engLineEdit_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("4700") << 4700.0 << "4.7k";
    QTest::newRow("micro as u") << 2.5e-6 << "2.5u";
    QTest::newRow("mega") << 1e6 << "1M";
    QTest::newRow("999.7") << 999.7 << "1e+03";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("500k") << 500000.0 << "500k";
    QTest::newRow("mega divides") << 10050000.0 << "10.1M";
    QTest::newRow("negative reads back") << -2e3 << "-2k";
    QTest::newRow("negative femto") << -2e-18 << "-0.002f";
    QTest::newRow("nan") << qQNaN() << QString(QChar(0x2014));
}

void TestValues::engLineEdit()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(eng::engLineEditText(value, ""), text);
}

void TestValues::engItemText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("micro sign") << 4.7e-6 << u8("4.7 µH");
    QTest::newRow("milli") << 0.0022 << "2.2 mH";
    QTest::newRow("unscaled") << 1.5 << "1.5 H";
    QTest::newRow("no kilo") << 1500.0 << "1.5e+03 H";
    QTest::newRow("pico") << 4.7e-10 << "470 pH";
    QTest::newRow("below pico") << 1e-13 << "0.1 pH";
    QTest::newRow("zero is pico") << 0.0 << "0 pH";
    QTest::newRow("negative") << -4.7e-6 << u8("-4.7 µH");
    QTest::newRow("infinite") << qInf() << QString(QChar(0x2014));
}

void TestValues::engItemText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(eng::engItemText(value, "H"), text);
}

void TestValues::roundTo3Sig_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("below 0.001") << 0.0009 << 0.0;
    QTest::newRow("negative") << -5.0 << 0.0;
    QTest::newRow("100") << 100.0 << 100.0;
    QTest::newRow("1000") << 1000.0 << 1000.0;
    QTest::newRow("1234.5 truncates") << 1234.5 << 1230.0;
    QTest::newRow("99999 truncates") << 99999.0 << 99900.0;
    QTest::newRow("0.0123") << 0.0123 << 0.0123;
    // Stepwise scaling leaves 0.0987 just under 987 and 0.57 just under 570: intended.
    QTest::newRow("0.0987 stepwise") << 0.0987 << 0.0986;
    QTest::newRow("0.57 stepwise") << 0.57 << 0.569;
}

void TestValues::roundTo3Sig()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(eng::roundTo3Sig(value), rounded);
}

void TestValues::roundTo3SigNonFinite()
{
    // Infinity must come back at once instead of being divided by ten forever.
    QVERIFY(std::isinf(eng::roundTo3Sig(std::numeric_limits<double>::infinity())));
    QVERIFY(std::isnan(eng::roundTo3Sig(std::nan(""))));
    QCOMPARE(eng::roundTo3Sig(-std::numeric_limits<double>::infinity()), 0.0);
}

void TestValues::setters()
{
    QLabel label;
    QLineEdit edit;
    QCustomPlot plot;
    auto *item = new QCPItemText(&plot);
    label.setStyleSheet("QLabel { color : red; }");
    eng::setEngLabel(600e-3, &label, "V peak");
    QCOMPARE(label.text(), QString("600 mV peak"));
    QCOMPARE(label.styleSheet(), QString("QLabel { color : red; }")); // text only
    eng::setEngLineEdit(4700, &edit, "");
    QCOMPARE(edit.text(), QString("4.7k"));
    eng::setEngItemText(844e-6, item, "H");
    QCOMPARE(item->text(), u8("844 µH"));
}

void TestValues::parsers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");    // parseValue
    QTest::addColumn<double>("fieldR");   // parseLineEdit, kind "R"
    QTest::addColumn<double>("fieldC");   // parseLineEdit, kind "C"
    QTest::addColumn<bool>("fieldRed");   // the line edit turns red (both kinds)
    QTest::addColumn<double>("item");     // parseItemValue
    QTest::addColumn<bool>("itemRed");
    QTest::newRow("4.7k") << "4.7k" << 4700.0 << 4700.0 << 4700.0 << false << 4700.0 << false;
    QTest::newRow("4.7K") << "4.7K" << 4700.0 << 4700.0 << 4700.0 << false << 4700.0 << false;
    QTest::newRow("10meg") << "10meg" << 1e7 << 1e7 << 1e7 << false << 1e7 << false;
    QTest::newRow("1MEG") << "1MEG" << 1e6 << 1e6 << 1e6 << false << 1e6 << false;
    QTest::newRow("1mEG") << "1mEG" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("1M") << "1M" << 1e6 << 1e6 << 1e6 << false << 1e6 << false;
    QTest::newRow("1m") << "1m" << 0.001 << 0.001 << 0.001 << false << 0.001 << false;
    QTest::newRow("open") << "open" << inf << inf << 0.0 << false << inf << false;
    QTest::newRow("OPEN") << "OPEN" << 0.0 << inf << 0.0 << false << 0.0 << true;
    QTest::newRow("short") << "short" << 0.0 << 0.0 << inf << false << 0.0 << false;
    QTest::newRow("Short") << "Short" << 0.0 << 0.0 << inf << false << 0.0 << true;
    QTest::newRow("none") << "none" << inf << inf << 0.0 << false << inf << false;
    QTest::newRow("Inf") << "Inf" << inf << inf << inf << false << inf << false;
    QTest::newRow("NaN") << "NaN" << 0.0 << 0.0 << 0.0 << false << 0.0 << true;
    QTest::newRow("1e3") << "1e3" << 1000.0 << 1000.0 << 1000.0 << false << 1000.0 << false;
    QTest::newRow("2u5") << "2u5" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("4k7") << "4k7" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("empty") << "" << 0.0 << 0.0 << 0.0 << false << 0.0 << false;
    QTest::newRow("-5m") << "-5m" << -0.005 << -0.005 << -0.005 << false << -0.005 << false;
    QTest::newRow("abc") << "abc" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("blanks around") << " 5 k" << 5000.0 << 5000.0 << 5000.0 << false << 5000.0
                                   << false;
    QTest::newRow("5V") << "5V" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("4.7pF") << "4.7pF" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("10F femto except on items") << "10F" << 1e-14 << 1e-14 << 1e-14 << false
                                               << 0.0 << true;
    QTest::newRow("2.2 micro sign") << u8("2.2µ") << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("micro sign first") << u8("µ5") << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("engString text reads back") << "3.3 p" << 3.3e-12 << 3.3e-12 << 3.3e-12
                                               << false << 3.3e-12 << false;
    QTest::newRow("1M EG") << "1M EG" << 1e6 << 1e6 << 1e6 << false << 1e6 << false;
    QTest::newRow("second point") << "1.5.2" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("comma") << "1,5" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("word after prefix") << "5k k" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("trailing blank") << "5k " << 5000.0 << 5000.0 << 5000.0 << false << 5000.0
                                    << false;
    QTest::newRow("blank only") << "  " << 0.0 << 0.0 << 0.0 << false << 0.0 << false;
    QTest::newRow("tolerance text") << "0 (trim pot)" << 0.0 << 0.0 << 0.0 << true << 0.0
                                    << true;
    // Non-blank texts without any number must not pass as a black zero.
    QTest::newRow("lone minus is red") << "-" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("cut exponent is red") << "1e" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("minus word is red") << "-abc" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("lone point is red") << "." << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    // A prefix that carries the number past the double range is as unreadable as "1e309".
    QTest::newRow("1e309") << "1e309" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("kilo overflows") << "1e308k" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("tera overflows") << "1e308T" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    QTest::newRow("meg overflows") << "1e308meg" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
    // What a refresh writes into a field when a limit is hit reads as unreadable next time.
    QTest::newRow("limit message") << "Fsw too Low" << 0.0 << 0.0 << 0.0 << true << 0.0 << true;
}

void TestValues::parsers()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(double, fieldR);
    QFETCH(double, fieldC);
    QFETCH(bool, fieldRed);
    QFETCH(double, item);
    QFETCH(bool, itemRed);

    QCOMPARE(eng::parseValue(text), value);

    QLineEdit edit(text);
    const QColor expectedField = fieldRed ? QColor(Qt::red) : QColor(Qt::black);
    QCOMPARE(eng::parseLineEdit(&edit, "R"), fieldR);
    QCOMPARE(edit.palette().color(QPalette::Active, QPalette::Text), expectedField);
    QCOMPARE(edit.palette().color(QPalette::Inactive, QPalette::Text), expectedField);
    QCOMPARE(eng::parseLineEdit(&edit, "C"), fieldC);
    QCOMPARE(edit.palette().color(QPalette::Text), expectedField);
    QCOMPARE(edit.text(), text); // never rewritten

    QCustomPlot plot;
    auto *textItem = new QCPItemText(&plot);
    textItem->setColor(Qt::blue);
    QCOMPARE(eng::parseItemValue(text, textItem), item);
    QCOMPARE(textItem->color(), itemRed ? QColor(255, 0, 0) : QColor(0, 0, 0));
}

void TestValues::rangeChecks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("range");
    QTest::addColumn<bool>("usable");
    using R = eng::Range;
    QTest::newRow("negative resistance") << "-8" << int(R::NonNegative) << false;
    QTest::newRow("zero resistance is a magnitude") << "0" << int(R::NonNegative) << true;
    QTest::newRow("zero frequency cannot divide") << "0" << int(R::Positive) << false;
    QTest::newRow("open frequency") << "open" << int(R::Positive) << true;
    QTest::newRow("unreadable") << "abc" << int(R::Any) << false;
    QTest::newRow("limit message") << "Vs too Low" << int(R::Positive) << false;
    QTest::newRow("below absolute zero") << "-300" << int(R::Temperature) << false;
    QTest::newRow("absolute zero") << "-273.15" << int(R::Temperature) << true;
    QTest::newRow("negative supply allowed") << "-40" << int(R::Any) << true;
}

void TestValues::rangeChecks()
{
    QFETCH(QString, text);
    QFETCH(int, range);
    QFETCH(bool, usable);
    QLineEdit edit(text);
    bool ok = !usable;
    eng::parseLineEdit(&edit, "R", eng::Range(range), &ok);
    QCOMPARE(ok, usable);
    QCOMPARE(edit.palette().color(QPalette::Text), usable ? QColor(Qt::black) : QColor(Qt::red));
}

void TestValues::noResultLabel()
{
    QLabel label("3 W");
    eng::setNoResult(&label);
    QCOMPARE(label.text(), eng::noResultText());
    QCOMPARE(label.styleSheet(), QStringLiteral("QLabel { color : red; }"));
    eng::setResultRed(&label, false);
    QCOMPARE(label.styleSheet(), QStringLiteral("QLabel { color : black; }"));
}

void TestValues::disabledFieldColours()
{
    QLineEdit edit("4.7k");
    edit.setEnabled(false);
    QCOMPARE(eng::parseLineEdit(&edit, "R"), 4700.0);
    QCOMPARE(edit.palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::gray));
    edit.setText("4k7");
    QCOMPARE(eng::parseLineEdit(&edit, "R"), 0.0);
    QCOMPARE(edit.palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::red));
    // Red stays only until the next read of a valid text.
    edit.setEnabled(true);
    edit.setText("1k");
    eng::parseLineEdit(&edit, "R");
    QCOMPARE(edit.palette().color(QPalette::Text), QColor(Qt::black));
    // Only Text is set; other roles stay inherited.
    QVERIFY(!(edit.palette().resolve() & (1u << QPalette::Base)));
}

void TestValues::lineEditTextReadsBack_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("4700") << 4700.0;
    QTest::newRow("2.5u") << 2.5e-6;
    QTest::newRow("1M") << 1e6;
    QTest::newRow("999.7 as 1e+03") << 999.7;
    QTest::newRow("33.3n") << 33.3e-9;
    QTest::newRow("1e+03k") << 999700.0;
    QTest::newRow("femto") << 4.7e-15;
    QTest::newRow("tera") << 2.2e12;
}

void TestValues::lineEditTextReadsBack()
{
    QFETCH(double, value);
    const double back = eng::parseValue(eng::engLineEditText(value, ""));
    QVERIFY2(std::fabs(back - value) <= 0.0005 * value,
             qPrintable(QString::number(back) + " from " + QString::number(value)));
    const double fromEng = eng::parseValue(eng::engString(value, ""));
    QVERIFY(std::fabs(fromEng - value) <= 0.0005 * value);
}

void TestValues::compArithmetic_data()
{
    QTest::addColumn<comp>("result");
    QTest::addColumn<double>("re");
    QTest::addColumn<double>("im");
    const double dblInf = std::numeric_limits<double>::infinity();
    QTest::newRow("divide by zero") << comp(3, 4) / comp(0, 0) << inf << 0.0;
    QTest::newRow("zero by zero") << comp(0, 0) / comp(0, 0) << inf << 0.0;
    QTest::newRow("by infinite real") << comp(3, 4) / comp(dblInf, 0) << 0.0 << 0.0;
    QTest::newRow("by infinite imag") << comp(3, 4) / comp(0, dblInf) << 0.0 << 0.0;
    QTest::newRow("1 / j") << comp(1, 0) / comp(0, 1) << 0.0 << -1.0;
    QTest::newRow("self") << comp(3, 4) / comp(3, 4) << 1.0 << 0.0;
    QTest::newRow("plus real") << comp(1, 2) + 3.0 << 4.0 << 2.0;
    QTest::newRow("minus real") << comp(1, 2) - 3.0 << -2.0 << 2.0;
    QTest::newRow("times real") << comp(1, 2) * 3.0 << 3.0 << 6.0;
    QTest::newRow("over real") << comp(3, 6) / 3.0 << 1.0 << 2.0;
    QTest::newRow("plus") << comp(1, 2) + comp(3, -5) << 4.0 << -3.0;
    QTest::newRow("minus") << comp(1, 2) - comp(3, -5) << -2.0 << 7.0;
    QTest::newRow("times") << comp(1, 2) * comp(3, 4) << -5.0 << 10.0;
    QTest::newRow("over") << comp(-5, 10) / comp(3, 4) << 1.0 << 2.0;
}

void TestValues::compArithmetic()
{
    QFETCH(comp, result);
    QFETCH(double, re);
    QFETCH(double, im);
    QCOMPARE(result.real(), re);
    QCOMPARE(result.imag(), im);
}

void TestValues::compRealDivisionByZero()
{
    const comp c = comp(1, 2) / 0.0;
    QVERIFY(std::isinf(c.real()) && c.real() > 0);
    QVERIFY(std::isinf(c.imag()) && c.imag() > 0);
    QCOMPARE(comp(3, 4).magnitude(), 5.0);
    comp d;
    QCOMPARE(d.real(), 0.0);
    d.set(2, -1);
    const comp e(d);
    QCOMPARE(e.imag(), -1.0);
}

void TestValues::compToString_data()
{
    QTest::addColumn<comp>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("positive") << comp(1, 2) << "1 + j2";
    QTest::newRow("negative, four digits") << comp(1.23456, -0.5) << "1.235 - j0.5";
    QTest::newRow("zero imaginary") << comp(5, 0) << "5 + j0";
    QTest::newRow("small negative") << comp(0, -0.00002) << "0 - j2e-05";
}

void TestValues::compToString()
{
    QFETCH(comp, value);
    QFETCH(QString, text);
    QCOMPARE(value.toString(), text);
}

QTEST_MAIN(TestValues)
#include "tst_values.moc"
