#include "CImageView.h"

#include "CDocController.h"
#include "CFeatureOverlay.h"
#include "CMorphCommand.h"
#include "CPictureOpener.h"
#include "CUserPrompts.h"
#include "CZoom.h"
#include "document/CPictureFile.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CPointSet.h"
#include "picture/CPicturePainter.h"

#include <QApplication>
#include <QMenu>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Key flags of a pointer message: buttons held and modifier keys.
uint32_t KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    uint32_t flags = 0;
    if (buttons & Qt::LeftButton) flags |= 0x0001;
    if (buttons & Qt::RightButton) flags |= 0x0002;
    if (modifiers & Qt::ShiftModifier) flags |= 0x0004;
    if (modifiers & Qt::ControlModifier) flags |= 0x0008;
    if (buttons & Qt::MiddleButton) flags |= 0x0010;
    return flags;
}

// Labels reach 40 pixels right of and below their point; the marker 2
// pixels left of and above it.
constexpr int32_t kLineMargin = 40;
constexpr double kGrabPixels = 5.0;

int ClampToInt(double v)
{
    return static_cast<int>(std::clamp(v, double{INT_MIN / 2}, double{INT_MAX / 2}));
}

} // namespace

CImageView::CImageView(CDocController& doc, CUserPrompts& prompts, int32_t& nViewCount, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_prompts(prompts), m_nImageIndex(nViewCount++),
      m_pCommand(std::make_unique<CMorphCommand>(nullptr, this)), m_pOwnZoom(new CZoom(this))
{
    SetZoom(nullptr);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    m_pImageMenu = new QMenu(QStringLiteral("image menu"), this);
    QAction* open = m_pImageMenu->addAction(tr("打开图像"));
    open->setObjectName(QStringLiteral("ID_OPEN_IMAGE"));
    connect(open, &QAction::triggered, this, &CImageView::OnOpenImage);
    // Under the onion skin the other pane's picture shows here too.
    connect(&m_doc, &CDocController::contentChanged, this, [this] {
        if (m_bOnionSkin) viewport()->update();
    });
    connect(&m_doc, &CDocController::gesturesEnding, this, [this] { m_pCommand->EndGesture(); });
    connect(&m_doc, &CDocController::linesChanged, this, [this] {
        m_pCommand->OnLinesChanged();
        viewport()->update();
    });
    connect(&m_doc, &CDocController::pictureChanged, this, [this](int32_t image) {
        if (image == m_nImageIndex) UpdateScrollSizes();
    });
    connect(&m_doc, &CDocController::panesRepaintRequested, this, [this] { viewport()->update(); });
    connect(&m_doc, &CDocController::linePairSelected, this,
            [this](int32_t line) { m_pCommand->OnLinePairSelected(line); });
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    m_doc.AddView(this);
}

CImageView::~CImageView()
{
    ReleaseCapture();
    m_doc.RemoveView(this);
}

void CImageView::SetCommand(std::unique_ptr<CMorphCommand> pCommand)
{
    // A tool replaced in the middle of a draw or drag must not leave the
    // pointer captured for good.
    ReleaseCapture();
    m_pCommand = std::move(pCommand);
}

void CImageView::SetZoom(CZoom* zoom)
{
    if (m_pZoom) disconnect(m_pZoom, nullptr, this, nullptr);
    m_pZoom = zoom ? zoom : m_pOwnZoom;
    connect(m_pZoom, &CZoom::zoomChanged, this, &CImageView::OnZoomChanged);
    UpdateTotalSize();
    UpdateScrollRanges();
    viewport()->update();
}

double CImageView::Factor() const
{
    return m_pZoom ? m_pZoom->Factor() : 1.0;
}

double CImageView::FitFactor() const
{
    RECT rc;
    GetImageRect(rc);
    if (rc.right <= 0 || rc.bottom <= 0) return 0.0;
    // The whole pane without scroll bars, less the 20-pixel margin.
    const QSize room = maximumViewportSize();
    const double fx = static_cast<double>(std::max(room.width() - 20, 1)) / rc.right;
    const double fy = static_cast<double>(std::max(room.height() - 20, 1)) / rc.bottom;
    return std::min(fx, fy);
}

QPoint CImageView::PictureToClient(int32_t x, int32_t y) const
{
    const double f = Factor();
    const double sx = f == 1.0 ? x : std::floor((x + 0.5) * f);
    const double sy = f == 1.0 ? y : std::floor((y + 0.5) * f);
    return QPoint(ClampToInt(sx - GetScrollPos(Qt::Horizontal)), ClampToInt(sy - GetScrollPos(Qt::Vertical)));
}

QPoint CImageView::ClientToPicture(const QPoint& client) const
{
    const double f = Factor();
    return QPoint(CZoom::ToPicture(client.x() + GetScrollPos(Qt::Horizontal), f),
                  CZoom::ToPicture(client.y() + GetScrollPos(Qt::Vertical), f));
}

QRect CImageView::LineClientRect(const CPointSet<int>& line) const
{
    if (line.m_nCount <= 0) return QRect();
    CFeaturePoint min;
    CFeaturePoint max;
    line.GetBoundingBox(min, max);
    const QPoint topLeft = PictureToClient(min.x, min.y) - QPoint(kLineMargin, kLineMargin);
    const QPoint bottomRight = PictureToClient(max.x, max.y) + QPoint(kLineMargin, kLineMargin);
    return QRect(topLeft, bottomRight - QPoint(1, 1));
}

QPointF CImageView::PointerPicturePos(int32_t x, int32_t y) const
{
    if (QPoint(x, y) == m_ptPointerPicture) return m_ptPointerPictureF;
    return QPointF(x, y);
}

double CImageView::GrabRadius() const
{
    return kGrabPixels / Factor();
}

void CImageView::GetImageRect(RECT& rc) const
{
    rc = RECT{};
    const CPictureFile* picture = m_doc.GetDoc().GetPicture(m_nImageIndex);
    if (picture->IsLoaded()) {
        const auto size = picture->GetSizeInPixels();
        rc.right = size.cx;
        rc.bottom = size.cy;
    }
}

int32_t CImageView::GetScrollPos(Qt::Orientation bar) const
{
    return bar == Qt::Horizontal ? horizontalScrollBar()->value() : verticalScrollBar()->value();
}

void CImageView::UpdateScrollSizes()
{
    const QSize client = viewport()->size();
    UpdateTotalSize();
    m_pageSize = client;
    m_lineSize = QSize(client.width() / 10, client.height() / 10);
    m_bScrollSizesPending = !isVisible();
    UpdateScrollRanges();
    viewport()->update();
    if (isVisible()) {
        // Scroll bars that the new size brings or takes away come with the
        // next turn of the event loop: the page is the client they leave.
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QSize now = viewport()->size();
                if (now == m_pageSize) return;
                m_pageSize = now;
                m_lineSize = QSize(now.width() / 10, now.height() / 10);
                UpdateScrollRanges();
            },
            Qt::QueuedConnection);
    }
}

