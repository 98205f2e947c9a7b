#include "dbcontrols/QueryTableModel.h"

#include "dbcontrols/FieldFormat.h"
#include "engine/Query.h"

#include <QSignalBlocker>

namespace quillio::dbcontrols {

QueryTableModel::QueryTableModel(engine::Query& query, QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_query(query), m_columns(std::move(columns))
{
    connect(&m_query, &engine::Query::stateChanged, this, &QueryTableModel::reload);
    reload();
}

void QueryTableModel::reload()
{
    beginResetModel();
    m_rows = m_query.isActive() ? m_query.recordCount() : 0;
    endResetModel();
}

int QueryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int QueryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

// Painting a row must not move the query for whoever follows its current row.
QString QueryTableModel::textAt(int row, int column) const
{
    if (!m_query.isActive())
        return {};
    const QSignalBlocker quiet(&m_query);
    const int current = m_query.rowNumber();
    m_query.moveToRow(row);
    const QString field = m_columns.at(column).field;
    const int index = m_query.fieldIndex(field);
    QString text = index < 0
                       ? QString()
                       : FieldFormat::display(m_query.fieldValue(field), m_query.fields().at(index).type);
    m_query.moveToRow(current);
    return text;
}

QVariant QueryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Column& column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return textAt(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.alignment);
    case Qt::FontRole:
        if (column.bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::BackgroundRole:
        return column.background.isValid() ? QVariant(column.background) : QVariant();
    default:
        return {};
    }
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns.at(section).title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

} // namespace quillio::dbcontrols
