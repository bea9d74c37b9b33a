#include "MainFrameTest.h"

#include "CAppRig.h"
#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "app/Resource.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "editing/CZoom.h"
#include "geometry/CFeatureSet.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <memory>

namespace {

// Command ids of the tool bar's entries in order, 0 for a separator.
QList<int> ToolBarLayout(const CMainFrame& frame)
{
    QList<int> ids;
    for (QAction* action : frame.GetToolBar()->actions())
        ids << (action->isSeparator() ? 0 : action->data().toInt());
    return ids;
}

bool Enabled(const CMainFrame& frame, int id)
{
    return frame.GetAction(id)->isEnabled();
}
bool Checked(const CMainFrame& frame, int id)
{
    return frame.GetAction(id)->isChecked();
}

} // namespace

void MainFrameTest::toolBarHoldsFifteenButtonsInOrder()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    const QList<int> expected{ID_FILE_NEW,      ID_FILE_OPEN,
                              ID_FILE_SAVE,     0,
                              ID_EDIT_CUT,      ID_EDIT_COPY,
                              ID_EDIT_PASTE,    0,
                              ID_FILE_PRINT,    0,
                              ID_APP_ABOUT,     ID_MORPH_LINEAR,
                              ID_MORPH_FEATURE, ID_UNUSED_32779,
                              ID_TOOL_DRAW,     ID_TOOL_SELECT,
                              ID_VIEW_INPUTS,   ID_VIEW_RESULT};
    QCOMPARE(ToolBarLayout(rig.Frame()), expected);
    for (QAction* action : rig.Frame().GetToolBar()->actions()) {
        if (!action->isSeparator()) QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
    }
    // Nothing handles these: always disabled.
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT, ID_UNUSED_32779})
        QVERIFY(!Enabled(rig.Frame(), id));
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_APP_ABOUT, ID_TOOL_DRAW, ID_TOOL_SELECT, ID_VIEW_INPUTS,
                   ID_VIEW_RESULT})
        QVERIFY(Enabled(rig.Frame(), id));
    // The control bar sits in its own bar row below the tool bar.
    QCOMPARE(rig.Frame().toolBarArea(rig.Frame().GetToolBar()), Qt::TopToolBarArea);
    QVERIFY(rig.Frame().GetConfigDlg()->isVisible());
    QVERIFY(rig.Frame().GetConfigDlg()->mapTo(&rig.Frame(), QPoint(0, 0)).y() >
            rig.Frame().GetToolBar()->mapTo(&rig.Frame(), QPoint(0, 0)).y());
}

void MainFrameTest::promptsAreStatusTipsAndToolTips()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    const CMainFrame& frame = rig.Frame();
    const struct {
        int id;
        const char* status;
        const char* tip;
    } prompts[] = {
        {ID_FILE_NEW, "建立新文档", "新建"},
        {ID_FILE_OPEN, "打开一个现有文档", "打开"},
        {ID_FILE_SAVE, "保存活动文档", "保存"},
        {ID_FILE_SAVE_AS, "将活动文档以一个新文件名保存", "另存为"},
        {ID_EDIT_COPY, "复制被选对象并将其置于剪贴板上", "复制"},
        {ID_EDIT_CUT, "剪切被选对象并将其置于剪贴板上", "剪切"},
        {ID_EDIT_PASTE, "插入剪贴板内容", "粘贴"},
        {ID_APP_ABOUT, "显示程序信息，版本号和版权", "关于"},
        {ID_APP_EXIT, "退出应用程序；提示保存文档", "退出"},
        {ID_NEXT_PANE, "切换到下一个窗格", "下一窗格"},
        {ID_PREV_PANE, "切换回前一个窗格", "前一窗格"},
        {ID_EDIT_UNDO, "撤消最后一步操作", "撤消"},
        {ID_TOOL_DRAW, "画线工具：单击起点，移动，再单击终点，两幅图像中同时出现一对特征线", "画线"},
        {ID_TOOL_SELECT, "选择工具：选中特征线的点或线段并拖动它", "选择"},
    };
    for (const auto& p : prompts) {
        QCOMPARE(frame.GetAction(p.id)->statusTip(), QString::fromUtf8(p.status));
        QCOMPARE(frame.GetAction(p.id)->toolTip(), QString::fromUtf8(p.tip));
    }
    // Every tool-bar button has both.
    for (QAction* action : frame.GetToolBar()->actions()) {
        if (action->isSeparator()) continue;
        QVERIFY2(!action->statusTip().isEmpty(), qPrintable(action->objectName()));
        QVERIFY2(!action->toolTip().isEmpty(), qPrintable(action->objectName()));
    }
}

