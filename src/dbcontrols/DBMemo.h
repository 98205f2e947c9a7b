#pragma once

#include <QPlainTextEdit>

namespace quillio::engine {
class DataSource;
}

namespace quillio::dbcontrols {

class BoundField;

// A multi-line memo bound to one field; Tab moves on to the next control.
class DBMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DBMemo(QWidget* parent = nullptr);

    void bind(engine::DataSource* source, const QString& fieldName);
    BoundField& binding() const { return *m_binding; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    BoundField* m_binding;
    bool m_showing = false;
};

} // namespace quillio::dbcontrols
