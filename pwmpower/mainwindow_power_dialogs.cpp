// The dialogs that edit a filter inductor or capacitor of the power page together with its
// two parasitics.
#include "app/mainwindow.h"

#include "pwmpower/plotaxes.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <qcustomplot.h>

namespace {

struct PartDialog
{
    QDialog *dialog = nullptr;
    QCustomPlot *canvas = nullptr;
    QFormLayout *form = nullptr;
};

// The dialog's frame: title, a small canvas for the part's picture, the typing hint.
PartDialog makePartDialog(QWidget *parent, const QString &title)
{
    PartDialog d;
    d.dialog = new QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    d.dialog->setWindowTitle(title);
    d.form = new QFormLayout(d.dialog);
    d.canvas = new QCustomPlot(d.dialog);
    d.canvas->setObjectName(QStringLiteral("partPicture"));
    d.canvas->setMinimumSize(250, 125);
    pwmpower::hideAxesAndGrid(d.canvas);
    d.form->addRow(d.canvas);
    d.form->addRow(new QLabel(QStringLiteral("Enter as 470u, 2.2k, open, short, ..."), d.dialog));
    return d;
}

QLineEdit *addField(PartDialog &d, const QString &caption, const QString &name, const QString &text)
{
    auto *edit = new QLineEdit(text, d.dialog);
    edit->setObjectName(name);
    d.form->addRow(caption, edit);
    return edit;
}

void addButtons(PartDialog &d, const QString &hint)
{
    d.form->addRow(new QLabel(hint, d.dialog));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                         Qt::Horizontal, d.dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, d.dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, d.dialog, &QDialog::reject);
    d.form->addRow(buttons);
}

void addCaption(QCustomPlot *plot, const QString &text, double x, double y)
{
    auto *item = new QCPItemText(plot);
    item->position->setCoords(x, y);
    item->setPositionAlignment(Qt::AlignCenter);
    item->setText(text);
}

// An empty field keeps the part's text; anything typed is stored as typed.
void store(QString *target, const QLineEdit *edit)
{
    if (!edit->text().isEmpty()) *target = edit->text();
}

} // namespace

void MainWindow::changeInductor(QString *L, QString *R, QString *C, QCPItemText *P)
{
    PartDialog d = makePartDialog(this, QStringLiteral("Inductor (with parasitic R & C)"));
    QCustomPlot *pic = d.canvas;
    const QPen pen(Qt::black, 2);
    plotWhor(pic, pen, 0, 0, 400);
    plotLhor(pic, pen, 400, 0);
    addCaption(pic, QStringLiteral("L"), 600, 100);
    plotWhor(pic, pen, 800, 0, 200);
    plotRhor(pic, pen, 1000, 0);
    addCaption(pic, QStringLiteral("R_parasitic"), 1200, 250);
    plotWhor(pic, pen, 1400, 0, 400);
    plotWver(pic, pen, 200, 0, 400);
    plotWver(pic, pen, 1600, 0, 400);
    plotWhor(pic, pen, 200, -400, 500);
    plotChor(pic, pen, 700, -400);
    addCaption(pic, QStringLiteral("C_parasitic"), 900, -650);
    plotWhor(pic, pen, 1100, -400, 500);
    pic->xAxis->setRange(-300, 2100);
    pic->yAxis->setRange(-800, 300);

    QLineEdit *editL = addField(d, QStringLiteral("L [Henries]"), QStringLiteral("inductance"), *L);
    QLineEdit *editR =
        addField(d, QStringLiteral("R_parasitic [Ohms]"), QStringLiteral("resistance"), *R);
    QLineEdit *editC =
        addField(d, QStringLiteral("C_parasitic [Farads]"), QStringLiteral("capacitance"), *C);
    editL->selectAll();
    editL->setFocus();
    addButtons(d, QStringLiteral("Hint: Go to the 'Filter Parasitics' tab for automatic R & C "
                                 "values"));

    if (d.dialog->exec() == QDialog::Accepted) {
        store(L, editL);
        store(R, editR);
        store(C, editC);
        displayLParasitics(*L, *R, *C, P);
    }
    delete d.dialog;
}

void MainWindow::changeCapacitor(QString *C, QString *R, QString *L, QCPItemText *P)
{
    PartDialog d = makePartDialog(this, QStringLiteral("Capacitor (with parasitic R & L)"));
    QCustomPlot *pic = d.canvas;
    const QPen pen(Qt::black, 2);
    plotWhor(pic, pen, 0, 0, 200);
    plotLhor(pic, pen, 200, 0);
    addCaption(pic, QStringLiteral("L_parasitic"), 400, -300);
    plotWhor(pic, pen, 600, 0, 200);
    plotRhor(pic, pen, 800, 0);
    addCaption(pic, QStringLiteral("R_parasitic"), 1000, 250);
    plotWhor(pic, pen, 1200, 0, 200);
    plotChor(pic, pen, 1400, 0);
    addCaption(pic, QStringLiteral("C"), 1600, -300);
    plotWhor(pic, pen, 1800, 0, 200);
    pic->xAxis->setRange(-200, 2200);
    pic->yAxis->setRange(-600, 500);

    QLineEdit *editC = addField(d, QStringLiteral("C [Farads]"), QStringLiteral("capacitance"), *C);
    QLineEdit *editR =
        addField(d, QStringLiteral("R_parasitic [Ohms]"), QStringLiteral("resistance"), *R);
    QLineEdit *editL =
        addField(d, QStringLiteral("L_parasitic [Henries]"), QStringLiteral("inductance"), *L);
    editC->selectAll();
    editC->setFocus();
    addButtons(d, QStringLiteral("Hint: Go to the 'Filter Parasitics' tab for automatic R & L "
                                 "values"));

    if (d.dialog->exec() == QDialog::Accepted) {
        store(C, editC);
        store(R, editR);
        store(L, editL);
        displayCParasitics(*C, *R, *L, P);
    }
    delete d.dialog;
}
