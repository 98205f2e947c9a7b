#include "invoices/TFFatture1.h"

#include "archive/TFDB.h"
#include "business/BusinessFile.h"
#include "business/CompanyStore.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "dbcontrols/DBGrid.h"
#include "einvoice/InvoiceRecord.h"
#include "engine/EngineError.h"
#include "engine/Values.h"
#include "invoices/InvoicePrintParameters.h"
#include "invoices/TFFatturaElettronica.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"
#include "recordbody/LineSlots.h"
#include "recordbody/RecordPanel.h"
#include "recordbody/StartingValues.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillio::invoices {

const QString TFFatture1::draftListQuery = QStringLiteral("SELECT * FROM Bozze.DB ORDER BY ORDNUM ASC");
const QString TFFatture1::draftNotFound = QStringLiteral("BOZZA NON TROVATA");

namespace {

// The draft fields an invoice takes over, in the order they are copied.
QStringList copiedFields()
{
    QStringList fields{"CodRif", "Ragione_Sociale", "Via", "Citta", "CAP", "PIVA", "CF", "Testo1", "Testo2"};
    for (int slot = 1; slot <= recordbody::LineSlots::count; ++slot)
        fields << recordbody::LineSlots::amount(slot) << recordbody::LineSlots::description(slot);
    fields << "TotAut"
           << "Totale"
           << "IVA"
           << "Totale_IVA"
           << "Totale_Fattura"
           << "Condizioni"
           << "Note";
    return fields;
}

} // namespace

TFFatture1::TFFatture1(QWidget* parent)
    : RecordEditor(QStringLiteral("Fatture"), QStringLiteral("Scheda Fattura"), QColor(109, 173, 252), true,
                   parent)
{
    setObjectName(QStringLiteral("FFatture1"));
    buildCommands([this] { buildPrintCommand(); });
    buildPicker();
}

void TFFatture1::setDataModule(archive::TFDB* db)
{
    RecordEditor::setDataModule(db, &db->DS_Fatture);
    Elenco_Bozze->bind(&db->DS_QGEN,
                       {{"OrdNum", "OrdNum", Qt::AlignCenter}, {"Ragione_Sociale", "Ragione_Sociale"}});
    Elenco_Bozze->horizontalHeader()->resizeSection(0, 50);
    Elenco_Bozze->horizontalHeader()->resizeSection(1, 280);
}

void TFFatture1::buildPrintCommand()
{
    // The menu sets Stampa apart from the editing commands; the toolbar runs on without a gap.
    menu()->addSeparator();
    Stampa1 = menu()->addMenu(QStringLiteral("&Stampa"));
    Stampa1->setObjectName(QStringLiteral("Stampa1"));
    StpFattura1 = Stampa1->addAction(QStringLiteral("Fattura"));
    StpFattura1->setObjectName(QStringLiteral("StpFattura1"));
    connect(StpFattura1, &QAction::triggered, this,
            [this] { DefaultErrorHandler::run([this] { StpFattura1Click(); }); });
    StpFatturaElettronica1 = Stampa1->addAction(QStringLiteral("Fattura elettronica"));
    StpFatturaElettronica1->setObjectName(QStringLiteral("StpFatturaElettronica1"));
    connect(StpFatturaElettronica1, &QAction::triggered, this,
            [this] { DefaultErrorHandler::run([this] { StpFatturaElettronica1Click(); }); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopMenu1 = PopupMenu1->addAction(QStringLiteral("Stampa Fattura"));
    PopMenu1->setObjectName(QStringLiteral("PopMenu1"));
    connect(PopMenu1, &QAction::triggered, this,
            [this] { DefaultErrorHandler::run([this] { StpFattura1Click(); }); });
    PopMenu2 = PopupMenu1->addAction(QStringLiteral("Fattura elettronica"));
    PopMenu2->setObjectName(QStringLiteral("PopMenu2"));
    connect(PopMenu2, &QAction::triggered, this,
            [this] { DefaultErrorHandler::run([this] { StpFatturaElettronica1Click(); }); });
    TBStampa = new QAction(QIcon(QStringLiteral(":/icons/stampa.svg")), QStringLiteral("&Stampa"), this);
    TBStampa->setObjectName(QStringLiteral("TBStampaAction"));
    TBStampa->setMenu(PopupMenu1);
    toolBar()->addAction(TBStampa);
    auto* button = qobject_cast<QToolButton*>(toolBar()->widgetForAction(TBStampa));
    button->setObjectName(QStringLiteral("TBStampa"));
    button->setAccessibleName(QStringLiteral("Stampa"));
    button->setPopupMode(QToolButton::InstantPopup);
    button->installEventFilter(this);
}

void TFFatture1::buildPicker()
{
    Panel1 = new QFrame(centralWidget());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(Panel1);
    auto* title = new QLabel(QStringLiteral("Elenco Bozze"), Panel1);
    title->setObjectName(QStringLiteral("Label1"));
    title->setAlignment(Qt::AlignCenter);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 4);
    title->setFont(font);
    layout->addWidget(title);

    Elenco_Bozze = new dbcontrols::DBGrid(Panel1);
    Elenco_Bozze->setObjectName(QStringLiteral("Elenco_Bozze"));
    Elenco_Bozze->setAccessibleName(QStringLiteral("Elenco Bozze"));
    Elenco_Bozze->horizontalHeader()->hide();
    Elenco_Bozze->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    Elenco_Bozze->setShowGrid(false);
    Elenco_Bozze->setSelectionBehavior(QAbstractItemView::SelectItems);
    QPalette palette = Elenco_Bozze->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::ToolTipText));
    Elenco_Bozze->setPalette(palette);
    layout->addWidget(Elenco_Bozze, 1);

    auto* buttons = new QHBoxLayout;
    BT_Seleziona = new QPushButton(QStringLiteral("Seleziona"), Panel1);
    BT_Seleziona->setObjectName(QStringLiteral("BT_Seleziona"));
    BT_Seleziona->setAccessibleName(QStringLiteral("Seleziona"));
    BT_Annulla = new QPushButton(QStringLiteral("&Annulla"), Panel1);
    BT_Annulla->setObjectName(QStringLiteral("BT_Annulla"));
    BT_Annulla->setAccessibleName(QStringLiteral("Annulla"));
    connect(BT_Seleziona, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { BT_SelezionaClick(); }); });
    connect(BT_Annulla, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { BT_AnnullaClick(); }); });
    buttons->addStretch();
    buttons->addWidget(BT_Seleziona);
    buttons->addWidget(BT_Annulla);
    layout->addLayout(buttons);
    Panel1->resize(380, 460);
    Panel1->hide();
    Panel1->setEnabled(false);
}

