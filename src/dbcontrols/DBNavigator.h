#pragma once

#include <QWidget>

class QToolButton;

namespace quillio::engine {
class DataSource;
}

namespace quillio::dbcontrols {

// Moves a table through its records in the table's own order: first, prior, next and last.
class DBNavigator : public QWidget
{
    Q_OBJECT

public:
    explicit DBNavigator(QWidget* parent = nullptr);
    void bind(engine::DataSource* source);

    QToolButton* firstButton = nullptr;
    QToolButton* priorButton = nullptr;
    QToolButton* nextButton = nullptr;
    QToolButton* lastButton = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    QToolButton* addButton(const QString& name, const QString& icon, void (DBNavigator::*step)());
    void moveFirst();
    void movePrior();
    void moveNext();
    void moveLast();
    void updateButtons();

    engine::DataSource* m_source = nullptr;
};

} // namespace quillio::dbcontrols
