#include "CPreviewDock.h"

#include "CFrameDisplay.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CLinePairs.h"
#include "editing/CDocController.h"
#include "run/CPreviewRenderer.h"
#include "run/CRunDriver.h"
#include "language/CCoreText.h"
#include "picture/CBitmapImage.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

CPreviewDock::CPreviewDock(CDocController& doc, QWidget* parent) : QDockWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("m_wndPreviewBar"));
    setWindowTitle(tr("预览"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 2, 4, 4);
    m_pState = new QLabel(body);
    // A long caption is cut rather than widening the panel (its tip holds it whole).
    m_pState->setMinimumWidth(1);
    m_pDisplay = new CFrameDisplay(body);
    m_pDisplay->setMinimumSize(160, 90);
    m_pSlider = new QSlider(Qt::Horizontal, body);
    m_pSlider->setObjectName(QStringLiteral("IDC_PREVIEW_FRAME"));
    m_pSlider->setPageStep(1);
    m_pFrameLabel = new QLabel(body);
    m_pFrameLabel->setMinimumWidth(m_pFrameLabel->fontMetrics().horizontalAdvance(tr("帧 %1 / %2").arg(100).arg(100)));
    m_actualSize = new QToolButton(body);
    m_actualSize->setObjectName(QStringLiteral("IDC_PREVIEW_ACTUAL"));
    auto* actual = new QAction(tr("实际大小(100%)"), m_actualSize);
    actual->setIconText(QStringLiteral("100%"));
    actual->setCheckable(true);
    actual->setToolTip(tr("按实际大小显示预览帧；不选时显示整帧"));
    m_actualSize->setDefaultAction(actual);
    m_actualSize->setAutoRaise(true);
    m_pDisplay->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_pDisplay->addAction(actual);
    connect(actual, &QAction::toggled, this, &CPreviewDock::SetActualSize);
    auto* row = new QHBoxLayout;
    row->addWidget(m_pSlider, 1);
    row->addWidget(m_pFrameLabel);
    row->addWidget(m_actualSize);
    layout->addWidget(m_pState);
    layout->addWidget(m_pDisplay, 1);
    layout->addLayout(row);
    setWidget(body);
    // Left, Right, Home and End step through the frames wherever the focus
    // is in the panel.
    m_pDisplay->setFocusProxy(m_pSlider);
    body->setFocusProxy(m_pSlider);
    setFocusProxy(m_pSlider);

    m_pSlider->setRange(0, m_nSteps);
    m_pSlider->setValue(m_nFrame);
    UpdateFrameLabel();

    // The sink runs on the renderer's thread: the frame becomes an image
    // there, and only the finished image crosses to this thread. Images
    // are taken in turn from a few kept ones, so that one the display has
    // let go of lends its memory to the next frame.
    m_pRenderer = std::make_unique<CPreviewRenderer>([this](CPreviewRenderer::Frame& frame) {
        QImage& image = m_images[m_nNextImage];
        m_nNextImage = (m_nNextImage + 1) % kKeptImages;
        CBitmapImage::CopyInto(frame.bitmap, image);
        emit frameComputed(image, frame.frame, frame.halfResolution, QSize(frame.width, frame.height),
                           frame.generation);
    });
    connect(this, &CPreviewDock::frameComputed, this, &CPreviewDock::OnFrameComputed, Qt::QueuedConnection);
    // A frame of very many lines or large pictures takes a while: the caption
    // says so rather than what the frame before was.
    m_busy.setSingleShot(true);
    m_busy.setInterval(400);
    connect(&m_busy, &QTimer::timeout, this, [this] {
        if (m_bHeld || m_nShown >= m_nRequested) return;
        m_shownState = tr("预览：正在计算…");
        UpdateState();
    });
    connect(m_pSlider, &QSlider::valueChanged, this, &CPreviewDock::SetFrameIndex);
    connect(&m_doc, &CDocController::contentChanged, this, [this] {
        m_bLinesStale = true;
        Refresh();
    });
}

CPreviewDock::~CPreviewDock()
{
    // The renderer's thread ends before anything it could signal goes.
    m_pRenderer.reset();
}

