#include "dbcontrols/DBGrid.h"

#include "engine/DataSource.h"
#include "engine/Query.h"

#include <QHeaderView>

namespace quillio::dbcontrols {

DBGrid::DBGrid(QWidget* parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
}

void DBGrid::bind(engine::DataSource* source, QList<QueryTableModel::Column> columns)
{
    auto& query = static_cast<engine::Query&>(source->dataset());
    m_model = new QueryTableModel(query, std::move(columns), this);
    setModel(m_model);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { moveQuery(current); });
    connect(&query, &engine::Query::recordChanged, this, &DBGrid::followQuery);
    connect(&query, &engine::Query::stateChanged, this, &DBGrid::followQuery);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DBGrid::followQuery);
    followQuery();
}

void DBGrid::followQuery()
{
    if (!m_model || !m_model->query().isActive() || m_model->rowCount() == 0)
        return;
    m_following = true;
    const QModelIndex index = m_model->index(m_model->query().rowNumber(), qMax(0, currentIndex().column()));
    setCurrentIndex(index);
    scrollTo(index);
    m_following = false;
}

void DBGrid::moveQuery(const QModelIndex& current)
{
    if (m_following || !current.isValid() || !m_model->query().isActive())
        return;
    m_model->query().moveToRow(current.row());
}

} // namespace quillio::dbcontrols
