#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace quillio::widgets {
class ValueLabel;
}

namespace quillio::backupwindows {

// "Esporta per il commercialista": the working year and a range of months, a folder, and the
// files written there; what the accountant will ask about is listed below.
class TFEsportaCommercialista : public QDialog
{
    Q_OBJECT

public:
    explicit TFEsportaCommercialista(QWidget* parent = nullptr);

    QSpinBox* SE_Anno = nullptr;
    QComboBox* CB_DalMese = nullptr;
    QComboBox* CB_AlMese = nullptr;
    QLineEdit* ED_Cartella = nullptr;
    QPushButton* BT_Cartella = nullptr;
    QPushButton* BT_Esporta = nullptr;
    QPushButton* BT_Chiudi = nullptr;
    QListWidget* LB_Segnalazioni = nullptr;
    widgets::ValueLabel* LB_Esito = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseFolder();
    void exportPeriod();
};

} // namespace quillio::backupwindows
