#pragma once

#include "CProjectReader.h"

#include <QObject>
#include <QString>
#include <functional>

class CDocController;
class CRecentFileList;
class CUserPrompts;
class QWidget;

// File commands on the one reused project document: New, Open, Save,
// Save As and the recent files, with their dialogs and messages, and the
// main window's caption. The document differs from its file while its
// history is away from the state last opened or saved; then New, Open, a
// recent file and closing the window ask whether to save the changes first.
// While a morph run goes (running or paused) New, Open and a recent file
// first ask whether to stop it; 是 stops it as 停止 does (its video holds the
// frames made so far) before the document changes, 否 changes nothing.
class CDocManager : public QObject {
    Q_OBJECT

public:
    // Filters of the project dialogs: shown name, then the patterns.
    static const char* const kProjectFilter; // untranslated: shown through tr()
    static const QString kDefaultSuffix;

    CDocManager(CDocController& doc, CRecentFileList& recent, CUserPrompts& prompts, QObject* parent = nullptr);

    // The result view's run: whether one goes (running or paused) and how
    // it is stopped. Without them no run is asked about.
    void SetRun(std::function<bool()> isActive, std::function<void()> stop)
    {
        m_isRunActive = std::move(isActive);
        m_stopRun = std::move(stop);
    }

    // Owner window of the dialogs and message boxes.
    void SetDialogParent(QWidget* parent)
    {
        m_pDialogParent = parent;
        m_reader.SetDialogParent(parent);
    }

    // File New: the document keeps its content, loses its path, and the
    // views take their initial update.
    void OnFileNew();
    // File Open: the open dialog, then OpenDocumentFile.
    void OnFileOpen();
    // Opens a project; reopening the project already open reads nothing.
    // The file is read on another thread (CProjectReader) while the window
    // answers; an open asked for meanwhile is refused. Returns false when the project could not be opened (its message
    // has been shown) or the user cancelled the question about the changes.
    bool OpenDocumentFile(const QString& path);
    // File Save: to the document's path, or through Save As when it has none.
    bool OnFileSave();
    bool OnFileSaveAs();
    // A recent-file entry; an entry that cannot be opened leaves the list.
    void OnOpenRecentFile(int index);

    // "<title> - Trevalin", with a star after the title while the document
    // differs from its file.
    QString GetCaption() const;
    // Whether the document differs from its file.
    bool IsModified() const;
    // Before changes would be lost: when there are any, asks 保存 / 不保存 /
    // 取消. Returns true when the caller may go on (saved, or not wanted),
    // false when cancelled or the save failed.
    bool SaveModified();

signals:
    void captionChanged(const QString& caption);
    // The project asked for is already open: bring the window forward.
    void activateRequested();
    // A line for the status bar (what of a project's options file could
    // not be taken, once per open).
    void notice(const QString& text);

private:
    enum class OpenResult { kOpened, kCancelled, kFailed };
    OpenResult DoOpen(const QString& path);
    bool DoSave(const QString& path);
    // Before the content is replaced: asks `question` while a run goes and
    // then the question about the changes. Returns whether to go on; the
    // run is stopped then.
    bool MayReplace(const QString& question);

    CDocController& m_doc;
    CRecentFileList& m_recent;
    CUserPrompts& m_prompts;
    QWidget* m_pDialogParent = nullptr;
    std::function<bool()> m_isRunActive;
    std::function<void()> m_stopRun;
    CProjectReader m_reader;
};
