#include "recordbody/RecordPanel.h"

#include "archive/TFDB.h"
#include "dbcontrols/BoundField.h"
#include "dbcontrols/DBCheckBox.h"
#include "dbcontrols/DBComboBox.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBMemo.h"
#include "dbcontrols/FieldLabel.h"
#include "dbcontrols/FocusHighlight.h"
#include "engine/SortedColumn.h"
#include "platform/DefaultErrorHandler.h"
#include "recordbody/CustomerLookup.h"
#include "recordbody/CustomerNameList.h"
#include "recordbody/KeyRules.h"
#include "recordbody/LineSlots.h"
#include "recordbody/Totals.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace quillio::recordbody {

using dbcontrols::DBEdit;
using dbcontrols::FocusHighlight;

namespace {

const QColor numberColour(255, 194, 166);
constexpr int slotRowHeight = 21;

QLabel* sunkenLabel(const QString& caption, QWidget* parent)
{
    return dbcontrols::FieldLabel::create(caption, parent);
}

QLabel* heading(const QString& caption, QWidget* parent)
{
    QLabel* label = sunkenLabel(caption, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Always disabled, yet its colour shows: it is a display, not an input.
void paintNumberBox(DBEdit* box)
{
    QPalette palette = box->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, numberColour);
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    box->setPalette(palette);
    QFont font = box->font();
    font.setBold(true);
    box->setFont(font);
    box->setAlignment(Qt::AlignCenter);
}

// Removes the highlight however the exit handler ends.
struct HighlightOff
{
    QWidget* field;
    ~HighlightOff() { FocusHighlight::off(field); }
};

} // namespace

RecordPanel::RecordPanel(bool invoiceFields, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("PanelScheda"));
    m_names = new CustomerNameList(this);
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    grid->addWidget(buildTopRow(), 0, 0, 1, 2);
    grid->addWidget(buildCustomerBlock(), 1, 0);
    grid->addWidget(buildSlots(), 2, 0);
    grid->addWidget(buildSideColumn(), 1, 1, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(2, 1);
    if (invoiceFields)
        addInvoiceFields();
    setTabOrderOfBody();
    connect(m_names, &CustomerNameList::ready, Ragione_Sociale, &dbcontrols::DBComboBox::applyPendingItems);
}

DBEdit* RecordPanel::addEdit(const QString& name, QWidget* parent, int limit)
{
    auto* field = new DBEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(name);
    field->setInputLimit(limit);
    m_edits.insert(name, field);
    return field;
}

void RecordPanel::addHighlight(QWidget* field)
{
    if (auto* edit = qobject_cast<DBEdit*>(field)) {
        edit->binding().onEnter = [edit] { FocusHighlight::on(edit); };
        edit->binding().onExit = [edit] { FocusHighlight::off(edit); };
    } else if (auto* memo = qobject_cast<dbcontrols::DBMemo*>(field)) {
        memo->binding().onEnter = [memo] { FocusHighlight::on(memo); };
        memo->binding().onExit = [memo] { FocusHighlight::off(memo); };
    }
}

QWidget* RecordPanel::buildTopRow()
{
    auto* row = new QWidget(this);
    m_topRow = new QHBoxLayout(row);
    m_topRow->setContentsMargins(0, 0, 0, 0);
    DBEdit* number = addEdit(QStringLiteral("OrdNum"), row);
    number->setEnabled(false);
    number->setFocusPolicy(Qt::NoFocus);
    paintNumberBox(number);
    addToTopRow(QStringLiteral("Numero"), number, 90);
    m_topRow->addStretch();
    return row;
}

void RecordPanel::addToTopRow(const QString& caption, QWidget* field, int width)
{
    QWidget* row = m_topRow->parentWidget();
    QLabel* label = sunkenLabel(caption, row);
    label->setBuddy(field);
    field->setAccessibleName(caption);
    field->setFixedWidth(width);
    const int at = m_topRow->count() -
                   (m_topRow->count() > 0 && m_topRow->itemAt(m_topRow->count() - 1)->spacerItem() ? 1 : 0);
    m_topRow->insertWidget(at, label);
    m_topRow->insertWidget(at + 1, field);
    m_topRow->insertSpacing(at + 2, 10);
}

// Made last, so that they come last in the tab order: Stato, then Data, although the top row
// shows Data first.
void RecordPanel::addInvoiceFields()
{
    QWidget* row = m_topRow->parentWidget();
    DBEdit* state = addEdit(QStringLiteral("Stato"), row, 50);
    DBEdit* date = addEdit(QStringLiteral("Data"), row);
    addHighlight(date);
    addHighlight(state);
    addToTopRow(QStringLiteral("Data"), date, 110);
    addToTopRow(QStringLiteral("Stato"), state, 260);
}

QWidget* RecordPanel::buildCustomerBlock()
{
    auto* block = new QWidget(this);
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(6);

    Ragione_Sociale = new dbcontrols::DBComboBox(block);
    Ragione_Sociale->setObjectName(QStringLiteral("Ragione_Sociale"));
    Ragione_Sociale->setAccessibleName(QStringLiteral("Ragione Sociale"));
    Ragione_Sociale->binding().onEnter = [this] { FocusHighlight::on(Ragione_Sociale); };
    Ragione_Sociale->binding().onExit = [this] {
        HighlightOff off{Ragione_Sociale};
        CustomerLookup::fillCustomerBlock(m_db->T_Rubrica, m_source->dataset());
    };
    QLabel* nameLabel = sunkenLabel(QStringLiteral("Ragione Sociale"), block);
    nameLabel->setBuddy(Ragione_Sociale);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(Ragione_Sociale, 0, 1, 1, 3);

    DBEdit* via = addEdit(QStringLiteral("Via"), block);
    via->setAccessibleName(QStringLiteral("Via"));
    grid->addWidget(sunkenLabel(QStringLiteral("Via"), block), 1, 0);
    grid->addWidget(via, 1, 1, 1, 3);

    DBEdit* cap = addEdit(QStringLiteral("CAP"), block);
    DBEdit* citta = addEdit(QStringLiteral("Citta"), block);
    cap->setAccessibleName(QStringLiteral("CAP - Città"));
    cap->setFixedWidth(70);
    grid->addWidget(sunkenLabel(QStringLiteral("CAP - Città"), block), 2, 0);
    auto* town = new QHBoxLayout;
    town->addWidget(cap);
    town->addWidget(citta, 1);
    grid->addLayout(town, 2, 1, 1, 3);

    DBEdit* piva = addEdit(QStringLiteral("PIVA"), block);
    DBEdit* cf = addEdit(QStringLiteral("CF"), block);
    piva->setAccessibleName(QStringLiteral("P.IVA"));
    cf->setAccessibleName(QStringLiteral("C.F."));
    grid->addWidget(sunkenLabel(QStringLiteral("P.IVA"), block), 3, 0);
    grid->addWidget(piva, 3, 1);
    grid->addWidget(sunkenLabel(QStringLiteral("C.F."), block), 3, 2);
    grid->addWidget(cf, 3, 3);

    for (const char* line : {"Testo01", "Testo02"}) {
        DBEdit* text = addEdit(QLatin1String(line), block, LineSlots::textLineLimit);
        makeRunOn(text);
        grid->addWidget(text, grid->rowCount(), 0, 1, 4);
    }
    for (DBEdit* field : {via, cap, citta, piva, cf})
        addHighlight(field);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return block;
}

QWidget* RecordPanel::buildSlots()
{
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 2, 0, 0);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(4);
    grid->addWidget(heading(QStringLiteral("Descrizione"), area), 0, 0);
    grid->addWidget(heading(QStringLiteral("Importo"), area), 0, 1);
    for (int slot = 1; slot <= LineSlots::count; ++slot) {
        DBEdit* description = addEdit(LineSlots::description(slot), area, LineSlots::descriptionLimit);
        DBEdit* amount = addEdit(LineSlots::amount(slot), area);
        amount->setAlignment(Qt::AlignRight);
        // Twenty rows and everything else must fit the editor without scrolling.
        description->setFixedHeight(slotRowHeight);
        amount->setFixedHeight(slotRowHeight);
        if (slot < LineSlots::count)
            makeRunOn(description);
        else
            addHighlight(description);
        makeAmount(amount);
        grid->addWidget(description, slot, 0);
        grid->addWidget(amount, slot, 1);
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnMinimumWidth(1, 120);
    grid->setRowStretch(LineSlots::count + 1, 1);
    return area;
}

QWidget* RecordPanel::buildSideColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    Condizioni = new dbcontrols::DBMemo(column);
    Condizioni->setObjectName(QStringLiteral("Condizioni"));
    Condizioni->setAccessibleName(QStringLiteral("Condizioni di Pagamento"));
    Note = new dbcontrols::DBMemo(column);
    Note->setObjectName(QStringLiteral("Note"));
    Note->setAccessibleName(QStringLiteral("Note (Non Stampabili)"));
    for (dbcontrols::DBMemo* memo : {Condizioni, Note}) {
        addHighlight(memo);
        QLabel* label = sunkenLabel(memo->accessibleName(), column);
        label->setBuddy(memo);
        layout->addWidget(label);
        layout->addWidget(memo, 1);
    }
    layout->addSpacing(6);
    layout->addWidget(buildTotals());
    return column;
}

