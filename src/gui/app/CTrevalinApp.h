#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

class CDocController;
class CDocManager;
class CExportCommand;
class CInterfaceCommands;
class CMainFrame;
class CPictureDecoder;
class CRecentFileList;
class CRowPool;
class CUserPrompts;
class QSettings;

// The application: owns the row pool every frame's rows are spread over
// (runs, the preview and exports) for the program's whole life, makes the
// project document (which captures the working folder), then the main frame with its panes and result view, restores
// the recent-file list, opens the project named on the command line (or starts a new one) and shows the window.
class CTrevalinApp {
public:
    // `settings` is where the recent-file list ("Recent File List") and the
    // window's arrangement live.
    CTrevalinApp(CUserPrompts& prompts, QSettings& settings, std::shared_ptr<const CPictureDecoder> decoder);
    ~CTrevalinApp();
    CTrevalinApp(const CTrevalinApp&) = delete;
    CTrevalinApp& operator=(const CTrevalinApp&) = delete;

    // The project path among the arguments (the program's name excluded):
    // the first one that does not start with "-"; other arguments starting
    // with "-" are switches ("--lang" takes the next argument as its value),
    // and any further path is ignored.
    static QString ParseCommandLine(const QStringList& arguments);
    // The switch that has the program work in the folder of the project
    // named with it (the desktop entry starts it so, for the outputs to
    // land beside the project).
    static constexpr const char* kWorkDirSwitch = "--workdir-from-project";
    // With the switch and a project among the arguments: makes the
    // project's folder the process's current directory and returns the
    // arguments with the project's full path. Else returns them unchanged.
    static QStringList EnterProjectFolder(QStringList arguments);

    // Start-up with the working folder `workDir`. Returns false when the
    // project named on the command line could not be opened: its message
    // has been shown and the application should end.
    bool InitInstance(const QStringList& arguments, const std::string& workDir);
    // Writes the recent-file list and the window's arrangement back.
    void ExitInstance();

    CMainFrame* GetMainWnd() const { return m_pMainWnd.get(); }
    CDocController* GetDocController() const { return m_pDoc.get(); }
    CDocManager* GetDocManager() const { return m_pDocManager.get(); }
    CRecentFileList* GetRecentFileList() const { return m_pRecent.get(); }
    CExportCommand* GetExportCommand() const { return m_pExport.get(); }
    CInterfaceCommands* GetInterfaceCommands() const { return m_pInterface; }

private:
    CUserPrompts& m_prompts;
    QSettings& m_settings;
    std::shared_ptr<const CPictureDecoder> m_decoder;
    // First: outlives everything that computes frames on it.
    std::unique_ptr<CRowPool> m_pRowPool;
    std::unique_ptr<CRecentFileList> m_pRecent;
    std::unique_ptr<CDocController> m_pDoc;
    std::unique_ptr<CDocManager> m_pDocManager;
    std::unique_ptr<CExportCommand> m_pExport;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    CInterfaceCommands* m_pInterface = nullptr; // owned by the frame
};
