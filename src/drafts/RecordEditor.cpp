#include "RecordEditor.h"

#include "BoundField.h"
#include "DBComboBox.h"
#include "DBNavigator.h"
#include "DataSource.h"
#include "DefaultErrorHandler.h"
#include "Platform.h"
#include "RecordPanel.h"
#include "Table.h"
#include <QMenuBar>
#include "TFDB.h"

#include <QHBoxLayout>
#include <QScreen>
#include <QShowEvent>
#include <QToolBar>
#include <QVBoxLayout>

namespace quillio::drafts {

RecordEditor::RecordEditor(const QString& caption, const QString& statusText, const QColor& background,
                           bool invoiceFields, QWidget* parent)
    : RecordWindow(caption, QStringLiteral("DareAvere"), statusText, parent)
{
    auto* central = new QWidget(this);
    central->setAutoFillBackground(true);
    QPalette palette = central->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Window, background);
    central->setPalette(palette);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 0, 6, 4);
    layout->setSpacing(2);
    auto* top = new QHBoxLayout;
    top->addWidget(toolBar());
    DBNavigator1 = new dbcontrols::DBNavigator(central);
    DBNavigator1->setAccessibleName(QStringLiteral("DBNavigator1"));
    top->addWidget(DBNavigator1, 0, Qt::AlignVCenter);
    top->addStretch();
    layout->addLayout(top);
    PanelScheda = new RecordPanel(invoiceFields, central);
    PanelScheda->setAutoFillBackground(true);
    layout->addWidget(PanelScheda, 1);
    setCentralWidget(central);
}

void RecordEditor::buildCommands(const std::function<void()>& extra)
{
    Nuovo1 = addCommand("Nuovo1", "TBNuovo", "&Nuovo", "Nuovo", ":/icons/nuovo.svg", [this] { Nuovo1Click(); });
    Modifica1 = addCommand("Modifica1", "TBModifica", "&Modifica", "Modifica", ":/icons/modifica.svg",
                           [this] { Modifica1Click(); });
    Salva1 = addCommand("Salva1", "TBSalva", "&Salva", "Salva", ":/icons/salva.svg", [this] { Salva1Click(); });
    Cancella1 = addCommand("Cancella1", "TBCancella", "&Cancella", "Cancella", ":/icons/cancella.svg",
                           [this] { Cancella1Click(); });
    Annulla1 = addCommand("Annulla1", "TBAnnulla", "&Annulla", "Annulla", ":/icons/annulla.svg",
                          [this] { Annulla1Click(); });
    if (extra)
        extra();
    addSeparator();
    Esci1 = addCommand("Esci1", "TBEsci", "&Esci", "Esci", ":/icons/esci.svg", [this] { Esci1Click(); });
    setLayout(Layout::Browse);
}

void RecordEditor::setDataModule(archive::TFDB* db, archive::DataSource* source)
{
    m_db = db;
    m_source = source;
    PanelScheda->bind(*db, *source);
    DBNavigator1->bind(source);
}

engine::Table& RecordEditor::table() const
{
    return static_cast<engine::Table&>(m_source->dataset());
}

void RecordEditor::setCommands(bool edit)
{
    Nuovo1->setEnabled(!edit);
    Modifica1->setEnabled(!edit);
    Salva1->setEnabled(edit);
    Annulla1->setEnabled(edit);
    Cancella1->setEnabled(!edit);
}

void RecordEditor::setLayout(Layout layout)
{
    m_layout = layout;
    const bool edit = layout == Layout::Edit;
    setCommands(edit);
    setOwnCommands(edit);
    Esci1->setEnabled(!edit);
    DBNavigator1->setEnabled(!edit);
    PanelScheda->setEnabled(edit);
}

void RecordEditor::focusName()
{
    PanelScheda->Ragione_Sociale->setFocus(Qt::OtherFocusReason);
}

void RecordEditor::showEvent(QShowEvent* event)
{
    RecordWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    DefaultErrorHandler::run([this] { FormShow(); });
}

void RecordEditor::FormShow()
{
    PanelScheda->fillNameList();
}

void RecordEditor::Modifica1Click()
{
    setLayout(Layout::Edit);
    table().edit();
    focusName();
}

// Disabling the panel makes the focused field leave first: its text is written and its exit
// handler runs (the customer lookup, the totals) before the record is stored. A field that
// refused its text stops the store; the record stays pending in the browse layout.
void RecordEditor::Salva1Click()
{
    setLayout(Layout::Browse);
    dbcontrols::BoundField::throwIfFailed();
    table().post();
}

void RecordEditor::Annulla1Click()
{
    setLayout(Layout::Browse);
    dbcontrols::BoundField::takeFailure();
    table().cancel();
}

// Asks first: one click beside Annulla must not destroy a record.
void RecordEditor::Cancella1Click()
{
    setLayout(Layout::Browse);
    const bool wasEnabled = isEnabled();
    centralWidget()->setEnabled(false);
    menuBar()->setEnabled(false);
    const bool yes = Platform::messages().confirm(deleteQuestion, Messages::Default::Yes);
    centralWidget()->setEnabled(wasEnabled);
    menuBar()->setEnabled(true);
    if (yes)
        table().remove();
}

void RecordEditor::Esci1Click()
{
    table().close();
    close();
}

} // namespace quillio::drafts
