#pragma once

#include <QLineEdit>
#include <functional>

namespace quillio::engine {
class DataSource;
}

namespace quillio::dbcontrols {

class BoundField;

// A one-line edit bound to one field. Without an input limit of its own it takes the width of its
// Char field. The limit applies to typing only: a longer stored text is shown whole and written
// back unchanged unless the person edits it.
class DBEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DBEdit(QWidget* parent = nullptr);

    void bind(engine::DataSource* source, const QString& fieldName);
    BoundField& binding() const { return *m_binding; }

    // 0: the field's width.
    void setInputLimit(int limit) { m_ownLimit = limit; }
    int inputLimit() const;

    // Called for every key press before the edit handles it; returns true when it took the key.
    std::function<bool(QKeyEvent*)> keyFilter;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool exceedsLimit(const QString& inserted) const;

    BoundField* m_binding;
    int m_ownLimit = 0;
};

} // namespace quillio::dbcontrols
