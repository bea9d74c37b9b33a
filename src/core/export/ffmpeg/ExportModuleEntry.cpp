// The export module's entry point, looked up by name by CExportModule.

#include "CExportRun.h"

extern "C" __attribute__((visibility("default"))) CExportTask*
trevalin_make_export_task(const CExportSequence& morphs, const CExportSettings& settings)
{
    return new CExportRun(morphs, settings);
}
