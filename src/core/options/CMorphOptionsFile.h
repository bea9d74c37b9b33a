#pragma once

#include "message/CMessage.h"
#include "message/CText.h"
#include "morph/CMorphOptions.h"

#include <string>
#include <vector>

// The morph options of a project, kept beside the project file as
// "<project>.options" (the project file itself never changes), in lines of
// key=value:
//
//   warp-only=no          yes or no
//   shape-curve=linear    the curve placing the in-between lines and
//   colour-curve=linear   the one weighing the dissolve: linear, ease-in,
//                         ease-out, smooth or bezier:X1,Y1,X2,Y2 (CTimingCurve)
//   edge=black            black or extend
//   quality=classic       classic or smooth (files without it: classic)
//
// Files of earlier versions have ease=linear or ease=smooth instead of the
// curves: both curves linear or smooth (a curve's own key, later in the
// file, wins).
//
// Blank lines are ignored, and so is everything from a '#' on (a comment of
// its own line or after a value). A key it does not know, a value it does
// not know (that key keeps its default) and a line without '=' are not
// understood: reading says which, in one line, and goes on with the rest.
class CMorphOptionsFile {
public:
    static constexpr const char* kSuffix = ".options";
    // Options files larger than this are not options files: not read.
    static constexpr size_t kMaxBytes = 64 * 1024;

    static std::string PathFor(const std::string& projectPath);
    // The options kept for the project; the defaults when it has none. When
    // part of the file could not be taken (see the top), or the file could
    // not be read at all (not a plain file, too large, unreadable), that is
    // told in `problem`, one line, empty otherwise; a special file is never
    // waited on.
    static CMorphOptions Read(const std::string& projectPath, CMessage* problem = nullptr);
    // Keeps the options beside the project. A project that has no options
    // file and keeps the defaults gets none. Written to a temporary file
    // renamed over the old one. Empty, or why it failed.
    static CMessage Write(const std::string& projectPath, const CMorphOptions& options);

    // `notUnderstood` gets what was not understood, as the file has it (a
    // key, key=value, or a line), in file order.
    static CMorphOptions Parse(const std::string& text, std::vector<std::string>* notUnderstood = nullptr);
    static std::string Format(const CMorphOptions& options);

    // What reading tells: %1 the options file.
    static constexpr const char* kNotUnderstoodText =
        TRV_TEXT("CoreText", "选项文件 %1 中有看不懂的内容,这些选项按默认值处理:%2");
    static constexpr const char* kNotAFileText =
        TRV_TEXT("CoreText", "选项文件 %1 不是普通文件,没有读取,选项按默认值处理。");
    static constexpr const char* kTooLargeText =
        TRV_TEXT("CoreText", "选项文件 %1 超过 %2 字节,没有读取,选项按默认值处理。");
    static constexpr const char* kUnreadableText = TRV_TEXT("CoreText", "无法读取选项文件 %1:%2");
    // At most this many of the items not understood are named.
    static constexpr size_t kListed = 5;

private:
    static CMorphOptions ReadFile(const std::string& projectPath, CMessage& problem);
};
