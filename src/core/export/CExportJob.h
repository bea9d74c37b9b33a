#pragma once

#include "CExportSettings.h"
#include "CExportSummary.h"
#include "CExportTask.h"
#include "morph/CCancelToken.h"

#include <cstdint>
#include <memory>
#include <string>

class CExportSequence;
class CRowPool;
class CTrevalinDoc;

// One export of a morph: the frames of CExportSettings computed on worker
// threads (the engine spreads each frame's rows over a pool while the frame
// before is written) and written as frame files and a video.
//
// The job takes its own copy of the pictures and the feature lines when it
// is made, so the document may change while it runs on another thread.
// Nothing is written before every check has passed; frame files and the
// video each go to a temporary file renamed when complete, so a cancelled
// or failed export leaves no half-written file, and the summary says what
// it did write.
//
// The work is done by the export module (CExportModule), loaded when the
// first job is made; a job whose module cannot be loaded says so in Check
// and fails in Run without writing anything.
class CExportJob {
public:
    using Progress = CExportTask::Progress;

    // The morph of the document: N = settings.steps, settings.morph.
    CExportJob(const CTrevalinDoc& doc, const CExportSettings& settings);
    // A sequence of morphs, each with its own steps and options (the
    // settings' steps and morph are not used): frames and the range are
    // numbered over the whole sequence. The documents are copied too.
    CExportJob(const CExportSequence& morphs, const CExportSettings& settings);
    ~CExportJob();
    CExportJob(const CExportJob&) = delete;
    CExportJob& operator=(const CExportJob&) = delete;

    // Every check that needs no writing (settings, folder, pictures): empty,
    // or the first problem for the user.
    CMessage Check() const;
    // Runs the export. It first makes the output folders of the working
    // folder's layout and takes the locks of the folders it writes to
    // (COutputLocks: another run or export there makes it fail at once),
    // then removes the temporary files killed exports and runs left there.
    // Once `cancel` is abandoned the job stops soon after (the frame being
    // computed is given up): the video is dropped, or completed with the
    // frames written when the settings ask for that; the frame files
    // already complete stay.
    CExportSummary Run(CCancelToken::Ticket cancel = {}, const Progress& progress = {});
    // The row pool the frames are computed on (the program's); without one
    // the job makes a pool of the settings' thread count.
    void SetRowPool(CRowPool* pPool);

    // The steps Run reports progress over.
    int64_t TotalSteps() const;
    // The size of the written frames (0 x 0 without pictures).
    int32_t OutputWidth() const;
    int32_t OutputHeight() const;
    const CExportSettings& GetSettings() const { return m_settings; }

    // The text shown when the pictures cannot be morphed together.
    static CMessage NothingToWriteText();

private:
    CExportSettings m_settings;
    std::unique_ptr<CExportTask> m_pTask;
    CMessage m_loadError;
};