void CImageView::UpdateTotalSize()
{
    RECT rc;
    GetImageRect(rc);
    const double f = Factor();
    m_totalSize =
        QSize(CZoom::ExtentToScreen(rc.right - rc.left, f) + 20, CZoom::ExtentToScreen(rc.bottom - rc.top, f) + 20);
}

void CImageView::OnZoomChanged(double oldFactor, const QObject* source, QPoint anchor)
{
    // The picture point under the anchor (the pointer in the pane it came
    // from, the centre elsewhere) stays where it is.
    if (source != this) anchor = viewport()->rect().center();
    const double f = Factor();
    const double px = (GetScrollPos(Qt::Horizontal) + anchor.x()) / oldFactor;
    const double py = (GetScrollPos(Qt::Vertical) + anchor.y()) / oldFactor;
    UpdateTotalSize();
    UpdateScrollRanges();
    horizontalScrollBar()->setValue(ClampToInt(std::round(px * f - anchor.x())));
    verticalScrollBar()->setValue(ClampToInt(std::round(py * f - anchor.y())));
    viewport()->update();
}

void CImageView::UpdateScrollRanges()
{
    const QSize client = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, m_totalSize.width() - client.width()));
    v->setRange(0, std::max(0, m_totalSize.height() - client.height()));
    h->setPageStep(std::max(1, m_pageSize.width()));
    v->setPageStep(std::max(1, m_pageSize.height()));
    h->setSingleStep(std::max(1, m_lineSize.width()));
    v->setSingleStep(std::max(1, m_lineSize.height()));
}

