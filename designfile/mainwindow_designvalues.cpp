// Between the design file's keys and the window: every key names a widget of the form or a
// MainWindow member of the same name; these functions read them for a save and write them on
// an open.
#include "app/mainwindow.h"

#include "designfile/designformat.h"
#include "designfile/designmembers.h"
#include "designfile/designreader.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QLineEdit>
#include <QSet>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>

using designfile::Form;

namespace {

QString quoted(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

QString readWidget(QWidget *w, Form form)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w)) return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return form == Form::Integer ? designfile::integerValue(combo->currentIndex())
                                     : combo->currentText();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return designfile::flagValue(button->isChecked());
    if (auto *group = qobject_cast<QGroupBox *>(w))
        return designfile::flagValue(group->isChecked());
    if (auto *spin = qobject_cast<QSpinBox *>(w)) return designfile::integerValue(spin->value());
    if (auto *tabs = qobject_cast<QTabWidget *>(w))
        return designfile::integerValue(tabs->currentIndex());
    if (auto *stack = qobject_cast<QStackedWidget *>(w))
        return designfile::integerValue(stack->currentIndex());
    return QString();
}

// An index the widget does not have leaves it as it is: an empty selection or a missing page
// is nothing the pages can compute with.
bool applyIndex(int n, int count, int current, const std::function<void(int)> &set, QString *why)
{
    if (n >= 0 && n < count) {
        set(n);
        return true;
    }
    if (n == current) return true; // an empty combo box saved as -1
    *why = QString::number(n) + QStringLiteral(" is not one of its %1 choices").arg(count);
    return false;
}

bool applyWidget(QWidget *w, const designfile::Assignment &a, Form form, QString *why)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->setText(a.value);
        return true;
    }
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (a.firstItem) {
            if (combo->count() > 0) combo->setCurrentIndex(0);
            return true;
        }
        if (form == Form::Integer)
            return applyIndex(
                designfile::integerOf(a.value), combo->count(), combo->currentIndex(),
                [combo](int i) { combo->setCurrentIndex(i); }, why);
        const int i = combo->findText(a.value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i >= 0) {
            combo->setCurrentIndex(i);
            return true;
        }
        if (a.value.isEmpty() && combo->currentText().isEmpty()) return true;
        *why = quoted(a.value) + QStringLiteral(" is not in its list; ") +
               (combo->currentText().isEmpty()
                    ? QStringLiteral("nothing is selected")
                    : quoted(combo->currentText()) + QStringLiteral(" stays selected"));
        return false;
    }
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        button->setChecked(designfile::flagOf(a.value));
        return true;
    }
    if (auto *group = qobject_cast<QGroupBox *>(w)) {
        group->setChecked(designfile::flagOf(a.value));
        return true;
    }
    if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        const int n = designfile::integerOf(a.value);
        spin->setValue(n);
        if (n < spin->minimum() || n > spin->maximum()) {
            *why = QString::number(n) + QStringLiteral(" is outside %1 to %2; %3 was used")
                                            .arg(spin->minimum())
                                            .arg(spin->maximum())
                                            .arg(spin->value());
            return false;
        }
        return true;
    }
    if (auto *tabs = qobject_cast<QTabWidget *>(w))
        return applyIndex(
            designfile::integerOf(a.value), tabs->count(), tabs->currentIndex(),
            [tabs](int i) { tabs->setCurrentIndex(i); }, why);
    if (auto *stack = qobject_cast<QStackedWidget *>(w))
        return applyIndex(
            designfile::integerOf(a.value), stack->count(), stack->currentIndex(),
            [stack](int i) { stack->setCurrentIndex(i); }, why);
    *why = QStringLiteral("this window has no field for it");
    return false;
}

} // namespace

