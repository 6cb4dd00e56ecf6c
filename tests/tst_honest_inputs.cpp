// Whatever is typed into a field, or read from a design file, what the window shows stays an
// honest figure: no "nan" or "inf", no prefix glued to a runaway exponent, no stand-in number
// such as the open-circuit value or a search's start value.
#include "app/mainwindow.h"
#include "designfile/designformat.h"
#include "soa/loadcalc.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"

#include <qcustomplot.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// What an engineer may type into any field.
const QStringList kTypedValues = {"",      "-",    "abc",    "0",      "-1",  "-1k",
                                  "short", "open", "1e308",  "1e-308", "nan", "inf",
                                  "1e308k"};

// Why a shown text is not an honest figure; empty when it is one.
QString fault(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("(?<![A-Za-z])(nan|inf)(?![A-Za-z])"),
                                         QRegularExpression::CaseInsensitiveOption);
    // An exponent in front of a prefix letter: the ladder ran off its end ("1.59e+08 fF",
    // "1e-293 fHz"); "1e-05 fV" is the formatters' own way of writing 1e-20 V.
    static const QRegularExpression prefixed(
        QStringLiteral("\\d(?:\\.\\d+)?e([+-]\\d+) ?[fpnu\u00b5mkMGT]"));
    static const QRegularExpression exponent(QStringLiteral("\\d(?:\\.\\d+)?e\\+(\\d+)"));
    static const QRegularExpression sentinel(
        QStringLiteral("4\\.29 ?G|4294967|4\\.29497e\\+09|-1e\\+09"));

    if (word.match(text).hasMatch())
        return QStringLiteral("not a number");
    QRegularExpressionMatchIterator it = prefixed.globalMatch(text);
    while (it.hasNext())
        if (const int e = it.next().captured(1).toInt(); e >= 5 || e <= -10)
            return QStringLiteral("garbled prefix");
    it = exponent.globalMatch(text);
    while (it.hasNext())
        if (it.next().captured(1).toInt() >= 10) // no quantity on these pages is that large
            return QStringLiteral("runaway magnitude");
    if (sentinel.match(text).hasMatch())
        return QStringLiteral("stand-in value");
    return QString();
}

QString nameOf(const QObject *o)
{
    QString name = o->objectName();
    for (const QObject *p = o->parent(); name.isEmpty() && p; p = p->parent())
        if (!p->objectName().isEmpty())
            name = QStringLiteral("(child of %1)").arg(p->objectName());
    return name;
}

// A text the window shows that a refresh may have written, by the widget that shows it. An
// input (an editable field, a schematic value the user clicks to change) may hold what was
// typed or read as it is.
struct Shown
{
    QString where, text;
    bool input = false;
};

QList<Shown> shownTexts(QWidget *window, const QLineEdit *typedInto)
{
    QList<Shown> texts;
    for (QLabel *l : window->findChildren<QLabel *>())
        texts.append({nameOf(l), l->text()});
    for (QLineEdit *e : window->findChildren<QLineEdit *>())
        if (e != typedInto)
            texts.append({nameOf(e), e->text(), !e->isReadOnly()});
    for (QTextEdit *t : window->findChildren<QTextEdit *>())
        texts.append({nameOf(t), t->toPlainText()});
    for (QPlainTextEdit *t : window->findChildren<QPlainTextEdit *>())
        texts.append({nameOf(t), t->toPlainText()});
    for (QCustomPlot *plot : window->findChildren<QCustomPlot *>())
        for (int i = 0; i < plot->itemCount(); ++i)
            if (auto *item = qobject_cast<QCPItemText *>(plot->item(i)))
                texts.append({nameOf(plot) + QStringLiteral(" text"), item->text(), true});
    for (QAbstractItemView *view : window->findChildren<QAbstractItemView *>()) {
        const QAbstractItemModel *model = view->model();
        if (!model || qobject_cast<QComboBox *>(view->parent()))
            continue;
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                texts.append({nameOf(view) + QStringLiteral(" cell"),
                              model->index(r, c).data().toString()});
    }
    return texts;
}

