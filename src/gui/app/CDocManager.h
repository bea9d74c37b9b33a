#pragma once

#include <QObject>
#include <QString>

class CDocController;
class CRecentFileList;
class CUserPrompts;
class QWidget;

// File commands on the one reused project document: New, Open, Save,
// Save As and the recent files, with their dialogs and messages, and the
// main window's caption. Never asks to save: the document is never marked
// modified.
class CDocManager : public QObject {
    Q_OBJECT

public:
    // Filters of the project dialogs: shown name, then the patterns.
    static const QString kProjectFilter;
    static const QString kDefaultSuffix;

    CDocManager(CDocController& doc, CRecentFileList& recent, CUserPrompts& prompts, QObject* parent = nullptr);

    // Owner window of the dialogs and message boxes.
    void SetDialogParent(QWidget* parent) { m_pDialogParent = parent; }

    // File New: the document keeps its content, loses its path, and the
    // views take their initial update.
    void OnFileNew();
    // File Open: the open dialog, then OpenDocumentFile.
    void OnFileOpen();
    // Opens a project; reopening the project already open reads nothing.
    // On failure shows the message and returns false.
    bool OpenDocumentFile(const QString& path);
    // File Save: to the document's path, or through Save As when it has none.
    bool OnFileSave();
    bool OnFileSaveAs();
    // A recent-file entry; an entry that cannot be opened leaves the list.
    void OnOpenRecentFile(int index);

    // "<title> - Trevalin".
    QString GetCaption() const;

signals:
    void captionChanged(const QString& caption);
    // The project asked for is already open: bring the window forward.
    void activateRequested();

private:
    bool DoSave(const QString& path);

    CDocController& m_doc;
    CRecentFileList& m_recent;
    CUserPrompts& m_prompts;
    QWidget* m_pDialogParent = nullptr;
};
