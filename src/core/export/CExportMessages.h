#pragma once

#include "CVideoSettings.h"

#include <cstdint>
#include <string>

// Every text the export's checks and writers show the user, in one place.
class CExportMessages {
public:
    static std::string OddSize(CVideoSettings::Format format, int32_t width, int32_t height);
    static std::string SizeOutOfRange(int32_t width, int32_t height);
    static std::string FpsOutOfRange(int32_t fps);
    static std::string QualityOutOfRange(int32_t quality);
    static std::string UnknownFormat();
    // `part` is what is missing ("编码器", "封装格式", "滤镜"), `name` its
    // FFmpeg name.
    static std::string MissingPart(const char* formatName, const char* part, const char* name);
    static std::string NoFolder();
    static std::string FolderMissing(const std::string& folder);
    static std::string NotAFolder(const std::string& path);
    static std::string FolderNotWritable(const std::string& folder, int error);
    static std::string EmptyBaseName();
    static std::string BadBaseName(const std::string& base);
    // A file at `path` could not be created (`error`, a system error
    // number): its folder is missing or not writable.
    static std::string CannotCreate(const std::string& path, int error);
    // `error` is a system error number.
    static std::string WriteFailed(const std::string& path, int error);
    static std::string EncodeFailed(const std::string& path, const char* formatName, const std::string& detail);
    static std::string BadFrame(int32_t width, int32_t height, int32_t stride);
    static std::string NoFrames(const std::string& path);
    // Settings of a whole export.
    static std::string NothingToExport();
    static std::string StepsOutOfRange(int32_t steps);
    static std::string RangeOutOfRange(int32_t first, int32_t last, int32_t steps);
    static std::string HoldOutOfRange(double seconds);
    // The export module could not be found or loaded (what was tried, or
    // the loader's reason).
    static std::string MissingModule(const std::string& detail);

    // The templates of the composed messages above (%1.. the values), ended
    // by a null.
    static const char* const kPatterns[];
};
