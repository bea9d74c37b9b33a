#pragma once

#include <QObject>

class CActionRegistry;
class CDocController;
class QMenu;
class QMenuBar;

// The 变形 menu: the project's morph options. 仅变形, 平滑缓动 and 延伸边缘
// are check items; 质量 chooses between 经典 (the exact frames) and 平滑
// (sub-pixel warp with bilinear samples). Every choice goes to the
// document at once; the check marks follow the document's options.
class CMorphOptionsCommands : public QObject {
    Q_OBJECT

public:
    CMorphOptionsCommands(CActionRegistry& actions, CDocController& doc, QObject* parent = nullptr);

    // Makes the commands and appends the menu to `bar`.
    void Create(QMenuBar& bar);
    // Check marks from the document's options.
    void UpdateCommandUI();
    QMenu* GetMenu() const { return m_menu; }

private:
    void OnChoice();

    CActionRegistry& m_actions;
    CDocController& m_doc;
    QMenu* m_menu = nullptr;
};
