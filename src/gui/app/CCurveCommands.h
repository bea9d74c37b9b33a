#pragma once

#include "morph/CTimingCurve.h"

#include <QObject>

class CActionRegistry;
class CDocController;
class QActionGroup;
class QMenu;
class QWidget;

// 变形 → 形状曲线 and 变形 → 颜色曲线: the curve of the in-between lines and
// the curve of the dissolve, each one of 线性, 缓入, 缓出, 平滑 or 自定义…
// (a Bezier drawn in CCurveDialog). The check marks follow the document's
// options; a choice sets them.
class CCurveCommands : public QObject {
    Q_OBJECT

public:
    CCurveCommands(CActionRegistry& actions, CDocController& doc, QWidget& window);

    // The two submenus, at the end of `menu`.
    void Create(QMenu& menu);
    void UpdateUI();

    // The items of a submenu in order: linear, ease-in, ease-out, smooth,
    // then the custom curve.
    static constexpr int kItems = 5;

private:
    void CreateMenu(QMenu& menu, bool shape);
    void Choose(bool shape, CTimingCurve::Kind kind);
    void Customize(bool shape);

    CActionRegistry& m_actions;
    CDocController& m_doc;
    QWidget& m_window;
};
