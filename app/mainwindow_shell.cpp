// Shell members that serve the whole window: menus, font sizes, the release check, closing.
#include "app/mainwindow.h"

#include "app/maker.h"
#include "app/preferences.h"
#include "app/releasecheck.h"
#include "app/textroom.h"
#include "app/version.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QNetworkReply>
#include <QScopedValueRollback>
#include <QTextStream>

void MainWindow::on_HomeButton_clicked()
{
    ui->Page->setCurrentIndex(0);
    ui->HomeButton->hide();
}

void MainWindow::on_actionMain_Menu_triggered()
{
    ui->Page->setCurrentIndex(0);
}

void MainWindow::on_actionSave_triggered()
{
    saveEntries(false);
}

void MainWindow::on_actionSave_As_triggered()
{
    saveEntries(true);
}

void MainWindow::on_actionOpen_triggered()
{
    loadEntries();
}

void MainWindow::on_actionSupport_triggered()
{
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("Free Applications Support"));
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<html><head/><body><p>") +
                QString::fromLatin1(maker::kSupportInvitation) +
                QStringLiteral(" with Kest's Applications Engineering Team. Product Selection, "
                               "Technical Support, Schematic Review, Bench Testing/Analysis, and "
                               "More is available from our experienced staff. Click <a href=\"") +
                QString::fromLatin1(maker::kSupportPage) +
                QStringLiteral("\"><span style=\" text-decoration: underline; color:#0563c1;\">"
                               "Here</span></a><a name=\"_GoBack\"></a> to contact the Apps Team "
                               "today! </p></body></html>"));
    box.exec();
}

void MainWindow::setFontSize(int points)
{
    // A larger text grows the window to what its form needs, and nothing shrinks it on the way
    // back. While the window is the size the user gave it grown only to its minimum, that
    // size is still the user's choice.
    const QSize least = minimumSize().expandedTo(minimumSizeHint());
    const QSize given = sizeBeforeFontChange.isValid() &&
                                size() == sizeBeforeFontChange.expandedTo(least)
                            ? sizeBeforeFontChange
                            : size();
    QApplication::setFont(QFont(QStringLiteral("MS Shell Dlg 2"), points), "QWidget");
    textroom::keepAboveBody(formTextSizes, points);
    textroom::keepCaptionsApart(this);
    textroom::keepRoomInBoxes(this);
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        // The widgets post their new sizes as layout requests, nested layouts one round after
        // another: the window's minimum is the new text's only once they are handled.
        for (int round = 0; round < 3; ++round)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (layout()) layout()->activate();
        resize(given.expandedTo(minimumSizeHint()));
        sizeBeforeFontChange = given;
    }
    const std::pair<QAction *, int> actions[] = {
        {ui->action24_pt, 24}, {ui->action20_pt, 20}, {ui->action18_pt, 18},
        {ui->action14_pt, 14}, {ui->action12_pt, 12}, {ui->action10_pt, 10},
        {ui->action8_pt, 8},   {ui->action6_pt, 6}};
    for (const auto &entry : actions)
        entry.first->setChecked(entry.second == points);
}

void MainWindow::on_action24_pt_triggered()
{
    setFontSize(24);
}

void MainWindow::on_action20_pt_triggered()
{
    setFontSize(20);
}

void MainWindow::on_action18_pt_triggered()
{
    setFontSize(18);
}

void MainWindow::on_action14_pt_triggered()
{
    setFontSize(14);
}

void MainWindow::on_action12_pt_triggered()
{
    setFontSize(12);
}

void MainWindow::on_action10_pt_triggered()
{
    setFontSize(10);
}

void MainWindow::on_action8_pt_triggered()
{
    setFontSize(8);
}

void MainWindow::on_action6_pt_triggered()
{
    setFontSize(6);
}

void MainWindow::fileIsReady(QNetworkReply *reply)
{
    reply->deleteLater();
    // An error page carries whatever the server writes ("404" would read as release 404).
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply->error() != QNetworkReply::NoError || (status.isValid() && status.toInt() >= 400))
        return;
    QTextStream in(reply->readAll());
    const QString published = in.readAll();
    if (published.isEmpty())
        return;
    if (!release::isNewerRelease(QString::fromLatin1(kAmpwrightVersion), published))
        return;
    QMessageBox::information(this, QStringLiteral("Update"),
                             QStringLiteral("There is a new update available. Go to ") +
                                 QString::fromLatin1(maker::kSite) +
                                 QStringLiteral(" to download the newest modules and amplifiers."),
                             QMessageBox::Ok);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A refresh that lets events through for its progress dialog still uses the window.
    if (P3refreshRunning) {
        event->ignore();
        return;
    }
    event->accept();
    // A three-phase field typed into but not yet computed is a change all the same.
    if (!P3inputsComputed()) designModified = true;
    if (designModified) {
        const QScopedValueRollback<bool> prompting(closePromptOpen, true);
        const QMessageBox::StandardButton answer =
            QMessageBox::question(this, QStringLiteral("Close Ampwright"), tr("Save Changes?\n"),
                                  QMessageBox::Save | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Save) {
            if (!saveEntries(false))
                event->ignore();
        } else if (answer != QMessageBox::No) {
            event->ignore(); // Cancel, or the box closed without an answer
        }
    }
    preferences::writeLastDesignPath(fileName);
}
