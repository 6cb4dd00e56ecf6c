#include "app/mainwindow.h"

#include "app/resources.h"
#include "app/version.h"
#include "ui_mainwindow.h"

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui_MainWindow)
{
    initAmpwrightResources();
    ui->setupUi(this);
    setupSch();
}

MainWindow::~MainWindow()
{
    delete ui;
}
