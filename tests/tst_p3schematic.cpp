// The three-phase page's schematic as the user sees it on a laptop screen and larger: however
// the page is reached, at 10 and 12 pt, no text meets another text, a wire, a coil or a frame,
// and the signal boxes keep their frames whole.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "plotcheck.h"
#include "schematicwindow.h"

#include <QtTest>

using schematicwindow::settle;

class TestP3Schematic : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QApplication::setFont(QFont()); }
    void textsStandClear_data();
    void textsStandClear();
};

void TestP3Schematic::textsStandClear_data()
{
    QTest::addColumn<int>("example"); // 0: the home page's button
    QTest::addColumn<int>("commutation");
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("size");
    const QList<QPair<int, QSize>> screens = {
        {10, QSize(1366, 720)}, {12, QSize(1536, 864)}, {10, QSize(1920, 1080)}};
    for (const auto &screen : screens) {
        const int points = screen.first;
        const QSize size = screen.second;
        for (int commutation = 0; commutation < 3; ++commutation)
            QTest::addRow("home, commutation %d, %d pt, %dx%d", commutation, points, size.width(),
                          size.height())
                << 0 << commutation << points << size;
        for (int n = 87; n <= 95; ++n)
            QTest::addRow("example %d, %d pt, %dx%d", n, points, size.width(), size.height())
                << n << -1 << points << size;
    }
}

void TestP3Schematic::textsStandClear()
{
    QFETCH(int, example);
    QFETCH(int, commutation);
    QFETCH(int, points);
    QFETCH(QSize, size);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    MainWindow w;
    w.show();
    settle();
    w.resize(size);
    settle();
    if (example == 0) {
        w.ui->ThreePhaseButton->click();
        w.ui->P3commType->setCurrentIndex(commutation);
    } else {
        schematicwindow::nextToExample(w, example);
    }
    QCOMPARE(w.ui->Page->currentIndex(), 10);
    QCustomPlot *plot = w.ui->P3schematic;
    schematicwindow::showTabOf(plot);
    plot->replot();

    QStringList faults = plotcheck::textsOverDrawing(plot);
    faults << schematicwindow::textsOnItems(plot) << schematicwindow::framesCut(plot)
           << plotcheck::textsCut(plot);
    for (const QString &f : qAsConst(faults))
        qWarning().noquote() << f;
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults").arg(faults.size())));
    QVERIFY(schematicwindow::smallestPoints(plot) >= 7 - 1e-9);
}

QTEST_MAIN(TestP3Schematic)
#include "tst_p3schematic.moc"
