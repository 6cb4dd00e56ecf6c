// The SOA page's supply schematic: drawing it from its layout, and editing the supplies,
// boost supplies and current-sharing resistor by clicking their values.
#include "app/mainwindow.h"

#include "schematic/picturescale.h"
#include "soa/supplyschematic.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <qcustomplot.h>

namespace {

// The height of a text line in schematic units: a supply's two lines fill the room above its
// pin's bar, and a boost value's the room beside its bar, clear of the amplifier.
constexpr double kTextLine = 200;

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

// The boost a part's last option adds beyond each main supply, in volts.
double boostVolts(const amp &part)
{
    return part.getBoost(part.getBoostOptions() - 1);
}

} // namespace

void MainWindow::plotSOAsch()
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    QCustomPlot *sch = ui->SOAsch;
    sch->clearGraphs();
    sch->clearItems();
    for (QPointer<QCPItemText> &label : SOAschLabels)
        label = nullptr;

    soa::SupplySchematicInput in;
    in.partName = part.getAmpName();
    in.boostOptions = part.getBoostOptions();
    in.parallel = ui->NumParallel->text().toInt(nullptr, 10);
    in.bridge = ui->BridgeCheckBox->isChecked();
    in.bridgeSame = in.bridge && ui->BridgeSameSuppliesButton->isChecked();
    in.bridgeUnipolar = in.bridge && ui->BridgeUnipolarSuppliesButton->isChecked();
    // The load line has read and coloured these fields; the drawing only needs the values.
    in.R = eng::parseFieldText(ui->SOA_Rload->text(), QStringLiteral("R"), nullptr);
    in.C = eng::parseFieldText(ui->SOA_Cload->text(), QStringLiteral("C"), nullptr);
    in.L = eng::parseFieldText(ui->SOA_Lload->text(), QStringLiteral("R"), nullptr);
    using Load = soa::SupplySchematicInput::Load;
    if (ui->loadTypeBox->currentText() == QLatin1String("DC Motor"))
        in.load = Load::DcMotor;
    else if (ui->SOA_parallel->isChecked())
        in.load = Load::Parallel;
    else if (ui->SOA_series->isChecked())
        in.load = Load::Series;
    else
        in.load = Load::None;
    in.boostSup = boostSup;
    in.vsPos = SOAVs_pos;
    in.vsNeg = SOAVs_neg;
    in.vbPos = SOAVb_pos;
    in.vbNeg = SOAVb_neg;
    in.rCS = SOAR_CS;

    const soa::SupplySchematic s = soa::layoutSupplySchematic(in);

    const QPen mainPen(Qt::black, 3);
    const QPen shortPen(Qt::red, 3);
    for (const soa::SchStroke &st : s.strokes) {
        const QPen &pen = st.shorted ? shortPen : mainPen;
        switch (st.kind) {
        case soa::SchPrimitive::Whor:
            plotWhor(sch, pen, st.x, st.y, st.a);
            break;
        case soa::SchPrimitive::Wver:
            plotWver(sch, pen, st.x, st.y, st.a);
            break;
        case soa::SchPrimitive::Wdia:
            plotWdia(sch, pen, st.x, st.y, st.a, st.b);
            break;
        case soa::SchPrimitive::Rhor:
            plotRhor(sch, pen, st.x, st.y);
            break;
        case soa::SchPrimitive::Lhor:
            plotLhor(sch, pen, st.x, st.y);
            break;
        case soa::SchPrimitive::Chor:
            plotChor(sch, pen, st.x, st.y);
            break;
        case soa::SchPrimitive::Jhor:
            plotJhor(sch, pen, st.x, st.y, st.a);
            break;
        case soa::SchPrimitive::G:
            plotG(sch, pen, st.x, st.y);
            break;
        case soa::SchPrimitive::PA:
            plotPA(sch, pen, st.x, st.y);
            break;
        case soa::SchPrimitive::PAR:
            plotPAR(sch, pen, st.x, st.y);
            break;
        }
    }

    for (const soa::SchText &t : s.texts) {
        auto *item = new QCPItemText(sch);
        item->setPositionAlignment(t.align);
        item->position->setCoords(t.pos);
        item->setText(t.text);
    }
    for (const soa::SchLabel &l : s.labels) {
        auto *item = new QCPItemText(sch);
        item->setPositionAlignment(l.align);
        item->position->setCoords(l.pos);
        SOAschLabels[static_cast<int>(l.role)] = item;
        displayStabText(l.value, item, l.caption, l.unit);
        // A value beyond the open-circuit one is no supply or resistor the page can use.
        const double v = parseValue(l.value);
        if (v != infiniteValue && !soa::isFigure(v)) {
            item->setText(l.caption + QLatin1Char('\n') + eng::noResultText() + QLatin1Char(' ') +
                          l.unit);
            item->setColor(Qt::red);
        }
    }

    schem::fitViewToPicture(sch, QRectF(s.xMin, s.yMin, s.xMax - s.xMin, s.yMax - s.yMin),
                            kTextLine);
    sch->replot();
}

