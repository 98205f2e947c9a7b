#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

namespace quillio::engine {
class Query;
}

namespace quillio::dbcontrols {

// The rows of an open query as a read-only table model; a column shows one field.
class QueryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        Column(QString fieldName, QString heading, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter,
               bool inBold = false, QColor fill = {})
            : field(std::move(fieldName)), title(std::move(heading)), alignment(align), bold(inBold),
              background(fill)
        {
        }
        QString field;
        QString title;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        bool bold = false;
        QColor background; // invalid: the grid's own
    };

    QueryTableModel(engine::Query& query, QList<Column> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    engine::Query& query() const { return m_query; }

private:
    void reload();
    QString textAt(int row, int column) const;

    engine::Query& m_query;
    QList<Column> m_columns;
    int m_rows = 0;
};

} // namespace quillio::dbcontrols