// Closes every modal dialog a refresh opens and keeps its text, so that it is checked too.
class DialogCloser
{
public:
    DialogCloser()
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                messages << box->text();
            dialog->reject();
        });
        timer.start();
    }
    QStringList messages;

private:
    QTimer timer;
};

// Findings, each once: where it shows, what it shows, what made it show.
class Findings
{
public:
    // `echo`: the value an input may repeat on a line of its own.
    void scan(QWidget *window, const QLineEdit *typedInto, const QString &cause,
              DialogCloser &dialogs, const QString &echo = QString())
    {
        for (const Shown &shown : shownTexts(window, typedInto))
            add(shown.where, shown.text, cause, shown.input ? echo : QString());
        for (const QString &message : dialogs.messages)
            add(QStringLiteral("message box"), message, cause, QString());
        dialogs.messages.clear();
    }
    void report() const
    {
        if (lines.isEmpty())
            return;
        QFAIL(qPrintable(QStringLiteral("%1 dishonest texts:\n").arg(lines.size()) +
                         lines.join(QLatin1Char('\n'))));
    }

private:
    void add(const QString &where, const QString &text, const QString &cause, const QString &echo)
    {
        for (const QString &line : text.split(QLatin1Char('\n'))) {
            const QString why = fault(line);
            if (why.isEmpty() || (!echo.isEmpty() && line == echo))
                continue;
            const QString key = where + QLatin1Char('|') + line.trimmed();
            if (seen.contains(key))
                continue;
            seen.insert(key);
            lines << QStringLiteral("  %1: %2 \"%3\"  after %4")
                         .arg(why, where, line.trimmed().left(120), cause);
        }
    }
    QSet<QString> seen;
    QStringList lines;
};

// The fields of a page a user can type into.
QList<QLineEdit *> typableFields(QWidget *page)
{
    QList<QLineEdit *> fields;
    for (QLineEdit *e : page->findChildren<QLineEdit *>()) {
        if (qobject_cast<QComboBox *>(e->parent()) || qobject_cast<QAbstractSpinBox *>(e->parent()))
            continue;
        if (!e->isEnabled() || e->isReadOnly() || e->objectName().isEmpty())
            continue;
        fields << e;
    }
    std::sort(fields.begin(), fields.end(),
              [](QLineEdit *a, QLineEdit *b) { return a->objectName() < b->objectName(); });
    return fields;
}

void enter(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    emit edit->textEdited(text);
    emit edit->editingFinished();
}

// Types every value into each field in turn, scanning the window after each; each field gets
// its text back before the next.
void typeEverything(QWidget *window, const QList<QLineEdit *> &fields, DialogCloser &dialogs,
                    Findings &findings)
{
    for (QLineEdit *edit : fields) {
        if (!edit->isEnabled()) continue; // a choice made earlier in the run greyed it out
        const QString original = edit->text();
        for (const QString &typed : kTypedValues) {
            enter(edit, typed);
            findings.scan(window, edit,
                          QStringLiteral("%1 = \"%2\"").arg(edit->objectName(), typed), dialogs);
        }
        enter(edit, original);
    }
}

} // namespace

class TestHonestInputs : public QObject
{
    Q_OBJECT

private slots:
    void detector_data();
    void detector();
    void typedValues_data();
    void typedValues();
    void designFileValues_data();
    void designFileValues();
    void loadCalcTypedValues();
    void signalTypedValues_data();
    void signalTypedValues();
    void hostileTexts_data();
    void hostileTexts();
};

