#pragma once

#include "CDocView.h"
#include "editing/undo/CDocChangeSignals.h"
#include "geometry/CLineGrid.h"
#include "morph/CMorphOptions.h"

#include <QObject>
#include <QUndoStack>
#include <cstdint>
#include <memory>
#include <vector>

class CFeatureSet;
class CTrevalinDoc;

// Keeps the one project document for the application's whole life together
// with the views attached to it, in attachment order (left pane, right pane,
// result view), and the history of its changes, with undo and redo. It
// knows its views only as CDocView: what the image panes and their tools
// must follow it says with signals (CToolSwitcher puts the tools in).
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

    // Every change to the lines and every picture opened into a pane, as
    // steps that can be undone. Its clean state is "as the file has it".
    QUndoStack& GetUndoStack() { return m_undoStack; }
    // Undo and redo; a line being drawn or dragged is finished first.
    void OnEditUndo();
    void OnEditRedo();
    // Deletes line pair `line` from both images as one step; nothing when
    // either image has no such line.
    void DeleteLine(int32_t line);
    // What the steps of the history announce when they changed the
    // document; passed on as linesChanged() and pictureChanged().
    CDocChangeSignals& GetChangeSignals() { return m_changeSignals; }

    // Every pane's tool ends its gesture in progress (a line being drawn,
    // a drag) as the user would have ended it (gesturesEnding).
    void EndGestures() { emit gesturesEnding(); }
    // Both image panes repaint whole, without an update of the views.
    void RepaintImagePanes() { emit panesRepaintRequested(); }
    // A press or release may have changed what is selected.
    void NotifySelectionChanged() { emit selectionChanged(); }
    // A tool was chosen: the check marks may have changed.
    void NotifyCommandStateChanged() { emit commandStateChanged(); }

    // Pressing on a point or segment and moving drags it at once (on), or
    // it must be selected by a press first (off).
    bool IsDirectDrag() const { return m_bDirectDrag; }
    void SetDirectDrag(bool on) { m_bDirectDrag = on; }
    // An end point drawn or dragged near another line's point lands on it
    // (on), or stays where the pointer puts it (off).
    bool IsSnapToPoints() const { return m_bSnapToPoints; }
    void SetSnapToPoints(bool on) { m_bSnapToPoints = on; }
    // Selects line pair `line` as a whole in both images (linePairSelected);
    // nothing when either image has no such line.
    void SelectLinePair(int32_t line);
    // A number no burst of edits has had before: keyboard nudges with the
    // same number merge into one step of the history.
    int32_t NewEditBurst() { return ++m_nEditBurst; }
    // The project's morph options (warp only, easing, edges): what the
    // result view's runs and the exports use. Kept beside the project file.
    const CMorphOptions& GetMorphOptions() const { return m_morphOptions; }
    void SetMorphOptions(const CMorphOptions& options);

    // Where the lines of image `image` (0 or 1) lie, for drawing and hit
    // testing only what is near: rebuilt on first use after any change the
    // controller is told of (contentChanged).
    const CLineGrid& GetLineGrid(int32_t image);

    // The lines or a picture changed in place (a tool's step while a line
    // is drawn or dragged included).
    void NotifyContentChanged() { emit contentChanged(); }
    // Only line pair `line` changed in place (a step of a drag or of a line
    // being drawn): the grids keep the rest (see CLineGrid::Touch).
    void NotifyLineChanged(int32_t line);

signals:
    // A check mark or the document's title may have changed.
    void commandStateChanged();
    // What a frame is made of may have changed: the lines, the pictures or
    // the whole project (see NotifyContentChanged, UpdateAllViews,
    // SendInitialUpdate).
    void contentChanged();
    // What is selected may have changed (the delete command's state).
    void selectionChanged();
    // The lines changed (undo, redo, delete, a fit): the image panes repaint
    // whole and their tools drop line indices that no longer hold. Followed
    // by selectionChanged() and contentChanged().
    void linesChanged();
    // Picture `image` changed: its pane takes the new size and repaints.
    // Followed by commandStateChanged() and contentChanged().
    void pictureChanged(int32_t image);
    // A change is coming that no gesture may span (see EndGestures).
    void gesturesEnding();
    // Both image panes repaint whole (see RepaintImagePanes).
    void panesRepaintRequested();
    // Line pair `line` was selected in both images: the panes' tools take
    // it as their current line. Followed by selectionChanged().
    void linePairSelected(int32_t line);

private:
    void OnLinesChanged();
    void OnPictureChanged(int32_t image);

    std::unique_ptr<CTrevalinDoc> m_pDoc;
    CDocChangeSignals m_changeSignals;
    std::vector<CDocView*> m_views;
    QUndoStack m_undoStack;
    bool m_bDirectDrag = true;
    bool m_bSnapToPoints = true;
    int32_t m_nEditBurst = 0;
    CMorphOptions m_morphOptions;
    CLineGrid m_grids[2];
    bool m_gridStale[2] = {true, true};
    bool m_bGridsKept = false; // the change being announced left the grids sound
};
