#include "customers/TFRubrica.h"

#include "archive/TFDB.h"
#include "customers/LinkTargets.h"
#include "dbcontrols/BoundField.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBMemo.h"
#include "dbcontrols/DBNavigator.h"
#include "dbcontrols/FieldLabel.h"
#include "dbcontrols/FocusHighlight.h"
#include "engine/Values.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace quillio::customers {

using dbcontrols::DBEdit;
using dbcontrols::FocusHighlight;

const QString TFRubrica::listQuery = QStringLiteral("SELECT * FROM Rubrica.DB ORDER BY Ragione_Sociale ASC");

namespace {

struct FieldRow
{
    const char* label;
    const char* control;
    const char* column;
};

// The detail panel in tab order: label caption, control name, column.
const FieldRow detailFields[] = {
    {"  Ragione Sociale", "Ragione_Sociale", "Ragione_Sociale"},
    {" Via", "Via", "Via"},
    {" CAP", "CAP", "CAP"},
    {" Citta", "Citta", "Citta"},
    {" PIVA", "PIVA", "PIVA"},
    {"C.F.", "CF", "CF"},
    {" Telefono", "Telefono", "Telefono"},
    {" Fax", "Fax", "Fax"},
    {" Cellulare", "Cellulare", "Cellulare"},
    {" E-Mail", "EMail", "EMail"},
    {" Sito", "Sito", "Sito"},
    {" Riferimento", "Riferimento", "Riferimento"},
    {" Tipologia", "Tipo", "Tipo"},
};

QLabel* sunkenLabel(const QString& caption, QWidget* parent)
{
    return dbcontrols::FieldLabel::create(caption, parent);
}

QToolButton* linkButton(const QString& name, const QString& hint, const QString& icon, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAccessibleName(hint);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TFRubrica::TFRubrica(QWidget* parent)
    : RecordWindow(QStringLiteral("Rubrica Clienti"), QStringLiteral("Rubrica"),
                   QStringLiteral("Rubrica Clienti"), parent)
{
    setObjectName(QStringLiteral("FRubrica"));
    buildCommands({"Nuovo Contatto", "Modifica Contatto", "Salva Contatto", "Cancella Contatto",
                   "Annulla Operazione", "Esci"});

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildListPanel(), 0);

    auto* right = new QWidget(central);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(toolBar());
    // Hints are never shown in this window; the navigator's is kept for assistive technology.
    DBNavigator1->setAccessibleDescription(QStringLiteral("Scorri Archivio"));
    top->addWidget(DBNavigator1, 0, Qt::AlignVCenter);
    top->addStretch();
    rightLayout->addLayout(top);
    rightLayout->addWidget(buildDetailPanel(), 1);
    layout->addWidget(right, 1);
    setCentralWidget(central);

    setFixedSize(1120, 640);
    setLayout(Layout::Browse);
}

QWidget* TFRubrica::buildListPanel()
{
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* layout = new QVBoxLayout(Panel2);
    layout->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = new dbcontrols::DBGrid(Panel2);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("DBGrid1"));
    DBGrid1->setShowGrid(false);
    DBGrid1->setFixedWidth(520);
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setStyleSheet(QStringLiteral("QTableView::item { border-bottom: 1px solid #d0d8e4; }"));
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this,
            [this] { DefaultErrorHandler::run([this] { DBGrid1DblClick(); }); });
    layout->addWidget(DBGrid1);
    return Panel2;
}