void TestHonestInputs::detector_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("dishonest");
    QTest::newRow("plain figure") << "3.07 W" << false;
    QTest::newRow("decade edge") << "1e+03 Hz" << false;
    QTest::newRow("placeholder") << eng::noResultText() << false;
    QTest::newRow("info is a word") << "See the info tab" << false;
    QTest::newRow("nan") << "nan W" << true;
    QTest::newRow("minus inf") << "Ideal: -inf A/V" << true;
    QTest::newRow("glued prefix") << "-1.59e+08 fF" << true;
    QTest::newRow("below femto") << "1e-05 fV" << false;
    QTest::newRow("far below femto") << "4.39e-289 fW RMS" << true;
    QTest::newRow("runaway") << "Most Efficient Supplies: 3e+16 V" << true;
    QTest::newRow("open circuit shown") << "4.29 GOhm" << true;
    QTest::newRow("search start") << "-1e+09" << true;
}

void TestHonestInputs::detector()
{
    QFETCH(QString, text);
    QFETCH(bool, dishonest);
    QCOMPARE(!fault(text).isEmpty(), dishonest);
}

void TestHonestInputs::typedValues_data()
{
    QTest::addColumn<int>("page");
    MainWindow w;
    for (int i = 0; i < w.ui->Page->count(); ++i) {
        QWidget *page = w.ui->Page->widget(i);
        if (!typableFields(page).isEmpty())
            QTest::newRow(qPrintable(page->objectName())) << i;
    }
}

void TestHonestInputs::typedValues()
{
    QFETCH(int, page);
    MainWindow w;
    w.resize(1366, 720);
    w.ui->Page->setCurrentIndex(page);
    DialogCloser dialogs;
    Findings findings;
    findings.scan(&w, nullptr, QStringLiteral("start-up"), dialogs);
    typeEverything(&w, typableFields(w.ui->Page->widget(page)), dialogs, findings);
    findings.report();
}

void TestHonestInputs::designFileValues_data()
{
    QTest::addColumn<QString>("typed");
    for (const char *typed :
         {"0", "-1", "abc", "short", "open", "1e308", "", "nan", "inf", "1e308k", "-1e308"})
        QTest::newRow(typed) << QString::fromLatin1(typed);
}

void TestHonestInputs::designFileValues()
{
    // Every value of the start-up design that reads as a number is replaced by `typed`.
    QFETCH(QString, typed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("typed.kwd"));
    QByteArray bytes;
    {
        MainWindow w;
        w.fileName = path;
        w.hasFileName = true;
        QVERIFY(w.saveEntries(false));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }
    QStringList lines = QString::fromLatin1(bytes).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        const int colon = line.indexOf(QLatin1String(": "));
        if (colon < 0)
            continue;
        const int k = designfile::currentKeyIndex(line.left(colon));
        if (k < 0 || designfile::currentKeys()[k].form == designfile::Form::Integer ||
            designfile::currentKeys()[k].form == designfile::Form::Flag)
            continue;
        QStringList parts = line.mid(colon + 2).split(QLatin1Char(' '));
        for (QString &part : parts) {
            const eng::ReadResult r = eng::readNumber(part);
            if (!part.trimmed().isEmpty() && r.status == eng::ReadStatus::Valid)
                part = typed;
        }
        line = line.left(colon + 2) + parts.join(QLatin1Char(' '));
    }
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(lines.join(QLatin1Char('\n')).toLatin1());
    out.close();

    MainWindow w;
    w.resize(1366, 720);
    DialogCloser dialogs;
    w.openCommandLineFile({QStringLiteral("ampwright"), path});
    Findings findings;
    for (int i = 0; i < w.ui->Page->count(); ++i) {
        w.ui->Page->setCurrentIndex(i);
        findings.scan(&w, nullptr, QStringLiteral("opening a design holding \"%1\"").arg(typed),
                      dialogs, typed);
    }
    findings.report();
}

void TestHonestInputs::loadCalcTypedValues()
{
    LoadCalc dialog;
    DialogCloser dialogs;
    Findings findings;
    const QList<QLineEdit *> fields = typableFields(&dialog);
    QCOMPARE(fields.size(), 12);
    typeEverything(&dialog, fields, dialogs, findings);
    findings.report();
}

void TestHonestInputs::signalTypedValues_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("sine") << 0;
    QTest::newRow("trapezoid") << 1;
    QTest::newRow("uploaded") << 2;
}