void CImageView::SetCapture()
{
    if (m_bCaptured) return;
    m_bCaptured = true;
    qApp->installEventFilter(this);
}

void CImageView::ReleaseCapture()
{
    if (!m_bCaptured) return;
    m_bCaptured = false;
    qApp->removeEventFilter(this);
}

void CImageView::InvalidateRect(const QRect& rc, bool)
{
    // Qt repaints without erasing; the pane paints its whole invalid area.
    viewport()->update(rc);
}

QPoint CImageView::ClientToScreen(const QPoint& client) const
{
    return viewport()->mapToGlobal(client);
}

void CImageView::TrackImageMenu(const QPoint& globalPos)
{
    m_prompts.TrackPopupMenu(*m_pImageMenu, globalPos);
}

void CImageView::UpdateOtherViews()
{
    m_doc.UpdateAllViews(this);
}

void CImageView::OnOpenImage()
{
    CPictureOpener(m_doc, m_prompts, this).Open(m_nImageIndex);
}

void CImageView::SetOnionSkin(bool on)
{
    if (on == m_bOnionSkin) return;
    m_bOnionSkin = on;
    viewport()->update();
}

QString CImageView::DroppedFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

bool CImageView::IsProjectFile(const QString& path)
{
    return path.endsWith(QStringLiteral(".tvl"), Qt::CaseInsensitive);
}

void CImageView::dragEnterEvent(QDragEnterEvent* event)
{
    const QString file = DroppedFile(event->mimeData());
    // Anything else goes on to the window (a project) or is refused.
    if (file.isEmpty() || IsProjectFile(file)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void CImageView::dragMoveEvent(QDragMoveEvent* event)
{
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty() || IsProjectFile(file))
        event->ignore();
    else
        event->acceptProposedAction();
}

void CImageView::dropEvent(QDropEvent* event)
{
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty() || IsProjectFile(file)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    CPictureOpener(m_doc, m_prompts, this).OpenFile(m_nImageIndex, file);
}

void CImageView::OnInitialUpdate()
{
    viewport()->update();
    UpdateScrollSizes();
}

void CImageView::OnUpdate(CDocView*)
{
    viewport()->update();
}

void CImageView::paintEvent(QPaintEvent*)
{
    QPainter dc(viewport());
    dc.translate(-GetScrollPos(Qt::Horizontal), -GetScrollPos(Qt::Vertical));
    RECT rc;
    GetImageRect(rc);
    const double f = Factor();
    // The picture, and under the onion skin the other pane's over it at 50 %.
    const auto pictures = [this, &dc, &rc] {
        CPicturePainter::Render(*m_doc.GetDoc().GetPicture(m_nImageIndex), dc, rc);
        if (!m_bOnionSkin) return;
        dc.setOpacity(0.5);
        CPicturePainter::Render(*m_doc.GetDoc().GetPicture(1 - m_nImageIndex), dc, RECT{});
        dc.setOpacity(1.0);
    };
    if (f == 1.0) {
        pictures();
    } else {
        // Enlarged, every picture pixel is a sharp block; reduced, smooth.
        dc.save();
        dc.scale(f, f);
        dc.setRenderHint(QPainter::SmoothPixmapTransform, f < 1.0);
        pictures();
        dc.restore();
    }
    // The overlay's defaults: black label text on an opaque white
    // background, markers filled white.
    dc.setPen(QPen(Qt::black, 0));
    dc.setBrush(Qt::white);
    dc.setBackground(Qt::white);
    dc.setBackgroundMode(Qt::OpaqueMode);
    CFeatureOverlay::DrawFeatures(dc, *m_doc.GetFeatureSet(), m_nImageIndex, f, &m_doc.GetLineGrid(m_nImageIndex));
    m_pCommand->DrawOver(dc, f);
    // A picture the project names but that could not be loaded: its name.
    dc.resetTransform();
    CPicturePainter::RenderMissing(*m_doc.GetDoc().GetPicture(m_nImageIndex), dc, viewport()->rect());
}

void CImageView::DispatchMouse(QEvent::Type type, Qt::MouseButton button, uint32_t flags, const QPoint& client)
{
    const double f = Factor();
    const int32_t sx = client.x() + GetScrollPos(Qt::Horizontal);
    const int32_t sy = client.y() + GetScrollPos(Qt::Vertical);
    const int32_t x = CZoom::ToPicture(sx, f);
    const int32_t y = CZoom::ToPicture(sy, f);
    m_ptPointerClient = client;
    m_ptPointerPicture = QPoint(x, y);
    m_ptPointerPictureF = QPointF(CZoom::ToPictureF(sx, f), CZoom::ToPictureF(sy, f));
    // The tool may replace itself through a command; keep no reference.
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (button == Qt::LeftButton)
            m_pCommand->OnLButtonDown(flags, x, y);
        else if (button == Qt::RightButton)
            m_pCommand->OnRButtonDown(flags, x, y);
        m_doc.NotifySelectionChanged();
        break;
    case QEvent::MouseButtonRelease:
        if (button == Qt::LeftButton) m_pCommand->OnLButtonUp(flags, x, y);
        m_doc.NotifySelectionChanged();
        break;
    case QEvent::MouseMove:
        m_pCommand->OnMouseMove(flags, x, y);
        break;
    default:
        break;
    }
}

