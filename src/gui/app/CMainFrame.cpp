#include "CMainFrame.h"

#include "CDocManager.h"
#include "CEditCommands.h"
#include "CFaceCommands.h"
#include "CExportCommand.h"
#include "CMorphConfigDlg.h"
#include "CMorphOptionsCommands.h"
#include "CPaneFit.h"
#include "CPaneScrollSync.h"
#include "CPreviewCommands.h"
#include "CRecentFileList.h"
#include "CRunProgress.h"
#include "CSequenceDlg.h"
#include "CWindowLayout.h"
#include "Resource.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "editing/CToolSwitcher.h"
#include "editing/CUserPrompts.h"
#include "editing/CZoom.h"
#include "morph/CRowPool.h"
#include "view/CPreviewDock.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

// The resources live in a static library: register them once.
static void InitTrevalinResources()
{
    Q_INIT_RESOURCE(trevalin);
}

CMainFrame::CMainFrame(CDocController& doc, CDocManager& docManager, CRecentFileList& recent, CUserPrompts& prompts,
                       QSettings& settings, CRowPool& pool, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_docManager(docManager), m_recent(recent), m_prompts(prompts), m_rowPool(pool)
{
    m_pZoom = new CZoom(this);
    InitTrevalinResources();
    setAcceptDrops(true);
    setWindowIcon(QIcon(QStringLiteral(":/icons/trevalin-48.png")));

    CreateToolBar();
    CreateStatusBar();
    CreateControlBar();
    CreateMenu();
    CreateClient();
    CreateEditCommands(settings);
    CreateExportMenu();
    m_pMorphOptions = new CMorphOptionsCommands(m_actions, m_doc, *this);
    m_pMorphOptions->Create(*menuBar());
    m_pPreviewCommands = new CPreviewCommands(m_actions, m_doc, m_rowPool, *this, *m_pResultView, *m_pConfigDlg,
                                              *m_pZoom, {m_pLeftPane, m_pRightPane});
    m_pPreviewCommands->Create();
    m_faces = new CFaceCommands(m_actions, m_doc, m_prompts, *statusBar(), *this, this);
    m_faces->AddImageItems(*m_pEditCommands->GetImageMenu());
    m_pEditCommands->GetViewMenu()->addSeparator();
    m_pPreviewCommands->AddViewItems(*m_pEditCommands->GetViewMenu());
    m_scrollSync = new CPaneScrollSync(m_actions, *m_pZoom, {m_pLeftPane, m_pRightPane}, settings, this);
    m_scrollSync->AddViewItems(*m_pEditCommands->GetViewMenu());
    m_fit = new CPaneFit(m_actions, m_doc, *m_pZoom, {m_pLeftPane, m_pRightPane}, this);
    m_layout = new CWindowLayout(*this, *m_pSplitter, *GetPreview(), *m_pConfigDlg, *m_pTools, m_doc);
    auto* progress = new CRunProgress(m_actions, *this, *statusBar(), *m_pResultView);
    progress->Create();
    connect(progress, &CRunProgress::stopRequested, this, &CMainFrame::OnMorphStop);

    connect(&m_doc, &CDocController::commandStateChanged, this, &CMainFrame::UpdateCommandUI);
    connect(m_pResultView, &CTrevalinView::engineChanged, this, &CMainFrame::UpdateCommandUI);
    connect(&m_recent, &CRecentFileList::changed, this, &CMainFrame::RebuildRecentFileMenu);
    connect(&m_docManager, &CDocManager::captionChanged, this, &QWidget::setWindowTitle);
    connect(&m_docManager, &CDocManager::notice, statusBar(),
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(&m_docManager, &CDocManager::activateRequested, this, [this] {
        raise();
        activateWindow();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // Clicking into a pane makes it the active view.
        for (QWidget* view : {static_cast<QWidget*>(m_pLeftPane), static_cast<QWidget*>(m_pRightPane)}) {
            if (now && m_bShowInputs && (now == view || view->isAncestorOf(now))) SetActiveView(view);
        }
    });
    m_docManager.SetDialogParent(this);
    m_docManager.SetRun([this] { return m_pResultView->IsRunActive(); }, [this] { OnMorphStop(); });
    setWindowTitle(m_docManager.GetCaption());
    RebuildRecentFileMenu();
    UpdateCommandUI();
}

CMainFrame::~CMainFrame()
{
    // The children go after this destructor; let no signal reach it then.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(&m_doc, nullptr, this, nullptr);
    disconnect(&m_recent, nullptr, this, nullptr);
    disconnect(&m_docManager, nullptr, this, nullptr);
    m_docManager.SetRun({}, {});
    disconnect(m_pResultView, nullptr, this, nullptr);
    disconnect(&m_doc, nullptr, m_pEditCommands, nullptr);
    disconnect(&m_doc, nullptr, m_fit, nullptr);
    disconnect(&m_doc, nullptr, m_layout, nullptr);
    disconnect(&m_doc.GetUndoStack(), nullptr, m_pEditCommands, nullptr);
    // The panel goes first, taking its 预览 command with it; no frame of
    // the result view may be in progress once the frame goes.
    delete m_pPreviewCommands->GetDock();
    m_pResultView->SetRowPool(nullptr);
}

void CMainFrame::CreateToolBar()
{
    QAction* fileNew =
        MakeAction(ID_FILE_NEW, tr("新建(&N)\tCtrl+N"), QStringLiteral("file_new"), tr("建立新文档\n新建"));
    fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    QAction* fileOpen =
        MakeAction(ID_FILE_OPEN, tr("打开(&O)...\tCtrl+O"), QStringLiteral("file_open"), tr("打开一个现有文档\n打开"));
    fileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* fileSave =
        MakeAction(ID_FILE_SAVE, tr("保存(&S)\tCtrl+S"), QStringLiteral("file_save"), tr("保存活动文档\n保存"));
    fileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction* cut =
        MakeAction(ID_EDIT_CUT, QString(), QStringLiteral("edit_cut"), tr("剪切被选对象并将其置于剪贴板上\n剪切"));
    cut->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    QAction* copy =
        MakeAction(ID_EDIT_COPY, QString(), QStringLiteral("edit_copy"), tr("复制被选对象并将其置于剪贴板上\n复制"));
    copy->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    QAction* paste = MakeAction(ID_EDIT_PASTE, QString(), QStringLiteral("edit_paste"), tr("插入剪贴板内容\n粘贴"));
    paste->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    QAction* print = MakeAction(ID_FILE_PRINT, QString(), QStringLiteral("file_print"), tr("打印功能尚未提供\n打印"));
    QAction* about =
        MakeAction(ID_APP_ABOUT, QString(), QStringLiteral("app_about"), tr("显示程序信息，版本号和版权\n关于"));
    QAction* linear = MakeAction(ID_MORPH_LINEAR, QString(), QStringLiteral("morph_linear"),
                                 tr("用交叉溶解生成渐变序列(显示结果视图时可用)\n交叉溶解"));
    QAction* feature = MakeAction(ID_MORPH_FEATURE, QString(), QStringLiteral("morph_feature"),
                                  tr("沿特征线变形后交叉溶解生成渐变序列(显示结果视图时可用)\n特征线变形"));
    QAction* unused = MakeAction(ID_UNUSED_32779, QString(), QStringLiteral("blank"), tr("此按钮没有功能\n无功能"));
    QAction* draw = MakeAction(ID_TOOL_DRAW, QString(), QStringLiteral("tool_draw"),
                               tr("画线工具：单击起点，移动，再单击终点，两幅图像中同时出现一对特征线\n画线"));
    QAction* select = MakeAction(ID_TOOL_SELECT, QString(), QStringLiteral("tool_select"),
                                 tr("选择工具：选中特征线的点或线段并拖动它\n选择"));
    QAction* inputs =
        MakeAction(ID_VIEW_INPUTS, QString(), QStringLiteral("view_inputs"), tr("并排显示源图像和目标图像\n输入图像"));
    QAction* result = MakeAction(ID_VIEW_RESULT, QString(), QStringLiteral("view_result"), tr("显示渐变结果\n结果"));
    for (QAction* checkable : {linear, feature, draw, select, inputs, result})
        checkable->setCheckable(true);
    QAction* nextPane = MakeAction(ID_NEXT_PANE, QString(), QString(), tr("切换到下一个窗格\n下一窗格"));
    nextPane->setShortcut(QKeySequence(Qt::Key_F6));
    QAction* prevPane = MakeAction(ID_PREV_PANE, QString(), QString(), tr("切换回前一个窗格\n前一窗格"));
    prevPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    addActions({nextPane, prevPane});

    m_pToolBar = new QToolBar(this);
    m_pToolBar->setObjectName(QStringLiteral("m_wndToolBar"));
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->addActions({fileNew, fileOpen, fileSave});
    m_pToolBar->addSeparator();
    m_pToolBar->addActions({cut, copy, paste});
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(print);
    m_pToolBar->addSeparator();
    m_pToolBar->addActions({about, linear, feature, unused, draw, select, inputs, result});
    addToolBar(Qt::TopToolBarArea, m_pToolBar);

    connect(fileNew, &QAction::triggered, &m_docManager, &CDocManager::OnFileNew);
    connect(fileOpen, &QAction::triggered, &m_docManager, &CDocManager::OnFileOpen);
    connect(fileSave, &QAction::triggered, &m_docManager, &CDocManager::OnFileSave);
    connect(about, &QAction::triggered, this, [this] { m_prompts.ShowAbout(this); });
    connect(linear, &QAction::triggered, this, [this] {
        m_pResultView->OnMorphLinear();
        UpdateCommandUI();
    });
    connect(feature, &QAction::triggered, this, [this] {
        m_pResultView->OnMorphFeature();
        UpdateCommandUI();
    });
    connect(draw, &QAction::triggered, this, [this] {
        m_pTools->OnToolDraw();
        UpdateCommandUI();
    });
    connect(select, &QAction::triggered, this, [this] {
        m_pTools->OnToolSelect();
        UpdateCommandUI();
    });
    connect(inputs, &QAction::triggered, this, &CMainFrame::OnViewInputs);
    connect(result, &QAction::triggered, this, &CMainFrame::OnViewResult);
    connect(nextPane, &QAction::triggered, this, &CMainFrame::OnNextPane);
    connect(prevPane, &QAction::triggered, this, &CMainFrame::OnNextPane);
}

void CMainFrame::CreateMenu()
{
    m_pFileMenu = menuBar()->addMenu(tr("文件(&F)"));
    m_pFileMenu->addAction(GetAction(ID_FILE_NEW));
    m_pFileMenu->addAction(GetAction(ID_FILE_OPEN));
    m_pFileMenu->addAction(GetAction(ID_FILE_SAVE));
    QAction* saveAs =
        MakeAction(ID_FILE_SAVE_AS, tr("另存为(&A)..."), QString(), tr("将活动文档以一个新文件名保存\n另存为"));
    m_pFileMenu->addAction(saveAs);
    m_pFileMenu->addSeparator();
    m_pRecentPlace = MakeAction(ID_FILE_MRU_FIRST, tr("最近文件"), QString(), tr("打开该文档"));
    m_pFileMenu->addAction(m_pRecentPlace);
    m_pRecentEnd = m_pFileMenu->addSeparator();
    QAction* exitApp = MakeAction(ID_APP_EXIT, tr("退出(&X)"), QString(), tr("退出应用程序；提示保存文档\n退出"));
    m_pFileMenu->addAction(exitApp);

    connect(saveAs, &QAction::triggered, &m_docManager, &CDocManager::OnFileSaveAs);
    connect(exitApp, &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::CreateEditCommands(QSettings& settings)
{
    m_pTools = std::make_unique<CToolSwitcher>(m_doc, std::array<CImageView*, 2>{m_pLeftPane, m_pRightPane});
    m_pEditCommands =
        new CEditCommands(m_actions, m_doc, *m_pTools, {m_pLeftPane, m_pRightPane}, *m_pZoom, settings, this);
    m_pEditCommands->CreateActions();
    // After 文件, before 变形.
    m_pEditCommands->CreateMenus(*menuBar());
}

void CMainFrame::RebuildRecentFileMenu()
{
    for (QAction* action : m_recentActions) {
        m_pFileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    const QStringList& entries = m_recent.Entries();
    // Without entries the place shows a grey "最近文件".
    m_pRecentPlace->setVisible(entries.isEmpty());
    m_pRecentPlace->setEnabled(false);
    for (int i = 0; i < entries.size(); ++i) {
        QString shown = QDir::toNativeSeparators(entries.at(i));
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        action->setObjectName(QStringLiteral("ID_%1").arg(ID_FILE_MRU_FIRST + i));
        action->setStatusTip(tr("打开该文档"));
        connect(action, &QAction::triggered, &m_docManager, [this, i] { m_docManager.OnOpenRecentFile(i); });
        m_pFileMenu->insertAction(m_pRecentEnd, action);
        m_recentActions.append(action);
    }
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("m_wndStatusBar"));
    // The message pane: "就绪" whenever no prompt is shown over it.
    m_pIdleLabel = new QLabel(tr("就绪"), bar);
    bar->addWidget(m_pIdleLabel, 1);
    // Lock-key indicators; the keys' states are not available here, so
    // they stay grey.
    for (const char* name : {QT_TR_NOOP("大写"), QT_TR_NOOP("数字"), QT_TR_NOOP("滚动")}) {
        auto* indicator = new QLabel(tr(name), bar);
        indicator->setEnabled(false);
        indicator->setFrameShape(QFrame::Panel);
        indicator->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(indicator);
    }
}

void CMainFrame::CreateControlBar()
{
    addToolBarBreak(Qt::TopToolBarArea);
    m_pReBar = new QToolBar(this);
    m_pReBar->setObjectName(QStringLiteral("m_wndReBar"));
    // The band keeps to the bar area above the client area: its gripper
    // moves it within that area, never out into a window of its own.
    m_pReBar->setAllowedAreas(Qt::TopToolBarArea);
    m_pReBar->setFloatable(false);
    m_pConfigDlg = new CMorphConfigDlg(m_prompts, m_pReBar);
    m_pReBar->addWidget(m_pConfigDlg);
    addToolBar(Qt::TopToolBarArea, m_pReBar);
    connect(m_pConfigDlg, &CMorphConfigDlg::morphStart, this, &CMainFrame::OnMorphStart);
    connect(m_pConfigDlg, &CMorphConfigDlg::morphPause, this, &CMainFrame::OnMorphPause);
    connect(m_pConfigDlg, &CMorphConfigDlg::morphStop, this, &CMainFrame::OnMorphStop);
}

void CMainFrame::CreateClient()
{
    m_pClient = new QStackedWidget(this);
    m_pSplitter = new QSplitter(Qt::Horizontal, m_pClient);
    m_pSplitter->setObjectName(QStringLiteral("m_wndSplitter"));
    m_pSplitter->setChildrenCollapsible(false);
    // Left first: the panes number themselves in the order they are made.
    m_pLeftPane = new CImageView(m_doc, m_prompts, m_nViewCount, m_pSplitter);
    m_pRightPane = new CImageView(m_doc, m_prompts, m_nViewCount, m_pSplitter);
    m_pSplitter->addWidget(m_pLeftPane);
    m_pSplitter->addWidget(m_pRightPane);
    // One zoom for both.
    m_pLeftPane->SetZoom(m_pZoom);
    m_pRightPane->SetZoom(m_pZoom);
    // Resizing the frame keeps the left column's width.
    m_pSplitter->setStretchFactor(0, 0);
    m_pSplitter->setStretchFactor(1, 1);
    m_pResultView = new CTrevalinView(m_doc, m_prompts, m_pClient);
    m_pResultView->setObjectName(QStringLiteral("m_pResultView"));
    m_pResultView->SetRowPool(&m_rowPool);
    m_pClient->addWidget(m_pSplitter);
    m_pClient->addWidget(m_pResultView);
    m_pClient->setCurrentWidget(m_pSplitter);
    setCentralWidget(m_pClient);
    m_pActiveView = m_pLeftPane;
}

CPreviewDock* CMainFrame::GetPreview() const
{
    return m_pPreviewCommands->GetDock();
}

void CMainFrame::RestoreLayout(QSettings& settings)
{
    m_layout->Restore(settings);
}

void CMainFrame::SaveLayout(QSettings& settings) const
{
    m_layout->Save(settings);
}

QMenu* CMainFrame::createPopupMenu()
{
    // The bars carry no context menu (the window's default one would list
    // them under empty names and could hide the control bar).
    return nullptr;
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_bFocusSet) {
        // The edit keys belong to the panes from the start, not to the
        // control bar's first field.
        m_bFocusSet = true;
        if (m_bShowInputs && m_pActiveView) m_pActiveView->setFocus(Qt::OtherFocusReason);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_docManager.SaveModified()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::ActivateView(QWidget* view)
{
    SetActiveView(view);
    if (isVisible()) view->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::SetActiveView(QWidget* view)
{
    m_pActiveView = view;
    m_pEditCommands->SetActiveImage(view == m_pRightPane ? 1 : 0);
}

void CMainFrame::OnViewInputs()
{
    m_pClient->setCurrentWidget(m_pSplitter);
    ActivateView(m_pLeftPane);
    m_bShowInputs = true;
    m_pSplitter->update();
    UpdateCommandUI();
}

void CMainFrame::OnViewResult()
{
    m_pClient->setCurrentWidget(m_pResultView);
    ActivateView(m_pResultView);
    m_bShowInputs = false;
    m_pResultView->update();
    UpdateCommandUI();
}

void CMainFrame::OnNextPane()
{
    if (!m_bShowInputs) return;
    ActivateView(m_pActiveView == m_pLeftPane ? static_cast<QWidget*>(m_pRightPane) : m_pLeftPane);
}

void CMainFrame::OnMorphStart()
{
    m_pResultView->SetSteps(m_pConfigDlg->m_nSteps);
    m_pResultView->SetInterval(m_pConfigDlg->GetInterval());
    m_pResultView->StartRun();
}

void CMainFrame::OnMorphPause()
{
    m_pResultView->PauseRun();
}

void CMainFrame::OnMorphStop()
{
    m_pResultView->StopRun();
}

void CMainFrame::UpdateCommandUI()
{
    // Commands nothing handles.
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT, ID_UNUSED_32779})
        GetAction(id)->setEnabled(false);
    // The engine commands belong to the result view: only while it is shown,
    // and their check marks are set only then (none before it was first
    // shown; the last ones while it is hidden again).
    GetAction(ID_MORPH_LINEAR)->setEnabled(!m_bShowInputs);
    GetAction(ID_MORPH_FEATURE)->setEnabled(!m_bShowInputs);
    if (!m_bShowInputs) {
        GetAction(ID_MORPH_LINEAR)->setChecked(m_pResultView->GetEngineKind() == EngineKind::kLinear);
        GetAction(ID_MORPH_FEATURE)->setChecked(m_pResultView->GetEngineKind() == EngineKind::kFeature);
    }
    GetAction(ID_TOOL_DRAW)->setChecked(m_pTools->IsDrawToolChecked());
    GetAction(ID_TOOL_SELECT)->setChecked(m_pTools->IsSelectToolChecked());
    GetAction(ID_VIEW_INPUTS)->setChecked(m_bShowInputs);
    GetAction(ID_VIEW_RESULT)->setChecked(!m_bShowInputs);
    // Pane switching belongs to the splitter.
    GetAction(ID_NEXT_PANE)->setEnabled(m_bShowInputs);
    GetAction(ID_PREV_PANE)->setEnabled(m_bShowInputs);
    m_pEditCommands->SetInputsShown(m_bShowInputs);
    m_faces->SetInputsShown(m_bShowInputs);
    m_pEditCommands->UpdateCommandUI();
    m_pMorphOptions->UpdateCommandUI();
}

void CMainFrame::CreateExportMenu()
{
    QAction* exportAction =
        MakeAction(ID_FILE_EXPORT, tr("导出(&E)...\tCtrl+E"), QString(), tr("将变形序列导出为帧文件和视频\n导出"));
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    // After 另存为, before the separator above the recent files.
    const QList<QAction*> items = m_pFileMenu->actions();
    const qsizetype recent = items.indexOf(m_pRecentPlace);
    m_pFileMenu->insertAction(recent > 0 ? items.at(recent - 1) : m_pRecentPlace, exportAction);
    connect(exportAction, &QAction::triggered, this, &CMainFrame::OnFileExport);
    QAction* sequence = MakeAction(ID_FILE_EXPORT_SEQUENCE, tr("导出序列(&Q)..."), QString(),
                                   tr("把几个项目的变形依次连成一个视频导出\n导出序列"));
    m_pFileMenu->insertAction(recent > 0 ? items.at(recent - 1) : m_pRecentPlace, sequence);
    connect(sequence, &QAction::triggered, this, &CMainFrame::OnFileExportSequence);
}

QMenu* CMainFrame::GetMorphMenu() const
{
    return m_pMorphOptions->GetMenu();
}

void CMainFrame::OnFileExport()
{
    if (m_pExport == nullptr || !m_pConfigDlg->DoDataExchange()) return;
    // The export has the cores while it goes: the preview waits.
    GetPreview()->SetRunActive(true);
    m_pExport->OnFileExport(this, m_pConfigDlg->m_nSteps, m_pResultView->GetEngineKind());
    GetPreview()->SetRunActive(m_pResultView->GetDriver().IsRunning());
}

void CMainFrame::OnFileExportSequence()
{
    if (m_pExport == nullptr || !m_pConfigDlg->DoDataExchange()) return;
    const QString path = QFile::decodeName(QByteArray::fromStdString(m_doc.GetDoc().GetPathName()));
    CSequenceDlg dialog(QString::fromStdString(m_doc.GetDoc().GetTitle()), QFileInfo(path).absolutePath(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    GetPreview()->SetRunActive(true);
    m_pExport->OnFileExportSequence(this, m_pConfigDlg->m_nSteps, m_pResultView->GetEngineKind(), dialog.Projects(),
                                    dialog.Fit());
    GetPreview()->SetRunActive(m_pResultView->GetDriver().IsRunning());
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    // Not while a modal dialog is open: an export's progress (its job reads
    // the document) or a question of a run.
    const QString file = CImageView::DroppedFile(event->mimeData());
    if (!file.isEmpty() && CImageView::IsProjectFile(file) && QApplication::activeModalWidget() == nullptr)
        event->acceptProposedAction();
    else
        event->ignore();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QString file = CImageView::DroppedFile(event->mimeData());
    if (file.isEmpty() || !CImageView::IsProjectFile(file) || QApplication::activeModalWidget() != nullptr) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_docManager.OpenDocumentFile(file);
}
