#pragma once

#include <array>
#include <cstdint>

class CDocController;
class CImageView;

// The editing tools of the two image panes (source, then target). The draw
// and select commands put a fresh tool of their kind into both panes, only
// while both pictures are loaded, and record the choice in the document.
// Answers for the tools too: which line is selected, what 删除 deletes.
class CToolSwitcher {
public:
    CToolSwitcher(CDocController& doc, const std::array<CImageView*, 2>& panes);

    // ID_TOOL_DRAW / ID_TOOL_SELECT.
    void OnToolDraw();
    void OnToolSelect();
    // Check marks of the two tool commands.
    bool IsDrawToolChecked() const;
    bool IsSelectToolChecked() const;

    // The line of image `image` that is selected (a point or segment in the
    // selected state; the current line of the pane's tool first), or -1.
    int32_t FindSelectedLine(int32_t image) const;
    bool HasSelectedLine() const;
    // Deletes the selected line and its partner in the other image: the
    // selected line of image `preferred` if it has one, else of the other.
    void OnEditDelete(int32_t preferred);

private:
    bool BothPicturesLoaded() const;

    CDocController& m_doc;
    std::array<CImageView*, 2> m_panes;
};
