#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quillio::widgets {
class ValueLabel;
}

namespace quillio::backupwindows {

// "Copia di sicurezza": the folder of the automatic copies (changeable), the day of the last one,
// and a copy taken now into a file the person names. A failed automatic copy is told the first
// time the dialog opens after it.
class TFCopiaSicurezza : public QDialog
{
    Q_OBJECT

public:
    explicit TFCopiaSicurezza(QWidget* parent = nullptr);

    // What the window does: copies of a folder archive, or none of a server's.
    static const QString folderIntroduction;
    static const QString serverIntroduction;

    QLabel* LB_Introduzione = nullptr;
    widgets::ValueLabel* LB_Cartella = nullptr;
    widgets::ValueLabel* LB_UltimaCopia = nullptr;
    QPushButton* BT_Cartella = nullptr;
    QPushButton* BT_Copia = nullptr;
    QPushButton* BT_Chiudi = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void chooseFolder();
    void copyNow();
    void tellPendingFailure();
};

} // namespace quillio::backupwindows
