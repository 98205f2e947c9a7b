#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>

class QToolBar;

namespace quillio::archive {
class TFDB;
}
namespace quillio::widgets {
class ValueLabel;
}

namespace quillio::app {

// The program's home: the working year, the clock, and the commands that open every other window.
// Each window it opens is modal. Its first show runs the start-up of the archive.
class TFMain : public QMainWindow
{
    Q_OBJECT

public:
    // Gives the window a command opens, making it on its first opening.
    using WindowProvider = std::function<QWidget*()>;
    // The windows the commands open.
    struct Windows
    {
        WindowProvider rubrica;
        WindowProvider bozze;
        WindowProvider fatture;
        WindowProvider about;
        WindowProvider cambioAnno;
        WindowProvider creaArchivio;
        WindowProvider datiAzienda;
        WindowProvider copiaSicurezza;
        WindowProvider ripristinaCopia;
        WindowProvider esportaCommercialista;
    };

    explicit TFMain(QWidget* parent = nullptr);

    void setDataModule(archive::TFDB* db) { m_db = db; }
    void setWindows(Windows windows) { m_windows = std::move(windows); }
    // Runs once, queued after the start-up of the archive: the daily copy starts there, so the
    // main window shows first.
    void setAfterStartup(std::function<void()> afterStartup) { m_afterStartup = std::move(afterStartup); }
    // What the status bar says about the copies (a failed automatic copy); empty clears it.
    void showBackupStatus(const QString& text);

    // What the guide command says when neither the build tree nor the installation holds a guide.
    static QString guideMissing();

    // The size the record editors are given at every opening (client area).
    static constexpr QSize editorSize{1028, 772};
    // How long after the start-up the work that follows it begins.
    static constexpr int afterStartupDelayMs = 2000;

    widgets::ValueLabel* StaticText1 = nullptr;
    widgets::ValueLabel* clockPanel = nullptr;
    widgets::ValueLabel* backupPanel = nullptr;
    QTimer Timer1;

    QAction* BozzeFatture1 = nullptr;
    QAction* Fattura1 = nullptr;
    QAction* Esci1 = nullptr;
    QAction* RubricaClienti1 = nullptr;
    QAction* CambioAnno1 = nullptr;
    QAction* CreaNuovoArchivio1 = nullptr;
    QAction* DatiAzienda1 = nullptr;
    QAction* Guida1 = nullptr;
    QAction* CopiaSicurezza1 = nullptr;
    QAction* RipristinaCopia1 = nullptr;
    QAction* EsportaCommercialista1 = nullptr;
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
    void editCompanyData();
    void backUp();
    void restoreCopy();
    void exportForAccountant();
    void showAbout();
    // Opens the guide's first page in the desktop's browser; when no guide is installed, says so.
    void showGuide();
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
    // Opens the window modally, first at the editors' size when asked, after opening its table.
    void openRecordWindow(const WindowProvider& provider, bool resetSize,
                          const std::function<void()>& openTable = {});
    bool mayCloseWithPendingRecord();

    archive::TFDB* m_db = nullptr;
    Windows m_windows;
    std::function<void()> m_afterStartup;
    bool m_bootstrapDone = false;
};

} // namespace quillio::app
