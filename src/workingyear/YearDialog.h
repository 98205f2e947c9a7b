#pragma once

#include "workingyear/WorkingYear.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillio::archive {
class TFDB;
}

namespace quillio::workingyear {

// The layout shared by the two working-year dialogs: the heading, the year field and the two
// buttons. The year field opens on the stored year at every showing; "&Conferma" runs the
// dialog's confirmation and closes the dialog only when it completes.
class YearDialog : public QDialog
{
    Q_OBJECT

public:
    // Links the dialog to the data module and to the main window's year label.
    void setDataModule(archive::TFDB* db) { m_db = db; }
    void setYearLabel(WorkingYear::YearLabel showYear) { m_showYear = std::move(showYear); }

    QLabel* StaticText1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BT_Conferma = nullptr;
    QPushButton* BT_Annulla = nullptr;

public slots:
    void BT_ConfermaClick();
    void BT_AnnullaClick();

protected:
    YearDialog(const QString& name, const QString& caption, QWidget* parent);

    // The dialog's own confirmation; returns whether it completed.
    virtual bool confirm(WorkingYear& year, const QString& yearText) = 0;
    void showEvent(QShowEvent* event) override;

private:
    void buildHeading();
    void buildYearField();
    void buildButtons();

    archive::TFDB* m_db = nullptr;
    WorkingYear::YearLabel m_showYear;
};

} // namespace quillio::workingyear
