#include "app/mainwindow.h"

#include "app/maker.h"
#include "app/preferences.h"
#include "app/releasecheck.h"
#include "app/resources.h"
#include "app/textroom.h"
#include "app/version.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <qcustomplot.h>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui_MainWindow)
{
    initAmpwrightResources();
    ui->setupUi(this);
    formTextSizes = textroom::formSizes(this);
    textroom::keepAboveBody(formTextSizes, QApplication::font("QWidget").pointSizeF());
    textroom::keepCaptionsApart(this);
    textroom::keepRoomInBoxes(this);
    ui->VersionLabel->setText(QStringLiteral("Version ") + QString::fromLatin1(kAmpwrightVersion));
    ui->HomeButton->hide();

    LPSmodel = new QStandardItemModel(0, 5, this);
    SPSmodel = new QStandardItemModel(0, 5, this);
    HSmodel = new QStandardItemModel(0, 5, this);

    startReleaseCheck();
    loadPartLists();
    setPageDefaults();
    hasFileName = false;
    IHCPbodeTitle = new QCPTextElement(ui->IHCPbode, QStringLiteral("title"));
    setupSch();
    fileName = preferences::readLastDesignPath();
    ui->SupportLink->setText(
        QStringLiteral("<html><head/><body><p><a href=\"") + QString::fromLatin1(maker::kSupportPage) +
        QStringLiteral("\"><span style=\" text-decoration: underline; color:#0000ff;\">") +
        QString::fromLatin1(maker::kSupportInvitation) +
        QStringLiteral("</span></a></p></body></html>"));
    ui->SupportLink->setTextFormat(Qt::RichText);
    fillAllDropDownMenus();

    SOAsine();
    setupSOAplot();
    setupWavePlots();
    ui->AmpSelecterSOA->setCurrentText(QStringLiteral("LX30A"));
    makeSOAplot();
    refreshSOA();

    FillInTable();
    FillInPwmTable();

    setupBodePlot();
    setupStabSch();
    ui->AmpSelectorStab->setCurrentText(QStringLiteral("LX27"));
    decideStabSch();
    refreshStab();

    setupFilterPlot();
    ui->ampSelectorFilter->setCurrentText(QStringLiteral("NV22"));
    refreshFilter();
    ui->ampSelectorPower->setCurrentText(QStringLiteral("NV22"));
    setupSPower();

    // Tutorial page: the first tutorial's overview.
    on_ExampleSelection_activated(0);

    FillInHSTable();
    SetupHeatsink();
    refreshHeatsinks();

    ui->ampSelectorSCon->setCurrentText(QStringLiteral("JNV300"));
    setupSCon();

    // The part is chosen with the selector's signals blocked: its slot would otherwise
    // recompute the page before the page is set up.
    {
        const QSignalBlocker blockP3(ui->P3ampSelector);
        ui->P3ampSelector->setCurrentText(QStringLiteral("NV321"));
    }
    setupP3page();

    setupIHCP();
    ui->IHCPampSelector->setCurrentText(QStringLiteral("LX26"));
    refreshIHCP();

    setupDemoPlot();

    designModified = false;

    openCommandLineFile(QCoreApplication::arguments());
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::setPageDefaults()
{
    CompOption = 0;
    phaseShiftComponents = true;
    CompOptionIHCP = 0;
    sweepIHCP = false;
    extendedLoad = false;
    ACbidirectional = false;

    ResS = CapS = IndS = QStringLiteral("short");
    ResP = CapP = IndP = QStringLiteral("open");
    Z1 = Z2 = A1 = A2 = QStringLiteral("0");
    FreqS = FreqP = QStringLiteral("1k");

    SOAVs_pos = SOAVb_pos = QStringLiteral("50");
    SOAVs_neg = SOAVb_neg = QStringLiteral("-50");
    boostSup = false;
    SOAR_CS = QStringLiteral("1");
    SignalType = 0;
    SOAVout = true;
    SOAmaxOut = QStringLiteral("40");
    SOAminOut = QStringLiteral("-40");
    SOAfreq = QStringLiteral("1k");
    SOAtRise = SOAtHigh = SOAtFall = SOAtLow = QStringLiteral("25u");
    SOAcsvGain = QStringLiteral("1");

    CLoadStab = QStringLiteral("0");
    RisoC = QStringLiteral("short");
    RinC = QStringLiteral("1k");
    RfbC = QStringLiteral("20k");
    CfbC = RngC = CngC = QStringLiteral("open");
    RclC = QStringLiteral("short");
    LLoadStab = QStringLiteral("0");
    RloadL = QStringLiteral("10");
    RinL = QStringLiteral("10k");
    RfbL = QStringLiteral("1k");
    CfbL = RdL = QStringLiteral("open");
    RsL = QStringLiteral("2");
    RsGainL = QStringLiteral("short");
    hostRin = QStringLiteral("1k");
    compRfb = QStringLiteral("30k");
    compCfb = hostRng = hostCng = QStringLiteral("open");

    SConRint = QStringLiteral("1k");
    SConCint = QStringLiteral("4.7n");
    SConVref = QStringLiteral("2.5");
    SConVbias = QStringLiteral("15");
    SConRbias = QStringLiteral("83333");
    SConRin = QStringLiteral("10k");
    SConRf = QStringLiteral("14k");
    SConRnf = SConCnf = QStringLiteral("0");
    SConRdf = QStringLiteral("6.2k");
    SConCdf = QStringLiteral("1.2n");
    SConRdin = QStringLiteral("90k");
    SConRdif = QStringLiteral("9k");
    SConCdif = QStringLiteral("1n");
    SConRbh = SConRbl = QStringLiteral("open");
    SConRs = QStringLiteral("0.2");
    SConRv = SConCv = QStringLiteral("open");

    for (QString *triple : {P1, P2, P3, P4, P5, P6, MN, L3, L4})
        triple[0] = triple[1] = triple[2] = QStringLiteral("0");
    for (QString *triple : {L1, L2}) {
        triple[0] = triple[1] = QStringLiteral("0");
        triple[2] = QStringLiteral("short");
    }
    L5[0] = QStringLiteral("0");
    L5[1] = QStringLiteral("open");
    L5[2] = QStringLiteral("short");

    IHCPRin = IHCPRfn = IHCPRfp = QStringLiteral("10k");
    IHCPRinT = IHCPRfnT = IHCPRfpT = QStringLiteral("0.1");
    IHCPRs = IHCPRsT = QStringLiteral("1");
    IHCPRd = IHCPCd = QStringLiteral("open");
    IHCPRload = QStringLiteral("10");
    IHCPCload = IHCPLload = QStringLiteral("short");
    IHCPFreq = QStringLiteral("1k");

    ThreePhaseR = QStringLiteral("10");
    ThreePhaseL = QStringLiteral("33m");
    ThreePhaseVemf = QStringLiteral("5m");
    ThreePhasenPoles = 4;
    ThreePhaseisDelta = true;
    ThreePhaseControlVariable = 1;
    ThreePhaseControlType = 0;
    ThreePhaseConstantVariable = 2;
    ThreePhaseControlAmplitude = QStringLiteral("600");
    ThreePhaseConstantAmplitude = QStringLiteral("75");
    ThreePhaseisLinear = false;
    ThreePhaseCycleLength = QStringLiteral("5m");
    ThreePhaseTimeVector = QStringList{"0", "1", "2", "3", "4"};
    ThreePhaseAmplitudeVector = QStringList{"0", "600", "600", "0", "0"};
    P3graphables = QStringList{"I1", "null", "null", "null", "null", "null"};
}

void MainWindow::startReleaseCheck()
{
    // Fire and forget: the answer arrives through the event loop; failures stay silent.
    auto *manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &MainWindow::fileIsReady);
    manager->get(QNetworkRequest(release::releaseUrl()));
}
