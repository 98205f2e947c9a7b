#pragma once

#include "dbcontrols/QueryTableModel.h"

#include <QTableView>

namespace quillio::engine {
class DataSource;
}

namespace quillio::dbcontrols {

// A read-only grid over a query: its current row is the query's current row.
class DBGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DBGrid(QWidget* parent = nullptr);
    void bind(engine::DataSource* source, QList<QueryTableModel::Column> columns);
    QueryTableModel* queryModel() const { return m_model; }

private:
    void followQuery();
    void moveQuery(const QModelIndex& current);

    QueryTableModel* m_model = nullptr;
    bool m_following = false;
};

} // namespace quillio::dbcontrols
