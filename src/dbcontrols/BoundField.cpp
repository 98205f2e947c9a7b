#include "dbcontrols/BoundField.h"

#include "dbcontrols/FieldFormat.h"
#include "engine/DataSource.h"
#include "engine/Dataset.h"
#include "platform/Platform.h"
#include "platform/QuillioError.h"

#include <QTimer>
#include <QWidget>

namespace quillio::dbcontrols {

namespace {

// While a refused field takes the focus back, the focus changes that causes are not exits.
bool bouncing = false;
std::optional<QString> keptFailure;

} // namespace

BoundField::BoundField(QWidget* control, Access access)
    : QObject(control), m_control(control), m_access(std::move(access))
{
}

void BoundField::bind(engine::DataSource* source, const QString& fieldName)
{
    for (const auto& connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    m_dataset = source ? &source->dataset() : nullptr;
    m_fieldName = fieldName;
    if (m_dataset) {
        m_connections << connect(m_dataset, &engine::Dataset::recordChanged, this, &BoundField::refresh)
                      << connect(m_dataset, &engine::Dataset::stateChanged, this, &BoundField::refresh)
                      << connect(m_dataset, &engine::Dataset::fieldChanged, this, &BoundField::refreshIfMine);
    }
    refresh();
}

engine::FieldDef BoundField::field() const
{
    if (m_dataset && m_dataset->isActive()) {
        const int index = m_dataset->fieldIndex(m_fieldName);
        if (index >= 0)
            return m_dataset->fields().at(index);
    }
    return {m_fieldName, engine::FieldType::Char, 0};
}

void BoundField::refresh()
{
    m_changed = false;
    if (!m_dataset || !m_dataset->isActive() || m_dataset->fieldIndex(m_fieldName) < 0) {
        m_access.show(QString());
        return;
    }
    m_access.show(FieldFormat::display(m_dataset->fieldValue(m_fieldName), field().type));
}

void BoundField::refreshIfMine(const QString& name)
{
    if (!m_committing && name.compare(m_fieldName, Qt::CaseInsensitive) == 0)
        refresh();
}

void BoundField::restore()
{
    refresh();
}

void BoundField::commit()
{
    if (!m_changed || !m_dataset)
        return;
    const QVariant value = FieldFormat::parse(m_access.text(), field().type);
    // The control already shows what it writes; showing it again would move the cursor.
    m_committing = true;
    try {
        m_dataset->setFieldValue(m_fieldName, value);
    } catch (...) {
        m_committing = false;
        throw;
    }
    m_committing = false;
    m_changed = false;
}

void BoundField::focusIn()
{
    if (bouncing)
        return;
    if (onEnter)
        onEnter();
}

void BoundField::focusOut(Qt::FocusReason reason)
{
    if (bouncing || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    try {
        commit();
    } catch (const QuillioError& error) {
        refuse(error.text(), reason);
        return;
    }
    try {
        if (onExit)
            onExit();
    } catch (const QuillioError& error) {
        report(error.text());
    }
}

// The text stays as typed, selected, and the focus goes back to the field when it still can take it.
void BoundField::refuse(const QString& text, Qt::FocusReason reason)
{
    if (m_control->isEnabled() && m_control->isVisible()) {
        bouncing = true;
        m_control->setFocus(reason == Qt::BacktabFocusReason ? Qt::TabFocusReason : Qt::OtherFocusReason);
        bouncing = false;
    }
    if (m_access.selectAll)
        m_access.selectAll();
    report(text);
}

// An error is shown after the focus change is over, never inside a focus event. A command that
// disabled the panel takes it instead, and shows it as its own failure.
void BoundField::report(const QString& text)
{
    keptFailure = text;
    QTimer::singleShot(0, [] {
        if (const std::optional<QString> failure = takeFailure())
            Platform::errors().showError(*failure);
    });
}

std::optional<QString> BoundField::takeFailure()
{
    std::optional<QString> failure = keptFailure;
    keptFailure.reset();
    return failure;
}

void BoundField::throwIfFailed()
{
    if (const std::optional<QString> failure = takeFailure())
        throw QuillioError(*failure);
}

} // namespace quillio::dbcontrols
