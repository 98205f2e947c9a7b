#include "dbcontrols/DBCheckBox.h"

#include "engine/DataSource.h"
#include "engine/Dataset.h"
#include "engine/Values.h"
#include "platform/DefaultErrorHandler.h"

namespace quillio::dbcontrols {

DBCheckBox::DBCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
    connect(this, &QCheckBox::toggled, this, [this](bool checked) {
        if (!m_showing)
            DefaultErrorHandler::run([this, checked] { store(checked); });
    });
}

void DBCheckBox::bind(engine::DataSource* source, const QString& fieldName)
{
    m_source = source;
    m_fieldName = fieldName;
    if (objectName().isEmpty())
        setObjectName(fieldName);
    connect(&source->dataset(), &engine::Dataset::recordChanged, this, &DBCheckBox::refresh);
    connect(&source->dataset(), &engine::Dataset::stateChanged, this, &DBCheckBox::refresh);
    connect(&source->dataset(), &engine::Dataset::fieldChanged, this, [this](const QString& name) {
        if (name.compare(m_fieldName, Qt::CaseInsensitive) == 0)
            refresh();
    });
    refresh();
}

void DBCheckBox::refresh()
{
    engine::Dataset& dataset = m_source->dataset();
    const QVariant value = dataset.isActive() ? dataset.fieldValue(m_fieldName) : QVariant();
    m_showing = true;
    setChecked(!engine::Values::isNull(value) && value.toBool());
    m_showing = false;
}

void DBCheckBox::store(bool checked)
{
    m_source->dataset().setFieldValue(m_fieldName, checked);
}

} // namespace quillio::dbcontrols