designfile::DesignMembers MainWindow::designMembers()
{
    designfile::DesignMembers m;
    m.integers = {{"CompOption", &CompOption},
                  {"CompOptionIHCP", &CompOptionIHCP},
                  {"SignalType", &SignalType},
                  {"ThreePhasenPoles", &ThreePhasenPoles},
                  {"ThreePhaseControlVariable", &ThreePhaseControlVariable},
                  {"ThreePhaseControlType", &ThreePhaseControlType},
                  {"ThreePhaseConstantVariable", &ThreePhaseConstantVariable},
                  {"SOAprevTab", &SOAprevTab}};
    m.flags = {{"ACbidirectional", &ACbidirectional},
               {"phaseShiftComponents", &phaseShiftComponents},
               {"extendedLoad", &extendedLoad},
               {"sweepIHCP", &sweepIHCP},
               {"boostSup", &boostSup},
               {"SOAVout", &SOAVout},
               {"ThreePhaseisDelta", &ThreePhaseisDelta},
               {"ThreePhaseisLinear", &ThreePhaseisLinear}};
    m.texts = {{"ResS", &ResS},
               {"CapS", &CapS},
               {"IndS", &IndS},
               {"ResP", &ResP},
               {"CapP", &CapP},
               {"IndP", &IndP},
               {"Z1", &Z1},
               {"Z2", &Z2},
               {"A1", &A1},
               {"A2", &A2},
               {"FreqS", &FreqS},
               {"FreqP", &FreqP},
               {"SConRint", &SConRint},
               {"SConCint", &SConCint},
               {"SConVref", &SConVref},
               {"SConVbias", &SConVbias},
               {"SConRbias", &SConRbias},
               {"SConRin", &SConRin},
               {"SConRf", &SConRf},
               {"SConRnf", &SConRnf},
               {"SConCnf", &SConCnf},
               {"SConRdf", &SConRdf},
               {"SConCdf", &SConCdf},
               {"SConRdin", &SConRdin},
               {"SConRdif", &SConRdif},
               {"SConCdif", &SConCdif},
               {"SConRbh", &SConRbh},
               {"SConRbl", &SConRbl},
               {"SConRs", &SConRs},
               {"SConRv", &SConRv},
               {"SConCv", &SConCv},
               {"SOAVs_pos", &SOAVs_pos},
               {"SOAVs_neg", &SOAVs_neg},
               {"SOAVb_pos", &SOAVb_pos},
               {"SOAVb_neg", &SOAVb_neg},
               {"SOAR_CS", &SOAR_CS},
               {"SOAmaxOut", &SOAmaxOut},
               {"SOAminOut", &SOAminOut},
               {"SOAfreq", &SOAfreq},
               {"SOAtRise", &SOAtRise},
               {"SOAtHigh", &SOAtHigh},
               {"SOAtFall", &SOAtFall},
               {"SOAtLow", &SOAtLow},
               {"SOAcsvGain", &SOAcsvGain},
               {"CLoadStab", &CLoadStab},
               {"RisoC", &RisoC},
               {"RinC", &RinC},
               {"RfbC", &RfbC},
               {"CfbC", &CfbC},
               {"RngC", &RngC},
               {"CngC", &CngC},
               {"RclC", &RclC},
               {"LLoadStab", &LLoadStab},
               {"RloadL", &RloadL},
               {"RinL", &RinL},
               {"RfbL", &RfbL},
               {"CfbL", &CfbL},
               {"RdL", &RdL},
               {"RsL", &RsL},
               {"RsGainL", &RsGainL},
               {"hostRin", &hostRin},
               {"compRfb", &compRfb},
               {"compCfb", &compCfb},
               {"hostRng", &hostRng},
               {"hostCng", &hostCng},
               {"IHCPRin", &IHCPRin},
               {"IHCPRinT", &IHCPRinT},
               {"IHCPRfn", &IHCPRfn},
               {"IHCPRfnT", &IHCPRfnT},
               {"IHCPRfp", &IHCPRfp},
               {"IHCPRfpT", &IHCPRfpT},
               {"IHCPRs", &IHCPRs},
               {"IHCPRsT", &IHCPRsT},
               {"IHCPRd", &IHCPRd},
               {"IHCPCd", &IHCPCd},
               {"IHCPRload", &IHCPRload},
               {"IHCPCload", &IHCPCload},
               {"IHCPLload", &IHCPLload},
               {"IHCPFreq", &IHCPFreq},
               {"ThreePhaseR", &ThreePhaseR},
               {"ThreePhaseL", &ThreePhaseL},
               {"ThreePhaseVemf", &ThreePhaseVemf},
               {"ThreePhaseCycleLength", &ThreePhaseCycleLength},
               {"ThreePhaseControlAmplitude", &ThreePhaseControlAmplitude},
               {"ThreePhaseConstantAmplitude", &ThreePhaseConstantAmplitude}};
    m.triples = {{"P1", P1}, {"P2", P2}, {"P3", P3}, {"P4", P4}, {"P5", P5}, {"P6", P6},
                 {"MN", MN}, {"L1", L1}, {"L2", L2}, {"L3", L3}, {"L4", L4}, {"L5", L5}};
    m.lists = {{"ThreePhaseTimeVector", &ThreePhaseTimeVector},
               {"ThreePhaseAmplitudeVector", &ThreePhaseAmplitudeVector},
               {"P3graphables", &P3graphables}};
    return m;
}

QHash<QString, QWidget *> MainWindow::designWidgets()
{
    QSet<QString> names;
    for (const designfile::KeyRule &keyRule : designfile::currentKeys()) {
        if (keyRule.source == designfile::Source::Widget) names.insert(keyRule.key);
        if (keyRule.source == designfile::Source::Fields)
            for (const QString &field : designfile::quadrupleFields(keyRule.key))
                names.insert(field);
    }
    // One walk through the widget tree instead of one for every key.
    QHash<QString, QWidget *> widgets;
    for (QWidget *w : findChildren<QWidget *>()) {
        const QString name = w->objectName();
        if (names.contains(name) && !widgets.contains(name)) widgets.insert(name, w);
    }
    return widgets;
}

