// The three-phase page's schematic as the user sees it on a laptop screen and larger: however
// the page is reached, at 10 and 12 pt, no text meets another text, a wire, a coil or a frame,
// and the signal boxes keep their frames whole.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "schematic/picturescale.h"
#include "schematicwindow.h"

#include <QVBoxLayout>
#include <QtTest>

using windowtest::settle;

class TestP3Schematic : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QApplication::setFont(QFont()); }
    void textsStandClear_data();
    void textsStandClear();
    void pictureKeepsRoomForItsTexts();
};

void TestP3Schematic::textsStandClear_data()
{
    QTest::addColumn<int>("example"); // 0: the home page's button
    QTest::addColumn<int>("commutation");
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("size");
    // An empty size: the smallest window the page allows.
    const QList<QPair<int, QSize>> screens = {{10, QSize(1366, 720)},
                                              {12, QSize(1536, 864)},
                                              {10, QSize(1920, 1080)},
                                              {10, QSize()},
                                              {12, QSize()}};
    for (const auto &screen : screens) {
        const int points = screen.first;
        const QSize size = screen.second;
        const QString at =
            size.isEmpty()
                ? QStringLiteral("%1 pt, smallest window").arg(points)
                : QStringLiteral("%1 pt, %2x%3").arg(points).arg(size.width()).arg(size.height());
        for (int commutation = 0; commutation < 3; ++commutation)
            QTest::addRow("home, commutation %d, %s", commutation, qPrintable(at))
                << 0 << commutation << points << size;
        for (int n = 87; n <= 95; ++n)
            QTest::addRow("example %d, %s", n, qPrintable(at)) << n << -1 << points << size;
    }
}

void TestP3Schematic::textsStandClear()
{
    QFETCH(int, example);
    QFETCH(int, commutation);
    QFETCH(int, points);
    QFETCH(QSize, size);
    const auto window = schematicwindow::windowAt(points, size);
    MainWindow &w = *window;
    if (example == 0) {
        w.ui->ThreePhaseButton->click();
        w.ui->P3commType->setCurrentIndex(commutation);
    } else {
        schematicwindow::nextToExample(w, example);
    }
    if (size.isEmpty()) {
        schematicwindow::showTabOf(w.ui->P3schematic);
        w.resize(1, 1); // the window keeps its minimum size
        settle();
    } else
        QCOMPARE(w.size(), size); // the schematic's room takes none beyond the screen
    QCOMPARE(w.ui->Page->currentIndex(), 10);
    QCustomPlot *plot = w.ui->P3schematic;
    const QStringList faults = schematicwindow::schematicFaults(plot);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults").arg(faults.size())));
    QVERIFY(plotcheck::smallestPoints(plot) >= 7 - 1e-9);
}

// Squeezed by its window, a schematic keeps the room its texts need at their smallest size: a
// line of 7 pt text still fits the line the drawing leaves for it.
void TestP3Schematic::pictureKeepsRoomForItsTexts()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *plot = new QCustomPlot(&window);
    layout->addWidget(plot);
    auto *text = new QCPItemText(plot);
    text->setText(QStringLiteral("At"));
    const QRectF drawing(0, 0, 4000, 2000);
    const double line = 100;
    schem::fitViewToPicture(plot, drawing, line);
    window.show();
    window.resize(1, 1);
    settle();
    plot->replot();
    QFont smallest = plot->font();
    smallest.setPointSizeF(schem::kLeastTextPoints);
    const double perUnit = plot->axisRect()->width() / plot->xAxis->range().size();
    QVERIFY2(QFontMetricsF(smallest).height() <= line * perUnit + 0.5,
             qPrintable(QStringLiteral("%1 px a unit").arg(perUnit)));
    // Squeezed to its room, the text is at about its smallest size, not below it.
    QVERIFY(text->font().pointSizeF() >= schem::kLeastTextPoints - 1e-9);
    QVERIFY(text->font().pointSizeF() < schem::kLeastTextPoints + 0.5);
    QVERIFY(std::abs(perUnit - plot->axisRect()->height() / plot->yAxis->range().size()) < 1e-9);
}

QTEST_MAIN(TestP3Schematic)
#include "tst_p3schematic.moc"
