// Design files through the window: what a save writes, that an open brings every key back,
// files of older releases, and files that are damaged or are no design files at all.
#include "app/mainwindow.h"
#include "designfile/designformat.h"
#include "examples/exampletable.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"

#include <qcustomplot.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// key -> value of every line of a design file.
QMap<QString, QString> valuesOf(const QByteArray &bytes)
{
    QMap<QString, QString> values;
    for (const designfile::FileLine &l : designfile::parseDesign(bytes).lines)
        values.insert(l.key, l.value);
    return values;
}

// Saves w to path the way Save does once a file is current, without a dialog.
QByteArray saveTo(MainWindow &w, const QString &path)
{
    w.fileName = path;
    w.hasFileName = true;
    if (!w.saveEntries(false)) return QByteArray("<not saved>");
    return readBytes(path);
}

// The texts of the reports the window shows; they do not stop the program, so they are
// looked up rather than answered.
QStringList reports(MainWindow &w)
{
    QStringList texts;
    for (QMessageBox *box : w.findChildren<QMessageBox *>())
        if (box->isVisible()) texts << box->text();
    return texts;
}

// Answers the modal dialogs that come up while it lives, one handler call per dialog.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(std::function<bool(QWidget *)> handler) : handler(std::move(handler))
    {
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (w && w->isVisible() && this->handler(w)) ++answered;
        });
        timer.start();
    }
    std::function<bool(QWidget *)> handler;
    QTimer timer;
    int answered = 0;
};

// A file dialog answered with path (an empty path cancels it); records what it showed.
struct FileDialogAnswer
{
    explicit FileDialogAnswer(QString answer = QString()) : path(std::move(answer)) {}
    QString path;
    QString title;
    QStringList shownFiles;
    QString shownFolder;
    bool operator()(QWidget *w)
    {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        if (!dialog) return false;
        title = dialog->windowTitle();
        shownFiles = dialog->selectedFiles();
        shownFolder = dialog->directory().absolutePath();
        if (path.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides its override
        }
        return true;
    }
};

// A question box answered with one button; records its text.
struct QuestionAnswer
{
    QMessageBox::StandardButton button;
    QString text;
    bool operator()(QWidget *w)
    {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box || !box->button(button)) return false; // a report box: not a question
        text = box->text();
        box->button(button)->click();
        return true;
    }
};

// A different text of the same kind: numbers grow by a tenth, words become a number.
QString altered(const QString &text)
{
    const double v = eng::parseValue(text);
    if (v == 0 || v >= infiniteValue) return QStringLiteral("2.2");
    return QString::number(v * 1.1, 'g', 4);
}

// Changes every key of the design in w to another value it may hold.
void alterEveryKey(MainWindow &w)
{
    for (const designfile::KeyRule &keyRule : designfile::currentKeys()) {
        if (keyRule.source == designfile::Source::Fields) {
            for (const QString &name : designfile::quadrupleFields(keyRule.key)) {
                auto *edit = w.findChild<QLineEdit *>(name);
                edit->setText(altered(edit->text()));
            }
            continue;
        }
        if (keyRule.source != designfile::Source::Widget) continue;
        QWidget *widget = w.findChild<QWidget *>(keyRule.key);
        if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            edit->setText(altered(edit->text()));
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            if (combo->count() > 1)
                combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            button->setChecked(!button->isChecked());
        } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            group->setChecked(!group->isChecked());
        } else if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
            spin->setValue(spin->value() < spin->maximum() ? spin->value() + 1 : spin->value() - 1);
        } else if (auto *tabs = qobject_cast<QTabWidget *>(widget)) {
            tabs->setCurrentIndex((tabs->currentIndex() + 1) % tabs->count());
        } else if (auto *stack = qobject_cast<QStackedWidget *>(widget)) {
            stack->setCurrentIndex((stack->currentIndex() + 1) % stack->count());
        }
    }

    // Members, with values their pages can compute with.
    for (QString *text : {&w.ResS,
                          &w.CapS,
                          &w.IndS,
                          &w.ResP,
                          &w.CapP,
                          &w.IndP,
                          &w.Z1,
                          &w.Z2,
                          &w.A1,
                          &w.A2,
                          &w.FreqS,
                          &w.FreqP,
                          &w.SConRint,
                          &w.SConCint,
                          &w.SConVref,
                          &w.SConVbias,
                          &w.SConRbias,
                          &w.SConRin,
                          &w.SConRf,
                          &w.SConRnf,
                          &w.SConCnf,
                          &w.SConRdf,
                          &w.SConCdf,
                          &w.SConRdin,
                          &w.SConRdif,
                          &w.SConCdif,
                          &w.SConRbh,
                          &w.SConRbl,
                          &w.SConRs,
                          &w.SConRv,
                          &w.SConCv,
                          &w.SOAVs_pos,
                          &w.SOAVs_neg,
                          &w.SOAVb_pos,
                          &w.SOAVb_neg,
                          &w.SOAR_CS,
                          &w.SOAmaxOut,
                          &w.SOAminOut,
                          &w.SOAfreq,
                          &w.SOAtRise,
                          &w.SOAtHigh,
                          &w.SOAtFall,
                          &w.SOAtLow,
                          &w.SOAcsvGain,
                          &w.CLoadStab,
                          &w.RisoC,
                          &w.RinC,
                          &w.RfbC,
                          &w.CfbC,
                          &w.RngC,
                          &w.CngC,
                          &w.RclC,
                          &w.LLoadStab,
                          &w.RloadL,
                          &w.RinL,
                          &w.RfbL,
                          &w.CfbL,
                          &w.RdL,
                          &w.RsL,
                          &w.RsGainL,
                          &w.hostRin,
                          &w.compRfb,
                          &w.compCfb,
                          &w.hostRng,
                          &w.hostCng,
                          &w.IHCPRin,
                          &w.IHCPRinT,
                          &w.IHCPRfn,
                          &w.IHCPRfnT,
                          &w.IHCPRfp,
                          &w.IHCPRfpT,
                          &w.IHCPRs,
                          &w.IHCPRsT,
                          &w.IHCPRd,
                          &w.IHCPCd,
                          &w.IHCPRload,
                          &w.IHCPCload,
                          &w.IHCPLload,
                          &w.IHCPFreq,
                          &w.ThreePhaseR,
                          &w.ThreePhaseL,
                          &w.ThreePhaseVemf,
                          &w.ThreePhaseCycleLength,
                          &w.ThreePhaseControlAmplitude,
                          &w.ThreePhaseConstantAmplitude})
        *text = altered(*text);
    for (QString *triple : {w.P1, w.P2, w.P3, w.P4, w.P5, w.P6, w.MN, w.L1, w.L2, w.L3, w.L4, w.L5})
        for (int i = 0; i < 3; ++i)
            triple[i] = altered(triple[i]);
    // ACbidirectional is left alone: the SOA page computes it from the load line at every
    // refresh, so the file's value is only ever what that refresh found.
    for (bool *flag : {&w.phaseShiftComponents, &w.extendedLoad, &w.sweepIHCP, &w.boostSup,
                       &w.SOAVout, &w.ThreePhaseisDelta, &w.ThreePhaseisLinear})
        *flag = !*flag;
    // Amplifiers with four compensation options, so that the options can change.
    w.ui->AmpSelectorStab->setCurrentText("LX49");
    w.ui->IHCPampSelector->setCurrentText("LX49A");
    w.CompOption = 2;
    w.CompOptionIHCP = 3;
    w.SignalType = 1;
    w.ThreePhasenPoles = 6;
    w.ThreePhaseControlVariable = 0;
    w.ThreePhaseControlType = 1;
    w.ThreePhaseConstantVariable = 1;
    w.ThreePhaseTimeVector = QStringList{"0", "0.5", "1", "2", "3"};
    w.ThreePhaseAmplitudeVector = QStringList{"0", "300", "300", "100", "0"};
    w.P3graphables = QStringList{"I1", "V1", "null", "At", "null", "null"};
}

} // namespace

class TestDesignFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void defaultWindowGolden();
    void everyKeyComesBack();
    void savingTwiceGivesTheSameFile();
    void saveStripsTripleBlanks();
    void emptyValues();
    void textsKeepTheirCharacters();
    void saveWithoutFileAsks();
    void saveAsStartsAtTheCurrentFile();
    void cancelledSaveChangesNothing();
    void unwritablePathIsReported();
    void failedWriteKeepsThePreviousFile();
    void closeWithSaveWritesTheFile();

    void openClearsModified();
    void headerOnly();
    void notADesignFile_data();
    void notADesignFile();
    void crLfFileIsRefused();
    void cutShortFile_data();
    void cutShortFile();
    void lastLineWithoutLineFeed();
    void repeatedPartLinesDrawOnce();
    void repeatedDesignRecomputesOnce();
    void homeButtonAfterOpening_data();
    void homeButtonAfterOpening();
    void garbageValues();
    void compensationOptionsSurvive();
    void pumpSweepShowsOnItsAxes();
    void cancelledOpenKeepsTheFile();
    void rejectedOpenKeepsTheFile();
    void openThroughTheDialog();

    void release6Trapezoid();
    void release6Load();
    void release6Motor();
    void release7ReadsNames();
    void exampleSelectionShowsItsOverview();

private:
    QTemporaryDir tmp;
    QString path(const QString &name) const { return tmp.filePath(name); }
};

void TestDesignFile::init()
{
    QVERIFY(tmp.isValid());
}

void TestDesignFile::defaultWindowGolden()
{
    // The design of a freshly started window. To update it after a deliberate change of the
    // window's defaults or of the format, run in the build folder
    //   AMPWRIGHT_UPDATE_GOLDEN=1 ./tests/tst_designfile defaultWindowGolden
    // and review the change with git diff tests/data/designfile/default.kwd before committing.
    MainWindow w;
    const QByteArray saved = saveTo(w, path("default.kwd"));
    const QString golden = QStringLiteral(AMPWRIGHT_TEST_DATA "/designfile/default.kwd");
    if (qEnvironmentVariableIsSet("AMPWRIGHT_UPDATE_GOLDEN")) writeBytes(golden, saved);

    const QList<QByteArray> lines = saved.split('\n');
    const QList<QByteArray> expected = readBytes(golden).split('\n');
    for (int i = 0; i < qMin(lines.size(), expected.size()); ++i)
        QCOMPARE(lines[i], expected[i]);
    QCOMPARE(lines.size(), expected.size());
    QCOMPARE(lines.size(), 289); // 288 lines, each ended by a line feed
    QVERIFY(!saved.contains('\r'));
    QVERIFY(!w.designModified);
}

