#include "examples/examplesdialog.h"

#include "examples/exampletable.h"
#include "ui_examplesdialog.h"

Examples::Examples(QWidget *parent) : QDialog(parent), ui(new Ui_Examples)
{
    ui->setupUi(this);
}

Examples::~Examples()
{
    delete ui;
}

void Examples::showDescription(int n)
{
    currentExample = n;
    if (examples::isTutorialBoundary(n)) {
        emit exampleNum(0);
        close();
    }
    ui->textBrowser->setPlainText(examples::readDescription(n));
}

void Examples::on_closeButton_clicked()
{
    close();
}

// The main window sets the next example up before its text appears here.
void Examples::on_nextButton_clicked()
{
    emit exampleNum(currentExample + 1);
    showDescription(currentExample + 1);
}

void Examples::on_prevButton_clicked()
{
    // Back from example 1 stays on it and sets it up again, where stepping back from the
    // first example of any other tutorial lands on its overview and ends the tutorial.
    const int n = currentExample == 1 ? 1 : currentExample - 1;
    emit exampleNum(n);
    showDescription(n);
}

void Examples::on_examplesButton_clicked()
{
    emit exampleNum(0);
    close();
}
