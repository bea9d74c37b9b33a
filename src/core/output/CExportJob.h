#pragma once

#include "CExportSettings.h"
#include "CExportSummary.h"
#include "document/CTrevalinDoc.h"
#include "morph/CBitmap.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

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
class CExportJob {
public:
    // Called after each video frame or frame file with the steps done and
    // the steps in all, from the thread that runs the job.
    using Progress = std::function<void(int64_t done, int64_t total)>;

    CExportJob(const CTrevalinDoc& doc, const CExportSettings& settings);
    CExportJob(const CExportJob&) = delete;
    CExportJob& operator=(const CExportJob&) = delete;

    // Every check that needs no writing (settings, folder, pictures): "" or
    // the first problem in words for the user.
    std::string Check() const;
    // Runs the export. When *cancel becomes true the job stops soon after:
    // the video is dropped, the frame files already complete stay.
    CExportSummary Run(const std::atomic<bool>* cancel = nullptr, const Progress& progress = {});

    // The steps Run reports progress over.
    int64_t TotalSteps() const;
    // The size of the written frames (0 x 0 without pictures).
    int32_t OutputWidth() const { return m_nWidth; }
    int32_t OutputHeight() const { return m_nHeight; }
    const CExportSettings& GetSettings() const { return m_settings; }

    // The text shown when the pictures cannot be morphed together.
    static std::string NothingToWriteText();

private:
    struct Step {
        int32_t frame;
        bool file;  // write the frame file
        bool video; // add the frame to the video
    };
    std::vector<Step> Plan() const;

    CExportSettings m_settings;
    CTrevalinDoc m_doc; // the lines, for the engine
    CBitmap m_inputs[2];
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
};
