#include "recordbody/RecordEditor.h"

#include "archive/TFDB.h"
#include "dbcontrols/DBComboBox.h"
#include "dbcontrols/DBNavigator.h"
#include "engine/DataSource.h"
#include "engine/Table.h"
#include "recordbody/RecordPanel.h"

#include <QHBoxLayout>
#include <QToolBar>
#include <QVBoxLayout>

namespace quillio::recordbody {

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
    RecordWindow::buildCommands({"Nuovo", "Modifica", "Salva", "Cancella", "Annulla", "Esci"}, extra);
    setLayout(Layout::Browse);
}

void RecordEditor::setDataModule(archive::TFDB* db, engine::DataSource* source)
{
    m_db = db;
    setTable(&static_cast<engine::Table&>(source->dataset()));
    PanelScheda->bind(*db, *source);
    DBNavigator1->bind(source);
}

void RecordEditor::setPanels(Layout layout)
{
    PanelScheda->setEnabled(layout == Layout::Edit);
}

void RecordEditor::focusName()
{
    PanelScheda->Ragione_Sociale->setFocus(Qt::OtherFocusReason);
}

void RecordEditor::FormShow()
{
    PanelScheda->fillNameList();
}

} // namespace quillio::recordbody
