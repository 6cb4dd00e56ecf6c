// Saving and opening design files: the dialogs, the file itself, and the recomputation of every
// page once a file is read. The format lives in designformat.*, older releases in
// designreader.*, the values of each key in mainwindow_designvalues.cpp.
#include "app/mainwindow.h"

#include "app/version.h"
#include "designfile/designformat.h"
#include "designfile/designmembers.h"
#include "designfile/designreader.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHash>
#include <QMessageBox>
#include <QSaveFile>
#include <QSet>
#include <QStackedWidget>

#include <algorithm>
#include <limits>

namespace {

QString shownPath(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

// Problems of one opening, listed in the message; a long list is cut.
QString problemList(const QStringList &problems)
{
    constexpr int kShown = 12;
    QString text = problems.mid(0, kShown).join(QLatin1Char('\n'));
    if (problems.size() > kShown)
        text += QStringLiteral("\n... and %1 more").arg(problems.size() - kShown);
    return text;
}

// The file line a problem text names ("line 12, ..."); problems of the design as a whole,
// found after the last line, come last.
int lineOfProblem(const QString &problem)
{
    if (!problem.startsWith(QLatin1String("line "))) return std::numeric_limits<int>::max();
    return problem.midRef(5, problem.indexOf(QLatin1Char(',')) - 5).toInt();
}

} // namespace

void MainWindow::reportDesignFile(const QString &text)
{
    // Not modal to the program: a report must not stop a close, a start-up or a test that
    // goes on behind it.
    auto *box =
        new QMessageBox(QMessageBox::Warning, tr("Design File"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->show();
}

void MainWindow::removeSpaces()
{
    for (QString *triple : {P1, P2, P3, P4, P5, P6, MN, L1, L2, L3, L4, L5})
        for (int i = 0; i < 3; ++i)
            triple[i] = designfile::removeBlanks(triple[i]);
}

bool MainWindow::saveEntries(bool saveAs)
{
    QString target = fileName;
    if (saveAs || !hasFileName) {
        const QString chosen = QFileDialog::getSaveFileName(this, tr("SaveAs"), fileName,
                                                            tr("Kest Ampwright Files (*.kwd)"));
        if (chosen.isEmpty()) return false; // cancelled: the current file stays current
        target = chosen;
    }

    // Written beside the target and moved over it only when complete, so that a failed save
    // leaves the previous file as it was.
    // Unbuffered: a failed write must reach QSaveFile, which otherwise misses errors of its
    // final buffer flush and would move a truncated file over the previous one.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reportDesignFile(tr("The design could not be saved to %1:\n%2")
                             .arg(shownPath(target), file.errorString()));
        return false;
    }
    removeSpaces();
    const QByteArray bytes =
        designfile::writeDesign(collectDesign(), QString::fromLatin1(kAmpwrightVersion));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString error = file.errorString();
        file.cancelWriting();
        reportDesignFile(tr("The design could not be saved to %1:\n%2\n\nThe file on disk is "
                            "unchanged.")
                             .arg(shownPath(target), error));
        return false;
    }
    fileName = target;
    hasFileName = true;
    designModified = false;
    return true;
}

void MainWindow::loadEntries()
{
    const QString chosen = QFileDialog::getOpenFileName(this, tr("Open"), fileName,
                                                        tr("Kest Ampwright Files (*.kwd)"));
    if (chosen.isEmpty()) return; // cancelled: the design on screen keeps its file
    loadDesign(chosen, true);
}

void MainWindow::openFile()
{
    loadDesign(fileName, true);
}

void MainWindow::openCommandLineFile(const QStringList &arguments)
{
    if (arguments.size() < 2) return;
    fileName = arguments.at(1);
    // A path that does not open is passed over in silence, as a start without it would be.
    loadDesign(fileName, false);
}