void TestDesignFile::everyKeyComesBack()
{
    MainWindow a;
    const QMap<QString, QString> defaults = valuesOf(saveTo(a, path("before.kwd")));
    alterEveryKey(a);
    const QMap<QString, QString> unsettled = valuesOf(saveTo(a, path("unsettled.kwd")));
    // Every line edit and every member has something else to say now.
    for (const designfile::KeyRule &keyRule : designfile::currentKeys()) {
        const bool lineEdit = keyRule.source == designfile::Source::Widget &&
                              qobject_cast<QLineEdit *>(a.findChild<QWidget *>(keyRule.key));
        if ((keyRule.source != designfile::Source::Widget || lineEdit) &&
            keyRule.key != QLatin1String("ACbidirectional"))
            QVERIFY2(unsettled.value(keyRule.key) != defaults.value(keyRule.key), qPrintable(keyRule.key));
    }

    // The pages settle a few combinations (a half-bridge part drives no full bridge, the
    // unused load field of the filter page reads "short"); opening the altered design once
    // lets them, so that what follows compares settled designs.
    a.openFile();
    QVERIFY2(reports(a).isEmpty(), qPrintable(reports(a).join('\n')));
    const QMap<QString, QString> altered = valuesOf(saveTo(a, path("altered.kwd")));

    MainWindow b;
    b.designModified = true;
    b.fileName = path("altered.kwd");
    b.openFile();
    QVERIFY2(reports(b).isEmpty(), qPrintable(reports(b).join('\n')));
    QVERIFY(!b.designModified);
    QVERIFY(b.hasFileName);
    QCOMPARE(b.fileName, path("altered.kwd"));

    const QMap<QString, QString> reopened = valuesOf(saveTo(b, path("reopened.kwd")));
    QCOMPARE(reopened.size(), 287); // every key and Version
    for (auto it = altered.cbegin(); it != altered.cend(); ++it)
        QCOMPARE(it.key() + ": " + reopened.value(it.key()), it.key() + ": " + it.value());
}

void TestDesignFile::savingTwiceGivesTheSameFile()
{
    MainWindow w;
    w.ui->SOA_Rload->setText("4.7");
    const QByteArray first = saveTo(w, path("twice.kwd"));
    const QByteArray second = saveTo(w, path("twice.kwd"));
    QCOMPARE(second, first);
    // Save with a file current writes it again without asking.
    w.ui->SOA_Rload->setText("8");
    QVERIFY(w.saveEntries(false));
    QCOMPARE(valuesOf(readBytes(path("twice.kwd"))).value("SOA_Rload"), QStringLiteral("8"));
}

void TestDesignFile::saveStripsTripleBlanks()
{
    MainWindow w;
    w.P1[0] = "4.7 u";
    w.P1[1] = " 0.2";
    w.L5[2] = "1 0 n";
    w.ui->LESRC->setText("0.0 1");
    const QMap<QString, QString> values = valuesOf(saveTo(w, path("blanks.kwd")));
    QCOMPARE(values.value("P1"), QStringLiteral("4.7u 0.2 0"));
    QCOMPARE(values.value("L5"), QStringLiteral("0 open 10n"));
    // The triples are stripped in the design itself, the parasitic fields only in the file.
    QCOMPARE(w.P1[0], QStringLiteral("4.7u"));
    QCOMPARE(w.P1[1], QStringLiteral("0.2"));
    QCOMPARE(values.value("Lparasitics").split(' ').size(), 4);
    QVERIFY(values.value("Lparasitics").startsWith("0.01 "));
    QCOMPARE(w.ui->LESRC->text(), QStringLiteral("0.0 1"));
}

void TestDesignFile::emptyValues()
{
    // Empty texts are written as empty values and come back in their places.
    MainWindow a;
    a.ui->LPScurrent->clear();
    a.P2[0].clear();
    a.ui->PESRB->clear();
    a.ThreePhaseTimeVector.clear();
    a.ThreePhaseAmplitudeVector.clear();
    const QByteArray saved = saveTo(a, path("empty.kwd"));
    QVERIFY(saved.contains("\nLPScurrent: \n"));
    QVERIFY(saved.contains("\nP2:  0 0\n"));
    QVERIFY(saved.contains("\nThreePhaseTimeVector: \n"));

    MainWindow b;
    b.fileName = path("empty.kwd");
    b.openFile();
    QCOMPARE(b.ui->LPScurrent->text(), QString());
    QCOMPARE(b.P2[0], QString());
    QCOMPARE(b.P2[1], QStringLiteral("0"));
    QCOMPARE(b.P2[2], QStringLiteral("0"));
    QCOMPARE(b.ui->PESRB->text(), QString());
    QCOMPARE(b.ui->PESLC->text(), a.ui->PESLC->text());
    QVERIFY(b.ThreePhaseTimeVector.isEmpty());
    QVERIFY(b.ThreePhaseAmplitudeVector.isEmpty());
    QVERIFY(reports(b).isEmpty());
}

void TestDesignFile::textsKeepTheirCharacters()
{
    // Values are written as typed: the micro sign, a degree sign, blanks at either end.
    MainWindow a;
    a.ui->SOA_Cload->setText(QString::fromUtf8("4.7µ"));
    a.ui->custTempLine->setText(QString::fromUtf8(" 85 °C "));
    a.IHCPRload = QString::fromUtf8("2.2 µ ");
    saveTo(a, path("characters.kwd"));
    MainWindow b;
    b.fileName = path("characters.kwd");
    b.openFile();
    QCOMPARE(b.ui->SOA_Cload->text(), QString::fromUtf8("4.7µ"));
    QCOMPARE(b.ui->custTempLine->text(), QString::fromUtf8(" 85 °C "));
    QCOMPARE(b.IHCPRload, QString::fromUtf8("2.2 µ "));
}

