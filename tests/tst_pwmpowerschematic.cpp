// The PWM power page's schematic of the output network as the user sees it: after each worked
// example that draws it, at 10 pt in 1366 x 720, 12 pt in 1536 x 864 and 10 pt in 1920 x 1080,
// every text stands whole, clear of the other texts and of every stroke but its own part's, and
// beside the part it names; values stacked in one column read as one text, so two stand a line
// apart.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "schematic/labelplacement.h"
#include "schematic/picturescale.h"
#include "schematicwindow.h"

#include <QtTest>

using windowtest::settle;

class TestPwmPowerSchematic : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QApplication::setFont(QFont()); }
    void textsStandClear_data();
    void textsStandClear();
};

void TestPwmPowerSchematic::textsStandClear_data()
{
    QTest::addColumn<int>("example");
    QTest::addColumn<int>("order");      // of the filter, set after the example; -1: the example's
    QTest::addColumn<QString>("output"); // the output stage's button, clicked after the example
    QTest::addColumn<bool>("extended");  // the load extended after the example
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("size");
    for (const auto &[points, size] :
         {std::pair(10, QSize(1366, 720)), std::pair(12, QSize(1536, 864)),
          std::pair(10, QSize(1920, 1080))}) {
        for (int n : {39, 40, 41, 42, 43, 44, 45, 47, 52, 53, 57, 58, 59, 60, 71})
            QTest::addRow("example %d, %d pt, %dx%d", n, points, size.width(), size.height())
                << n << -1 << QString() << false << points << size;
        // The widest drawings: six filter stages, a matching network and the extended load.
        QTest::addRow("example 40, order 6, dual capacitor, extended load, %d pt, %dx%d", points,
                      size.width(), size.height())
            << 40 << 6 << "DCpower" << true << points << size;
        QTest::addRow("example 40, order 5, split inductor, extended load, %d pt, %dx%d", points,
                      size.width(), size.height())
            << 40 << 5 << "SIpower" << true << points << size;
        QTest::addRow("example 40, order 2, dual capacitor, %d pt, %dx%d", points, size.width(),
                      size.height())
            << 40 << 2 << "DCpower" << false << points << size;
    }
}

void TestPwmPowerSchematic::textsStandClear()
{
    QFETCH(int, example);
    QFETCH(int, order);
    QFETCH(QString, output);
    QFETCH(bool, extended);
    QFETCH(int, points);
    QFETCH(QSize, size);
    const auto window = schematicwindow::windowAt(points, size);
    MainWindow &w = *window;
    schematicwindow::nextToExample(w, example);
    if (order >= 0) w.ui->PWMfilterOrder->setValue(order);
    if (!output.isEmpty()) w.findChild<QAbstractButton *>(output)->click();
    if (extended) w.ui->ExtendedLoad->click();
    settle();
    QCustomPlot *plot = w.ui->FullFilter;
    QStringList faults = schematicwindow::schematicFaults(plot);
    windowtest::saveShot(w, QString::fromLatin1(QTest::currentDataTag()));
    faults << plotcheck::textsOnOthers(plot) << plotcheck::textsStackedAsOne(plot);
    // The note that stands in for the other half of a dual-capacitor filter stands in the gap it
    // leaves in the return line, where its anchor is.
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *note = qobject_cast<QCPItemText *>(plot->item(i));
        if (!note || !note->text().simplified().startsWith(QLatin1String("Identical Filter")))
            continue;
        const QRectF box = schem::glyphBox(note);
        const double line = note->position->pixelPosition().y();
        if (!(box.top() < line && line < box.bottom()))
            faults << QStringLiteral("the note %1-%2 px is off its line at %3 px")
                          .arg(box.top())
                          .arg(box.bottom())
                          .arg(line);
    }
    for (const QString &f : qAsConst(faults))
        qWarning().noquote() << f;
    QCOMPARE(w.size(), size);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults").arg(faults.size())));
    QVERIFY(plotcheck::smallestPoints(plot) >= schem::kLeastTextPoints - 1e-9);
}

QTEST_MAIN(TestPwmPowerSchematic)
#include "tst_pwmpowerschematic.moc"