bool MainWindow::loadDesign(const QString &path, bool reportUnreadable)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reportUnreadable && !path.isEmpty())
            reportDesignFile(tr("The design file %1 could not be opened:\n%2")
                                 .arg(shownPath(path), file.errorString()));
        return false;
    }
    const QString notADesign =
        tr("%1 is not an Ampwright design file. Nothing was loaded.").arg(shownPath(path));
    if (file.size() > designfile::kMaxFileBytes) {
        reportDesignFile(notADesign);
        return false;
    }

    setCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const designfile::ParsedDesign design = designfile::parseDesign(file.readAll());
    file.close();
    setCursor(Qt::ArrowCursor);

    if (design.crLineEnds) {
        reportDesignFile(tr("%1 has CR LF line ends, which an editor or a file transfer in text "
                            "mode gives it; Ampwright design files end each line with a line "
                            "feed only. Nothing was loaded.")
                             .arg(shownPath(path)));
        return false;
    }
    if (!design.isDesign) {
        reportDesignFile(notADesign);
        return false;
    }
    if (!confirmIncompleteDesign(path, design)) return false;

    setCursor(Qt::WaitCursor);
    fileName = path;
    hasFileName = true;
    ui->PWMfilterOrder->setValue(6);
    const QStringList problems = applyDesign(design);
    refreshAfterOpening();
    designModified = false;
    setCursor(Qt::ArrowCursor);

    if (!problems.isEmpty())
        reportDesignFile(tr("Some values in %1 could not be used:\n\n%2\n\nEverything else was "
                            "loaded.")
                             .arg(shownPath(path), problemList(problems)));
    return true;
}

