// The load calculator dialog: its form, its recomputation on edits, the colours of its fields
// and the order of what its buttons send.
#include "soa/loadcalc.h"
#include "ui_loadcalc.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

QString text(const LoadCalc &d, const char *name)
{
    if (auto *e = d.findChild<QLineEdit *>(name)) return e->text();
    if (auto *l = d.findChild<QLabel *>(name)) return l->text();
    return QStringLiteral("<missing>");
}

QColor textColour(const QLineEdit *e)
{
    return e->palette().color(QPalette::Active, QPalette::Text);
}

// Types into a field and finishes the edit as the user does, with the Return key.
void enter(LoadCalc &d, const char *name, const QString &value)
{
    auto *e = d.findChild<QLineEdit *>(name);
    QVERIFY(e);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, value);
    QTest::keyClick(e, Qt::Key_Return);
}

const QStringList kEntries{"Rseries", "Cseries", "Lseries", "Rparallel", "Cparallel", "Lparallel",
                           "Z1",      "Z2",      "Angle1",  "Angle2",    "Fseries",   "Fparallel"};

} // namespace

class TestLoadCalc : public QObject
{
    Q_OBJECT

private slots:
    void formTexts_data();
    void formTexts();
    void formStructure();
    void setValuesDefaults();
    void setValuesComputesAll();
    void editsRecompute();
    void fieldColours();
    void buttonsSendInOrder_data();
    void buttonsSendInOrder();
    void cancelSendsEntriesOnly();
    void returnKeyPressesNoButton();
};

void TestLoadCalc::formTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const QString ohm = u8("Ω"), deg = u8("°");
    const QList<QPair<const char *, QString>> rows{
        {"label", "Series"},
        {"label_24", "Parallel"},
        {"label_2", "R"},
        {"label_3", "L"},
        {"label_4", "C"},
        {"label_5", "Frequency"},
        {"label_6", "Z"},
        {"label_7", u8("ϴ")},
        {"label_10", ohm},
        {"label_11", "H"},
        {"label_12", "F"},
        {"label_13", "Hz"},
        {"label_14", ohm},
        {"label_15", deg},
        {"label_18", ohm},
        {"label_19", "H"},
        {"label_20", "F"},
        {"label_21", "Hz"},
        {"label_22", ohm},
        {"label_23", deg},
        {"Rseries", "short"},
        {"Lseries", "short"},
        {"Cseries", "short"},
        {"Fseries", "1k"},
        {"Rparallel", "open"},
        {"Lparallel", "open"},
        {"Cparallel", "open"},
        {"Fparallel", "1k"},
        {"Zseries", "0"},
        {"thetaSeries", "0"},
        {"Zparallel", "open"},
        {"thetaParallel", "0"},
        {"label_25", "Z_1"},
        {"label_26", "Z_2"},
        {"label_27", "Impedance"},
        {"label_28", "Angle"},
        {"label_29", ohm},
        {"label_30", deg},
        {"label_31", ohm},
        {"label_32", deg},
        {"Z1", "0"},
        {"Z2", "0"},
        {"Angle1", "0"},
        {"Angle2", "0"},
        {"label_33", "Resultant Impedance = "},
        {"Zresult", "0"},
        {"label_35", ohm},
        {"label_38", "Resultant Angle = "},
        {"AngleResult", "0"},
        {"label_36", deg},
    };
    for (const auto &r : rows)
        QTest::newRow(r.first) << QString::fromLatin1(r.first) << r.second;
}

void TestLoadCalc::formTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    LoadCalc d;
    QCOMPARE(::text(d, name.toLatin1().constData()), text);
}

