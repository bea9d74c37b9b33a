#include "CImageView.h"

#include "CDocController.h"
#include "CFeatureOverlay.h"
#include "CMorphCommand.h"
#include "CUserPrompts.h"
#include "document/CPictureFile.h"
#include "document/CTrevalinDoc.h"
#include "picture/CPicturePainter.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <filesystem>
#include <system_error>

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

} // namespace

CImageView::CImageView(CDocController& doc, CUserPrompts& prompts, int32_t& nViewCount, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_prompts(prompts), m_nImageIndex(nViewCount++),
      m_pCommand(std::make_unique<CMorphCommand>(nullptr, this))
{
    viewport()->setMouseTracking(true);
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    m_pImageMenu = new QMenu(QStringLiteral("image menu"), this);
    QAction* open = m_pImageMenu->addAction(QStringLiteral("打开图像"));
    open->setObjectName(QStringLiteral("ID_OPEN_IMAGE"));
    connect(open, &QAction::triggered, this, &CImageView::OnOpenImage);
    // Under the onion skin the other pane's picture shows here too.
    connect(&m_doc, &CDocController::contentChanged, this, [this] {
        if (m_bOnionSkin) viewport()->update();
    });
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
    RECT rc;
    GetImageRect(rc);
    m_totalSize = QSize(rc.right - rc.left + 20, rc.bottom - rc.top + 20);
    m_pageSize = client;
    m_lineSize = QSize(client.width() / 10, client.height() / 10);
    m_bScrollSizesPending = !isVisible();
    UpdateScrollRanges();
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

void CImageView::OnOpenImage()
{
    const QString chosen = m_prompts.GetOpenFileName(this, QStringLiteral("Image Files (*.bmp;*jpg) (*.bmp *.jpg)"));
    if (chosen.isEmpty()) return;
    namespace fs = std::filesystem;
    const fs::path source = fs::path(QFile::encodeName(chosen).toStdString());
    const fs::path folder = fs::path(m_doc.GetDoc().GetWorkDir()) / "images";
    const fs::path destination = folder / source.filename();
    CPictureFile* picture = m_doc.GetDoc().GetPicture(m_nImageIndex);
    // The chosen file is decoded before anything is copied: a file that is
    // no picture must neither replace the pane's picture nor overwrite a
    // picture of the same name in images/.
    CPictureFile probe;
    probe.SetDecoder(picture->GetDecoder());
    if (!probe.LoadFromFile(source.string())) {
        m_prompts.MessageBox(this, QString::fromStdString(probe.GetLastError()), CUserPrompts::Icon::kWarning);
        return;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    // A file picked from images/ itself is loaded as it stands.
    if (!fs::equivalent(source, destination, ec))
        fs::copy_file(source, destination, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        m_prompts.MessageBox(this,
                             QStringLiteral("无法将图像复制到 %1：%2")
                                 .arg(QFile::decodeName(QByteArray::fromStdString(destination.string())),
                                      QString::fromStdString(ec.message())),
                             CUserPrompts::Icon::kWarning);
        return;
    }
    if (!picture->LoadFromFile(destination.string())) {
        m_prompts.MessageBox(this, QString::fromStdString(picture->GetLastError()), CUserPrompts::Icon::kWarning);
    }
    UpdateScrollSizes();
    m_doc.NotifyContentChanged();
}

void CImageView::SetOnionSkin(bool on)
{
    if (on == m_bOnionSkin) return;
    m_bOnionSkin = on;
    viewport()->update();
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
    CPicturePainter::Render(*m_doc.GetDoc().GetPicture(m_nImageIndex), dc, rc);
    if (m_bOnionSkin) {
        dc.setOpacity(0.5);
        CPicturePainter::Render(*m_doc.GetDoc().GetPicture(1 - m_nImageIndex), dc, RECT{});
        dc.setOpacity(1.0);
    }
    // The overlay's defaults: black label text on an opaque white
    // background, markers filled white.
    dc.setPen(QPen(Qt::black, 0));
    dc.setBrush(Qt::white);
    dc.setBackground(Qt::white);
    dc.setBackgroundMode(Qt::OpaqueMode);
    CFeatureOverlay::DrawFeatures(dc, *m_doc.GetFeatureSet(), m_nImageIndex);
}

void CImageView::DispatchMouse(QEvent::Type type, Qt::MouseButton button, uint32_t flags, const QPoint& client)
{
    const int32_t x = client.x() + GetScrollPos(Qt::Horizontal);
    const int32_t y = client.y() + GetScrollPos(Qt::Vertical);
    // The tool may replace itself through a command; keep no reference.
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (button == Qt::LeftButton)
            m_pCommand->OnLButtonDown(flags, x, y);
        else if (button == Qt::RightButton)
            m_pCommand->OnRButtonDown(flags, x, y);
        break;
    case QEvent::MouseButtonRelease:
        if (button == Qt::LeftButton) m_pCommand->OnLButtonUp(flags, x, y);
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