QWidget* RecordPanel::buildTotals()
{
    auto* box = new QFrame(this);
    box->setObjectName(QStringLiteral("PanelTotali"));
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(3);
    grid->addWidget(heading(QStringLiteral("Totale Fattura"), box), 0, 0, 1, 3);

    DBEdit* taxable = addEdit(QStringLiteral("Totale"), box);
    DBEdit* rate = addEdit(QStringLiteral("IVA"), box);
    DBEdit* vat = addEdit(QStringLiteral("Totale_IVA"), box);
    DBEdit* total = addEdit(QStringLiteral("Totale_Fattura"), box);
    taxable->setAccessibleName(QStringLiteral("Imponibile"));
    rate->setAccessibleName(QStringLiteral("I.V.A."));
    total->setAccessibleName(QStringLiteral("Totale Fattura"));
    for (DBEdit* field : {taxable, rate, vat, total}) {
        field->setAlignment(Qt::AlignRight);
        addHighlight(field);
    }
    for (DBEdit* field : {taxable, vat, total})
        makeNumeric(field, true);
    makeNumeric(rate, false);
    // A new rate counts at once while the totals are automatic: a printed rate never stands
    // beside a VAT amount computed at another.
    rate->binding().onExit = [this, rate] {
        HighlightOff off{rate};
        recomputeTotals();
    };
    rate->setFixedWidth(56);

    grid->addWidget(sunkenLabel(QStringLiteral("Imponibile"), box), 1, 0);
    grid->addWidget(taxable, 1, 1, 1, 2);
    grid->addWidget(sunkenLabel(QStringLiteral("I.V.A."), box), 2, 0);
    grid->addWidget(rate, 2, 1);
    grid->addWidget(vat, 2, 2);
    grid->addWidget(sunkenLabel(QStringLiteral("Totale Fattura"), box), 3, 0);
    grid->addWidget(total, 3, 1, 1, 2);
    TotAut = new dbcontrols::DBCheckBox(QStringLiteral("Abilita Calcoli in Automatico"), box);
    TotAut->setObjectName(QStringLiteral("TotAut"));
    TotAut->setAccessibleName(QStringLiteral("Abilita Calcoli in Automatico"));
    grid->addWidget(TotAut, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    return box;
}

void RecordPanel::makeNumeric(DBEdit* field, bool decimalPoint)
{
    field->keyFilter = [field, decimalPoint](QKeyEvent* event) {
        const QString typed = event->text();
        if (typed.size() != 1 || !typed.at(0).isPrint())
            return false;
        const QChar character = decimalPoint ? KeyRules::decimalPoint(typed.at(0)) : typed.at(0);
        if (!KeyRules::acceptsInNumber(character)) {
            QApplication::beep();
            return true;
        }
        if (character == typed.at(0))
            return false;
        field->insert(QString(character));
        field->binding().markChanged();
        return true;
    };
}

void RecordPanel::makeAmount(DBEdit* field)
{
    makeNumeric(field, true);
    field->binding().onEnter = [field] { FocusHighlight::on(field); };
    field->binding().onExit = [this, field] {
        HighlightOff off{field};
        Totals::recompute(m_source->dataset());
    };
}

void RecordPanel::makeRunOn(DBEdit* field)
{
    addHighlight(field);
    field->keyFilter = [this, field](QKeyEvent* event) { return runOn(field, event); };
}

QString RecordPanel::nextInChain(const QString& field)
{
    if (field == QLatin1String("Testo01"))
        return QStringLiteral("Testo02");
    if (field == QLatin1String("Testo02"))
        return LineSlots::description(1);
    for (int slot = 1; slot < LineSlots::count; ++slot)
        if (field == LineSlots::description(slot))
            return LineSlots::description(slot + 1);
    return {};
}

// A full line that receives a character typed at its end moves on to the next line, and the
// character goes there: typing runs from line to line. Any other key acts where it was typed.
bool RecordPanel::runOn(DBEdit* field, QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.at(0).isPrint() || field->hasSelectedText() ||
        field->cursorPosition() != field->text().size() || field->text().size() != field->inputLimit())
        return false;
    DBEdit* next = edit(nextInChain(field->objectName()));
    if (!next)
        return false;
    next->setFocus(Qt::TabFocusReason);
    next->deselect();
    next->end(false);
    if (next->text().size() < next->inputLimit() || next->hasSelectedText()) {
        next->insert(typed);
        next->binding().markChanged();
    }
    return true;
}