void MainWindow::onSOAschItemClicked(QCPAbstractItem *item1, QMouseEvent *event1)
{
    Q_UNUSED(event1)
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());

    // Labels are matched by where they stand, so a text drawn over a label's spot counts as it.
    int hit = -1;
    if (auto *text = qobject_cast<QCPItemText *>(item1)) {
        const QPointF at = text->position->coords();
        for (int i = 0; i < soa::kSupplyLabelCount && hit < 0; ++i) {
            if (SOAschLabels[i] && SOAschLabels[i]->position->coords() == at) hit = i;
        }
    }

    using L = soa::SupplyLabel;
    switch (static_cast<L>(hit)) {
    case L::PosSupply:
    case L::PosSupply2:
    case L::NegSupply:
    case L::NegSupply2:
        changeSOAVsValue(hit == int(L::PosSupply) || hit == int(L::PosSupply2)
                             ? QStringLiteral("P")
                             : QStringLiteral("N"));
        // The boost supplies follow the main ones.
        if (part.getBoostOptions() > 0) {
            if (!boostSup) {
                SOAVb_pos = SOAVs_pos;
                SOAVb_neg = SOAVs_neg;
            } else {
                const double b = boostVolts(part);
                SOAVb_pos = number2String(parseValue(SOAVs_pos) + b);
                SOAVb_neg = number2String(parseValue(SOAVs_neg) - b);
            }
        }
        break;
    case L::PosBoost:
    case L::PosBoost2:
    case L::NegBoost:
    case L::NegBoost2:
        changeSOAVbValue();
        break;
    case L::RCS:
        SOAR_CS = changeStabValue(SOAschLabels[hit], QStringLiteral("R_CS"), QString::fromUtf8("Ω"),
                                  SOAR_CS);
        break;
    }
    ui->SOAsch->replot();
    refreshSOA();
}

void MainWindow::changeSOAVsValue(QString PorN)
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    QDialog dialog(this, kValueDialogFlags);
    dialog.setWindowTitle(QStringLiteral("Change Supply Voltage"));
    auto *form = new QFormLayout(&dialog);
    form->addRow(new QLabel(QStringLiteral("Enter new supply voltage"), &dialog));
    form->addRow(new QLabel(QString::fromUtf8("Maximum ±V_S = ±") +
                                number2String(0.5 * part.getVss_max()) + QStringLiteral(" V"),
                            &dialog));
    auto *pos = new QLineEdit(SOAVs_pos, &dialog);
    pos->setObjectName(QStringLiteral("SupplyPositive"));
    auto *neg = new QLineEdit(SOAVs_neg, &dialog);
    neg->setObjectName(QStringLiteral("SupplyNegative"));
    form->addRow(QStringLiteral("+V_S [Volts]"), pos);
    form->addRow(QStringLiteral("-V_S [Volts]"), neg);
    QDialogButtonBox *buttons = okCancel(&dialog);
    form->addRow(buttons);

    // The clicked supply comes first, selected, so that typing replaces it.
    QLineEdit *first = PorN == QLatin1String("P") ? pos : neg;
    QLineEdit *second = first == pos ? neg : pos;
    QWidget::setTabOrder(first, second);
    QWidget::setTabOrder(second, buttons);
    first->setFocus();
    first->selectAll();

    if (dialog.exec() != QDialog::Accepted) return;
    if (!pos->text().isEmpty()) {
        SOAVs_pos = pos->text();
        if (QCPItemText *label = SOAschLabels[int(soa::SupplyLabel::PosSupply)])
            displayStabText(SOAVs_pos, label, QStringLiteral("+V_S ="), QStringLiteral("V"));
    }
    if (!neg->text().isEmpty()) {
        SOAVs_neg = neg->text();
        if (QCPItemText *label = SOAschLabels[int(soa::SupplyLabel::NegSupply)])
            displayStabText(SOAVs_neg, label, QStringLiteral("-V_S ="), QStringLiteral("V"));
    }
}

void MainWindow::changeSOAVbValue()
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    const double b = boostVolts(part);
    QDialog dialog(this, kValueDialogFlags);
    dialog.setWindowTitle(QStringLiteral("Change Boost Supply Voltage"));
    auto *form = new QFormLayout(&dialog);
    form->addRow(new QLabel(QStringLiteral("Enter new boost supply voltage"), &dialog));
    form->addRow(new QLabel(
        QStringLiteral("Boost Voltages are low-current supplies that increase voltage swing"),
        &dialog));
    auto *choice = new QComboBox(&dialog);
    choice->setObjectName(QStringLiteral("BoostChoice"));
    choice->addItem(QStringLiteral("No Boost"));
    choice->addItem(QString::fromUtf8("±V_S ± ") + number2String(b) + QStringLiteral(" V"));
    choice->setCurrentIndex(0);
    form->addRow(QStringLiteral("V_B [Volts]"), choice);
    form->addRow(okCancel(&dialog));

    if (dialog.exec() != QDialog::Accepted) return;
    if (choice->currentIndex() == 1) {
        boostSup = true;
        SOAVb_pos = number2String(parseValue(SOAVs_pos) + b);
        SOAVb_neg = number2String(parseValue(SOAVs_neg) - b);
    } else {
        boostSup = false;
        SOAVb_pos = SOAVs_pos;
        SOAVb_neg = SOAVs_neg;
    }
    if (QCPItemText *label = SOAschLabels[int(soa::SupplyLabel::PosBoost)])
        displayStabText(SOAVb_pos, label, QStringLiteral("+V_B ="), QStringLiteral("V"));
    if (QCPItemText *label = SOAschLabels[int(soa::SupplyLabel::NegBoost)])
        displayStabText(SOAVb_neg, label, QStringLiteral("-V_B ="), QStringLiteral("V"));
}