void TestDesignFile::saveWithoutFileAsks()
{
    MainWindow w;
    w.designModified = true;
    FileDialogAnswer answer(path("asked.kwd"));
    ModalAnswerer answerer(std::ref(answer));
    QVERIFY(w.saveEntries(false));
    QCOMPARE(answerer.answered, 1);
    QCOMPARE(answer.title, QStringLiteral("SaveAs"));
    QCOMPARE(w.fileName, path("asked.kwd"));
    QVERIFY(w.hasFileName);
    QVERIFY(!w.designModified);
    QVERIFY(readBytes(path("asked.kwd"))
                .startsWith("KEST AMPWRIGHT SAVED PREFERENCES\n"
                            "Version: 9.0.2\nPage: 0\n"));
    // From now on Save writes without asking.
    QVERIFY(w.saveEntries(false));
    QCOMPARE(answerer.answered, 1);
}

void TestDesignFile::saveAsStartsAtTheCurrentFile()
{
    MainWindow w;
    saveTo(w, path("current.kwd"));
    FileDialogAnswer answer(path("copy.kwd"));
    ModalAnswerer answerer(std::ref(answer));
    QVERIFY(w.saveEntries(true));
    QCOMPARE(answerer.answered, 1);
    QCOMPARE(answer.shownFiles, QStringList(path("current.kwd")));
    QCOMPARE(w.fileName, path("copy.kwd"));
    QCOMPARE(readBytes(path("copy.kwd")), readBytes(path("current.kwd")));
}

void TestDesignFile::cancelledSaveChangesNothing()
{
    MainWindow w;
    w.fileName = path("remembered.kwd");
    w.designModified = true;
    FileDialogAnswer cancel;
    ModalAnswerer answerer(std::ref(cancel));
    QVERIFY(!w.saveEntries(false));
    QCOMPARE(answerer.answered, 1);
    QCOMPARE(w.fileName, path("remembered.kwd"));
    QVERIFY(!w.hasFileName);
    QVERIFY(w.designModified);
    QVERIFY(!QFile::exists(path("remembered.kwd")));
    QVERIFY(reports(w).isEmpty());
}

void TestDesignFile::unwritablePathIsReported()
{
    MainWindow w;
    saveTo(w, path("good.kwd"));
    w.designModified = true;
    w.fileName = path("no such folder/design.kwd");
    QVERIFY(!w.saveEntries(false));
    QVERIFY(w.designModified);
    QCOMPARE(reports(w).size(), 1);
    QVERIFY2(reports(w)[0].startsWith("The design could not be saved to"),
             qPrintable(reports(w)[0]));
}

void TestDesignFile::failedWriteKeepsThePreviousFile()
{
    // A disk that fills up while the file is written: the previous file must survive whole.
    MainWindow w;
    const QByteArray previous = saveTo(w, path("full.kwd"));
    w.ui->SOA_Rload->setText("33");
    w.designModified = true;

    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit saved = limit;
    limit.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool ok = w.saveEntries(false);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!ok);
    QVERIFY(w.designModified);
    QCOMPARE(readBytes(path("full.kwd")), previous);
    QCOMPARE(QDir(tmp.path()).entryList({"full.kwd*"}, QDir::Files), QStringList("full.kwd"));
    QCOMPARE(reports(w).size(), 1);
    QVERIFY(reports(w)[0].contains("The file on disk is unchanged."));
}

void TestDesignFile::closeWithSaveWritesTheFile()
{
    MainWindow w;
    w.show();
    saveTo(w, path("closing.kwd"));
    w.ui->tempA->setText("40");
    w.designModified = true;
    QuestionAnswer save{QMessageBox::Save, {}};
    ModalAnswerer answerer(std::ref(save));
    QVERIFY(w.close());
    QCOMPARE(save.text, QStringLiteral("Save Changes?\n"));
    QCOMPARE(valuesOf(readBytes(path("closing.kwd"))).value("tempA"), QStringLiteral("40"));
    QFile::remove("preferences.txt");
}

void TestDesignFile::openClearsModified()
{
    MainWindow a;
    a.ui->SOA_Rload->setText("12");
    saveTo(a, path("plain.kwd"));

    for (bool before : {false, true}) {
        MainWindow b;
        b.designModified = before;
        b.fileName = path("plain.kwd");
        b.openFile();
        QVERIFY(!b.designModified);
        QCOMPARE(b.ui->SOA_Rload->text(), QStringLiteral("12"));
        QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
    }
}

void TestDesignFile::headerOnly()
{
    writeBytes(path("header.kwd"), "\n\nKEST AMPWRIGHT SAVED PREFERENCES\n");
    MainWindow w;
    w.refreshSOA(); // settles what the SOA page computes into the design
    QMap<QString, QString> before = valuesOf(saveTo(w, path("before.kwd")));
    w.hasFileName = false;
    w.designModified = true;
    w.ui->PWMfilterOrder->setValue(3);
    w.fileName = path("header.kwd");
    w.openFile();
    QVERIFY(w.hasFileName);
    QCOMPARE(w.ui->PWMfilterOrder->value(), 6);
    QVERIFY(!w.designModified);
    QVERIFY(reports(w).isEmpty());
    before.insert("PWMfilterOrder", "6");
    QCOMPARE(valuesOf(saveTo(w, path("after.kwd"))), before);
}

