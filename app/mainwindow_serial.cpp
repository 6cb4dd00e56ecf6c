// The demonstration-board link: open the board's serial port, greet it, close it again.
#include "app/mainwindow.h"

#include <QDebug>
#include <QMessageBox>
#include <QSerialPort>

void MainWindow::connectUART()
{
    QSerialPort port;
    port.setPortName(QStringLiteral("COM4"));
    port.setBaudRate(QSerialPort::Baud4800, QSerialPort::AllDirections);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    if (port.open(QIODevice::ReadWrite)) {
        port.write("ok*", 3);
        // The port closes when this function returns: let the greeting reach the board first.
        port.waitForBytesWritten(1000);
        return;
    }
    qDebug().noquote() << port.errorString();
    QMessageBox::warning(this, QStringLiteral("Demo Board"),
                         QStringLiteral("Could not open the demo board's serial port COM4: ") +
                             port.errorString());
}
