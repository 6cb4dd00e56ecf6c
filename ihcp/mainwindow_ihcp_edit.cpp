// Editing the pump's values on its schematic, and moving the operating point to and from the
// SOA page.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <qcustomplot.h>

namespace {

const Qt::WindowFlags kValueDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                         Qt::Horizontal, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

void MainWindow::onIHCPItemClicked(QCPAbstractItem *item1, QMouseEvent *event1)
{
    Q_UNUSED(event1)
    // Labels are told apart by where they stand; positions compare in the fuzzy sense of
    // QPointF equality.
    if (auto *text = qobject_cast<QCPItemText *>(item1)) {
        const QPointF at = text->position->coords();
        const auto hit = [&at](const QPointer<QCPItemText> &label) {
            return label && label->position->coords() == at;
        };
        const QString ohm = QStringLiteral("Ω");

        if (hit(IHCPRdLabel))
            IHCPRd = changeStabValue(IHCPRdLabel, QStringLiteral("R_D"), ohm, IHCPRd);
        if (hit(IHCPCdLabel))
            IHCPCd =
                changeStabValue(IHCPCdLabel, QStringLiteral("C_D"), QStringLiteral("F"), IHCPCd);
        if (hit(IHCPRinLabel)) changeRtolerance(&IHCPRin, &IHCPRinT, IHCPRinLabel, IHCPRipLabel);
        if (hit(IHCPRipLabel)) changeRtolerance(&IHCPRin, &IHCPRinT, IHCPRipLabel, IHCPRinLabel);
        if (hit(IHCPRfnLabel)) changeRtolerance(&IHCPRfn, &IHCPRfnT, IHCPRfnLabel);
        if (hit(IHCPRfpLabel)) changeRtolerance(&IHCPRfp, &IHCPRfpT, IHCPRfpLabel);
        if (hit(IHCPRsLabel)) changeRtolerance(&IHCPRs, &IHCPRsT, IHCPRsLabel);
        if (hit(IHCPloadLabel)) {
            QString kind, value;
            if (IHCPCload == QLatin1String("short")) {
                kind = QStringLiteral("L");
                value = IHCPLload;
            } else {
                // The load keeps one reactive element: a capacitance clears the inductance.
                IHCPLload = QStringLiteral("short");
                kind = QStringLiteral("C");
                value = IHCPCload;
            }
            changeLoad(&IHCPRload, &value, &kind, &IHCPFreq, IHCPloadLabel);
            if (kind == QLatin1String("C")) {
                IHCPLload = QStringLiteral("short");
                IHCPCload = value;
            } else {
                IHCPCload = QStringLiteral("short");
                IHCPLload = value;
            }
        }
        if (hit(IHCPCcompLabel))
            CompOptionIHCP = changeCcomp(IHCPCcompLabel, IHCPamp(), CompOptionIHCP);
    }
    ui->IHCPschematic->replot();
    refreshIHCP();
}

void MainWindow::changeRtolerance(QString *R, QString *T, QCPItemText *P, QCPItemText *P2)
{
    QDialog dialog(this, kValueDialogFlags);
    dialog.setWindowTitle(QStringLiteral("Resistance and Tolerance"));
    auto *form = new QFormLayout(&dialog);
    form->addRow(new QLabel(QStringLiteral("Enter as 470u, 2.2k, open, short, ..."), &dialog));
    auto *resistance = new QLineEdit(*R, &dialog);
    resistance->setObjectName(QStringLiteral("IHCPresistance"));
    form->addRow(QStringLiteral("Resistance (Ω)"), resistance);
    auto *tolerance = new QComboBox(&dialog);
    tolerance->setObjectName(QStringLiteral("IHCPtolerance"));
    tolerance->addItems(
        {"0 (trim pot)", "0.005", "0.01", "0.05", "0.1", "0.25", "0.5", "1", "2", "5"});
    const int current = tolerance->findText(*T, Qt::MatchExactly | Qt::MatchCaseSensitive);
    tolerance->setCurrentIndex(current >= 0 ? current : 0);
    form->addRow(QStringLiteral("Tolerance (%)"), tolerance);
    form->addRow(new QLabel(
        QStringLiteral("Hint: Click the 'Auto' button for calculated minimum tolerances."),
        &dialog));
    form->addRow(okCancel(&dialog));

    resistance->selectAll();
    if (dialog.exec() != QDialog::Accepted) return;
    if (!resistance->text().isEmpty()) {
        *R = resistance->text();
        *T = tolerance->currentText();
    }
    displayTolText(*R, *T, P, QStringLiteral("Ω"), P2);
}

void MainWindow::changeLoad(QString *R, QString *X, QString *CorL, QString *F, QCPItemText *P)
{
    QDialog dialog(this, kValueDialogFlags);
    dialog.setWindowTitle(QStringLiteral("IHCP Load"));
    auto *form = new QFormLayout(&dialog);
    form->addRow(new QLabel(QStringLiteral("Enter as 470u, 2.2k, open, short, ..."), &dialog));
    auto *resistance = new QLineEdit(*R, &dialog);
    resistance->setObjectName(QStringLiteral("IHCPloadResistance"));
    form->addRow(QStringLiteral("Resistance (Ω)"), resistance);
    auto *type = new QComboBox(&dialog);
    type->setObjectName(QStringLiteral("IHCPloadType"));
    type->addItems({"Series Inductance (H)", "Series Capacitance (F)",
                    "None - Pure Resistance (type 'short' below)"});
    type->setCurrentIndex(*CorL == QLatin1String("C") ? 1 : 0);
    form->addRow(QStringLiteral("Load Type"), type);
    auto *reactive = new QLineEdit(*X, &dialog);
    reactive->setObjectName(QStringLiteral("IHCPloadReactive"));
    form->addRow(QStringLiteral("Reactive Element (H or F - see above)"), reactive);
    auto *frequency = new QLineEdit(*F, &dialog);
    frequency->setObjectName(QStringLiteral("IHCPloadFrequency"));
    form->addRow(QStringLiteral("Frequency (Hz)"), frequency);
    form->addRow(okCancel(&dialog));

    resistance->selectAll();
    if (dialog.exec() != QDialog::Accepted) return;
    if (!resistance->text().isEmpty()) *R = resistance->text();
    if (!reactive->text().isEmpty()) {
        switch (type->currentIndex()) {
        case 0:
            *CorL = QStringLiteral("L");
            *X = reactive->text();
            break;
        case 1:
            *CorL = QStringLiteral("C");
            *X = reactive->text();
            break;
        default:
            *CorL = QStringLiteral("L");
            *X = QStringLiteral("short");
            break;
        }
    }
    if (!frequency->text().isEmpty()) *F = frequency->text();
    displayLoadText(*R, *CorL, *X, *F, P);
}

void MainWindow::ImportSOAtoIHCP()
{
    // Both boxes list the same linear parts in the same order; a change runs the pump page's
    // part slot.
    ui->IHCPampSelector->setCurrentIndex(ui->AmpSelecterSOA->currentIndex());
    IHCPRload = ui->SOA_Rload->text();
    IHCPCload = ui->SOA_Cload->text();
    IHCPLload = ui->SOA_Lload->text();
    IHCPFreq = SOAfreq;
    ui->IHCPmaxIout->setText(engString(SOAmaxIout, QString()));
    ui->IHCPminIout->setText(engString(SOAminIout, QString()));
    drawIHCP();
    refreshIHCP();
}

void MainWindow::ExportIHCPtoSOA()
{
    // The amplifier drives the sense resistor and the load in series.
    const double rs = parseValue(IHCPRs);
    const double rload = parseValue(IHCPRload);
    ui->SOA_Rload->setText(engString(rs + rload, QString()));
    if (IHCPCload != QLatin1String("short")) {
        ui->SOA_Cload->setText(IHCPCload);
        SOAfreq = IHCPFreq;
        ui->SOA_Lload->setText(QStringLiteral("short"));
    } else {
        ui->SOA_Cload->setText(QStringLiteral("short"));
        SOAfreq = IHCPFreq;
        ui->SOA_Lload->setText(IHCPLload);
    }
    ui->SOA_series->setChecked(true);
    SOAVout = false; // the pump's signal is a current
    SOAmaxOut = ui->IHCPmaxIout->text();
    SOAminOut = ui->IHCPminIout->text();
    ui->AmpSelecterSOA->setCurrentText(ui->IHCPampSelector->currentText());
    makeSOAplot();
    refreshSOA();
    ui->Page->setCurrentIndex(2);
    ui->BridgeCheckBox->setChecked(false);
    ui->ParallelCheckBox->setChecked(false);
    ui->NumParallel->setValue(1);
}
