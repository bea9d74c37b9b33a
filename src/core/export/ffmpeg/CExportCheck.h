#pragma once

#include "export/CFrameFileSettings.h"
#include "export/CVideoSettings.h"
#include "message/CMessage.h"

#include <string>

// The checks an export passes before it writes anything. Each returns the
// empty message when all is well, else the first problem (messages from
// CExportMessages).
class CExportCheck {
public:
    // Size (even for 4:2:0 formats), frame rate, quality, and the encoder,
    // muxer and filters this FFmpeg build must have for the format.
    static CMessage VideoSettings(const CVideoSettings& settings);
    // Size and quality, and the PNG encoder for PNG files.
    static CMessage FrameFileSettings(const CFrameFileSettings& settings);
    // The folder exists, is a folder, is writable (access) and takes a new
    // file: a temporary one is created and removed at once.
    static CMessage Folder(const std::string& folder);
    // A base name for the output files: not empty, no "/", not "." or "..".
    static CMessage BaseName(const std::string& base);
    // Whether the last name of `path` fits its folder's file system
    // (NAME_MAX bytes, or what the folder says).
    static CMessage FileName(const std::string& path);
};
