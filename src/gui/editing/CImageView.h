#pragma once

#include "CDocView.h"
#include "CToolPane.h"
#include "CZoom.h"
#include "geometry/RECT.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPointF>
#include <QPointer>
#include <QSize>
#include <cstdint>
#include <memory>

class CDocController;
class CMorphCommand;
class CUserPrompts;
class QMenu;
class QMimeData;
template <typename T> class CPointSet;

// One image pane: shows the document's picture of its index with that
// image's feature lines over it, scrolled and zoomed, and hands every left
// press, left release, right press and pointer move, in image pixels, to its
// current editing tool. The pane takes its index from the number of panes
// made before it (`nViewCount`, counted by whoever makes the panes): the
// first pane is image 0 (source), the second image 1 (target).
//
// Zoom: picture pixel x covers screen pixels x * f to (x + 1) * f from the
// picture's origin (CZoom); the markers, labels and segments of the lines
// keep their screen size, and the grab radius is 5 screen pixels. At 100 %
// everything is as without zoom. Panes given the same CZoom zoom together;
// Ctrl and the wheel zoom about the pointer.
//
// Keys: the pane takes the focus from a click or Tab; every key pressed in
// it, Tab and Shift+Tab included, goes to its tool first (arrows nudge, Tab
// steps through the line pairs with the select tool), what the tool leaves
// is the scroll area's.
//
// The pane follows its document controller's signals: a gesture in progress
// ends when a change is coming (gesturesEnding), the lines changed (its tool
// drops line indices that no longer hold, and it repaints), its picture
// changed (it takes the new size), the image panes repaint.
class CImageView : public QAbstractScrollArea, public CDocView, public CToolPane {
    Q_OBJECT

public:
    CImageView(CDocController& doc, CUserPrompts& prompts, int32_t& nViewCount, QWidget* parent = nullptr);
    ~CImageView() override;

    // Installs a new tool; the previous one is deleted.
    void SetCommand(std::unique_ptr<CMorphCommand> pCommand);
    CMorphCommand* GetCommand() const { return m_pCommand.get(); }
    int32_t GetImageIndex() const override { return m_nImageIndex; }
    CDocController& GetDocument() const { return m_doc; }

    // The zoom this pane follows (not owned); without one it keeps its own
    // at 100 %.
    void SetZoom(CZoom* zoom);
    CZoom& GetZoom() const { return m_pZoom ? *m_pZoom : *m_pOwnZoom; }
    // The zoom at which the picture fits the pane without scrolling, 0
    // without a picture.
    double FitFactor() const;

    // (0, 0, w, h) of the pane's picture, or the empty rectangle.
    void GetImageRect(RECT& rc) const override;
    // Total size (w + 20, h + 20) (the zoomed picture plus 20), page size
    // the client size, line size a tenth of it; then repaints the whole
    // pane. A pane not on screen yet (start-up, or the result view shown)
    // has no client size of its own: it takes the page and line sizes again
    // once it is shown.
    void UpdateScrollSizes();
    QSize GetTotalSize() const { return m_totalSize; }
    QSize GetPageSize() const { return m_pageSize; }
    QSize GetLineSize() const { return m_lineSize; }
    int32_t GetScrollPos(Qt::Orientation bar) const;

    // Client position of picture position (x, y) (where a point there is
    // drawn), and the picture pixel under a client position.
    QPoint PictureToClient(int32_t x, int32_t y) const override;
    QPoint ClientToPicture(const QPoint& client) const;
    // The client area a line's markers, labels and segments cover.
    QRect LineClientRect(const CPointSet<int>& line) const override;
    // Where the pointer of the event being handed to the tool is: in
    // client pixels, and in real picture coordinates when (x, y) is the
    // picture pixel it was handed as (else (x, y) itself).
    QPoint PointerClientPos() const override { return m_ptPointerClient; }
    QPointF PointerPicturePos(int32_t x, int32_t y) const override;
    // The grab radius in picture pixels: 5 screen pixels.
    double GrabRadius() const override;

    // Pointer capture: while held, mouse input anywhere in the application
    // goes to this pane.
    void SetCapture() override;
    void ReleaseCapture() override;
    bool HasCapture() const { return m_bCaptured; }

    // Invalidates an area in client coordinates.
    void InvalidateRect(const QRect& rc, bool bErase) override;
    QPoint ClientToScreen(const QPoint& client) const override;
    // The context menu with its one command, "打开图像".
    void TrackImageMenu(const QPoint& globalPos) override;
    void UpdateOtherViews() override;
    // "打开图像": picks a picture file, copies it into the working folder's
    // images/ and opens the copy into the pane's picture as one step of the
    // history; a picture of another size than the other pane's can be
    // brought to that size (CPictureOpener).
    void OnOpenImage();
    // The one local file a drag carries, or empty.
    static QString DroppedFile(const QMimeData* data);
    // A project file is the window's to open, not a pane's.
    static bool IsProjectFile(const QString& path);

    // Onion skin: the other pane's picture at 50 % over this one's, under
    // the lines, for placing line pairs.
    void SetOnionSkin(bool on);
    bool IsOnionSkin() const { return m_bOnionSkin; }

    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A picture file dropped on the pane opens into it as 打开图像 does.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void DispatchMouse(QEvent::Type type, Qt::MouseButton button, uint32_t flags, const QPoint& client);
    void UpdateTotalSize();
    void UpdateScrollRanges();
    void OnZoomChanged(double oldFactor, const QObject* source, QPoint anchor);
    double Factor() const;

    CDocController& m_doc;
    CUserPrompts& m_prompts;
    int32_t m_nImageIndex;
    std::unique_ptr<CMorphCommand> m_pCommand;
    CZoom* m_pOwnZoom;
    QPointer<CZoom> m_pZoom;
    QSize m_totalSize{20, 20};
    QSize m_pageSize;
    QSize m_lineSize;
    bool m_bCaptured = false;
    bool m_bScrollSizesPending = false; // sizes taken while not on screen
    QPoint m_ptPointerClient;           // the event being handed to the tool
    QPoint m_ptPointerPicture;
    QPointF m_ptPointerPictureF;
    bool m_bOnionSkin = false;
    QMenu* m_pImageMenu;
};