void MainFrameTest::fileMenuItemsAndAccelerators()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    QMenu* menu = rig.Frame().GetFileMenu();
    QCOMPARE(menu->title(), QStringLiteral("文件(&F)"));
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (action->isVisible()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    QCOMPARE(texts,
             (QStringList{QStringLiteral("新建(&N)\tCtrl+N"), QStringLiteral("打开(&O)...\tCtrl+O"),
                          QStringLiteral("保存(&S)\tCtrl+S"), QStringLiteral("另存为(&A)..."),
                          QStringLiteral("导出(&E)...\tCtrl+E"), QStringLiteral("导出序列(&Q)..."), QStringLiteral("-"),
                          QStringLiteral("最近文件"), QStringLiteral("-"), QStringLiteral("退出(&X)")}));
    QVERIFY(!rig.Frame().GetAction(ID_FILE_MRU_FIRST)->isEnabled());
    QCOMPARE(rig.Frame().GetAction(ID_FILE_NEW)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(rig.Frame().GetAction(ID_FILE_OPEN)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(rig.Frame().GetAction(ID_FILE_SAVE)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(rig.Frame().GetAction(ID_FILE_EXPORT)->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
    QCOMPARE(rig.Frame().GetAction(ID_NEXT_PANE)->shortcut(), QKeySequence(QStringLiteral("F6")));
    QCOMPARE(rig.Frame().GetAction(ID_PREV_PANE)->shortcut(), QKeySequence(QStringLiteral("Shift+F6")));
    QVERIFY(rig.Frame().GetAction(ID_EDIT_COPY)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Ins"))));
    QVERIFY(!rig.Frame().GetAction(ID_EDIT_UNDO)->isEnabled());
}

void MainFrameTest::statusBarPanes()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    QCOMPARE(rig.Frame().GetIdleLabel()->text(), QStringLiteral("就绪"));
    QStringList indicators;
    for (QLabel* label : rig.Frame().statusBar()->findChildren<QLabel*>()) {
        if (label != rig.Frame().GetIdleLabel() && label->objectName() != QStringLiteral("m_wndProgressText"))
            indicators << label->text();
    }
    QCOMPARE(indicators, (QStringList{QStringLiteral("大写"), QStringLiteral("数字"), QStringLiteral("滚动")}));
    // A prompt covers the message pane while it shows.
    rig.Frame().statusBar()->showMessage(QStringLiteral("建立新文档"));
    QVERIFY(!rig.Frame().GetIdleLabel()->isVisible());
    rig.Frame().statusBar()->clearMessage();
    QVERIFY(rig.Frame().GetIdleLabel()->isVisible());
}

void MainFrameTest::controlBarStaysAboveTheClient()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    auto* rebar = frame.findChild<QToolBar*>(QStringLiteral("m_wndReBar"));
    QVERIFY(rebar);
    QCOMPARE(frame.toolBarArea(rebar), Qt::TopToolBarArea);
    QVERIFY(frame.toolBarArea(frame.GetToolBar()) == Qt::TopToolBarArea);
    // The band can neither float nor dock beside or below the client area.
    QVERIFY(!rebar->isFloatable());
    for (Qt::ToolBarArea area : {Qt::LeftToolBarArea, Qt::RightToolBarArea, Qt::BottomToolBarArea})
        QVERIFY(!rebar->isAreaAllowed(area));
    // No context menu over the bars: nothing there can hide them.
    const std::unique_ptr<QMenu> popup(frame.createPopupMenu());
    QVERIFY(!popup);
}

void MainFrameTest::clientSwitchesBetweenPanesAndResult()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    QCOMPARE(frame.windowTitle(), QStringLiteral("无标题 - Trevalin"));
    QSplitter* splitter = frame.GetSplitter();
    QCOMPARE(static_cast<CImageView*>(splitter->widget(0))->GetImageIndex(), 0);
    QCOMPARE(static_cast<CImageView*>(splitter->widget(1))->GetImageIndex(), 1);
    QVERIFY(splitter->isVisible());
    QVERIFY(!frame.GetResultView()->isVisible());
    QVERIFY(Checked(frame, ID_VIEW_INPUTS));
    QVERIFY(!Checked(frame, ID_VIEW_RESULT));
    QCOMPARE(frame.GetActiveView(), static_cast<QWidget*>(frame.GetPane(0)));
    // Half and half at first.
    QVERIFY(qAbs(frame.GetPane(0)->width() - frame.GetPane(1)->width()) <= splitter->handleWidth() + 1);

    frame.GetAction(ID_VIEW_RESULT)->trigger();
    QVERIFY(!splitter->isVisible());
    QVERIFY(frame.GetResultView()->isVisible());
    QVERIFY(!frame.IsShowingInputs());
    QVERIFY(Checked(frame, ID_VIEW_RESULT));
    QVERIFY(!Checked(frame, ID_VIEW_INPUTS));
    QCOMPARE(frame.GetActiveView(), static_cast<QWidget*>(frame.GetResultView()));
    // The same command again leaves the same arrangement.
    frame.GetAction(ID_VIEW_RESULT)->trigger();
    QVERIFY(Checked(frame, ID_VIEW_RESULT));
    QVERIFY(frame.GetResultView()->isVisible());

    frame.GetAction(ID_VIEW_INPUTS)->trigger();
    frame.GetAction(ID_VIEW_INPUTS)->trigger();
    QVERIFY(splitter->isVisible());
    QVERIFY(!frame.GetResultView()->isVisible());
    QVERIFY(Checked(frame, ID_VIEW_INPUTS));
    QCOMPARE(frame.GetActiveView(), static_cast<QWidget*>(frame.GetPane(0)));
    // F6 goes to the other pane and back.
    frame.GetAction(ID_NEXT_PANE)->trigger();
    QCOMPARE(frame.GetActiveView(), static_cast<QWidget*>(frame.GetPane(1)));
    frame.GetAction(ID_PREV_PANE)->trigger();
    QCOMPARE(frame.GetActiveView(), static_cast<QWidget*>(frame.GetPane(0)));

    // Resizing keeps the left column's width.
    const int left = frame.GetPane(0)->width();
    frame.resize(frame.width() + 120, frame.height());
    QTRY_VERIFY(frame.GetPane(1)->width() > left);
    QCOMPARE(frame.GetPane(0)->width(), left);
}

void MainFrameTest::engineButtonsOnlyWhileResultShown()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    QVERIFY(!Enabled(frame, ID_MORPH_LINEAR));
    QVERIFY(!Enabled(frame, ID_MORPH_FEATURE));
    // No check mark until the result view has been shown.
    QVERIFY(!Checked(frame, ID_MORPH_FEATURE));
    QVERIFY(!Checked(frame, ID_MORPH_LINEAR));
    frame.GetAction(ID_VIEW_RESULT)->trigger();
    QVERIFY(Enabled(frame, ID_MORPH_LINEAR));
    QVERIFY(Enabled(frame, ID_MORPH_FEATURE));
    QVERIFY(Checked(frame, ID_MORPH_FEATURE));
    frame.GetAction(ID_MORPH_LINEAR)->trigger();
    QCOMPARE(frame.GetResultView()->GetEngineKind(), EngineKind::kLinear);
    QVERIFY(Checked(frame, ID_MORPH_LINEAR));
    QVERIFY(!Checked(frame, ID_MORPH_FEATURE));
    // Choosing the current engine again keeps it checked.
    frame.GetAction(ID_MORPH_LINEAR)->trigger();
    QVERIFY(Checked(frame, ID_MORPH_LINEAR));
    frame.GetAction(ID_MORPH_FEATURE)->trigger();
    QCOMPARE(frame.GetResultView()->GetEngineKind(), EngineKind::kFeature);
    QVERIFY(Checked(frame, ID_MORPH_FEATURE));
    frame.GetAction(ID_VIEW_INPUTS)->trigger();
    QVERIFY(!Enabled(frame, ID_MORPH_LINEAR));
    QVERIFY(!Enabled(frame, ID_MORPH_FEATURE));
    // Hidden again: the last check mark stays.
    QVERIFY(Checked(frame, ID_MORPH_FEATURE));
}

void MainFrameTest::toolButtonsCheckTheChosenTool()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    // Only the source picture: the buttons do nothing, not even a check.
    rig.LoadPicture(0, "a.bmp", 80, 60, Qt::red);
    frame.GetAction(ID_TOOL_DRAW)->trigger();
    QVERIFY(!Checked(frame, ID_TOOL_DRAW));
    frame.GetAction(ID_TOOL_SELECT)->trigger();
    QVERIFY(!Checked(frame, ID_TOOL_SELECT));

    rig.LoadPicture(1, "b.bmp", 80, 60, Qt::blue);
    frame.GetAction(ID_TOOL_DRAW)->trigger();
    QVERIFY(Checked(frame, ID_TOOL_DRAW));
    QVERIFY(!Checked(frame, ID_TOOL_SELECT));
    frame.GetAction(ID_TOOL_DRAW)->trigger();
    QVERIFY(Checked(frame, ID_TOOL_DRAW));
    frame.GetAction(ID_TOOL_SELECT)->trigger();
    QVERIFY(!Checked(frame, ID_TOOL_DRAW));
    QVERIFY(Checked(frame, ID_TOOL_SELECT));
    // New keeps the tool and its check mark.
    frame.GetAction(ID_FILE_NEW)->trigger();
    QVERIFY(Checked(frame, ID_TOOL_SELECT));
}

