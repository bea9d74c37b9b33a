#include "CEditCommands.h"

#include "CActionRegistry.h"
#include "Resource.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "editing/CToolSwitcher.h"
#include "editing/CZoom.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QUndoStack>

#include <algorithm>

CEditCommands::CEditCommands(CActionRegistry& actions, CDocController& doc, CToolSwitcher& tools,
                             const std::array<CImageView*, 2>& panes, CZoom& zoom, QSettings& settings, QObject* parent)
    : QObject(parent), m_actions(actions), m_doc(doc), m_tools(tools), m_panes(panes), m_zoom(zoom),
      m_settings(settings)
{
}

void CEditCommands::CreateActions()
{
    // Texts: menu item, then the status-bar prompt and the tool tip.
    QAction* undo = m_actions.MakeAction(ID_EDIT_UNDO, tr("撤销(&U)\tCtrl+Z"), QString(), tr("撤消最后一步操作\n撤消"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    QAction* redo =
        m_actions.MakeAction(ID_EDIT_REDO, tr("重做(&R)\tCtrl+Y"), QString(), tr("重做上一步撤销的操作\n重做"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    QAction* del = m_actions.MakeAction(ID_EDIT_CLEAR, tr("删除(&D)\tDel"), QString(),
                                        tr("删除选中的特征线及另一幅图像中与它配对的线\n删除"));
    del->setShortcut(QKeySequence(Qt::Key_Delete));

    QAction* zoomIn =
        m_actions.MakeAction(ID_VIEW_ZOOM_IN, tr("放大(&I)\tCtrl++"), QString(), tr("放大两幅图像\n放大"));
    zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* zoomOut =
        m_actions.MakeAction(ID_VIEW_ZOOM_OUT, tr("缩小(&O)\tCtrl+-"), QString(), tr("缩小两幅图像\n缩小"));
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QAction* actual = m_actions.MakeAction(ID_VIEW_ZOOM_ACTUAL, tr("实际大小(&A)\tCtrl+0"), QString(),
                                           tr("按实际大小显示图像(100%)\n实际大小"));
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    QAction* fit = m_actions.MakeAction(ID_VIEW_ZOOM_FIT, tr("适合窗口(&W)"), QString(),
                                        tr("缩放图像使其完整显示在窗格中\n适合窗口"));
    QAction* direct = m_actions.MakeAction(ID_VIEW_DIRECT_DRAG, tr("按下即拖动(&D)"), QString(),
                                           tr("在点或线段上按下并移动鼠标即可拖动它，无需先选中\n按下即拖动"));
    direct->setCheckable(true);
    QAction* snap = m_actions.MakeAction(
        ID_VIEW_SNAP_POINTS, tr("吸附到点(&N)"), QString(),
        tr("画线或拖动点时，端点靠近另一条特征线的点就吸附到该点上(按住 Shift 暂不吸附)\n吸附到点"));
    snap->setCheckable(true);

    QAction* openSource = m_actions.MakeAction(ID_IMAGE_OPEN_SOURCE, tr("打开源图像(&S)…"), QString(),
                                               tr("打开一幅图像作为源图像(左窗格)\n打开源图像"));
    QAction* openTarget = m_actions.MakeAction(ID_IMAGE_OPEN_TARGET, tr("打开目标图像(&T)…"), QString(),
                                               tr("打开一幅图像作为目标图像(右窗格)\n打开目标图像"));

    QUndoStack& stack = m_doc.GetUndoStack();
    connect(undo, &QAction::triggered, &m_doc, &CDocController::OnEditUndo);
    connect(redo, &QAction::triggered, &m_doc, &CDocController::OnEditRedo);
    connect(del, &QAction::triggered, this, &CEditCommands::OnDelete);
    connect(&stack, &QUndoStack::indexChanged, this, &CEditCommands::UpdateCommandUI);
    connect(&m_doc, &CDocController::selectionChanged, this, &CEditCommands::UpdateCommandUI);
    connect(zoomIn, &QAction::triggered, &m_zoom, [this] { m_zoom.ZoomIn(); });
    connect(zoomOut, &QAction::triggered, &m_zoom, [this] { m_zoom.ZoomOut(); });
    connect(actual, &QAction::triggered, &m_zoom, &CZoom::SetActual);
    connect(fit, &QAction::triggered, this, &CEditCommands::OnZoomFit);
    connect(&m_zoom, &CZoom::zoomChanged, this, &CEditCommands::UpdateCommandUI);
    connect(direct, &QAction::toggled, this, &CEditCommands::OnDirectDrag);
    connect(snap, &QAction::toggled, this, &CEditCommands::OnSnapToPoints);
    connect(openSource, &QAction::triggered, this, [this] { m_panes[0]->OnOpenImage(); });
    connect(openTarget, &QAction::triggered, this, [this] { m_panes[1]->OnOpenImage(); });

    const bool directDrag = m_settings.value(QString::fromLatin1(kDirectDragKey), true).toBool();
    m_doc.SetDirectDrag(directDrag);
    direct->setChecked(directDrag);
    const bool snapToPoints = m_settings.value(QString::fromLatin1(kSnapToPointsKey), true).toBool();
    m_doc.SetSnapToPoints(snapToPoints);
    snap->setChecked(snapToPoints);
}

void CEditCommands::CreateMenus(QMenuBar& bar)
{
    m_pEditMenu = bar.addMenu(tr("编辑(&E)"));
    m_pEditMenu->addActions({m_actions.GetAction(ID_EDIT_UNDO), m_actions.GetAction(ID_EDIT_REDO)});
    m_pEditMenu->addSeparator();
    m_pEditMenu->addAction(m_actions.GetAction(ID_EDIT_CLEAR));

    m_pViewMenu = bar.addMenu(tr("视图(&V)"));
    m_pViewMenu->addActions({m_actions.GetAction(ID_VIEW_ZOOM_IN), m_actions.GetAction(ID_VIEW_ZOOM_OUT),
                             m_actions.GetAction(ID_VIEW_ZOOM_ACTUAL), m_actions.GetAction(ID_VIEW_ZOOM_FIT)});
    m_pViewMenu->addSeparator();
    m_pViewMenu->addActions({m_actions.GetAction(ID_VIEW_DIRECT_DRAG), m_actions.GetAction(ID_VIEW_SNAP_POINTS)});

    m_pImageMenu = bar.addMenu(tr("图像(&I)"));
    m_pImageMenu->addActions({m_actions.GetAction(ID_IMAGE_OPEN_SOURCE), m_actions.GetAction(ID_IMAGE_OPEN_TARGET)});
}

void CEditCommands::UpdateCommandUI()
{
    const bool inputs = m_bInputsShown;
    const QUndoStack& stack = m_doc.GetUndoStack();
    m_actions.GetAction(ID_EDIT_UNDO)->setEnabled(stack.canUndo());
    m_actions.GetAction(ID_EDIT_REDO)->setEnabled(stack.canRedo());
    m_actions.GetAction(ID_EDIT_CLEAR)->setEnabled(inputs && m_tools.HasSelectedLine());
    // The result view and the preview follow the zoom too.
    m_actions.GetAction(ID_VIEW_ZOOM_IN)->setEnabled(m_zoom.CanZoomIn());
    m_actions.GetAction(ID_VIEW_ZOOM_OUT)->setEnabled(m_zoom.CanZoomOut());
    for (int id : {ID_IMAGE_OPEN_SOURCE, ID_IMAGE_OPEN_TARGET})
        m_actions.GetAction(id)->setEnabled(inputs);
}

void CEditCommands::OnDelete()
{
    // The active pane's image first.
    m_tools.OnEditDelete(m_nActiveImage);
}

void CEditCommands::OnZoomFit()
{
    // The larger picture decides: both must fit.
    double factor = 0.0;
    for (int column : {0, 1}) {
        const double f = m_panes[column]->FitFactor();
        if (f > 0.0) factor = factor > 0.0 ? std::min(factor, f) : f;
    }
    if (factor > 0.0) m_zoom.SetFactor(factor);
}

void CEditCommands::OnDirectDrag(bool on)
{
    m_doc.SetDirectDrag(on);
    m_settings.setValue(QString::fromLatin1(kDirectDragKey), on);
    m_settings.sync();
}

void CEditCommands::OnSnapToPoints(bool on)
{
    m_doc.SetSnapToPoints(on);
    m_settings.setValue(QString::fromLatin1(kSnapToPointsKey), on);
    m_settings.sync();
}