void TestLoadCalc::formStructure()
{
    LoadCalc d;
    QCOMPARE(d.objectName(), QStringLiteral("LoadCalc"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Load Calculator"));
    QCOMPARE(d.size(), QSize(484, 322));

    auto *tabs = d.findChild<QTabWidget *>("tabWidget");
    QVERIFY(tabs);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("RLC combos"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Z combos"));

    auto *series = d.findChild<QRadioButton *>("SeriesButton");
    auto *parallel = d.findChild<QRadioButton *>("ParallelButton");
    QVERIFY(series && parallel);
    QVERIFY(series->isChecked());
    QVERIFY(!parallel->isChecked());
    QCOMPARE(series->parentWidget(), parallel->parentWidget());
    QCOMPARE(series->parentWidget()->objectName(), QStringLiteral("tab_2"));

    for (const char *name : {"useSeries", "useParallel", "useValuesButton", "cancelButton"}) {
        auto *b = d.findChild<QPushButton *>(name);
        QVERIFY2(b, name);
        QVERIFY2(!b->autoDefault(), name);
    }
    QCOMPARE(d.findChild<QPushButton *>("cancelButton")->text(), QStringLiteral("Cancel"));
    QCOMPARE(d.findChild<QPushButton *>("useSeries")->text(), QStringLiteral("Use Series"));
    QCOMPARE(d.findChild<QPushButton *>("useParallel")->text(), QStringLiteral("Use Parallel"));
    QCOMPARE(d.findChild<QPushButton *>("useValuesButton")->text(), QStringLiteral("Use Values"));

    // Right-aligned captions and results; centred column heads.
    for (const char *name :
         {"label_2", "label_7", "Zseries", "thetaParallel", "label_33", "label_38"}) {
        auto *l = d.findChild<QLabel *>(name);
        QVERIFY2(l, name);
        QVERIFY2(l->alignment() & Qt::AlignRight, name);
        QVERIFY2(l->alignment() & Qt::AlignVCenter, name);
    }
    QCOMPARE(d.findChild<QLabel *>("label")->alignment(), Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(d.findChild<QLabel *>("label_24")->alignment(), Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(d.findChild<QLabel *>("label_25")->textFormat(), Qt::PlainText);

    // The focus chain, as tabbing through the dialog visits it.
    const QStringList order{
        "tabWidget",   "Rseries",      "Lseries",         "Cseries",     "Fseries",
        "useSeries",   "Rparallel",    "Lparallel",       "Cparallel",   "Fparallel",
        "useParallel", "SeriesButton", "ParallelButton",  "Z1",          "Angle1",
        "Z2",          "Angle2",       "useValuesButton", "cancelButton"};
    QStringList chain;
    QWidget *w = d.findChild<QWidget *>("tabWidget");
    QVERIFY(w);
    for (int i = 0; i < 200 && chain.size() < order.size(); ++i, w = w->nextInFocusChain()) {
        if (order.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
    }
    QCOMPARE(chain, order);

    // Seventeen slots after the two signals, bound by name.
    const QMetaObject *mo = d.metaObject();
    QCOMPARE(mo->methodCount() - mo->methodOffset(), 19);
    QCOMPARE(mo->method(mo->methodOffset()).name(), QByteArray("sendLoadCalc"));
    QCOMPARE(mo->method(mo->methodOffset() + 1).name(), QByteArray("sendRLCValues"));
}

void TestLoadCalc::setValuesDefaults()
{
    LoadCalc d;
    d.setValues("short", "short", "short", "open", "open", "open", "0", "0", "0", "0", "1k", "1k");
    QCOMPARE(text(d, "Zseries"), QStringLiteral("0"));
    QCOMPARE(text(d, "thetaSeries"), QStringLiteral("0"));
    QCOMPARE(text(d, "Zparallel"), QStringLiteral("open"));
    QCOMPARE(text(d, "thetaParallel"), QStringLiteral("0"));
    QCOMPARE(text(d, "Zresult"), QStringLiteral("0"));
    QCOMPARE(text(d, "AngleResult"), QStringLiteral("0"));
}

void TestLoadCalc::setValuesComputesAll()
{
    LoadCalc d;
    QSignalSpy rlc(&d, &LoadCalc::sendRLCValues);
    // Order of the arguments: R, C, L of each circuit; impedances, then angles.
    d.setValues("100", "1u", "10m", "100", "1u", "10m", "10", "20", "30", "-45", "1k", "1k");
    QCOMPARE(text(d, "Rseries"), QStringLiteral("100"));
    QCOMPARE(text(d, "Cseries"), QStringLiteral("1u"));
    QCOMPARE(text(d, "Lseries"), QStringLiteral("10m"));
    QCOMPARE(text(d, "Angle1"), QStringLiteral("30"));
    QCOMPARE(text(d, "Zseries"), QStringLiteral("138.846"));
    QCOMPARE(text(d, "thetaSeries"), QStringLiteral("-43.9271"));
    QCOMPARE(text(d, "Zparallel"), QStringLiteral("72.0223"));
    QCOMPARE(text(d, "thetaParallel"), QStringLiteral("43.9271"));
    QCOMPARE(text(d, "Zresult"), QStringLiteral("24.5668"));
    QCOMPARE(text(d, "AngleResult"), QStringLiteral("-21.8473"));
    QCOMPARE(rlc.count(), 0); // filling sends nothing back
}

void TestLoadCalc::editsRecompute()
{
    LoadCalc d;
    d.setValues("short", "short", "short", "open", "open", "open", "10", "20", "30", "-45", "1k",
                "1k");
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));

    enter(d, "Lseries", "1m");
    QCOMPARE(text(d, "Zseries"), QStringLiteral("6.28318"));
    QCOMPARE(text(d, "thetaSeries"), QStringLiteral("90"));

    enter(d, "Cparallel", "1u");
    QCOMPARE(text(d, "Zparallel"), QStringLiteral("159.155"));
    QCOMPARE(text(d, "thetaParallel"), QStringLiteral("-90"));
    enter(d, "Rparallel", "1k");
    QCOMPARE(text(d, "Zparallel"), QStringLiteral("157.177"));
    QCOMPARE(text(d, "thetaParallel"), QStringLiteral("-80.957"));

    // The radio buttons switch the combination; the parallel one through the series one's
    // toggled signal.
    QCOMPARE(text(d, "Zresult"), QStringLiteral("24.5668"));
    d.findChild<QRadioButton *>("ParallelButton")->click();
    QCOMPARE(text(d, "Zresult"), QStringLiteral("8.14107"));
    QCOMPARE(text(d, "AngleResult"), QStringLiteral("6.84727"));
    enter(d, "Angle2", "-45");
    QCOMPARE(text(d, "Zresult"), QStringLiteral("8.14107"));
    d.findChild<QRadioButton *>("SeriesButton")->click();
    QCOMPARE(text(d, "AngleResult"), QStringLiteral("-21.8473"));
    enter(d, "Z2", "10");
    enter(d, "Angle1", "120");
    enter(d, "Angle2", "150");
    QCOMPARE(text(d, "Zresult"), QStringLiteral("19.3185"));
    QCOMPARE(text(d, "AngleResult"), QStringLiteral("135"));
}

void TestLoadCalc::fieldColours()
{
    LoadCalc d;
    auto *r = d.findChild<QLineEdit *>("Rseries");
    r->setText("10kHz");
    QCOMPARE(d.toValue(r), 0.0);
    QCOMPARE(textColour(r), QColor(Qt::red));
    r->setText("Short");
    d.calcSeries();
    QCOMPARE(textColour(r), QColor(Qt::red));
    r->setText("2.2k");
    QCOMPARE(d.toValue(r), 2200.0);
    QCOMPARE(textColour(r), QColor(Qt::black));
    r->setEnabled(false);
    d.toValue(r);
    QCOMPARE(textColour(r), QColor(Qt::gray));
    // Every colour group follows, not only the active one.
    QCOMPARE(r->palette().color(QPalette::Inactive, QPalette::Text), QColor(Qt::gray));
}

void TestLoadCalc::buttonsSendInOrder_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("Use Series") << "useSeries" << QStringList{"138.846", "-43.9271", "1k"};
    // Recomputed at 2 kHz first: 90.8193 Ω at -24.7431° (hand calculation with 2π = 6.28318).
    QTest::newRow("Use Parallel") << "useParallel" << QStringList{"90.8193", "-24.7431", "2k"};
    // The second tab sends the series circuit's frequency.
    QTest::newRow("Use Values") << "useValuesButton" << QStringList{"24.5668", "-21.8473", "1k"};
}

void TestLoadCalc::buttonsSendInOrder()
{
    QFETCH(QString, button);
    QFETCH(QStringList, sent);
    LoadCalc d;
    d.setValues("100", "1u", "10m", "100", "1u", "10m", "10", "20", "30", "-45", "1k", "500");
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    // Edited but not finished: the button computes before it sends.
    d.findChild<QLineEdit *>("Fparallel")->setText("2k");

    QStringList order;
    connect(&d, &LoadCalc::sendLoadCalc, [&](QString z, QString a, QString f) {
        order << QStringLiteral("load");
        QCOMPARE(QStringList({z, a, f}), sent);
    });
    connect(&d, &LoadCalc::sendRLCValues,
            [&](QString ResS, QString CapS, QString IndS, QString ResP, QString CapP, QString IndP,
                QString Z1, QString Z2, QString A1, QString A2, QString FreqS, QString FreqP) {
                order << QStringLiteral("rlc");
                QCOMPARE(
                    QStringList({ResS, CapS, IndS, ResP, CapP, IndP, Z1, Z2, A1, A2, FreqS, FreqP}),
                    QStringList({"100", "1u", "10m", "100", "1u", "10m", "10", "20", "30", "-45",
                                 "1k", "2k"}));
            });
    QTest::mouseClick(d.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(order, QStringList({"load", "rlc"}));
    QVERIFY(!d.isVisible()); // hidden, not destroyed
}

void TestLoadCalc::cancelSendsEntriesOnly()
{
    LoadCalc d;
    d.setValues("1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12");
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QSignalSpy load(&d, &LoadCalc::sendLoadCalc);
    QSignalSpy rlc(&d, &LoadCalc::sendRLCValues);
    QTest::mouseClick(d.findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
    QCOMPARE(load.count(), 0);
    QCOMPARE(rlc.count(), 1);
    QStringList sent;
    for (const QVariant &v : rlc.first())
        sent << v.toString();
    QCOMPARE(sent, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
    QVERIFY(!d.isVisible());
}

void TestLoadCalc::returnKeyPressesNoButton()
{
    LoadCalc d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QSignalSpy load(&d, &LoadCalc::sendLoadCalc);
    QSignalSpy rlc(&d, &LoadCalc::sendRLCValues);
    for (const QString &name : kEntries) {
        auto *e = d.findChild<QLineEdit *>(name);
        QVERIFY(e);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_Return);
    }
    QCOMPARE(load.count(), 0);
    QCOMPARE(rlc.count(), 0);
    QVERIFY(d.isVisible());
}

QTEST_MAIN(TestLoadCalc)
#include "tst_loadcalc.moc"
