#pragma once

#include "CRenderOptions.h"

#include <iosfwd>
#include <memory>

class CPictureDecoder;
class CSignalStop;

// The headless morph run: opens the project in the current directory's
// working folder, renders frames 0 to N with the chosen engine, writes each
// frame file and the video, and tells what it did on `err`. With a signal
// stop, a stop signal ends the run after the frame being written: the video
// is completed with the frames done and the exit status is 128 + the
// signal's number.
class CRenderCommand {
public:
    enum ExitCode : int { kSuccess = 0, kFailed = 1, kBadArguments = 2 };

    CRenderCommand(std::shared_ptr<const CPictureDecoder> decoder, std::ostream& err, bool showProgress,
                   const CSignalStop* stop = nullptr);

    int Run(const CRenderOptions& options);

private:
    void Progress(int done, int total);

    std::shared_ptr<const CPictureDecoder> m_decoder;
    std::ostream& m_err;
    bool m_bShowProgress;
    const CSignalStop* m_pStop;
};