void TestDesignFile::notADesignFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text file") << QByteArray("Hello\nPage: 4\n");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
}

void TestDesignFile::notADesignFile()
{
    QFETCH(QByteArray, content);
    writeBytes(path("other.kwd"), content);
    MainWindow w;
    const QByteArray before = saveTo(w, path("current.kwd"));
    w.designModified = true;
    w.fileName = path("other.kwd");
    w.openFile();
    QCOMPARE(reports(w).size(), 1);
    QVERIFY2(reports(w)[0].contains("is not an Ampwright design file. Nothing was loaded."),
             qPrintable(reports(w)[0]));
    QVERIFY(w.designModified);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    // Nothing changed, and Save does not write over the rejected file.
    QCOMPARE(saveTo(w, path("current.kwd")), before);
    QCOMPARE(readBytes(path("other.kwd")), content);
}

void TestDesignFile::crLfFileIsRefused()
{
    MainWindow a;
    a.ui->SOA_Rload->setText("15");
    QByteArray crlf = saveTo(a, path("lf.kwd"));
    crlf.replace("\n", "\r\n");
    writeBytes(path("crlf.kwd"), crlf);

    MainWindow w;
    const QByteArray before = saveTo(w, path("current.kwd"));
    w.fileName = path("crlf.kwd");
    w.openFile();
    QCOMPARE(reports(w).size(), 1);
    QVERIFY2(reports(w)[0].contains("has CR LF line ends"), qPrintable(reports(w)[0]));
    QVERIFY2(reports(w)[0].endsWith("Nothing was loaded."), qPrintable(reports(w)[0]));
    QVERIFY(!reports(w)[0].contains("is not an Ampwright design file"));
    QCOMPARE(saveTo(w, path("current.kwd")), before);
}

void TestDesignFile::cutShortFile_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("No leaves the design as it was") << int(QMessageBox::No);
    QTest::newRow("Yes loads what is there") << int(QMessageBox::Yes);
}

void TestDesignFile::cutShortFile()
{
    QFETCH(int, answer);
    MainWindow a;
    a.ui->SOA_Rload->setText("15"); // line 73
    a.ui->R_CL->setText("0.33");    // line 81
    a.ui->NumParallel->setValue(3); // line 99
    QByteArray full = saveTo(a, path("full.kwd"));
    // Cut inside line 81, as a copy that stopped part-way would.
    const int cut = full.indexOf("\nR_CL: ") + 9;
    writeBytes(path("cut.kwd"), full.left(cut));

    MainWindow b;
    const QString rload = b.ui->SOA_Rload->text();
    const QString rcl = b.ui->R_CL->text();
    const int parallel = b.ui->NumParallel->value();
    QuestionAnswer question{QMessageBox::StandardButton(answer), {}};
    ModalAnswerer answerer(std::ref(question));
    b.fileName = path("cut.kwd");
    b.openFile();
    QCOMPARE(answerer.answered, 1);
    // The last line is read like the others, as far as it goes.
    QVERIFY2(question.text.contains("is incomplete. 207 of its 286 settings are missing."),
             qPrintable(question.text));
    if (answer == QMessageBox::No) {
        QCOMPARE(b.ui->SOA_Rload->text(), rload);
        QVERIFY(!b.hasFileName);
    } else {
        QCOMPARE(b.ui->SOA_Rload->text(), QStringLiteral("15"));
        QCOMPARE(b.ui->R_CL->text(), QStringLiteral("0."));
        Q_UNUSED(rcl);
        QCOMPARE(b.ui->NumParallel->value(), parallel);
        QVERIFY(b.hasFileName);
        QVERIFY(!b.designModified);
    }
}

// A complete file whose last line has lost its line feed (an editor that does not end the last
// line) opens without a question, its last line used.
void TestDesignFile::lastLineWithoutLineFeed()
{
    MainWindow a;
    a.ui->ExampleSelection->setCurrentIndex(3); // the last key
    QByteArray bytes = saveTo(a, path("full.kwd"));
    QVERIFY(bytes.endsWith("\nExampleSelection: 3\n"));
    bytes.chop(1);
    writeBytes(path("unterminated.kwd"), bytes);

    MainWindow b;
    ModalAnswerer answerer([](QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) box->reject();
        return true;
    });
    b.fileName = path("unterminated.kwd");
    b.openFile();
    QCOMPARE(answerer.answered, 0);
    QVERIFY(reports(b).isEmpty());
    QCOMPARE(b.ui->ExampleSelection->currentIndex(), 3);
    QVERIFY(!b.designModified);
}

// Every AmpSelecterSOA line resets the SOA page for its part, which draws a load line that only
// the page's refresh clears: 200 of them must neither pile up curves nor redraw 200 times.
void TestDesignFile::repeatedPartLinesDrawOnce()
{
    // An earlier 9.0 release: a file of this one that lacks most keys would ask first.
    QByteArray bytes = "KEST AMPWRIGHT SAVED PREFERENCES\nVersion: 9.0.1\n";
    for (int i = 0; i < 200; ++i)
        bytes += i % 2 ? "AmpSelecterSOA: LX30A\n" : "AmpSelecterSOA: LX26\n";
    bytes += "boostSup: 0\n";
    writeBytes(path("repeats.kwd"), bytes);

    MainWindow once;
    once.refreshSOA();
    const int refreshPlottables = once.ui->SOA->plottableCount();

    MainWindow w;
    QCustomPlot *soa = w.ui->SOA;
    int replots = 0;
    int mostPlottables = 0;
    connect(soa, &QCustomPlot::afterReplot, this, [&] {
        ++replots;
        mostPlottables = qMax(mostPlottables, soa->plottableCount());
    });
    w.fileName = path("repeats.kwd");
    w.openFile();
    QCOMPARE(w.ui->AmpSelecterSOA->currentText(), QStringLiteral("LX30A"));
    QCOMPARE(soa->plottableCount(), refreshPlottables);
    QVERIFY2(mostPlottables <= refreshPlottables, qPrintable(QString::number(mostPlottables)));
    QVERIFY2(replots < 10, qPrintable(QString::number(replots)));
}

