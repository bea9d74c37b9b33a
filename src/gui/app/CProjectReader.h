#pragma once

#include "document/CDocStatus.h"

#include <QObject>
#include <string>

class CTrevalinDoc;
class QWidget;

// Opens a project off the interface thread: the file is read and its
// pictures decoded into a fresh document on a worker thread while the
// window goes on answering (repaints, menus); after kBusyDelayMs a busy
// dialog shows. Only a whole project replaces the document's content, on
// the interface thread; a failed read leaves it untouched.
class CProjectReader : public QObject {
    Q_OBJECT

public:
    explicit CProjectReader(QObject* parent = nullptr) : QObject(parent) {}

    // Owner window of the busy dialog; none shows without one.
    void SetDialogParent(QWidget* parent) { m_pDialogParent = parent; }

    // CTrevalinDoc::OnOpenDocument's result and effect on `doc`, the reading
    // done meanwhile in another thread (the event loop runs until it ends).
    CDocStatus Open(CTrevalinDoc& doc, const std::string& path);
    // Whether an Open is under way (a second one must wait for it).
    bool IsReading() const { return m_bReading; }

    static constexpr int kBusyDelayMs = 500;

signals:
    // The project was read whole and is about to replace the document's
    // content: what the user began meanwhile (a line being drawn) must end.
    void aboutToReplace();

private:
    QWidget* m_pDialogParent = nullptr;
    bool m_bReading = false;
};
