#pragma once

#include "CVideoSettings.h"
#include "message/CMessage.h"

#include <cstdint>
#include <string>

// Every message the export's checks and writers give the user, in one place.
class CExportMessages {
public:
    static CMessage OddSize(CVideoSettings::Format format, int32_t width, int32_t height);
    static CMessage SizeOutOfRange(int32_t width, int32_t height);
    static CMessage FpsOutOfRange(int32_t fps);
    static CMessage QualityOutOfRange(int32_t quality);
    static CMessage UnknownFormat();
    // `part` is what is missing ("编码器", "封装格式", "滤镜"), `name` its
    // FFmpeg name.
    static CMessage MissingPart(const CMessage& formatName, const CMessage& part, const std::string& name);
    static CMessage NoFolder();
    static CMessage FolderMissing(const std::string& folder);
    static CMessage NotAFolder(const std::string& path);
    static CMessage FolderNotWritable(const std::string& folder, int error);
    // Another run or export holds the output folder `folder` (COutputLocks).
    static CMessage FolderBusy(const std::string& folder);
    static CMessage EmptyBaseName();
    static CMessage BadBaseName(const std::string& base);
    // A file at `path` could not be created (`error`, a system error
    // number): its folder is missing or not writable.
    static CMessage CannotCreate(const std::string& path, int error);
    // `error` is a system error number.
    static CMessage WriteFailed(const std::string& path, int error);
    // `detail` is the encoder's or writer's own (English) reason.
    static CMessage EncodeFailed(const std::string& path, const CMessage& formatName, const CMessage& detail);
    static CMessage BadFrame(int32_t width, int32_t height, int32_t stride);
    static CMessage NoFrames(const std::string& path);
    // Settings of a whole export.
    static CMessage NothingToExport();
    static CMessage StepsOutOfRange(int32_t steps);
    static CMessage FramesOutOfRange(int64_t frames);
    static CMessage RangeOutOfRange(int32_t first, int32_t last, int32_t steps);
    static CMessage HoldOutOfRange(double seconds);
    // The export module could not be found or loaded (what was tried, or
    // the loader's reason).
    static CMessage MissingModule(const std::string& detail);
};
