#pragma once

#include "CDocView.h"
#include "morph/CMorphOptions.h"

#include <QObject>
#include <cstdint>
#include <memory>
#include <vector>

class CFeatureSet;
class CTrevalinDoc;

// Keeps the one project document for the application's whole life together
// with the views attached to it, in attachment order (left pane, right pane,
// result view). Carries the document's two tool commands, which put a fresh
// draw or select tool into both image panes.
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

private:
    bool BothPicturesLoaded();

    std::unique_ptr<CTrevalinDoc> m_pDoc;
    std::vector<CDocView*> m_views;
    CMorphOptions m_morphOptions;
};