// Opening recomputes what the design needs once, whatever the file repeats: a file that holds
// its design 40 times over redraws every plot exactly as often as the design alone does.
void TestDesignFile::repeatedDesignRecomputesOnce()
{
    QByteArray design;
    {
        MainWindow w;
        // Parts and an example other than the start's, so that their lines change the window.
        w.ui->AmpSelecterSOA->setCurrentIndex(3);
        w.ui->AmpSelectorStab->setCurrentIndex(2);
        w.ui->ExampleSelection->setCurrentIndex(4);
        design = saveTo(w, path("design.kwd"));
    }
    writeBytes(path("repeated.kwd"), design.repeated(40));

    const auto redraws = [this](const QString &file) {
        MainWindow w;
        QMap<QString, int> counts;
        for (QCustomPlot *plot : w.findChildren<QCustomPlot *>())
            connect(plot, &QCustomPlot::afterReplot, this,
                    [&counts, plot] { ++counts[plot->objectName()]; });
        w.fileName = path(file);
        w.openFile();
        return counts;
    };
    const QMap<QString, int> once = redraws(QStringLiteral("design.kwd"));
    QVERIFY(!once.isEmpty());
    QCOMPARE(redraws(QStringLiteral("repeated.kwd")), once);
}

void TestDesignFile::homeButtonAfterOpening_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("commandLine");
    QTest::addColumn<bool>("shown");
    QTest::newRow("menu, stability page") << 4 << false << true;
    QTest::newRow("command line, three-phase page") << 10 << true << true;
    QTest::newRow("menu, home page") << 0 << false << false;
}

void TestDesignFile::homeButtonAfterOpening()
{
    QFETCH(int, page);
    QFETCH(bool, commandLine);
    QFETCH(bool, shown);
    writeBytes(path("page.kwd"), "KEST AMPWRIGHT SAVED PREFERENCES\nVersion: 9.0.1\nPage: " +
                                     QByteArray::number(page) + "\n");
    MainWindow w;
    QVERIFY(w.ui->HomeButton->isHidden());
    if (commandLine) {
        w.openCommandLineFile({QStringLiteral("ampwright"), path("page.kwd")});
    } else {
        w.fileName = path("page.kwd");
        w.openFile();
    }
    QCOMPARE(w.ui->Page->currentIndex(), page);
    QCOMPARE(!w.ui->HomeButton->isHidden(), shown);
}

void TestDesignFile::garbageValues()
{
    writeBytes(path("garbage.kwd"), "KEST AMPWRIGHT SAVED PREFERENCES\n"
                                    "Version: 9.0.1\n"
                                    "Page: 99\n"
                                    "SignalType: 12\n"
                                    "AmpSelecterSOA: NOPE\n"
                                    "SOAtabWidget: -4\n"
                                    "LPSRelax: 100000\n"
                                    "SOA_Rload: 22\n"
                                    "yVariable: 17\n"
                                    "ThreePhaseTimeVector: 0 1 2\n"
                                    "P1: 1m\n"
                                    "ExampleSelection: many\n");
    MainWindow w;
    const int soaTab = w.ui->SOAtabWidget->currentIndex();
    const QString part = w.ui->AmpSelecterSOA->currentText();
    const QStringList times = w.ThreePhaseTimeVector;
    w.fileName = path("garbage.kwd");
    w.openFile();

    QCOMPARE(reports(w).size(), 1);
    const QString report = reports(w)[0];
    for (const char *expected :
         {"line 4, SignalType: 12 is out of range; the present value was kept",
          "line 12, ExampleSelection: \"many\" is not a whole number; 0 was used",
          "line 3, Page: 99 is not one of its 20 choices",
          "line 5, AmpSelecterSOA: \"NOPE\" is not in its list;",
          "line 6, SOAtabWidget: -4 is not one of its", "line 7, LPSRelax: 100000 is outside",
          "line 9, yVariable: 17 is not one of its",
          "line 11, P1: 1 of 3 values; the missing ones were left as they were",
          "ThreePhaseTimeVector, ThreePhaseAmplitudeVector: 3 times but 5 amplitudes"})
        QVERIFY2(report.contains(QString::fromUtf8(expected)), qPrintable(report));

    // The good values are loaded, the bad ones left as they were.
    QCOMPARE(w.ui->SOA_Rload->text(), QStringLiteral("22"));
    QCOMPARE(w.ui->Page->currentIndex(), 0);
    QCOMPARE(w.SignalType, 0);
    QCOMPARE(w.ui->SOAtabWidget->currentIndex(), soaTab);
    QCOMPARE(w.ui->AmpSelecterSOA->currentText(), part);
    QCOMPARE(w.ui->LPSRelax->value(), w.ui->LPSRelax->maximum());
    QCOMPARE(w.ThreePhaseTimeVector, times);
    QCOMPARE(w.P1[0], QStringLiteral("1m"));
    QCOMPARE(w.P1[1], QStringLiteral("0"));
    QVERIFY(!w.designModified);
    QVERIFY(w.hasFileName);
}

