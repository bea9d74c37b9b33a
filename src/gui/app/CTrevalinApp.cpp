#include "CTrevalinApp.h"

#include "CDocManager.h"
#include "CEditCommands.h"
#include "CExportCommand.h"
#include "CInterfaceCommands.h"
#include "CLanguage.h"
#include "CMainFrame.h"
#include "CRecentFileList.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "morph/CRowPool.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

CTrevalinApp::CTrevalinApp(CUserPrompts& prompts, QSettings& settings, std::shared_ptr<const CPictureDecoder> decoder)
    : m_prompts(prompts), m_settings(settings), m_decoder(std::move(decoder)),
      m_pRowPool(std::make_unique<CRowPool>(CRowPool::DefaultThreadCount()))
{
}

CTrevalinApp::~CTrevalinApp()
{
    // The frame and its views go before the document they are attached to.
    m_pMainWnd.reset();
    m_pExport.reset();
    m_pDocManager.reset();
    m_pDoc.reset();
}

QString CTrevalinApp::ParseCommandLine(const QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        // "--lang X": the switch's value is no project.
        if (arguments.at(i) == QLatin1String(CLanguage::kSwitch)) {
            ++i;
            continue;
        }
        if (!arguments.at(i).startsWith(QLatin1Char('-'))) return arguments.at(i);
    }
    return {};
}

QStringList CTrevalinApp::EnterProjectFolder(QStringList arguments)
{
    const QString project = ParseCommandLine(arguments);
    if (project.isEmpty() || !arguments.contains(QLatin1String(kWorkDirSwitch))) return arguments;
    const QFileInfo file(project);
    arguments[arguments.indexOf(project)] = file.absoluteFilePath();
    QDir::setCurrent(file.absolutePath());
    return arguments;
}

bool CTrevalinApp::InitInstance(const QStringList& arguments, const std::string& workDir)
{
    m_pRecent = std::make_unique<CRecentFileList>(m_settings);
    m_pRecent->ReadList();

    const QString project = ParseCommandLine(arguments);

    // The document first (it captures the working folder), then the frame.
    m_pDoc = std::make_unique<CDocController>(std::make_unique<CTrevalinDoc>(workDir, m_decoder));
    m_pDocManager = std::make_unique<CDocManager>(*m_pDoc, *m_pRecent, m_prompts);
    m_pMainWnd = std::make_unique<CMainFrame>(*m_pDoc, *m_pDocManager, *m_pRecent, m_prompts, m_settings, *m_pRowPool);
    m_pExport = std::make_unique<CExportCommand>(*m_pDoc, m_prompts, m_settings, *m_pRowPool);
    m_pMainWnd->SetExportCommand(m_pExport.get());
    m_pInterface = new CInterfaceCommands(m_pMainWnd->GetActions(), *m_pMainWnd, m_settings, m_prompts,
                                          CLanguage::Choose(arguments, m_settings));
    m_pInterface->CreateMenus(m_pMainWnd->GetEditCommands().GetViewMenu());

    // The window shows at once; a project given is then read as 文件 → 打开
    // reads one, off the interface thread, the window answering meanwhile
    // and the busy dialog over it. A project that cannot be read still
    // ends the start-up.
    m_pDocManager->OnFileNew();
    m_pMainWnd->RestoreLayout(m_settings);
    m_pMainWnd->show();
    if (!project.isEmpty() && !m_pDocManager->OpenDocumentFile(project)) {
        m_pMainWnd.reset();
        return false;
    }
    return true;
}

void CTrevalinApp::ExitInstance()
{
    if (m_pRecent) m_pRecent->WriteList();
    if (m_pMainWnd) m_pMainWnd->SaveLayout(m_settings);
}
