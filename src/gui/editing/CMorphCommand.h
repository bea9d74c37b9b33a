#pragma once

#include "geometry/RECT.h"

#include <cstdint>

class CDocController;
class CImageView;

// An editing tool of an image pane. The pane hands it every left press, left
// release, right press and pointer move with the position in image pixels
// (client position plus scroll position). Used by itself it is the pane's
// default tool: the right button opens the pane's context menu and
// everything else is ignored.
class CMorphCommand {
public:
    CMorphCommand(CDocController* pDoc, CImageView* pView) : m_pDoc(pDoc), m_pView(pView) {}
    CMorphCommand(const CMorphCommand&) = delete;
    CMorphCommand& operator=(const CMorphCommand&) = delete;

    virtual void OnLButtonDown(uint32_t nFlags, int32_t x, int32_t y);
    virtual void OnLButtonUp(uint32_t nFlags, int32_t x, int32_t y);
    virtual void OnRButtonDown(uint32_t nFlags, int32_t x, int32_t y);
    virtual void OnMouseMove(uint32_t nFlags, int32_t x, int32_t y);
    virtual ~CMorphCommand() = default;

protected:
    // Invalidates a rectangle given in image pixels, shifted by the pane's
    // scroll position into client coordinates.
    void InvalidateImageRect(const RECT& rc, bool bErase);

    CDocController* m_pDoc; // null in a pane's default tool
    CImageView* m_pView;
};
