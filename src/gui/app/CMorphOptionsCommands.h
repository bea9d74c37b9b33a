#pragma once

#include <QObject>

class CActionRegistry;
class CDocController;
class QMenu;
class QMenuBar;
class QWidget;

// The 变形 menu: the project's morph options. 仅变形 and 延伸边缘 are check
// items; 形状曲线 and 颜色曲线 choose the timing curves (CCurveCommands); 质量
// chooses between 经典 (the exact frames) and 平滑 (sub-pixel warp with
// bilinear samples). Every choice goes to the document at once; the check
// marks follow the document's options.
class CMorphOptionsCommands : public QObject {
    Q_OBJECT

public:
    // The dialogs of the menu open over `window`, which owns the commands.
    CMorphOptionsCommands(CActionRegistry& actions, CDocController& doc, QWidget& window);

    // Makes the commands and appends the menu to `bar`.
    void Create(QMenuBar& bar);
    // Check marks from the document's options.
    void UpdateCommandUI();
    QMenu* GetMenu() const { return m_menu; }

private:
    void OnChoice();

    CActionRegistry& m_actions;
    CDocController& m_doc;
    QWidget& m_window;
    QMenu* m_menu = nullptr;
};
