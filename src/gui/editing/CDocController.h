#pragma once

#include "CDocView.h"
#include "morph/CMorphOptions.h"

#include <QObject>
#include <QUndoStack>
#include <cstdint>
#include <memory>
#include <vector>

class CFeatureSet;
class CImageView;
class CTrevalinDoc;

// Keeps the one project document for the application's whole life together
// with the views attached to it, in attachment order (left pane, right pane,
// result view), and the history of its changes. Carries the document's two
// tool commands, which put a fresh draw or select tool into both image
// panes, and the editing commands (undo, redo, delete).
class CDocController : public QObject {
    Q_OBJECT

public:
    explicit CDocController(std::unique_ptr<CTrevalinDoc> doc, QObject* parent = nullptr);
    ~CDocController() override;

    CTrevalinDoc& GetDoc() { return *m_pDoc; }
    CFeatureSet* GetFeatureSet();

    void AddView(CDocView* view);
    void RemoveView(CDocView* view);
    const std::vector<CDocView*>& GetViews() const { return m_views; }

    // Every view except `sender` repaints whole.
    void UpdateAllViews(CDocView* sender);
    // Every view takes its initial update (after New and Open).
    void SendInitialUpdate();

    // ID_TOOL_DRAW / ID_TOOL_SELECT: only while both pictures are loaded,
    // a new tool of that kind in every image pane, and the choice recorded.
    void OnToolDraw();
    void OnToolSelect();
    // Check marks of the two tool commands.
    bool IsDrawToolChecked() const;
    bool IsSelectToolChecked() const;

    // Every change to the lines and every picture opened into a pane, as
    // steps that can be undone. Its clean state is "as the file has it".
    QUndoStack& GetUndoStack() { return m_undoStack; }
    // Undo and redo; a line being drawn or dragged is finished first.
    void OnEditUndo();
    void OnEditRedo();
    // Deletes the selected line and its partner in the other image: the
    // selected line of image `preferred` if it has one, else of the other.
    void OnEditDelete(int32_t preferred);
    // The line of image `image` that is selected (a point or segment in the
    // selected state; the select tool's current line first), or -1.
    int32_t FindSelectedLine(int32_t image) const;
    bool HasSelectedLine() const;

    // Every pane's tool ends its gesture in progress (a line being drawn,
    // a drag) as the user would have ended it.
    void EndGestures();
    // The lines changed (undo, redo, delete, a fit): the image panes repaint
    // whole and their tools drop line indices that no longer hold.
    void LinesChanged();
    // Picture `image` changed: its pane takes the new size and repaints.
    void PictureChanged(int32_t image);
    // Both image panes repaint whole, without an update of the views.
    void RepaintImagePanes();
    // A press or release may have changed what is selected.
    void NotifySelectionChanged() { emit selectionChanged(); }

    // Pressing on a point or segment and moving drags it at once (on), or
    // it must be selected by a press first (off).
    bool IsDirectDrag() const { return m_bDirectDrag; }
    void SetDirectDrag(bool on) { m_bDirectDrag = on; }
    // The project's morph options (warp only, easing, edges): what the
    // result view's runs and the exports use. Kept beside the project file.
    const CMorphOptions& GetMorphOptions() const { return m_morphOptions; }
    void SetMorphOptions(const CMorphOptions& options);

    // The lines or a picture changed in place (a tool's step while a line
    // is drawn or dragged included).
    void NotifyContentChanged() { emit contentChanged(); }

signals:
    // A check mark or the document's title may have changed.
    void commandStateChanged();
    // What a frame is made of may have changed: the lines, the pictures or
    // the whole project (see NotifyContentChanged, UpdateAllViews,
    // SendInitialUpdate).
    void contentChanged();
    // What is selected may have changed (the delete command's state).
    void selectionChanged();

private:
    bool BothPicturesLoaded();
    std::vector<CImageView*> ImagePanes() const;

    std::unique_ptr<CTrevalinDoc> m_pDoc;
    std::vector<CDocView*> m_views;
    QUndoStack m_undoStack;
    bool m_bDirectDrag = true;
    CMorphOptions m_morphOptions;
};