// What the signal dialog stores as typed, as the SOA page then shows it.
void TestHonestInputs::signalTypedValues()
{
    QFETCH(int, kind);
    MainWindow w;
    w.resize(1366, 720);
    w.ui->Page->setCurrentIndex(2);
    w.SignalType = kind;
    DialogCloser dialogs;
    Findings findings;
    for (QString *member : {&w.SOAmaxOut, &w.SOAminOut, &w.SOAfreq, &w.SOAtRise, &w.SOAtHigh,
                            &w.SOAtFall, &w.SOAtLow, &w.SOAcsvGain}) {
        const QString original = *member;
        for (const QString &typed : kTypedValues) {
            *member = typed;
            w.refreshSOA();
            findings.scan(&w, nullptr, QStringLiteral("a signal text \"%1\"").arg(typed), dialogs);
        }
        *member = original;
    }
    findings.report();
}

// Texts that once reached the screen as they were typed, or as an overflowing figure: each row
// says where it is entered, what it is, and what shows instead (the placeholder, or a read-out
// line), which note names the cause and which field turns red.
void TestHonestInputs::hostileTexts_data()
{
    QTest::addColumn<QString>("surface");     // loadcalc, readout, upload, designfile
    QTest::addColumn<QStringList>("entries"); // name=value, in order
    // The label that shows the result, a read-out line, "Vs supply" or "Vcc supply" for the
    // PWM control schematic's; empty where the page shows only the note.
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("text");        // what it shows
    QTest::addColumn<QString>("note");        // the one-line note, exactly
    QTest::addColumn<QString>("red");         // the field that turns red; empty for none

    const QString none = eng::noResultText();
    const QString beyond = QStringLiteral("|Z| beyond 1 G\u03a9: ");
    // 1/(2π·1 kHz·1e-308 F) = 1.59e304 Ω.
    QTest::newRow("load calculator, C of 1e-308 F")
        << "loadcalc" << QStringList{"Cseries=1e-308"} << "Zseries" << none
        << "Series: " + beyond + "C too small for this frequency"
        << "Cseries";
    QTest::newRow("load calculator, 1 uF at 1e-300 Hz")
        << "loadcalc" << QStringList{"Cseries=1u", "Fseries=1e-300"} << "Zseries" << none
        << "Series: " + beyond + "frequency too low for this C"
        << "Fseries";
    QTest::newRow("load calculator, L of 1e308 H")
        << "loadcalc" << QStringList{"Lseries=1e308"} << "thetaSeries" << none
        << "Series: " + beyond + "L too large for this frequency"
        << "Lseries";
    QTest::newRow("load calculator, frequency that overflows")
        << "loadcalc" << QStringList{"Lseries=1m", "Fseries=1e308"} << "Zseries" << none
        << "Series: " + beyond + "frequency too high"
        << "Fseries";
    QTest::newRow("load calculator, parallel R of 1e308")
        << "loadcalc" << QStringList{"Rparallel=1e308"} << "Zparallel" << none
        << "Parallel: " + beyond + "R too large"
        << "Rparallel";
    QTest::newRow("load calculator, parallel C of 1e-308 F")
        << "loadcalc" << QStringList{"Cparallel=1e-308"} << "Zparallel" << none
        << "Parallel: " + beyond + "C too small for this frequency"
        << "Cparallel";
    QTest::newRow("load calculator, Z1 of 1e308")
        << "loadcalc" << QStringList{"Z1=1e308"} << "Zresult" << none
        << "Z combination: " + beyond + "Z1 too large"
        << "Z1";
    QTest::newRow("load calculator, angle that overflows")
        << "loadcalc" << QStringList{"Z1=1", "Angle2=1e308"} << "AngleResult" << none
        << "Z combination: " + beyond + "angle 2 too large"
        << "Angle2";
    QTest::newRow("signal read-out, nan levels")
        << "readout" << QStringList{"SOAmaxOut=nan", "SOAminOut=nan"} << "1"
        << none + " V to " + none + " V"
        << "Note: Max V_out is not a number."
        << "";
    QTest::newRow("signal read-out, level beyond any figure")
        << "readout" << QStringList{"SOAmaxOut=1e308"} << "3"
        << "(" + none + " V amplitude centered around " + none + " V)"
        << "Note: Max V_out is too large to be a figure."
        << "";
    QTest::newRow("signal read-out, frequency inf")
        << "readout" << QStringList{"SOAfreq=inf"} << "2" << none + " Hz"
        << "Note: Frequency is not a number."
        << "";
    QTest::newRow("signal read-out, scale factor inf")
        << "readout" << QStringList{"SignalType=2", "SOAcsvGain=inf"} << "1"
        << "Scale Factor of " + none << "Note: Scale Factor is not a number."
        << "";
    QTest::newRow("upload, times 5e-324 apart")
        << "upload" << QStringList{"0,1", "5e-324,2", "1e-323,3"} << ""
        << ""
        << "!!! Uploaded times lie too close together to resample: the previous signal is "
           "kept !!!"
        << "";
    QTest::newRow("upload, values too far apart")
        << "upload" << QStringList{"0,1e308", "1e-3,-1e308", "2e-3,0"} << ""
        << ""
        << "!!! Uploaded values are too large to resample: the previous signal is kept !!!"
        << "";
    QTest::newRow("upload, value beyond the double range")
        << "upload" << QStringList{"0,1", "1e-3,1e999", "2e-3,0"} << ""
        << ""
        << "!!! The signal holds a value too large to compute with: the previous signal is "
           "kept !!!"
        << "";
    QTest::newRow("design file, fan diameter 1e20")
        << "designfile" << QStringList{"HSfluidCheckBox=1", "HSfanDia=1e20"} << "HSvolumeFlow"
        << none << "The fan opening is too large for a volume flow."
        << "HSfanDia";
    QTest::newRow("design file, fan side unreadable")
        << "designfile"
        << QStringList{"HSfluidCheckBox=1", "HSfanCirc=0", "HSfanRect=1", "HSfanX=abc"}
        << "HSvolumeFlow" << none << "The fan opening is not a size of 0 or more."
        << "HSfanX";
    QTest::newRow("design file, stability R_IN nan")
        << "designfile" << QStringList{"RinC=nan"} << "PhaseMargin" << none
        << "R_IN is not a number: 1/ß is unbounded"
        << "";
    QTest::newRow("design file, PWM control Vs nan")
        << "designfile" << QStringList{"SConVs=nan"} << "Vs supply" << none
        << "!!! Vs is not a number: the loop was not calculated !!!"
        << "SConVs";
    QTest::newRow("design file, PWM control Vcc inf")
        << "designfile" << QStringList{"SConVcc=inf"} << "Vcc supply" << none
        << "!!! Vcc is too large: the loop was not calculated !!!"
        << "SConVcc";
    QTest::newRow("design file, PWM control Vs open")
        << "designfile" << QStringList{"SConVs=open"} << "Vs supply" << none
        << "!!! Vs is open: the loop was not calculated !!!"
        << "SConVs";
    QTest::newRow("design file, Howland R_S nan")
        << "designfile" << QStringList{"IHCPRs=nan"} << "" << ""
        << "\tR_S is not a number: the transconductance is unbounded"
        << "";
    QTest::newRow("design file, Howland R_IN -1e308")
        << "designfile" << QStringList{"IHCPRin=-1e308"} << "" << ""
        << "\tR_IN is out of range: a resistance cannot be negative"
        << "";
}

