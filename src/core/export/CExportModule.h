#pragma once

#include "CExportTask.h"

#include <string>

// Finds and loads the export module (libtrevalin_export.so) the first time
// an export is made: beside the program (the build tree), then in the
// installed module folder relative to the program, or in the folder named by
// TREVALIN_MODULE_DIR when that is set. The module stays loaded for the
// rest of the process (FFmpeg's libraries are not made to be unloaded).
class CExportModule {
public:
    // The module's task maker, or null with the reason in `error`.
    static CExportTask::MakeFunction Load(CMessage& error);
    static constexpr const char* kFileName = "libtrevalin_export.so";
};
