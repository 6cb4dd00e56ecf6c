#include "soa/signaldialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace {

QLineEdit *field(const QString &text, const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}

// A label that names the value in volts or amperes as the output combo box says.
QStackedWidget *unitLabel(const QString &volts, const QString &amps, QComboBox *output,
                          QWidget *parent)
{
    auto *stack = new QStackedWidget(parent);
    stack->addWidget(new QLabel(volts, stack));
    stack->addWidget(new QLabel(amps, stack));
    stack->setCurrentIndex(output->currentIndex());
    QObject::connect(output, QOverload<int>::of(&QComboBox::activated), stack,
                     &QStackedWidget::setCurrentIndex);
    return stack;
}

} // namespace

QWidget *SignalDialog::levelPage(const soa::SignalTexts &texts, LevelRows &rows,
                                 const QString &name)
{
    auto *page = new QWidget(pages_);
    auto *form = new QFormLayout(page);
    rows.output = new QComboBox(page);
    rows.output->setObjectName(name + QStringLiteral("Output"));
    rows.output->addItems({QStringLiteral("Voltage Output"), QStringLiteral("Current Output")});
    rows.output->setCurrentIndex(texts.voltageOutput ? 0 : 1);
    form->addRow(rows.output);
    rows.maxOut = field(texts.maxOut, name + QStringLiteral("Max"), page);
    rows.minOut = field(texts.minOut, name + QStringLiteral("Min"), page);
    form->addRow(unitLabel(QStringLiteral("Max V_out (V)"), QStringLiteral("Max I_out (A)"),
                           rows.output, page),
                 rows.maxOut);
    form->addRow(unitLabel(QStringLiteral("Min V_out (V)"), QStringLiteral("Min I_out (A)"),
                           rows.output, page),
                 rows.minOut);
    return page;
}

SignalDialog::SignalDialog(const soa::SignalTexts &texts, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint), initial_(texts)
{
    setWindowTitle(QStringLiteral("Change Output Signal Waveform"));
    auto *layout = new QFormLayout(this);

    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("signalKind"));
    kind_->addItems({QStringLiteral("Sine Wave"), QStringLiteral("Trapezoidal/Pulse Wave"),
                     QStringLiteral("Upload Waveform"), QStringLiteral("DC Motor")});
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("signalPages"));

    QWidget *sine = levelPage(texts, sine_, QStringLiteral("sine"));
    freq_ = field(texts.freq, QStringLiteral("sineFrequency"), sine);
    static_cast<QFormLayout *>(sine->layout())->addRow(QStringLiteral("Frequency (Hz)"), freq_);
    pages_->addWidget(sine);

    QWidget *trap = levelPage(texts, trap_, QStringLiteral("trap"));
    auto *trapForm = static_cast<QFormLayout *>(trap->layout());
    rise_ = field(texts.tRise, QStringLiteral("trapRise"), trap);
    high_ = field(texts.tHigh, QStringLiteral("trapHigh"), trap);
    fall_ = field(texts.tFall, QStringLiteral("trapFall"), trap);
    low_ = field(texts.tLow, QStringLiteral("trapLow"), trap);
    trapForm->addRow(QStringLiteral("Rise Time (s)"), rise_);
    trapForm->addRow(QStringLiteral("High Time (s)"), high_);
    trapForm->addRow(QStringLiteral("Fall Time (s)"), fall_);
    trapForm->addRow(QStringLiteral("Low Time (s)"), low_);
    pages_->addWidget(trap);

    auto *uploadPage = new QWidget(pages_);
    auto *uploadForm = new QFormLayout(uploadPage);
    uploadOutput_ = new QComboBox(uploadPage);
    uploadOutput_->setObjectName(QStringLiteral("uploadOutput"));
    uploadOutput_->addItems(
        {QStringLiteral("Voltage Output (V)"), QStringLiteral("Current Output (A)")});
    uploadOutput_->setCurrentIndex(texts.voltageOutput ? 0 : 1);
    uploadForm->addRow(uploadOutput_);
    upload_ = new QPushButton(QStringLiteral("Upload CSV"), uploadPage);
    upload_->setObjectName(QStringLiteral("uploadCsv"));
    uploadForm->addRow(upload_);
    auto *rule = new QLabel(QStringLiteral("Files should contain two entries per line, separated "
                                           "by commas. Entry 1: Time in seconds. Entry 2: Output "
                                           "in (Volts or Amps)."),
                            uploadPage);
    rule->setWordWrap(true);
    // A dialog's minimum size does not follow wrapped lines: the rule asks for the height its
    // lines take at the narrowest width it is given, so that no line is cut at large fonts.
    const int narrowest = rule->fontMetrics().averageCharWidth() * 32;
    rule->setMinimumWidth(narrowest);
    rule->setMinimumHeight(rule->heightForWidth(narrowest));
    uploadForm->addRow(rule);
    gain_ = field(texts.csvGain, QStringLiteral("uploadGain"), uploadPage);
    uploadForm->addRow(QStringLiteral("Scale Factor (V/V)"), gain_);
    pages_->addWidget(uploadPage);

    auto *motorPage = new QWidget(pages_);
    auto *motorForm = new QFormLayout(motorPage);
    auto *motor = new QPushButton(QStringLiteral("Go to Motor Definition"), motorPage);
    motor->setObjectName(QStringLiteral("motorDefinition"));
    motorForm->addRow(motor);
    connect(motor, &QPushButton::pressed, this, &QDialog::accept);
    pages_->addWidget(motorPage);

    const int start = qBound(0, texts.kind, 3);
    kind_->setCurrentIndex(start);
    pages_->setCurrentIndex(start);
    connect(kind_, QOverload<int>::of(&QComboBox::activated), pages_,
            &QStackedWidget::setCurrentIndex);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    layout->addRow(kind_);
    layout->addRow(pages_);
    layout->addRow(buttons);
}

int SignalDialog::kind() const
{
    return pages_->currentIndex();
}

soa::SignalTexts SignalDialog::texts() const
{
    soa::SignalTexts t = initial_;
    t.kind = kind();
    switch (t.kind) {
    case 0:
        t.voltageOutput = sine_.output->currentIndex() == 0;
        t.maxOut = sine_.maxOut->text();
        t.minOut = sine_.minOut->text();
        t.freq = freq_->text();
        break;
    case 1:
        t.voltageOutput = trap_.output->currentIndex() == 0;
        t.maxOut = trap_.maxOut->text();
        t.minOut = trap_.minOut->text();
        t.tRise = rise_->text();
        t.tHigh = high_->text();
        t.tFall = fall_->text();
        t.tLow = low_->text();
        break;
    case 2:
        t.voltageOutput = uploadOutput_->currentIndex() == 0;
        t.csvGain = gain_->text();
        break;
    default:
        break; // the motor page changes nothing of the signal
    }
    return t;
}
