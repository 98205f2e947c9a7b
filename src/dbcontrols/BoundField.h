#pragma once

#include "engine/Dataset.h"
#include "engine/FieldDef.h"

#include <QFocusEvent>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace quillio::engine {
class DataSource;
}
namespace quillio::engine {
class Dataset;
}

namespace quillio::dbcontrols {

// The data-bound field rules, shared by every bound control: show the field of the current record;
// when the focus leaves, write the text the person typed into the field before the control's exit
// handler runs; refuse a text the field does not take (report it, keep the focus, skip the exit
// handler); Escape puts the stored value back.
//
// A focus lost to a message box or a popup is not leaving the field. A panel disabled while it
// holds the focus makes the field leave at once: the write and the exit handler run inside the
// command that disabled it, and a failure is kept for that command (see takeFailure()).
class BoundField : public QObject
{
    Q_OBJECT

public:
    struct Access
    {
        std::function<QString()> text;            // the control's text
        std::function<void(const QString&)> show; // put a text into the control
        std::function<void()> selectAll;          // select the whole text
    };

    BoundField(QWidget* control, Access access);

    void bind(engine::DataSource* source, const QString& fieldName);
    engine::Dataset* dataset() const { return m_dataset; }
    QString fieldName() const { return m_fieldName; }
    // The declared field; a Char field without data source gives width 0.
    engine::FieldDef field() const;

    // Called by the control when the person changes its text.
    void markChanged() { m_changed = true; }
    bool changed() const { return m_changed; }
    // Shows the field's stored value again and forgets what was typed.
    void restore();
    // Writes the typed text into the field now, if the person changed it.
    void commit();

    // The control's focus events end here.
    void focusIn();
    void focusOut(Qt::FocusReason reason);

    std::function<void()> onEnter;
    std::function<void()> onExit;

    // The failure of a field left while a command disabled its panel, taken by that command.
    static std::optional<QString> takeFailure();
    // Raises the failure kept for the command, if any.
    static void throwIfFailed();

private:
    void refresh();
    void refreshIfMine(const QString& name);
    void refuse(const QString& text, Qt::FocusReason reason);
    static void report(const QString& text);

    QWidget* m_control;
    Access m_access;
    QPointer<engine::Dataset> m_dataset;
    QString m_fieldName;
    bool m_changed = false;
    bool m_committing = false;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace quillio::dbcontrols