void TestDesignFile::compensationOptionsSurvive()
{
    // The pump page resets its option when its amplifier changes, which the amplifier's line
    // below the option does; the file's option must still stand. An option the amplifier
    // does not have is not kept.
    writeBytes(path("options.kwd"), "KEST AMPWRIGHT SAVED PREFERENCES\n"
                                    "Version: 9.0.1\n"
                                    "CompOption: 2\n"
                                    "CompOptionIHCP: 3\n"
                                    "AmpSelectorStab: LX21\n"
                                    "IHCPampSelector: LX49\n");
    MainWindow w;
    w.fileName = path("options.kwd");
    w.openFile();
    QCOMPARE(w.ui->IHCPampSelector->currentText(), QStringLiteral("LX49"));
    QCOMPARE(w.CompOptionIHCP, 3);
    QCOMPARE(w.ui->AmpSelectorStab->currentText(), QStringLiteral("LX21"));
    QCOMPARE(w.CompOption, 0);
    QCOMPARE(reports(w).size(), 1);
    QVERIFY2(reports(w)[0].contains("CompOption: option 2 does not exist for the LX21"),
             qPrintable(reports(w)[0]));
}

void TestDesignFile::pumpSweepShowsOnItsAxes()
{
    // The load sweep of the pump page is drawn on linear axes and offers the way back to the
    // Bode plot, whichever mode the window showed before.
    for (bool sweep : {true, false}) {
        MainWindow w;
        if (!sweep) w.ui->IHCPsweepButton->click();
        writeBytes(path("sweep.kwd"), QByteArray("KEST AMPWRIGHT SAVED PREFERENCES\n"
                                                 "Version: 9.0.1\n"
                                                 "sweepIHCP: ") +
                                          (sweep ? "1" : "0") + "\n");
        w.fileName = path("sweep.kwd");
        w.openFile();
        QCOMPARE(w.sweepIHCP, sweep);
        QCOMPARE(w.ui->IHCPsweepButton->text(),
                 sweep ? QStringLiteral("Bode Plot") : QStringLiteral("Sweep Load Impedance"));
        QCOMPARE(w.ui->IHCPbode->xAxis->scaleType(),
                 sweep ? QCPAxis::stLinear : QCPAxis::stLogarithmic);
    }
}

void TestDesignFile::cancelledOpenKeepsTheFile()
{
    MainWindow w;
    saveTo(w, path("current.kwd"));
    FileDialogAnswer cancel;
    ModalAnswerer answerer(std::ref(cancel));
    w.loadEntries();
    QCOMPARE(answerer.answered, 1);
    QCOMPARE(cancel.title, QStringLiteral("Open"));
    QCOMPARE(w.fileName, path("current.kwd"));
    QVERIFY(w.hasFileName);
    QVERIFY(reports(w).isEmpty());
}

void TestDesignFile::rejectedOpenKeepsTheFile()
{
    writeBytes(path("notes.kwd"), "shopping list\n");
    MainWindow w;
    saveTo(w, path("current.kwd"));
    FileDialogAnswer answer(path("notes.kwd"));
    ModalAnswerer answerer(std::ref(answer));
    w.loadEntries();
    QCOMPARE(answerer.answered, 1);
    QCOMPARE(reports(w).size(), 1);
    // Save goes on writing the design's own file, never over the rejected one.
    QCOMPARE(w.fileName, path("current.kwd"));
    QVERIFY(w.saveEntries(false));
    QCOMPARE(readBytes(path("notes.kwd")), QByteArray("shopping list\n"));
}

void TestDesignFile::openThroughTheDialog()
{
    MainWindow a;
    a.ui->heatsink->setText("1.5");
    saveTo(a, path("picked.kwd"));

    MainWindow w;
    w.fileName = path("start.kwd");
    FileDialogAnswer answer(path("picked.kwd"));
    ModalAnswerer answerer(std::ref(answer));
    w.loadEntries();
    QCOMPARE(answer.shownFolder, tmp.path());
    QCOMPARE(w.fileName, path("picked.kwd"));
    QVERIFY(w.hasFileName);
    QCOMPARE(w.ui->heatsink->text(), QStringLiteral("1.5"));
}

