#pragma once

#include "export/CExportSummary.h"
#include "geometry/CFitTransform.h"
#include "morph/EngineKind.h"

#include <QObject>
#include <QStringList>
#include <cstdint>

class CDocController;
class CExportJob;
class CRowPool;
class CUserPrompts;
class QProgressDialog;
class QSettings;
class QWidget;
struct CExportSettings;

// 文件 → 导出…: the export dialog until its settings pass every check (each
// problem told in a message box before anything is written), then the
// export on a worker thread and the application's row pool under a
// progress dialog with 取消 (progress and the end reach the dialog as
// queued calls), then a
// message box saying what it wrote. The dialog's choices (the folder among
// them) are remembered in the settings under "Export".
class CExportCommand : public QObject {
    Q_OBJECT

public:
    CExportCommand(CDocController& doc, CUserPrompts& prompts, QSettings& settings, CRowPool& pool,
                   QObject* parent = nullptr);

    // Exports the morph of `steps` steps made by the feature engine (or the
    // cross-dissolve) with the document's morph options.
    void OnFileExport(QWidget* parent, int32_t steps, EngineKind engine);
    // 文件 → 导出序列…: the morphs of `projects` in order (a path, or an
    // empty string for the open project) as one export, each with its own
    // morph options and the dialog's frames; pictures of another size than
    // the first project's source are fitted to it as `fit` says (the open
    // project's through a copy: the document itself is not changed).
    void OnFileExportSequence(QWidget* parent, int32_t steps, EngineKind engine, const QStringList& projects,
                              FitMode fit = FitMode::kPad);

    const CExportSummary& GetLastSummary() const { return m_lastSummary; }

signals:
    // The progress dialog of an export that is starting.
    void exportStarted(QProgressDialog* progress);
    // Sent from the export's thread: `done` steps are written, or the
    // export has ended. Received on the interface thread (queued).
    void exportProgressed(qint64 done);
    void exportEnded();

private:
    CExportSettings InitialSettings(int32_t steps, EngineKind engine) const;
    void Remember(const CExportSettings& settings);
    CExportSummary RunWithProgress(QWidget* parent, CExportJob& job);
    // Checks the job (false after telling what stands in its way: the
    // dialog comes back), then runs it and tells how it went.
    bool RunChecked(QWidget* parent, CExportJob& job, const CExportSettings& settings);

    CDocController& m_doc;
    CUserPrompts& m_prompts;
    QSettings& m_settings;
    CRowPool& m_pool;
    CExportSummary m_lastSummary;
};
