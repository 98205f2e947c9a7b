#include "app/TFMain.h"

#include "ProgramVersion.h"
#include "app/BannerPicture.h"
#include "app/Bootstrap.h"
#include "app/ClockText.h"
#include "archive/PendingRecords.h"
#include "archive/TFDB.h"
#include "config/SettingsKey.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"
#include "platform/ProgramFiles.h"
#include "widgets/ValueLabel.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quillio::app {

namespace {

const QColor bandColour(186, 211, 248);
const QColor labelBlue(0, 0, 255);

QAction* newAction(QObject* owner, const QString& name, const QString& text)
{
    auto* action = new QAction(text, owner);
    action->setObjectName(name);
    return action;
}

void paint(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

TFMain::TFMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FMain"));
    // Made first: the banner is drawn on a worker thread while the rest of the window is built.
    QWidget* banner = buildBanner();
    setWindowTitle(Platform::title());
    setWindowIcon(QIcon(QStringLiteral(":/quillio.svg")));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Centro"));
    paint(central, Qt::white);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildBand());
    layout->addSpacing(40);
    layout->addWidget(banner, 0, Qt::AlignHCenter);
    layout->addSpacing(24);

    // The year of a first start, until the start-up reads the stored one.
    StaticText1 =
        new widgets::ValueLabel(QStringLiteral("Anno di lavoro"), config::SettingsKey::defaultYear, central);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFrameStyle(QFrame::Box | QFrame::Plain);
    StaticText1->setLineWidth(2);
    StaticText1->setMinimumWidth(240);
    StaticText1->setContentsMargins(24, 6, 24, 6);
    QFont yearFont = StaticText1->font();
    yearFont.setBold(true);
    yearFont.setPointSize(36);
    StaticText1->setFont(yearFont);
    setTextColour(StaticText1, labelBlue);
    layout->addWidget(StaticText1, 0, Qt::AlignHCenter);
    layout->addStretch();
    setCentralWidget(central);

    buildMenus();
    buildStatusBar();

    // A precise timer never ticks twice within one second, so the clock never repeats a time.
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &TFMain::Timer1Timer);
    Timer1.start();
}

QWidget* TFMain::buildBand()
{
    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("Band"));
    paint(band, bandColour);
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(4, 2, 4, 2);

    ToolBar1 = new QToolBar(band);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setAccessibleName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    // The band is the toolbar's background: the toolbar draws no frame, so it keeps no room for one.
    const int itemMargin = ToolBar1->style()->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, ToolBar1);
    ToolBar1->layout()->setContentsMargins(itemMargin, itemMargin, itemMargin, itemMargin);

    TBBozze = newAction(this, QStringLiteral("TBBozze"), QStringLiteral("Bozza Fattura"));
    TBFattura = newAction(this, QStringLiteral("TBFattura"), QStringLiteral("Fattura"));
    TBRubrica = newAction(this, QStringLiteral("TBRubrica"), QStringLiteral("Rubrica"));
    TBEsci = newAction(this, QStringLiteral("TBEsci"), QStringLiteral("Esci"));
    TBBozze->setIcon(QIcon(QStringLiteral(":/icons/bozza.svg")));
    TBFattura->setIcon(QIcon(QStringLiteral(":/icons/fattura.svg")));
    TBRubrica->setIcon(QIcon(QStringLiteral(":/icons/rubrica.svg")));
    TBEsci->setIcon(QIcon(QStringLiteral(":/icons/esci.svg")));
    connect(TBBozze, &QAction::triggered, this, &TFMain::openDrafts);
    connect(TBFattura, &QAction::triggered, this, &TFMain::openInvoices);
    connect(TBRubrica, &QAction::triggered, this, &TFMain::openAddressBook);
    connect(TBEsci, &QAction::triggered, this, &QWidget::close);

    ToolBar1->addAction(TBBozze);
    ToolBar1->addAction(TBFattura);
    ToolBar1->addAction(TBRubrica);
    auto* gap = new QWidget(ToolBar1);
    gap->setFixedWidth(8);
    ToolBar1->addWidget(gap);
    ToolBar1->addAction(TBEsci);
    for (QAction* action : {TBBozze, TBFattura, TBRubrica, TBEsci}) {
        QWidget* button = ToolBar1->widgetForAction(action);
        button->setFixedSize(39, 38);
        button->setObjectName(action->objectName());
        button->setAccessibleName(action->text());
        // The hints are kept as the buttons' names but never shown.
        button->installEventFilter(this);
    }
    layout->addWidget(ToolBar1);
    layout->addStretch();
    return band;
}