bool MainWindow::confirmIncompleteDesign(const QString &path,
                                         const designfile::ParsedDesign &design)
{
    // A file of this release lacks nothing unless it was cut short; loading what is left would
    // mix its design with the one on screen, so the user decides.
    QStringList missing;
    if (designfile::versionOf(design) == QLatin1String(kAmpwrightVersion))
        missing = designfile::missingKeys(design);
    if (missing.isEmpty()) return true;

    const QString text =
        tr("The design file %1 is incomplete. %2 of its %3 settings are missing.\n\nOpen what it "
           "holds? Settings it lacks keep their present values.")
            .arg(shownPath(path))
            .arg(missing.size())
            .arg(designfile::currentKeys().size());
    return QMessageBox::question(this, tr("Open"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QStringList MainWindow::applyDesign(const designfile::ParsedDesign &design)
{
    // Kept to undo a profile whose times and amplitudes do not pair up.
    const QStringList profileTimes = ThreePhaseTimeVector;
    const QStringList profileAmplitudes = ThreePhaseAmplitudeVector;
    // The compensation options the file sets; -1 while it sets none.
    int fileCompOption = -1;
    int fileCompOptionIHCP = -1;

    designfile::DesignReader reader({[this](int i) { return beforeV7IndextoAmpName(i); },
                                     [this](int i) { return beforeV7IndextoHostName(i); },
                                     [this](int i) { return beforeV7IndextoPwmName(i); }});
    // Gathered once: a line then costs the same however long the file is.
    const designfile::DesignMembers members = designMembers();
    const QHash<QString, QWidget *> widgets = designWidgets();

    // What a key runs beyond storing its value (a part's reset, a page refresh) waits until a
    // later line could tell the difference, so that a run of repeats runs it once. The SOA
    // part's reset waits for the values it resets or copies. A key that comes again with the
    // value it last ran for changes nothing it has not already done, as choosing the selected
    // item of a list again changes nothing: so a file that repeats its design, however often,
    // costs one run of each.
    QString pending;
    QString pendingValue;
    QHash<QString, QString> ranFor;
    const auto runPending = [&] {
        if (pending.isEmpty()) return;
        const QString key = pending;
        pending.clear();
        const auto last = ranFor.constFind(key);
        if (last != ranFor.constEnd() && *last == pendingValue) return;
        ranFor.insert(key, pendingValue);
        afterDesignValue(key);
    };
    const auto seesPending = [&pending](const QString &key) {
        if (key == pending) return false;
        if (pending != QLatin1String("AmpSelecterSOA")) return true;
        static const QSet<QString> resetByPart = {
            QStringLiteral("LogCheckBox"), QStringLiteral("boostSup"),
            QStringLiteral("R_FO"),        QStringLiteral("FOcheckBox"),
            QStringLiteral("R_CL"),        QStringLiteral("RangeBox"),
            QStringLiteral("SOAVs_pos"),   QStringLiteral("SOAVs_neg"),
            QStringLiteral("SOAVb_pos"),   QStringLiteral("SOAVb_neg")};
        return resetByPart.contains(key);
    };

    QStringList problems;
    for (const designfile::FileLine &line : design.lines) {
        const designfile::WindowState now{SignalType, SOAprevTab, SOAmaxOut};
        for (const designfile::Assignment &a : reader.translate(line, now)) {
            if (!pending.isEmpty() && seesPending(a.key)) runPending();
            QString why;
            if (!applyDesignValue(a, members, widgets, &why)) {
                problems << QStringLiteral("line %1, %2: %3").arg(line.number).arg(a.key, why);
                continue;
            }
            if (a.key == QLatin1String("CompOption")) fileCompOption = CompOption;
            if (a.key == QLatin1String("CompOptionIHCP")) fileCompOptionIHCP = CompOptionIHCP;
            if (hasAfterDesignValue(a.key)) {
                if (pending != a.key) runPending();
                pending = a.key;
                pendingValue = a.value;
            }
        }
    }
    runPending();
    problems = reader.problems() + problems;
    std::stable_sort(problems.begin(), problems.end(), [](const QString &a, const QString &b) {
        return lineOfProblem(a) < lineOfProblem(b);
    });

    // A page settles its compensation option when its amplifier changes (the pump page resets
    // it to the first), which the amplifier's line further down the file does. The file's own
    // option stands when the file's amplifier has it.
    const auto settleOption = [&](int &option, int fromFile, const QString &key,
                                  const QString &part) {
        if (fromFile < 0) return;
        option = fromFile;
        if (option < findLinear(part).getSROptions()) return;
        problems << tr("%1: option %2 does not exist for the %3; the first one is used")
                        .arg(key)
                        .arg(option)
                        .arg(part);
        option = 0;
    };
    settleOption(CompOption, fileCompOption, QStringLiteral("CompOption"),
                 ui->AmpSelectorStab->currentText());
    settleOption(CompOptionIHCP, fileCompOptionIHCP, QStringLiteral("CompOptionIHCP"),
                 ui->IHCPampSelector->currentText());

    if (ThreePhaseTimeVector.size() != ThreePhaseAmplitudeVector.size()) {
        problems << tr("ThreePhaseTimeVector, ThreePhaseAmplitudeVector: %1 times but %2 "
                       "amplitudes; the motor profile was left as it was")
                        .arg(ThreePhaseTimeVector.size())
                        .arg(ThreePhaseAmplitudeVector.size());
        ThreePhaseTimeVector = profileTimes;
        ThreePhaseAmplitudeVector = profileAmplitudes;
    }
    return problems;
}

void MainWindow::refreshAfterOpening()
{
    refreshLPS();
    refreshSOA();
    refreshStab();
    RCPC();
    refreshSPS();
    matchingNetwork();
    refreshFilter();
    plotFullFilter();
    refreshPower();
    refreshHeatsinks();
    drawSConSchematic();
    refreshSCon();
    SConIcons();
    // The wizard's first step is shown afresh, so that it lays out its new icons.
    if (ui->Page->currentIndex() == 13) {
        ui->Page->setCurrentIndex(0);
        ui->Page->setCurrentIndex(13);
    }
    refreshIHCP();
    refreshP3();
}