void MainFrameTest::aboutBox()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.Frame().GetAction(ID_APP_ABOUT)->trigger();
    QCOMPARE(rig.prompts.aboutBoxes, 1);

    CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("关于 Trevalin"));
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("Trevalin 1.0 版")));
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("IDOK"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("确定"));
    QVERIFY(ok->isDefault());
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
}

void MainFrameTest::editingMenusAndKeys()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    QStringList titles;
    for (QAction* menu : frame.menuBar()->actions())
        titles << menu->text();
    QCOMPARE(titles, (QStringList{QStringLiteral("文件(&F)"), QStringLiteral("编辑(&E)"), QStringLiteral("视图(&V)"),
                                  QStringLiteral("图像(&I)"), QStringLiteral("变形(&M)"), QStringLiteral("帮助(&H)")}));
    const struct {
        int id;
        const char* text;
        QKeySequence key;
    } items[] = {
        {ID_EDIT_UNDO, "撤销(&U)\tCtrl+Z", QKeySequence(QStringLiteral("Ctrl+Z"))},
        {ID_EDIT_REDO, "重做(&R)\tCtrl+Y", QKeySequence(QStringLiteral("Ctrl+Y"))},
        {ID_EDIT_CLEAR, "删除(&D)\tDel", QKeySequence(QStringLiteral("Del"))},
        {ID_VIEW_ZOOM_IN, "放大(&I)\tCtrl++", QKeySequence(QStringLiteral("Ctrl++"))},
        {ID_VIEW_ZOOM_OUT, "缩小(&O)\tCtrl+-", QKeySequence(QStringLiteral("Ctrl+-"))},
        {ID_VIEW_ZOOM_ACTUAL, "实际大小(&A)\tCtrl+0", QKeySequence(QStringLiteral("Ctrl+0"))},
        {ID_VIEW_ZOOM_FIT, "适合窗口(&W)", QKeySequence()},
        {ID_VIEW_SNAP_POINTS, "吸附到点(&N)", QKeySequence()},
        {ID_IMAGE_OPEN_SOURCE, "打开源图像(&S)…", QKeySequence()},
        {ID_IMAGE_OPEN_TARGET, "打开目标图像(&T)…", QKeySequence()},
    };
    for (const auto& item : items) {
        QCOMPARE(frame.GetAction(item.id)->text(), QString::fromUtf8(item.text));
        QCOMPARE(frame.GetAction(item.id)->shortcut(), item.key);
        QVERIFY(!frame.GetAction(item.id)->statusTip().isEmpty());
    }
    QVERIFY(frame.GetAction(ID_EDIT_REDO)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))));
    QVERIFY(frame.GetAction(ID_VIEW_DIRECT_DRAG)->isChecked());
    QVERIFY(frame.GetAction(ID_VIEW_SNAP_POINTS)->isChecked());
    QVERIFY(rig.Doc().IsSnapToPoints());
    const QList<QAction*> view = frame.menuBar()->actions()[2]->menu()->actions();
    QCOMPARE(view.indexOf(frame.GetAction(ID_VIEW_SNAP_POINTS)),
             view.indexOf(frame.GetAction(ID_VIEW_DIRECT_DRAG)) + 1);
    // Turned off, it stays off in the settings.
    frame.GetAction(ID_VIEW_SNAP_POINTS)->trigger();
    QVERIFY(!rig.Doc().IsSnapToPoints());
    QCOMPARE(rig.settings->value(QStringLiteral("Editing/SnapToPoints")).toBool(), false);

    // Two line pairs drawn, the second selected in the right pane.
    rig.LoadPicture(0, "a.bmp", 160, 120, Qt::red);
    rig.LoadPicture(1, "b.bmp", 160, 120, Qt::blue);
    QVERIFY(rig.Activate());
    // The pictures open fitted to the panes; the lines below are drawn at 100 %.
    frame.GetAction(ID_VIEW_ZOOM_ACTUAL)->trigger();
    frame.GetAction(ID_TOOL_DRAW)->trigger();
    rig.DrawLine(0, QPoint(10, 10), QPoint(50, 40));
    rig.DrawLine(0, QPoint(90, 20), QPoint(120, 90));
    frame.GetAction(ID_TOOL_SELECT)->trigger();
    QVERIFY(!Enabled(frame, ID_EDIT_CLEAR));
    QTest::mouseClick(frame.GetPane(1)->viewport(), Qt::LeftButton, {}, QPoint(120, 90));
    QVERIFY(Enabled(frame, ID_EDIT_CLEAR));
    CPointSets<int>& target = rig.Doc().GetFeatureSet()->m_sets[1];

    // Del, Ctrl+Z, Ctrl+Y, Ctrl+Z, Ctrl+Shift+Z, each through the keys.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int lines;
    } keys[] = {{Qt::Key_Delete, Qt::NoModifier, 1},
                {Qt::Key_Z, Qt::ControlModifier, 2},
                {Qt::Key_Y, Qt::ControlModifier, 1},
                {Qt::Key_Z, Qt::ControlModifier, 2},
                {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 1}};
    for (const auto& k : keys) {
        QTest::keyClick(frame.GetPane(1)->viewport(), k.key, k.modifiers);
        QCOMPARE(target.m_nCount, k.lines);
        QCOMPARE(rig.Doc().GetFeatureSet()->m_sets[0].m_nCount, k.lines);
    }
    QCOMPARE(target.Line(0).Point(0).x, 50);
    QCOMPARE(frame.windowTitle(), QStringLiteral("无标题* - Trevalin"));
    // Undone to where the project started: no changes any more.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(frame.GetPane(0)->viewport(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(target.m_nCount, 0);
    QCOMPARE(frame.windowTitle(), QStringLiteral("无标题 - Trevalin"));
    QVERIFY(!Enabled(frame, ID_EDIT_UNDO));
    QVERIFY(Enabled(frame, ID_EDIT_REDO));

    // The zoom commands act on both panes together.
    frame.GetAction(ID_VIEW_ZOOM_IN)->trigger();
    QCOMPARE(frame.GetPane(0)->GetZoom().Factor(), 1.5);
    QCOMPARE(frame.GetPane(1)->GetTotalSize(), QSize(260, 200));
    frame.GetAction(ID_VIEW_ZOOM_ACTUAL)->trigger();
    QCOMPARE(frame.GetPane(1)->GetTotalSize(), QSize(180, 140));
    frame.GetAction(ID_VIEW_ZOOM_FIT)->trigger();
    QVERIFY(frame.GetPane(0)->GetZoom().Factor() > 1.0);
    QVERIFY(frame.GetPane(0)->GetTotalSize().width() <= frame.GetPane(0)->maximumViewportSize().width());
}

