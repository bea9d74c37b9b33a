#pragma once

#include "CMorphCommand.h"

// The draw tool: a left press starts a new line pair at the pressed point in
// both images, pointer moves drag the line's first point, a second left
// press finishes it and tells the other views; a right press abandons the
// drawing mode and keeps the line as it stands. A finished line is one
// step of the document's history.
//
// With snapping on, the pressed point and the point following the pointer
// land on another line's point within the grab radius in the pane's image
// (while drawing, a ring shows it; Shift held places them freely); in the
// other image the line's end goes to the partner of that point, so that the
// pair shares its end in both images.
class CFBCommand : public CMorphCommand {
public:
    using CMorphCommand::CMorphCommand;

    void OnLButtonDown(uint32_t nFlags, int32_t x, int32_t y) override;
    void OnRButtonDown(uint32_t nFlags, int32_t x, int32_t y) override;
    void OnMouseMove(uint32_t nFlags, int32_t x, int32_t y) override;
    // A line being drawn is kept as it stands, as a right press keeps it.
    void EndGesture() override;

    int32_t m_nToolState = 0; // 0 idle, 1 drawing (pointer captured)

private:
    // Records the newest line pair as a step of the history.
    void PushLine();
    // Puts point j of the newest line of both images at (x, y) of the
    // pane's image, or at the partner of `snap` in the other image.
    void Place(int32_t j, int32_t x, int32_t y, const CFeatureSet::PointRef& snap);
};