void CImageView::mousePressEvent(QMouseEvent* event)
{
    DispatchMouse(event->type(), event->button(), KeyFlags(event->buttons(), event->modifiers()),
                  event->position().toPoint());
}

void CImageView::mouseReleaseEvent(QMouseEvent* event)
{
    DispatchMouse(event->type(), event->button(), KeyFlags(event->buttons(), event->modifiers()),
                  event->position().toPoint());
}

void CImageView::mouseMoveEvent(QMouseEvent* event)
{
    DispatchMouse(event->type(), Qt::NoButton, KeyFlags(event->buttons(), event->modifiers()),
                  event->position().toPoint());
}

void CImageView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a quick pair is a press like any other.
    DispatchMouse(event->type(), event->button(), KeyFlags(event->buttons(), event->modifiers()),
                  event->position().toPoint());
}

void CImageView::keyPressEvent(QKeyEvent* event)
{
    if (m_pCommand->OnKeyDown(event->key(), KeyFlags(QGuiApplication::mouseButtons(), event->modifiers()))) {
        event->accept();
        m_doc.NotifySelectionChanged();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool CImageView::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab come here before keyPressEvent.
    const uint32_t flags = KeyFlags(QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers());
    if (m_pCommand->OnKeyDown(next ? Qt::Key_Tab : Qt::Key_Backtab, flags)) return true;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void CImageView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y();
    // The viewport receives the wheel: the position is in client pixels.
    const QPoint at = event->position().toPoint();
    if (steps > 0)
        GetZoom().ZoomIn(this, at);
    else if (steps < 0)
        GetZoom().ZoomOut(this, at);
    event->accept();
}

void CImageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void CImageView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    // Queued: the window that shows the pane lays it out (the splitter's
    // columns included) before the sizes are taken.
    if (m_bScrollSizesPending) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_bScrollSizesPending && isVisible()) UpdateScrollSizes();
            },
            Qt::QueuedConnection);
    }
}

void CImageView::scrollContentsBy(int, int)
{
    viewport()->update();
}

bool CImageView::eventFilter(QObject* watched, QEvent* event)
{
    // While the pointer is captured, mouse input meant for any other widget
    // of the pane's window comes here, in this pane's client coordinates.
    // Other windows (a dialog opened meanwhile) keep their input.
    if (!m_bCaptured || !watched->isWidgetType()) return QAbstractScrollArea::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == viewport() || viewport()->isAncestorOf(widget) || widget->window() != window()) break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint client = viewport()->mapFromGlobal(mouse->globalPosition().toPoint());
        DispatchMouse(event->type(), mouse->button(), KeyFlags(mouse->buttons(), mouse->modifiers()), client);
        return true;
    }
    default:
        break;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}