void TestDesignFile::release6Trapezoid()
{
    MainWindow w;
    w.fileName = QStringLiteral(AMPWRIGHT_TEST_DATA "/designfile/release6_trapezoid.kwd");
    w.openFile();
    QCOMPARE(w.ui->AmpSelecterSOA->currentText(), QStringLiteral("LX30A"));   // index 8
    QCOMPARE(w.ui->AmpSelectorStab->currentText(), QStringLiteral("LX26"));   // index 4
    QCOMPARE(w.ui->IHCPampSelector->currentText(), QStringLiteral("LX58"));   // index 16
    QCOMPARE(w.ui->ampSelectorFilter->currentText(), QStringLiteral("NV22")); // index 1
    QCOMPARE(w.ui->ampSelectorPower->currentText(), QStringLiteral("NV314")); // index 2
    QCOMPARE(w.ui->ampSelectorSCon->currentText(), QStringLiteral("JNV300")); // index 4
    QCOMPARE(w.ui->hostSelector->currentText(), QStringLiteral("OP07"));      // index 11
    QCOMPARE(w.ui->HSpart->currentIndex(), 0);
    QCOMPARE(w.ui->P3ampSelector->currentText(), QStringLiteral("NV330"));

    // Supplies stand after the part's own (the part's line comes first).
    QCOMPARE(w.SOAVs_pos, QStringLiteral("40"));
    QCOMPARE(w.SOAVs_neg, QStringLiteral("-40"));
    QCOMPARE(w.SOAmaxOut, QStringLiteral("30"));
    QCOMPARE(w.SOAminOut, QStringLiteral("-30"));
    QCOMPARE(w.SignalType, 1);
    QVERIFY(!w.SOAVout); // maxOut 2
    QCOMPARE(w.SOAtRise, QStringLiteral("10 u"));
    QCOMPARE(w.SOAtHigh, QStringLiteral("200 u"));
    QCOMPARE(w.SOAtFall, QStringLiteral("10 u"));
    QCOMPARE(w.SOAtLow, QStringLiteral("200 u"));
    QCOMPARE(w.ui->SOA_Cload->text(), QStringLiteral("100 n"));
    QCOMPARE(w.ui->SOA_Rload->text(), QStringLiteral("short"));
    QCOMPARE(w.ui->SOA_Lload->text(), QStringLiteral("short"));
    QVERIFY(w.ui->SOA_series->isChecked());
    QCOMPARE(w.ui->MotorBox->currentText(), QStringLiteral("Stall"));
    QCOMPARE(w.ui->MotorVDC->text(), QStringLiteral("30"));
    QVERIFY(!w.designModified);
}

void TestDesignFile::release6Load()
{
    MainWindow w;
    w.ui->SOA_parallel->setChecked(true);
    w.fileName = QStringLiteral(AMPWRIGHT_TEST_DATA "/designfile/release6_load.kwd");
    w.openFile();
    // 20 ohm at -45 degrees, 2 kHz: R = 20 cos 45° = 14.1 ohm,
    // C = 1 / (2 · 20 · sin 45° · π · 2 kHz) = 5.63 µF.
    QVERIFY(w.ui->SOA_series->isChecked());
    QCOMPARE(w.ui->SOA_Rload->text(), QStringLiteral("14.1 "));
    QCOMPARE(w.ui->SOA_Cload->text(), QStringLiteral("5.63 u"));
    QCOMPARE(w.ui->SOA_Lload->text(), QStringLiteral("short"));
    QCOMPARE(w.SOAfreq, QStringLiteral("2k"));
    // tabWidget 3 after SOAprevTab 2: the motor signal on the third tab.
    QCOMPARE(w.SOAprevTab, 2);
    QCOMPARE(w.SignalType, 3);
    QCOMPARE(w.ui->SOAtabWidget->currentIndex(), 2);
    QCOMPARE(w.ui->loadTypeBox->currentText(), QStringLiteral("DC Motor"));
    QVERIFY(reports(w).isEmpty());
}

// An older release's DC-motor design is a motor design here too, not an uploaded waveform
// built from whatever samples the window holds.
void TestDesignFile::release6Motor()
{
    writeBytes(path("motor6.kwd"), "KEST AMPWRIGHT SAVED PREFERENCES\n"
                                   "Version: 6.0.3\n"
                                   "tabWidget: 2\n");
    MainWindow w;
    w.fileName = path("motor6.kwd");
    w.openFile();
    QCOMPARE(w.SignalType, 3);
    QCOMPARE(w.ui->SOAtabWidget->currentIndex(), 1);
    QCOMPARE(w.ui->loadTypeBox->currentText(), QStringLiteral("DC Motor"));
    QVERIFY(reports(w).isEmpty());
}

void TestDesignFile::release7ReadsNames()
{
    writeBytes(path("release7.kwd"), "KEST AMPWRIGHT SAVED PREFERENCES\n"
                                     "Version: 7.1.0\n"
                                     "AmpSelecterSOA: LX61\n"
                                     "ampSelectorPower: NV24\n"
                                     "HSpart: LX61\n");
    MainWindow w;
    w.fileName = path("release7.kwd");
    w.openFile();
    QCOMPARE(w.ui->AmpSelecterSOA->currentText(), QStringLiteral("LX61"));
    QCOMPARE(w.ui->ampSelectorPower->currentText(), QStringLiteral("NV24"));
    QCOMPARE(w.ui->HSpart->currentText(), QStringLiteral("LX61"));
    QVERIFY(reports(w).isEmpty());
}

void TestDesignFile::exampleSelectionShowsItsOverview()
{
    // The tutorial page shows the overview of the tutorial the file selects, as when the user
    // picks it.
    writeBytes(path("tutorial.kwd"), "KEST AMPWRIGHT SAVED PREFERENCES\n"
                                     "Version: 9.0.1\n"
                                     "ExampleSelection: 3\n");
    MainWindow w;
    const QString first = w.ui->ExDesc->toPlainText();
    w.fileName = path("tutorial.kwd");
    w.openFile();
    QCOMPARE(w.ui->ExampleSelection->currentIndex(), 3);
    QCOMPARE(w.ui->ExDesc->toPlainText(),
             examples::readDescription(examples::overviewNumber(3)));
    QVERIFY(w.ui->ExDesc->toPlainText() != first);
}

QTEST_MAIN(TestDesignFile)
#include "tst_designfile.moc"
