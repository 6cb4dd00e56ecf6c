// The tutorial page, the tutorial buttons of the other pages, the examples dialog and the
// dispatch of a worked example to the set-up of its page.
#include "app/mainwindow.h"

#include "examples/examplesdialog.h"
#include "examples/exampletable.h"
#include "ui_mainwindow.h"

#include <QGuiApplication>
#include <QScreen>

void MainWindow::on_ExampleSelection_activated(int index)
{
    ui->ExDesc->setPlainText(examples::readDescription(examples::overviewNumber(index)));
}

void MainWindow::on_startTutorial_clicked()
{
    const int first = examples::firstExample(ui->ExampleSelection->currentIndex());
    if (first < 0) return;
    // The dialog is on screen first, so the user sees the text while the page is computed.
    openExDia(first);
    displayExample(first);
}

void MainWindow::openExDia(int exNum)
{
    auto *dialog = new Examples(this);
    exampleDialog = dialog;
    dialog->showDescription(exNum);
    connect(dialog, &Examples::exampleNum, this, &MainWindow::loadExample, Qt::DirectConnection);

    // Just right of the main window, a tenth of its height down; then pulled back left when
    // that leaves the primary screen.
    const QRect frame = frameGeometry();
    dialog->move(frame.x() + frame.width(), frame.y() + frame.height() / 10);
    dialog->show();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const int screenWidth = screen->geometry().width();
        const QRect dialogFrame = dialog->frameGeometry();
        if (dialogFrame.x() + dialogFrame.width() > screenWidth)
            dialog->move(screenWidth - dialogFrame.width(), dialogFrame.y());
    }
}

void MainWindow::loadExample(int exNumber)
{
    displayExample(exNumber);
}

void MainWindow::displayExample(int exNum)
{
    const examples::Example e = examples::example(exNum);
    switch (e.family) {
    case examples::Family::None:
        return;
    case examples::Family::PageOnly:
        ui->Page->setCurrentIndex(e.page);
        return;
    case examples::Family::Soa:
        applySoaExample(e.soa);
        return;
    case examples::Family::Stability:
        applyStabilityExample(e.stability);
        return;
    case examples::Family::Heatsink:
        applyHeatsinkExample(e.heatsink);
        return;
    case examples::Family::LinearSelector:
        applyLinearSelectorExample(e.lps);
        return;
    case examples::Family::SwitchingSelector:
        applySwitchingSelectorExample(e.sps);
        return;
    case examples::Family::Control:
        applyControlExample(e.control);
        return;
    case examples::Family::CurrentPump:
        applyPumpExample(e.pump);
        return;
    case examples::Family::ThreePhase:
        applyThreePhaseExample(e.motor);
        return;
    case examples::Family::Filter:
        applyFilterExample(e.filter);
        return;
    case examples::Family::Power:
        applyPowerExample(e.power);
        return;
    }
}

void MainWindow::showTutorialPage(int comboIndex)
{
    ui->Page->setCurrentIndex(11);
    ui->ExampleSelection->setCurrentIndex(comboIndex);
    on_ExampleSelection_activated(comboIndex);
}

void MainWindow::on_StabTutorial_clicked()
{
    showTutorialPage(1);
}

void MainWindow::on_PWMTutFilter_clicked()
{
    showTutorialPage(6);
}

void MainWindow::on_PWMTut_clicked()
{
    on_PWMTutFilter_clicked();
}