void TFFatture1::placePicker()
{
    const QRect area = PanelScheda->geometry();
    Panel1->move(area.center() - QPoint(Panel1->width() / 2, Panel1->height() / 2));
}

void TFFatture1::resizeEvent(QResizeEvent* event)
{
    RecordEditor::resizeEvent(event);
    placePicker();
}

bool TFFatture1::pickerShown() const
{
    return Panel1->isVisible();
}

void TFFatture1::showPicker(bool shown)
{
    Panel1->setEnabled(shown);
    Panel1->setVisible(shown);
    if (shown) {
        placePicker();
        Panel1->raise();
    }
}

void TFFatture1::setOwnCommands(Layout layout)
{
    const bool browse = layout == Layout::Browse;
    Stampa1->menuAction()->setEnabled(browse);
    TBStampa->setEnabled(browse);
}

void TFFatture1::Nuovo1Click()
{
    setLayout(Layout::Edit);
    PanelScheda->setEnabled(false);
    table().append();
    writeStartingValues();
    db().QGEN.close();
    db().QGEN.clearSql();
    db().QGEN.addSql(draftListQuery);
    db().QGEN.open();
    showPicker(true);
}

void TFFatture1::writeStartingValues()
{
    table().setFieldValue(QStringLiteral("Data"), Platform::clock().today());
    recordbody::StartingValues::write(table());
}

// Steps the draft table to the draft of the list's current row; false at the end of the table
// without it (an empty list, or settings that name another draft file than the list's).
bool TFFatture1::findChosenDraft()
{
    engine::Table& drafts = db().T_Bozze;
    drafts.open();
    drafts.first();
    if (!db().QGEN.isActive() || db().QGEN.isEmpty())
        return false;
    return drafts.locate(QStringLiteral("OrdNum"), db().QGEN.fieldValue(QStringLiteral("OrdNum")));
}

void TFFatture1::copyChosenDraft()
{
    engine::Table& invoices = table();
    engine::Table& drafts = db().T_Bozze;
    invoices.setFieldValue(QStringLiteral("Stato"), QStringLiteral("IN COMPILAZIONE"));
    invoices.setFieldValue(QStringLiteral("Data"), Platform::clock().today());
    for (const QString& field : copiedFields())
        invoices.setFieldValue(field, drafts.fieldValue(field));
}

void TFFatture1::BT_SelezionaClick()
{
    if (!findChosenDraft()) {
        db().T_Bozze.close();
        Platform::messages().message(draftNotFound);
        return;
    }
    copyChosenDraft();
    db().T_Bozze.close();
    showPicker(false);
    PanelScheda->setEnabled(true);
    focusName();
}

void TFFatture1::BT_AnnullaClick()
{
    showPicker(false);
    PanelScheda->setEnabled(true);
    focusName();
}

// Used while the picker is shown, Salva and Annulla also put it away: a later Seleziona must
// never write a draft over another invoice.
void TFFatture1::Salva1Click()
{
    showPicker(false);
    RecordEditor::Salva1Click();
}

void TFFatture1::Annulla1Click()
{
    showPicker(false);
    RecordEditor::Annulla1Click();
}

void TFFatture1::StpFattura1Click()
{
    InvoicePrintParameters::print(*m_report, table());
}

const QString TFFatture1::companyDataMissing =
    QStringLiteral("Per la fattura elettronica servono i dati dell'azienda che emette la fattura.\r"
                   "Inserirli ora in \"Dati Azienda\".");

TFFatturaElettronica& TFFatture1::electronicInvoiceDialog()
{
    if (!m_electronicInvoice)
        m_electronicInvoice = new TFFatturaElettronica(this);
    return *m_electronicInvoice;
}

void TFFatture1::StpFatturaElettronica1Click()
{
    business::BusinessFile file = business::BusinessFile::inDataDirectory();
    const std::optional<einvoice::CompanyData> seller = business::CompanyStore(file).company();
    if (!seller) {
        Platform::messages().message(companyDataMissing);
        if (m_companyDialog)
            Platform::modal().showModal(m_companyDialog());
        return;
    }
    const int year = config::Settings::workingYear().toInt();
    TFFatturaElettronica& dialog = electronicInvoiceDialog();
    dialog.prepare(einvoice::InvoiceRecord::fromDataset(table()), year, *seller,
                   [this] { return archivalPdf(); });
    Platform::modal().showModal(&dialog);
}

// The invoice as it prints, as PDF/A-1b bytes.
QByteArray TFFatture1::archivalPdf()
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("fattura.pdf"));
    InvoicePrintParameters::writeArchivalPdf(*m_report, table(), config::Settings::programDirectory(), path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw engine::EngineError(QStringLiteral("Impossibile leggere la pagina della fattura: ") +
                                  file.errorString());
    return file.readAll();
}

} // namespace quillio::invoices
