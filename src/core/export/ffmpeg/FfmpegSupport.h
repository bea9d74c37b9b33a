#pragma once

#include <string>

// Small pieces shared by the writers built on FFmpeg's libraries.

// The system error number behind an FFmpeg error code (no space, no
// permission, ...), or 0 for FFmpeg's own codes.
int FfmpegSystemError(int averror);
// FFmpeg's text for an error code.
std::string FfmpegErrorText(int averror);

// Keeps FFmpeg's libraries to errors on the standard error output (no
// per-run encoder statistics). Safe to call from any thread, any number of
// times.
void FfmpegQuietLog();