void CPreviewDock::SetRowPool(CRowPool* pPool)
{
    m_pRenderer->SetRowPool(pPool);
}

void CPreviewDock::SetSteps(int32_t n)
{
    if (n < 1 || n == m_nSteps) return;
    const int32_t k = static_cast<int32_t>(std::lround(static_cast<double>(m_nFrame) * n / m_nSteps));
    m_nSteps = n;
    m_nFrame = std::min(k, n);
    const QSignalBlocker quiet(m_pSlider);
    m_pSlider->setRange(0, n);
    m_pSlider->setValue(m_nFrame);
    UpdateFrameLabel();
    Refresh();
}

void CPreviewDock::SetFrameIndex(int32_t k)
{
    k = std::clamp(k, 0, m_nSteps);
    if (k != m_pSlider->value()) {
        m_pSlider->setValue(k); // comes back here through valueChanged
        return;
    }
    if (k == m_nFrame) return;
    m_nFrame = k;
    UpdateFrameLabel();
    Refresh();
}

void CPreviewDock::SetEngineKind(EngineKind kind)
{
    if (kind == m_engineKind) return;
    m_engineKind = kind;
    Refresh();
}

void CPreviewDock::SetRunActive(bool active)
{
    m_bHeld = active;
    if (active) m_busy.stop();
    m_pRenderer->Hold(active);
}

void CPreviewDock::SetStepsOutOfRange(bool out)
{
    if (out == m_bStepsOutOfRange) return;
    m_bStepsOutOfRange = out;
    UpdateState();
}

void CPreviewDock::UpdateState()
{
    QStringList parts{m_shownState};
    if (m_bFrameShown && CRunDriver::MakesBlackFrames(m_engineKind, *m_doc.GetDoc().GetFeatureSet()))
        parts << CCoreText::Translate(CMessage(CRunDriver::kNoLinesText));
    if (m_bStepsOutOfRange) parts << tr("步数应在 1 到 100 之间，预览仍按 %1 步").arg(m_nSteps);
    parts.removeAll(QString());
    m_pState->setText(parts.join(QStringLiteral("　")));
    m_pState->setToolTip(m_pState->text());
}

void CPreviewDock::SetActualSize(bool on)
{
    m_actualSize->defaultAction()->setChecked(on);
    if (on)
        m_pDisplay->SetZoomFactor(1.0);
    else
        m_pDisplay->SetFit();
}

void CPreviewDock::UpdateFrameLabel()
{
    m_pFrameLabel->setText(tr("帧 %1 / %2").arg(m_nFrame).arg(m_nSteps));
}

void CPreviewDock::Refresh()
{
    if (!isVisible()) {
        m_bStale = true;
        return;
    }
    m_bStale = false;
    CTrevalinDoc& doc = m_doc.GetDoc();
    CPreviewRenderer::Request request;
    request.engineKind = m_engineKind;
    request.frame = m_nFrame;
    request.steps = m_nSteps;
    request.options = m_doc.GetMorphOptions();
    request.pictures[0] = doc.GetPicture(0)->GetSharedImage();
    request.pictures[1] = doc.GetPicture(1)->GetSharedImage();
    if (m_bLinesStale || !m_pLines) {
        // The snapshot before goes with the last request that holds it.
        m_pLines.reset();
        m_pLines = std::make_shared<const CLinePairs>(*doc.GetFeatureSet());
        m_bLinesStale = false;
    }
    m_nRequested = m_pRenderer->Submit(request, m_pLines);
    if (!m_bHeld) m_busy.start();
}

void CPreviewDock::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    if (m_bStale) Refresh();
}

void CPreviewDock::OnFrameComputed(const QImage& image, int frame, bool half, QSize size, quint64 generation)
{
    m_nShown = generation;
    m_bShownHalf = half && !image.isNull();
    if (image.isNull()) {
        m_pDisplay->Clear();
        m_shownState = tr("预览：需要两幅大小一致的图像");
    } else {
        m_pDisplay->SetFrame(image, QStringLiteral("Frame-%1").arg(frame), size);
        m_shownState = half ? tr("预览(半分辨率)") : tr("预览(精确)");
    }
    m_bFrameShown = !image.isNull();
    UpdateState();
    emit frameShown();
}
