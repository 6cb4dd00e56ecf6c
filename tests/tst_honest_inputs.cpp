// Whatever is typed into a field, or read from a design file, what the window shows stays an
// honest figure: no "nan" or "inf", no prefix glued to a runaway exponent, no stand-in number
// such as the open-circuit value or a search's start value.
#include "app/mainwindow.h"
#include "designfile/designformat.h"
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

// Every text the window shows that a refresh may have written, by the widget that shows it.
QList<QPair<QString, QString>> shownTexts(QWidget *window, const QLineEdit *typedInto)
{
    QList<QPair<QString, QString>> texts;
    for (QLabel *l : window->findChildren<QLabel *>())
        texts << qMakePair(nameOf(l), l->text());
    for (QLineEdit *e : window->findChildren<QLineEdit *>())
        if (e != typedInto)
            texts << qMakePair(nameOf(e), e->text());
    for (QTextEdit *t : window->findChildren<QTextEdit *>())
        texts << qMakePair(nameOf(t), t->toPlainText());
    for (QPlainTextEdit *t : window->findChildren<QPlainTextEdit *>())
        texts << qMakePair(nameOf(t), t->toPlainText());
    for (QCustomPlot *plot : window->findChildren<QCustomPlot *>())
        for (int i = 0; i < plot->itemCount(); ++i)
            if (auto *item = qobject_cast<QCPItemText *>(plot->item(i)))
                texts << qMakePair(nameOf(plot) + QStringLiteral(" text"), item->text());
    for (QAbstractItemView *view : window->findChildren<QAbstractItemView *>()) {
        const QAbstractItemModel *model = view->model();
        if (!model || qobject_cast<QComboBox *>(view->parent()))
            continue;
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                texts << qMakePair(nameOf(view) + QStringLiteral(" cell"),
                                   model->index(r, c).data().toString());
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
    void scan(QWidget *window, const QLineEdit *typedInto, const QString &cause,
              DialogCloser &dialogs)
    {
        for (const auto &shown : shownTexts(window, typedInto))
            add(shown.first, shown.second, cause);
        for (const QString &message : dialogs.messages)
            add(QStringLiteral("message box"), message, cause);
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
    void add(const QString &where, const QString &text, const QString &cause)
    {
        for (const QString &line : text.split(QLatin1Char('\n'))) {
            const QString why = fault(line);
            if (why.isEmpty())
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
    for (QLineEdit *edit : typableFields(w.ui->Page->widget(page))) {
        if (!edit->isEnabled())
            continue; // a choice made earlier in the run greyed it out
        const QString original = edit->text();
        for (const QString &typed : kTypedValues) {
            enter(edit, typed);
            findings.scan(&w, edit,
                          QStringLiteral("%1 = \"%2\"").arg(edit->objectName(), typed), dialogs);
        }
        enter(edit, original);
    }
    findings.report();
}

void TestHonestInputs::designFileValues_data()
{
    QTest::addColumn<QString>("typed");
    for (const char *typed : {"0", "-1", "abc", "short", "open", "1e308", ""})
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
                      dialogs);
    }
    findings.report();
}

QTEST_MAIN(TestHonestInputs)
#include "tst_honest_inputs.moc"