void MainFrameTest::panesHoldTheEditKeysFromStartUp()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    rig.LoadPicture(0, "a.bmp", 160, 120, Qt::red);
    rig.LoadPicture(1, "b.bmp", 160, 120, Qt::blue);
    QVERIFY(rig.Activate());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(frame.GetPane(0)));
    frame.GetAction(ID_VIEW_ZOOM_ACTUAL)->trigger();
    frame.GetAction(ID_TOOL_DRAW)->trigger();
    rig.DrawLine(0, QPoint(10, 10), QPoint(50, 40));
    rig.DrawLine(0, QPoint(90, 20), QPoint(120, 90));
    frame.GetAction(ID_TOOL_SELECT)->trigger();
    // Tab selects pair 0, Shift+Right nudges it, Ctrl+Z takes that back,
    // Shift+Tab goes round to pair 1 and Del deletes it: all where the focus is.
    CPointSets<int>& source = rig.Doc().GetFeatureSet()->m_sets[0];
    auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    };
    key(Qt::Key_Tab);
    QCOMPARE(source.Line(0).m_nState, int32_t(STATE_SEGMENT_SELECTED));
    key(Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(source.Line(0).Point(0).x, 60);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(source.Line(0).Point(0).x, 50);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(source.Line(1).m_nState, int32_t(STATE_SEGMENT_SELECTED));
    key(Qt::Key_Delete);
    QCOMPARE(source.m_nCount, 1);
    QCOMPARE(source.Line(0).Point(0).x, 50);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(frame.GetPane(0)));
}
