#pragma once

#include "geometry/RECT.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <cstdint>

template <typename T> class CPointSet;

// An image pane as its editing tool sees it: the image it shows, where
// picture positions are on screen, the pointer of the event being handed to
// the tool, repainting and pointer capture. CImageView is the one pane.
class CToolPane {
public:
    virtual ~CToolPane() = default;

    virtual int32_t GetImageIndex() const = 0;
    // (0, 0, w, h) of the pane's picture, or the empty rectangle.
    virtual void GetImageRect(RECT& rc) const = 0;

    // Client position of picture position (x, y), and the screen position
    // of a client position.
    virtual QPoint PictureToClient(int32_t x, int32_t y) const = 0;
    virtual QPoint ClientToScreen(const QPoint& client) const = 0;
    // The client area a line's markers, labels and segments cover.
    virtual QRect LineClientRect(const CPointSet<int>& line) const = 0;
    // Where the pointer of the event being handed to the tool is: in client
    // pixels, and in real picture coordinates when (x, y) is the picture
    // pixel it was handed as (else (x, y) itself).
    virtual QPoint PointerClientPos() const = 0;
    virtual QPointF PointerPicturePos(int32_t x, int32_t y) const = 0;
    // The grab radius in picture pixels.
    virtual double GrabRadius() const = 0;

    // Pointer capture: while held, mouse input anywhere in the pane's
    // window goes to the pane.
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
    // Invalidates an area in client coordinates.
    virtual void InvalidateRect(const QRect& rc, bool bErase) = 0;
    // The pane's context menu at a screen position.
    virtual void TrackImageMenu(const QPoint& globalPos) = 0;
    // The pane changed the document (a line finished): every other view of
    // the document repaints whole.
    virtual void UpdateOtherViews() = 0;

protected:
    CToolPane() = default;
    CToolPane(const CToolPane&) = default;
    CToolPane& operator=(const CToolPane&) = default;
};
