#pragma once

#include <QCheckBox>

namespace quillio::engine {
class DataSource;
}

namespace quillio::dbcontrols {

// A check box bound to a Boolean field: ticking stores True, clearing stores False. A null field
// shows a cleared box.
class DBCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit DBCheckBox(const QString& text, QWidget* parent = nullptr);
    void bind(engine::DataSource* source, const QString& fieldName);

private:
    void refresh();
    void store(bool checked);

    engine::DataSource* m_source = nullptr;
    QString m_fieldName;
    bool m_showing = false;
};

} // namespace quillio::dbcontrols