QWidget* TFMain::buildBanner()
{
    auto* banner = new BannerPicture(QStringLiteral(":/banner.svg"), QSize(495, 154), this);
    banner->setObjectName(QStringLiteral("Image1"));
    banner->setAccessibleName(QStringLiteral("Image1"));
    auto* version = new QLabel(ProgramVersion::shown(), banner);
    version->setObjectName(QStringLiteral("Label1"));
    version->setAlignment(Qt::AlignCenter);
    version->setAttribute(Qt::WA_TranslucentBackground);
    QFont font = version->font();
    font.setItalic(true);
    font.setPointSize(11);
    version->setFont(font);
    setTextColour(version, labelBlue);
    version->setGeometry(0, 154 - 30, 495, 26);
    return banner;
}

void TFMain::buildMenus()
{
    BozzeFatture1 = newAction(this, QStringLiteral("BozzeFatture1"), QStringLiteral("&Bozze Fatture"));
    Fattura1 = newAction(this, QStringLiteral("Fattura1"), QStringLiteral("&Fattura"));
    Esci1 = newAction(this, QStringLiteral("Esci1"), QStringLiteral("&Esci"));
    RubricaClienti1 = newAction(this, QStringLiteral("RubricaClienti1"), QStringLiteral("Rubrica Clienti"));
    CambioAnno1 = newAction(this, QStringLiteral("CambioAnno1"), QStringLiteral("Cambio Anno"));
    CreaNuovoArchivio1 =
        newAction(this, QStringLiteral("CreaNuovoArchivio1"), QStringLiteral("Crea Nuovo Archivio"));
    Guida1 = newAction(this, QStringLiteral("Guida1"), QStringLiteral("Guida"));
    About1 = newAction(this, QStringLiteral("About1"), QStringLiteral("About"));
    DatiAzienda1 = newAction(this, QStringLiteral("DatiAzienda1"), QStringLiteral("Dati Azienda"));
    CopiaSicurezza1 =
        newAction(this, QStringLiteral("CopiaSicurezza1"), QStringLiteral("Copia di sicurezza"));
    RipristinaCopia1 =
        newAction(this, QStringLiteral("RipristinaCopia1"), QStringLiteral("Ripristina copia"));
    EsportaCommercialista1 = newAction(this, QStringLiteral("EsportaCommercialista1"),
                                       QStringLiteral("Esporta per il commercialista"));

    connect(BozzeFatture1, &QAction::triggered, this, &TFMain::openDrafts);
    connect(Fattura1, &QAction::triggered, this, &TFMain::openInvoices);
    connect(Esci1, &QAction::triggered, this, &QWidget::close);
    connect(RubricaClienti1, &QAction::triggered, this, &TFMain::openAddressBook);
    connect(CambioAnno1, &QAction::triggered, this, &TFMain::changeWorkingYear);
    connect(CreaNuovoArchivio1, &QAction::triggered, this, &TFMain::createNewArchive);
    connect(Guida1, &QAction::triggered, this, &TFMain::showGuide);
    connect(About1, &QAction::triggered, this, &TFMain::showAbout);
    connect(DatiAzienda1, &QAction::triggered, this, &TFMain::editCompanyData);
    connect(CopiaSicurezza1, &QAction::triggered, this, &TFMain::backUp);
    connect(RipristinaCopia1, &QAction::triggered, this, &TFMain::restoreCopy);
    connect(EsportaCommercialista1, &QAction::triggered, this, &TFMain::exportForAccountant);

    QMenu* documenti = menuBar()->addMenu(QStringLiteral("&Documenti"));
    documenti->setObjectName(QStringLiteral("Documenti1"));
    documenti->addAction(BozzeFatture1);
    documenti->addAction(Fattura1);
    documenti->addSeparator();
    documenti->addAction(Esci1);
    QMenu* strumenti = menuBar()->addMenu(QStringLiteral("&Strumenti"));
    strumenti->setObjectName(QStringLiteral("Strumenti1"));
    strumenti->addAction(RubricaClienti1);
    strumenti->addSeparator();
    strumenti->addAction(CambioAnno1);
    strumenti->addAction(CreaNuovoArchivio1);
    strumenti->addSeparator();
    strumenti->addAction(DatiAzienda1);
    strumenti->addSeparator();
    strumenti->addAction(CopiaSicurezza1);
    strumenti->addAction(RipristinaCopia1);
    strumenti->addAction(EsportaCommercialista1);
    QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
    help->setObjectName(QStringLiteral("Help1"));
    help->addAction(Guida1);
    help->addAction(About1);
}

void TFMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    clockPanel = new widgets::ValueLabel(QStringLiteral("Orologio"), {}, bar);
    clockPanel->setObjectName(QStringLiteral("Orologio"));
    clockPanel->setFixedWidth(80);
    clockPanel->setAlignment(Qt::AlignCenter);
    clockPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    backupPanel = new widgets::ValueLabel(QStringLiteral("Copia di sicurezza"), {}, bar);
    backupPanel->setObjectName(QStringLiteral("StatoCopia"));
    backupPanel->setFixedWidth(600);
    backupPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* right = new QLabel(bar);
    right->setFixedWidth(50);
    right->setAlignment(Qt::AlignCenter);
    right->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(clockPanel);
    bar->addWidget(backupPanel);
    bar->addWidget(right);
}

void TFMain::showBackupStatus(const QString& text)
{
    backupPanel->setValue(text);
    backupPanel->setToolTip(text);
}

void TFMain::Timer1Timer()
{
    clockPanel->setValue(ClockText::format(Platform::clock().now().time()));
}

bool TFMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void TFMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Restoring a minimised window shows it again spontaneously; the start-up runs once.
    if (event->spontaneous() || m_bootstrapDone)
        return;
    m_bootstrapDone = true;
    runBootstrap();
}

void TFMain::runBootstrap()
{
    if (!m_db)
        return;
    DefaultErrorHandler::run(
        [this] { Bootstrap(*m_db, [this](const QString& year) { StaticText1->setValue(year); }).run(); });
    // What follows the start-up (the day's automatic copy) waits until the window has painted and
    // the person has begun, so it never slows the start.
    if (m_afterStartup)
        QTimer::singleShot(afterStartupDelayMs, this, [this] { m_afterStartup(); });
}

void TFMain::openRecordWindow(const WindowProvider& provider, bool resetSize,
                              const std::function<void()>& openTable)
{
    if (!provider || !m_db)
        return;
    DefaultErrorHandler::run([&] {
        QWidget* window = provider();
        if (resetSize)
            window->resize(editorSize);
        if (openTable)
            openTable();
        Platform::modal().showModal(window);
    });
}

void TFMain::openDrafts()
{
    openRecordWindow(m_windows.bozze, true, [this] { m_db->T_Bozze.open(); });
}

void TFMain::openInvoices()
{
    openRecordWindow(m_windows.fatture, true, [this] { m_db->T_Fatture.open(); });
}

void TFMain::openAddressBook()
{
    openRecordWindow(m_windows.rubrica, false, [this] { m_db->T_Rubrica.open(); });
}

void TFMain::changeWorkingYear()
{
    openRecordWindow(m_windows.cambioAnno, false);
}

void TFMain::createNewArchive()
{
    openRecordWindow(m_windows.creaArchivio, false);
}

void TFMain::editCompanyData()
{
    openRecordWindow(m_windows.datiAzienda, false);
}

void TFMain::backUp()
{
    openRecordWindow(m_windows.copiaSicurezza, false);
}

void TFMain::restoreCopy()
{
    openRecordWindow(m_windows.ripristinaCopia, false);
}

void TFMain::exportForAccountant()
{
    openRecordWindow(m_windows.esportaCommercialista, false);
}

void TFMain::showAbout()
{
    openRecordWindow(m_windows.about, false);
}

void TFMain::showGuide()
{
    const QString index = ProgramFiles::guideIndex();
    if (index.isEmpty()) {
        Platform::messages().message(guideMissing());
        return;
    }
    Platform::shell().open(QUrl::fromLocalFile(index));
}

QString TFMain::guideMissing()
{
    const QStringList places = ProgramFiles::guideCandidates();
    return QStringLiteral("La guida non è installata.\rCercata in:\r") + places.join(QStringLiteral("\r"));
}

void TFMain::closeEvent(QCloseEvent* event)
{
    if (mayCloseWithPendingRecord())
        event->accept();
    else
        event->ignore();
}

// A record left changed in an editor closed by its close box would be dropped without a word.
bool TFMain::mayCloseWithPendingRecord()
{
    if (!m_db || !archive::PendingRecords::anyChanged(*m_db))
        return true;
    return Platform::messages().confirm(archive::PendingRecords::question, Messages::Default::No);
}

} // namespace quillio::app
