#include "CPaneFit.h"

#include "CActionRegistry.h"
#include "Resource.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "editing/CZoom.h"

#include <QAction>
#include <QEvent>
#include <QTimer>

#include <algorithm>

CPaneFit::CPaneFit(CActionRegistry& actions, CDocController& doc, CZoom& zoom, const std::array<CImageView*, 2>& panes,
                   QObject* parent)
    : QObject(parent), m_zoom(zoom), m_panes(panes)
{
    // A project opened (the views' initial update) or a picture opened.
    connect(&doc, &CDocController::commandStateChanged, this, &CPaneFit::Schedule);
    connect(&doc, &CDocController::pictureChanged, this, &CPaneFit::Schedule);
    for (CImageView* pane : m_panes)
        pane->installEventFilter(this);

    connect(&m_zoom, &CZoom::zoomChanged, this, [this] {
        if (!m_fitting) m_on = false;
    });
    // 实际大小 at 100 % changes no factor, yet it is the user's zoom too.
    for (int id : {ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_ACTUAL})
        connect(actions.GetAction(id), &QAction::triggered, this, [this] { m_on = false; });
    // After the command's own fit.
    connect(actions.GetAction(ID_VIEW_ZOOM_FIT), &QAction::triggered, this, [this] { m_on = true; });
}

void CPaneFit::Schedule()
{
    if (!m_on || m_scheduled) return;
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        Fit();
    });
}

void CPaneFit::Fit()
{
    if (!m_on) return;
    // The larger picture decides: both must fit.
    double factor = 0.0;
    for (const CImageView* pane : m_panes) {
        const double f = pane->FitFactor();
        if (f > 0.0) factor = factor > 0.0 ? std::min(factor, f) : f;
    }
    if (factor <= 0.0) return;
    m_fitting = true;
    m_zoom.SetFactor(factor);
    m_fitting = false;
}

bool CPaneFit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) Schedule();
    return QObject::eventFilter(watched, event);
}