QWidget* TFRubrica::buildDetailPanel()
{
    Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* grid = new QGridLayout(Panel3);
    grid->setVerticalSpacing(3);
    grid->setHorizontalSpacing(8);
    int row = 0;
    for (const FieldRow& field : detailFields) {
        QLabel* label = sunkenLabel(QString::fromLatin1(field.label), Panel3);
        auto* edit = new DBEdit(Panel3);
        edit->setObjectName(QString::fromLatin1(field.control));
        edit->setAccessibleName(QString::fromLatin1(field.label).trimmed());
        label->setBuddy(edit);
        edit->binding().onEnter = [edit] { FocusHighlight::on(edit); };
        edit->binding().onExit = [edit] { FocusHighlight::off(edit); };
        edits.append(edit);
        grid->addWidget(label, row, 0);
        if (QLatin1String(field.control) == QLatin1String("EMail") ||
            QLatin1String(field.control) == QLatin1String("Sito")) {
            auto* box = new QHBoxLayout;
            box->addWidget(edit);
            const bool mail = QLatin1String(field.control) == QLatin1String("EMail");
            QToolButton* button =
                mail ? linkButton("SpeedButton2", "Invia Messaggio", ":/icons/email.svg", Panel3)
                     : linkButton("SpeedButton1", "Apri Sito", ":/icons/sito.svg", Panel3);
            (mail ? SpeedButton2 : SpeedButton1) = button;
            connect(button, &QToolButton::clicked, this, [this, mail] {
                DefaultErrorHandler::run([this, mail] { mail ? SpeedButton2Click() : SpeedButton1Click(); });
            });
            box->addWidget(button);
            grid->addLayout(box, row, 1);
        } else {
            grid->addWidget(edit, row, 1);
        }
        ++row;
    }
    QLabel* noteLabel = sunkenLabel(QStringLiteral(" Note"), Panel3);
    Note = new dbcontrols::DBMemo(Panel3);
    Note->setObjectName(QStringLiteral("Note"));
    Note->setAccessibleName(QStringLiteral("Note"));
    noteLabel->setBuddy(Note);
    Note->binding().onEnter = [this] { FocusHighlight::on(Note); };
    Note->binding().onExit = [this] { FocusHighlight::off(Note); };
    grid->addWidget(noteLabel, row, 0, Qt::AlignTop);
    grid->addWidget(Note, row, 1);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    for (int i = 1; i < edits.size(); ++i)
        setTabOrder(edits[i - 1], edits[i]);
    setTabOrder(edits.last(), Note);
    return Panel3;
}

DBEdit* TFRubrica::edit(const QString& name) const
{
    for (DBEdit* edit : edits)
        if (edit->objectName() == name)
            return edit;
    return nullptr;
}

void TFRubrica::setDataModule(archive::TFDB* db)
{
    m_db = db;
    setTable(&db->T_Rubrica);
    for (DBEdit* edit : edits)
        edit->bind(&db->DS_Rubrica, edit->objectName());
    Note->bind(&db->DS_Rubrica, QStringLiteral("Note"));
    DBNavigator1->bind(&db->DS_Rubrica);
    DBGrid1->bind(&db->DS_QGEN, {{"Ragione_Sociale", "Ragione Sociale", Qt::AlignLeft | Qt::AlignVCenter,
                                  true, QColor(232, 240, 252)},
                                 {"Telefono", "Telefono", Qt::AlignCenter},
                                 {"Cellulare", "Cellulare", Qt::AlignCenter},
                                 {"Riferimento", "Riferimento", Qt::AlignLeft | Qt::AlignVCenter}});
    QHeaderView* header = DBGrid1->horizontalHeader();
    header->resizeSection(0, 200);
    header->resizeSection(1, 100);
    header->resizeSection(2, 100);
    header->setStretchLastSection(true);
}

void TFRubrica::setPanels(Layout layout)
{
    Panel2->setEnabled(layout == Layout::Browse);
    Panel3->setEnabled(layout == Layout::Edit);
}

void TFRubrica::focusFirstField()
{
    edit(QStringLiteral("Ragione_Sociale"))->setFocus(Qt::OtherFocusReason);
}

void TFRubrica::AggiornaElenco()
{
    m_db->QGEN.close();
    m_db->QGEN.clearSql();
    m_db->QGEN.addSql(listQuery);
    m_db->QGEN.open();
}

void TFRubrica::Nuovo1Click()
{
    setLayout(Layout::Edit);
    m_db->T_Rubrica.append();
    focusFirstField();
}

void TFRubrica::DBGrid1DblClick()
{
    if (!m_db->QGEN.isActive() || m_db->QGEN.isEmpty())
        return;
    // A customer that another copy of the program deleted is not there: the table stays where it
    // was, so a following delete cannot hit the last record instead.
    m_db->T_Rubrica.locate(QStringLiteral("OrdNum"), m_db->QGEN.fieldValue(QStringLiteral("OrdNum")));
}

void TFRubrica::SpeedButton1Click()
{
    const QVariant site = m_db->T_Rubrica.fieldValue(QStringLiteral("Sito"));
    if (engine::Values::isNull(site))
        return;
    if (const std::optional<QUrl> url = LinkTargets::webSite(site.toString()))
        Platform::shell().open(*url);
}

void TFRubrica::SpeedButton2Click()
{
    const QVariant mail = m_db->T_Rubrica.fieldValue(QStringLiteral("Email"));
    if (engine::Values::isNull(mail))
        return;
    Platform::shell().open(LinkTargets::mailTo(mail.toString()));
}

} // namespace quillio::customers
