// Product summary tables: the staff page's export of five comma-separated catalog tables.
#include "app/mainwindow.h"

#include "selectors/summarytables.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QTextStream>

using selectors::SummaryTable;

namespace {

void writeLines(QTextStream *stream, const QStringList &lines)
{
    for (const QString &line : lines)
        *stream << line << '\n';
}

} // namespace

void MainWindow::on_PSGButton_clicked()
{
    GeneratePSG();
}

void MainWindow::GeneratePSG()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Select Folder"), QStringLiteral("/home"),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty()) return;
    const QString error = exportProductSummary(folder);
    if (!error.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Product Summary Tables"), error);
}

QString MainWindow::exportProductSummary(const QString &folder)
{
    for (SummaryTable table : selectors::summaryTables) {
        const QString path = QDir(folder).filePath(selectors::summaryFileName(table));
        // Written beside the old file and swapped in only when complete, so a failed
        // export never leaves a table cut short.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return QStringLiteral("The product summary table \"%1\" could not be written: %2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        QTextStream stream(&file);
        // UTF-8 whatever the system's locale, so the "µ" of the units rows reads the same
        // everywhere.
        stream.setCodec("UTF-8");
        switch (table) {
        case SummaryTable::HighCurrentOpAmps:
            HighCurrentOpAmpList(&stream);
            break;
        case SummaryTable::HighSpeedOpAmps:
            HighSpeedOpAmpList(&stream);
            break;
        case SummaryTable::HighVoltageOpAmps:
            HighVoltageOpAmpList(&stream);
            break;
        case SummaryTable::HighCurrentPWM:
            HighCurrentPWMList(&stream);
            break;
        case SummaryTable::HighVoltagePWM:
            HighVoltagePWMList(&stream);
            break;
        }
        stream.flush();
        if (stream.status() != QTextStream::Ok || !file.commit()) {
            return QStringLiteral("The product summary table \"%1\" could not be written: %2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
        }
    }
    return QString();
}

void MainWindow::HighCurrentOpAmpList(QTextStream *HC)
{
    writeLines(HC, selectors::summaryTableLines(SummaryTable::HighCurrentOpAmps, ampVector,
                                                pwmVector, packageVector));
}

void MainWindow::HighSpeedOpAmpList(QTextStream *HC)
{
    writeLines(HC, selectors::summaryTableLines(SummaryTable::HighSpeedOpAmps, ampVector, pwmVector,
                                                packageVector));
}

void MainWindow::HighVoltageOpAmpList(QTextStream *HC)
{
    writeLines(HC, selectors::summaryTableLines(SummaryTable::HighVoltageOpAmps, ampVector,
                                                pwmVector, packageVector));
}

void MainWindow::HighCurrentPWMList(QTextStream *HC)
{
    writeLines(HC, selectors::summaryTableLines(SummaryTable::HighCurrentPWM, ampVector, pwmVector,
                                                packageVector));
}

void MainWindow::HighVoltagePWMList(QTextStream *HC)
{
    writeLines(HC, selectors::summaryTableLines(SummaryTable::HighVoltagePWM, ampVector, pwmVector,
                                                packageVector));
}
