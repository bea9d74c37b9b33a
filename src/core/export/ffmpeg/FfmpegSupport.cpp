#include "FfmpegSupport.h"

#include <mutex>

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace {
// FFmpeg returns a system error e as -e; its own codes are large tags.
constexpr int kLargestErrno = 4095;
} // namespace

int FfmpegSystemError(int averror)
{
    return averror < 0 && -averror <= kLargestErrno ? -averror : 0;
}

std::string FfmpegErrorText(int averror)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, text, sizeof text);
    return text;
}

void FfmpegQuietLog()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}