void TestHonestInputs::hostileTexts()
{
    QFETCH(QString, surface);
    QFETCH(QStringList, entries);
    QFETCH(QString, shown);
    QFETCH(QString, text);
    QFETCH(QString, note);
    QFETCH(QString, red);
    const auto isRed = [](QWidget *field) {
        return field->palette().color(QPalette::Text) == QColor(Qt::red);
    };

    if (surface == QLatin1String("loadcalc")) {
        LoadCalc dialog;
        for (const QString &entry : entries) {
            auto *edit = dialog.findChild<QLineEdit *>(entry.section('=', 0, 0));
            QVERIFY2(edit, qPrintable(entry));
            edit->setText(entry.section('=', 1));
            emit edit->editingFinished();
        }
        QCOMPARE(dialog.findChild<QLabel *>(shown)->text(), text);
        QVERIFY(dialog.findChild<QLabel *>(shown)->styleSheet().contains(QLatin1String("red")));
        QCOMPARE(dialog.findChild<QLabel *>("calcNotes")->text(), note);
        QVERIFY(isRed(dialog.findChild<QLineEdit *>(red)));
        for (QLineEdit *other : dialog.findChildren<QLineEdit *>())
            QVERIFY2(other->objectName() == red || !isRed(other), qPrintable(other->objectName()));
        return;
    }

    MainWindow w;
    if (surface == QLatin1String("readout")) {
        for (const QString &entry : entries) {
            const QString name = entry.section('=', 0, 0), value = entry.section('=', 1);
            if (name == QLatin1String("SignalType")) w.SignalType = value.toInt();
            if (name == QLatin1String("SOAmaxOut")) w.SOAmaxOut = value;
            if (name == QLatin1String("SOAminOut")) w.SOAminOut = value;
            if (name == QLatin1String("SOAfreq")) w.SOAfreq = value;
            if (name == QLatin1String("SOAcsvGain")) w.SOAcsvGain = value;
        }
        w.refreshSOA();
        const QStringList lines = w.ui->SOASignalReadout->toPlainText().split('\n');
        QCOMPARE(lines.value(shown.toInt()), text);
        QVERIFY2(lines.contains(note), qPrintable(lines.join('\n')));
        return;
    }

    QTemporaryDir dir;
    if (surface == QLatin1String("upload")) {
        const QString path = dir.filePath(QStringLiteral("samples.csv"));
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write(entries.join('\n').toLatin1() + '\n');
        csv.close();
        const QVector<double> before = w.SOAtime;
        w.loadSOAwaveform(path);
        QCOMPARE(w.SOAsignalNote, note);
        QCOMPARE(w.SOAtime, before);
        return;
    }

    // A design file: the window's own design with the entries' values in their lines.
    const QString path = dir.filePath(QStringLiteral("hostile.kwd"));
    w.fileName = path;
    w.hasFileName = true;
    QVERIFY(w.saveEntries(false));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
    file.close();
    for (const QString &entry : entries) {
        const QString key = entry.section('=', 0, 0) + QStringLiteral(": ");
        bool found = false;
        for (QString &line : lines)
            if (line.startsWith(key)) {
                line = key + entry.section('=', 1);
                found = true;
            }
        QVERIFY2(found, qPrintable(entry));
    }
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join('\n').toLatin1());
    file.close();

    MainWindow opened;
    DialogCloser dialogs;
    opened.openCommandLineFile({QStringLiteral("ampwright"), path});
    opened.ui->Page->setCurrentIndex(7);
    QCPItemText *supply = shown == QLatin1String("Vs supply")    ? opened.sconVsLabel.data()
                          : shown == QLatin1String("Vcc supply") ? opened.sconVccLabel.data()
                                                                 : nullptr;
    if (supply) {
        QCOMPARE(supply->text(), text);
        QCOMPARE(supply->color(), QColor(Qt::red));
    } else if (!shown.isEmpty()) {
        QCOMPARE(opened.findChild<QLabel *>(shown)->text(), text);
    }
    QStringList notes;
    for (QLabel *label : opened.findChildren<QLabel *>())
        notes << label->text().split('\n');
    for (QTextEdit *edit : opened.findChildren<QTextEdit *>())
        notes << edit->toPlainText().split('\n');
    QVERIFY2(notes.contains(note), qPrintable(notes.join('\n')));
    if (!red.isEmpty()) QVERIFY(isRed(opened.findChild<QLineEdit *>(red)));
}

QTEST_MAIN(TestHonestInputs)
#include "tst_honest_inputs.moc"
