#pragma once

#include "CExportSettings.h"
#include "CExportSummary.h"
#include "morph/CCancelToken.h"

#include <cstdint>
#include <functional>
#include <string>

class CExportSequence;
class CRowPool;

// The work of one export (see CExportJob), made by the export module: the
// encoders it needs link FFmpeg's libraries, which take longer to load than
// a whole short render, so only a process that exports loads them.
class CExportTask {
public:
    // Called after each video frame or frame file with the steps done and
    // the steps in all, from the thread that runs the job.
    using Progress = std::function<void(int64_t done, int64_t total)>;

    virtual ~CExportTask() = default;

    // The first problem that keeps the export from starting; empty when none.
    virtual CMessage Check() const = 0;
    virtual CExportSummary Run(CCancelToken::Ticket cancel, const Progress& progress) = 0;
    // Rows of every frame go to `pPool` (which must outlive the task's use
    // of it); nullptr: a pool of the settings' thread count, for this task.
    virtual void SetRowPool(CRowPool* pPool) = 0;
    virtual int64_t TotalSteps() const = 0;
    virtual int32_t OutputWidth() const = 0;
    virtual int32_t OutputHeight() const = 0;

    // The module's one exported function, by this name: a new task for the
    // morphs (one or a sequence) and settings, owned by the caller.
    using MakeFunction = CExportTask* (*)(const CExportSequence& morphs, const CExportSettings& settings);
    static constexpr const char* kMakeFunctionName = "trevalin_make_export_task";
};
