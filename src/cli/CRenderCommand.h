#pragma once

#include "CCliLanguage.h"
#include "CRenderOptions.h"
#include "document/SIZE.h"

#include <iosfwd>
#include <memory>

class CExportSequence;
class CPictureDecoder;
class CRowPool;
class CRunDriver;
class CSignalStop;
class CTrevalinDoc;

// The headless morph run: opens the project in the current directory's
// working folder, renders frames 0 to N with the chosen engine, writes each
// frame file and the video, and tells what it did on `err`. With export
// switches the frames, the video, their formats and places are as asked.
// With a signal stop, a stop signal ends the run or export after the frame
// being written (the video is completed with the frames done) and the exit
// status is 128 + the signal's number.
class CRenderCommand {
public:
    enum ExitCode : int { kSuccess = 0, kFailed = 1, kBadArguments = 2 };

    CRenderCommand(std::shared_ptr<const CPictureDecoder> decoder, std::ostream& err, bool showProgress,
                   const CSignalStop* stop = nullptr);

    int Run(const CRenderOptions& options);

    // The language of the core's messages (English until set).
    void SetLanguage(CCliLanguage language) { m_language = std::move(language); }

private:
    void Progress(int done, int total);
    // The run of Run, whose want of memory outside a frame Run tells.
    int RunProject(const CRenderOptions& options);
    // The frames of a run without export switches, from the driver's Start
    // to its Stop (the pictures' sizes as the project gave them).
    int RunFrames(const CTrevalinDoc& doc, CRunDriver& driver, const CRenderOptions& options, SIZE sourceSize,
                  SIZE targetSize);
    // Opens the project and its pictures; false after telling why.
    bool OpenProject(CTrevalinDoc& doc, const CRenderOptions& options);
    // The run with any of the export switches: frames and video as asked.
    int RunExport(CTrevalinDoc& doc, const CRenderOptions& options, CRowPool& pool);
    // Several projects: one export of their morphs in order, every picture
    // brought to the first project's source size with --fit.
    int RunSequence(const CRenderOptions& options);
    // --faces: the pictures morphed one into the next (CFaceMorphs).
    int RunFaces(const CRenderOptions& options);
    // Brings picture `index` of the document and its lines to `size` as
    // --fit says; false after telling why it cannot.
    bool FitPicture(CTrevalinDoc& doc, int index, SIZE size, const CRenderOptions& options);
    // The options kept beside the project; what of them could not be
    // taken is told in one line.
    CMorphOptions KeptOptions(const CTrevalinDoc& doc);
    int Export(const CExportSequence& morphs, const std::string& workDir, const CRenderOptions& options,
               CRowPool& pool);

    std::shared_ptr<const CPictureDecoder> m_decoder;
    std::ostream& m_err;
    bool m_bShowProgress;
    const CSignalStop* m_pStop;
    CCliLanguage m_language{std::string()};
};
