#pragma once

#include <QMainWindow>
#include <QTimer>

class QLabel;
class QToolBar;

namespace quillio::archive {
class TFDB;
}

namespace quillio::app {

// The program's home: the working year, the clock, and the commands that open every other window.
// Each window it opens is modal. Its first show runs the start-up of the archive.
class TFMain : public QMainWindow
{
    Q_OBJECT

public:
    // The windows the commands open; linked once they all exist.
    struct Windows
    {
        QWidget* rubrica = nullptr;
        QWidget* bozze = nullptr;
        QWidget* fatture = nullptr;
        QWidget* about = nullptr;
        QWidget* cambioAnno = nullptr;
        QWidget* creaArchivio = nullptr;
    };

    explicit TFMain(QWidget* parent = nullptr);

    void setDataModule(archive::TFDB* db) { m_db = db; }
    void setWindows(const Windows& windows) { m_windows = windows; }

    // The size the record editors are given at every opening (client area).
    static constexpr QSize editorSize{1028, 772};

    QLabel* StaticText1 = nullptr;
    QLabel* clockPanel = nullptr;
    QTimer Timer1;

    QAction* BozzeFatture1 = nullptr;
    QAction* Fattura1 = nullptr;
    QAction* Esci1 = nullptr;
    QAction* RubricaClienti1 = nullptr;
    QAction* CambioAnno1 = nullptr;
    QAction* CreaNuovoArchivio1 = nullptr;
    QAction* About1 = nullptr;
    QAction* TBBozze = nullptr;
    QAction* TBFattura = nullptr;
    QAction* TBRubrica = nullptr;
    QAction* TBEsci = nullptr;
    QToolBar* ToolBar1 = nullptr;

public slots:
    void openDrafts();
    void openInvoices();
    void openAddressBook();
    void changeWorkingYear();
    void createNewArchive();
    void showAbout();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildBand();
    QWidget* buildBanner();
    void buildMenus();
    void buildStatusBar();
    void runBootstrap();
    void openRecordWindow(QWidget* window, const std::function<void()>& openTable, bool resetSize);
    bool mayCloseWithPendingRecord();

    archive::TFDB* m_db = nullptr;
    Windows m_windows;
    bool m_bootstrapDone = false;
};

} // namespace quillio::app
