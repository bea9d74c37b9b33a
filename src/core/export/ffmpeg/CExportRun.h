#pragma once

#include "document/CTrevalinDoc.h"
#include "morph/CBitmap.h"
#include "export/CExportSettings.h"
#include "export/CExportSummary.h"
#include "export/CExportSequence.h"
#include "export/CExportTask.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The export itself, as CExportJob describes it: its own copy of the
// pictures and lines, the frames computed over the row pool while the frame
// before is written, frame files and the video through FFmpeg's libraries.
class CExportRun : public CExportTask {
public:
    CExportRun(const CExportSequence& morphs, const CExportSettings& settings);
    CExportRun(const CExportRun&) = delete;
    CExportRun& operator=(const CExportRun&) = delete;

    CMessage Check() const override;
    CExportSummary Run(CCancelToken::Ticket cancel, const Progress& progress) override;
    void SetRowPool(CRowPool* pPool) override { m_pPool = pPool; }
    int64_t TotalSteps() const override;
    int32_t OutputWidth() const override { return m_nWidth; }
    int32_t OutputHeight() const override { return m_nHeight; }

private:
    struct Step {
        int32_t frame;
        bool file;  // write the frame file
        bool video; // add the frame to the video
    };
    std::vector<Step> Plan() const;
    // The steps of `plan` that go into the video.
    static int64_t VideoFrames(const std::vector<Step>& plan);
    // The places in the plan of the frames a GIF's palette is made from;
    // none for other videos.
    std::vector<size_t> PaletteSamples(const std::vector<Step>& plan) const;

    // One morph of the export: its own copy of the lines and pictures.
    struct Morph {
        std::unique_ptr<CTrevalinDoc> doc; // the lines, for the engine
        // The two pictures, shared with the engine of a run.
        std::shared_ptr<const CBitmap> inputs[2];
        CMorphOptions options;
        int32_t steps = 0;
    };

    CExportSettings m_settings; // steps: the last frame of the whole export
    CExportSequence m_sequence; // where each frame comes from (its documents are not used)
    std::vector<Morph> m_morphs;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    CRowPool* m_pPool = nullptr;
};