void RecordPanel::recomputeTotals()
{
    Totals::recompute(m_source->dataset());
}

void RecordPanel::setTabOrderOfBody()
{
    QList<QWidget*> order{Ragione_Sociale};
    for (const char* name : {"Via", "CAP", "Citta", "PIVA", "CF", "Testo01", "Testo02"})
        order << edit(QLatin1String(name));
    for (int slot = 1; slot <= LineSlots::count; ++slot)
        order << edit(LineSlots::description(slot)) << edit(LineSlots::amount(slot));
    order << Condizioni << Note;
    for (const char* name : {"Totale", "IVA", "Totale_IVA", "Totale_Fattura"})
        order << edit(QLatin1String(name));
    order << TotAut;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void RecordPanel::bind(archive::TFDB& db, engine::DataSource& source)
{
    m_db = &db;
    m_source = &source;
    for (DBEdit* field : std::as_const(m_edits))
        field->bind(&source, field->objectName() == QLatin1String("Testo01")   ? QStringLiteral("Testo1")
                             : field->objectName() == QLatin1String("Testo02") ? QStringLiteral("Testo2")
                                                                               : field->objectName());
    Ragione_Sociale->bind(&source, QStringLiteral("Ragione_Sociale"));
    Condizioni->bind(&source, QStringLiteral("Condizioni"));
    Note->bind(&source, QStringLiteral("Note"));
    TotAut->bind(&source, QStringLiteral("TotAut"));
}

// Opening the customer table checks it as before and gives its file; the names are read from
// that file on a worker thread, and the list takes them as soon as they are there or when the name
// box needs them first. A reading that failed shows its error and leaves the list empty.
void RecordPanel::fillNameList()
{
    // Opened here as the fields' table is, so a missing or foreign file is reported at once.
    engine::Table& customers = m_db->T_Rubrica;
    customers.open();
    const engine::SortedColumn names(customers.session(), customers.databaseName(), customers.tableName(),
                                     QStringLiteral("Ragione_Sociale"));
    customers.close();
    m_names->start(names);
    Ragione_Sociale->setItemsLater([this] {
        QStringList taken;
        DefaultErrorHandler::run([&] { taken = m_names->take(); });
        return taken;
    });
}

} // namespace quillio::recordbody
