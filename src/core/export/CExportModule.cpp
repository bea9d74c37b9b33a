#include "CExportModule.h"

#include "CExportMessages.h"
#include "files/CModuleLoader.h"

#ifndef TREVALIN_MODULE_RELATIVE_DIR
#define TREVALIN_MODULE_RELATIVE_DIR "../lib/trevalin"
#endif

CExportTask::MakeFunction CExportModule::Load(CMessage& error)
{
    std::string why;
    void* entry =
        CModuleLoader::FindEntry(kFileName, CExportTask::kMakeFunctionName, TREVALIN_MODULE_RELATIVE_DIR, why);
    if (entry == nullptr) {
        error = CExportMessages::MissingModule(why);
        return nullptr;
    }
    return reinterpret_cast<CExportTask::MakeFunction>(entry);
}
