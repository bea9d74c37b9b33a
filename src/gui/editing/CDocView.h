#pragma once

// A view attached to the project document: told when a project was created
// or opened (initial update) and when another view changed the document.
class CDocView {
public:
    virtual ~CDocView() = default;

    // A new or opened project: recompute what depends on the pictures.
    virtual void OnInitialUpdate() = 0;
    // `sender` changed the document; repaint whole.
    virtual void OnUpdate(CDocView* sender) = 0;
};
