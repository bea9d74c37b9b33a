#include "CPaneScrollSync.h"

#include "CActionRegistry.h"
#include "Resource.h"
#include "editing/CImageView.h"
#include "editing/CZoom.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>

CPaneScrollSync::CPaneScrollSync(CActionRegistry& actions, CZoom& zoom, const std::array<CImageView*, 2>& panes,
                                 QSettings& settings, QObject* parent)
    : QObject(parent), m_actions(actions), m_panes(panes), m_settings(settings)
{
    m_on = m_settings.value(QString::fromLatin1(kKey), true).toBool();
    QAction* sync = m_actions.MakeAction(ID_VIEW_SYNC_SCROLL, tr("同步滚动(&L)"), QString(),
                                         tr("滚动一个窗格时另一个窗格随之滚动到图像的同一位置\n同步滚动"));
    sync->setCheckable(true);
    sync->setChecked(m_on);
    connect(sync, &QAction::toggled, this, &CPaneScrollSync::SetOn);

    for (int column : {0, 1}) {
        for (QScrollBar* bar : {m_panes[column]->horizontalScrollBar(), m_panes[column]->verticalScrollBar()})
            connect(bar, &QScrollBar::valueChanged, this, [this, column] { Follow(column); });
    }
    // While the zoom changes each pane places itself about its anchor; then
    // the pane the zoom came from (the pointer's) leads.
    connect(&zoom, &CZoom::zoomChanging, this, [this] { m_zooming = true; });
    connect(&zoom, &CZoom::zoomChanged, this, [this](double, const QObject* source, QPoint) {
        m_zooming = false;
        Follow(source == m_panes[1] ? 1 : 0);
    });
}

void CPaneScrollSync::AddViewItems(QMenu& menu)
{
    menu.addAction(m_actions.GetAction(ID_VIEW_SYNC_SCROLL));
}

void CPaneScrollSync::SetOn(bool on)
{
    m_actions.GetAction(ID_VIEW_SYNC_SCROLL)->setChecked(on);
    if (on == m_on) return;
    m_on = on;
    m_settings.setValue(QString::fromLatin1(kKey), on);
    Follow(0);
}

void CPaneScrollSync::Follow(int from)
{
    if (!m_on || m_zooming || m_following) return;
    m_following = true;
    const CImageView* leader = m_panes[from];
    CImageView* other = m_panes[1 - from];
    other->horizontalScrollBar()->setValue(leader->horizontalScrollBar()->value());
    other->verticalScrollBar()->setValue(leader->verticalScrollBar()->value());
    m_following = false;
}
