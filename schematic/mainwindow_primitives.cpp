// The drawing primitives every page's schematic is built from. The figures themselves are in
// schematic/figures.cpp; these members put them on a plot.
#include "app/mainwindow.h"

#include "schematic/figures.h"
#include "schematic/schematicstroke.h"

#include <qcustomplot.h>

void MainWindow::plotWhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double len)
{
    schem::addFigure(plot, pen, schem::wireHor(xLoc, yLoc, len));
}

void MainWindow::plotWver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double len)
{
    schem::addFigure(plot, pen, schem::wireVer(xLoc, yLoc, len));
}

void MainWindow::plotWdia(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xEnd,
                          double yEnd)
{
    schem::addFigure(plot, pen, schem::wireDia(xLoc, yLoc, xEnd, yEnd));
}

void MainWindow::plotRhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::resistorHor(xLoc, yLoc));
}

void MainWindow::plotRver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::resistorVer(xLoc, yLoc));
}

void MainWindow::plotChor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::capacitorHor(xLoc, yLoc));
}

void MainWindow::plotCver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::capacitorVer(xLoc, yLoc));
}

void MainWindow::plotCLarge(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::capacitorLarge(xLoc, yLoc));
}

void MainWindow::plotLhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::inductorHor(xLoc, yLoc));
}

void MainWindow::plotLLarge(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::inductorLarge(xLoc, yLoc));
}

void MainWindow::plotLver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::inductorVer(xLoc, yLoc));
}

void MainWindow::plotG(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::ground(xLoc, yLoc));
}

void MainWindow::plotGr(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::groundSmall(xLoc, yLoc));
}

void MainWindow::plotPA(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::powerAmp(xLoc, yLoc));
}

void MainWindow::plotPAR(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::powerAmpLeft(xLoc, yLoc));
}

void MainWindow::plotOA(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::opAmp(xLoc, yLoc));
}

void MainWindow::plotOAR(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    schem::addFigure(plot, pen, schem::opAmpLeft(xLoc, yLoc));
}

void MainWindow::plotRect(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xSize,
                          double ySize)
{
    schem::addFigure(plot, pen, schem::rectangle(xLoc, yLoc, xSize, ySize));
}

void MainWindow::plotTri(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xSize,
                         double ySize)
{
    schem::addFigure(plot, pen, schem::triangle(xLoc, yLoc, xSize, ySize));
}

void MainWindow::plotJhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double R)
{
    schem::addFigure(plot, pen, schem::hopHor(xLoc, yLoc, R));
}

void MainWindow::plotJver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double R)
{
    schem::addFigure(plot, pen, schem::hopVer(xLoc, yLoc, R));
}

void MainWindow::plotSum(QCustomPlot *plot, QPen pen, double xLoc, double yLoc)
{
    if (!plot || !plot->xAxis || !plot->yAxis) return;
    schem::addFigure(plot, pen, schem::sumCircle(xLoc, yLoc));
    auto *sign = new QCPItemText(plot);
    sign->position->setCoords(xLoc, yLoc);
    sign->setText(QString(QChar(0x03A3)));
}
