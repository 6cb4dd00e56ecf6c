// Design files are not written or read yet: Save reports that nothing was saved, so closing
// with unsaved changes and answering Save keeps the window open instead of losing the design.
#include "app/mainwindow.h"

bool MainWindow::saveEntries(bool saveAs)
{
    Q_UNUSED(saveAs);
    return false;
}

void MainWindow::loadEntries()
{
}

void MainWindow::openFile()
{
}