QVector<designfile::Entry> MainWindow::collectDesign()
{
    const designfile::DesignMembers m = designMembers();
    const QHash<QString, QWidget *> widgets = designWidgets();
    QVector<designfile::Entry> entries;
    for (const designfile::KeyRule &keyRule : designfile::currentKeys()) {
        QString value;
        switch (keyRule.source) {
        case designfile::Source::Widget:
            if (QWidget *w = widgets.value(keyRule.key))
                value = readWidget(w, keyRule.form);
            else
                qWarning() << "design file: no widget" << keyRule.key;
            break;
        case designfile::Source::Fields: {
            // A blank typed inside one of these fields would split it in two on reading;
            // "4.7 k" and "4.7k" read as the same value.
            QStringList parts;
            for (const QString &name : designfile::quadrupleFields(keyRule.key)) {
                const auto *edit = qobject_cast<QLineEdit *>(widgets.value(name));
                parts << designfile::removeBlanks(edit ? edit->text() : QString());
            }
            value = designfile::partsValue(parts);
            break;
        }
        case designfile::Source::Member:
            if (const QString *text = m.texts.value(keyRule.key)) {
                value = *text;
            } else if (const int *n = m.integers.value(keyRule.key)) {
                value = designfile::integerValue(*n);
            } else if (const bool *flag = m.flags.value(keyRule.key)) {
                value = designfile::flagValue(*flag);
            } else if (const QString *t = m.triples.value(keyRule.key)) {
                value = designfile::partsValue({t[0], t[1], t[2]});
            } else if (const QStringList *list = m.lists.value(keyRule.key)) {
                QStringList items = *list;
                if (keyRule.key == QLatin1String("P3graphables")) {
                    // One entry per graph, whatever the member holds.
                    while (items.size() < 6)
                        items << QStringLiteral("null");
                    items = items.mid(0, 6);
                }
                value = designfile::listValue(items);
            } else {
                qWarning() << "design file: no member" << keyRule.key;
            }
            break;
        }
        entries.append({keyRule.key, value});
    }
    return entries;
}

bool MainWindow::applyDesignValue(const designfile::Assignment &a,
                                  const designfile::DesignMembers &m,
                                  const QHash<QString, QWidget *> &widgets, QString *why)
{
    const int i = designfile::currentKeyIndex(a.key);
    const Form form = i >= 0 ? designfile::currentKeys()[i].form : Form::Integer;
    const designfile::Source source =
        i >= 0 ? designfile::currentKeys()[i].source : designfile::Source::Member;

    if (source == designfile::Source::Widget) {
        QWidget *w = widgets.value(a.key);
        if (!w) {
            *why = QStringLiteral("this window has no field for it");
            return false;
        }
        return applyWidget(w, a, form, why);
    }

    if (source == designfile::Source::Fields) {
        const QStringList fields = designfile::quadrupleFields(a.key);
        const QStringList parts = designfile::fixedPartsOf(a.value, fields.size());
        for (int k = 0; k < fields.size() && k < parts.size(); ++k)
            if (auto *edit = qobject_cast<QLineEdit *>(widgets.value(fields[k])))
                edit->setText(parts[k]);
        return true;
    }

    if (QString *text = m.texts.value(a.key)) {
        *text = a.value;
    } else if (int *n = m.integers.value(a.key)) {
        *n = designfile::integerOf(a.value);
    } else if (bool *flag = m.flags.value(a.key)) {
        *flag = designfile::flagOf(a.value);
    } else if (QString *t = m.triples.value(a.key)) {
        const QStringList parts = designfile::fixedPartsOf(a.value, 3);
        for (int k = 0; k < 3 && k < parts.size(); ++k)
            t[k] = parts[k];
    } else if (QStringList *list = m.lists.value(a.key)) {
        *list = designfile::partsOf(a.value);
    } else {
        *why = QStringLiteral("this window has no value of that name");
        return false;
    }
    return true;
}

bool MainWindow::hasAfterDesignValue(const QString &key)
{
    static const QSet<QString> keys = {
        QStringLiteral("AmpSelecterSOA"), QStringLiteral("AmpSelectorStab"),
        QStringLiteral("ExampleSelection"), QStringLiteral("extendedLoad"),
        QStringLiteral("sweepIHCP")};
    return keys.contains(key);
}

void MainWindow::afterDesignValue(const QString &key)
{
    if (key == QLatin1String("AmpSelecterSOA")) {
        // The reset draws the new part's curves and a load line; only the page refresh clears
        // the plot, and that comes once the whole file is read.
        ui->SOA->clearGraphs();
        ui->SOA->clearPlottables();
        makeSOAplot();
    } else if (key == QLatin1String("AmpSelectorStab")) {
        refreshStab();
    } else if (key == QLatin1String("ExampleSelection")) {
        // Setting the index does not emit activated, which shows the tutorial's overview.
        on_ExampleSelection_activated(ui->ExampleSelection->currentIndex());
    } else if (key == QLatin1String("extendedLoad")) {
        extendLoad();
    } else if (key == QLatin1String("sweepIHCP")) {
        // The pump plot's axes and the button that switches them follow the mode, as when
        // the button is pressed; otherwise a sweep would be drawn on the Bode plot's axes.
        ui->IHCPsweepButton->setText(sweepIHCP ? QStringLiteral("Bode Plot")
                                               : QStringLiteral("Sweep Load Impedance"));
        setupIHCPplots();
    }
}
