// Part catalog members of the window: its five part lists and the lookups over them.
#include "app/mainwindow.h"

#include "catalog/partlists.h"

void MainWindow::loadPartLists()
{
    catalog::loadPartLists(ampVector, hostVector, pwmVector, packageVector, heatsinkVector);
}

amp MainWindow::findLinear(QString ampName)
{
    return catalog::findLinear(ampVector, ampName);
}

pwm MainWindow::findSwitching(QString ampName)
{
    return catalog::findSwitching(pwmVector, ampName);
}

int MainWindow::ampVectorIndex(QString ampName)
{
    return catalog::ampVectorIndex(ampVector, ampName);
}

QString MainWindow::interpretPackage(QString code)
{
    return catalog::interpretPackage(packageVector, code);
}

QString MainWindow::interpretPackageFullDesc(QString code)
{
    return catalog::interpretPackageFullDesc(packageVector, code);
}

QString MainWindow::beforeV7IndextoAmpName(int index)
{
    return catalog::beforeV7IndexToName(ampVector, index);
}

QString MainWindow::beforeV7IndextoPwmName(int index)
{
    return catalog::beforeV7IndexToName(pwmVector, index);
}

QString MainWindow::beforeV7IndextoHostName(int index)
{
    return catalog::beforeV7IndexToName(hostVector, index);
}
