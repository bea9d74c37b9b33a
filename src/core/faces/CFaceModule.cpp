#include "CFaceModule.h"

#include "CFaceMessages.h"
#include "files/CModuleLoader.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef TREVALIN_MODULE_RELATIVE_DIR
#define TREVALIN_MODULE_RELATIVE_DIR "../lib/trevalin"
#endif

namespace {

CFaceFinder::MakeFunction LoadModule(CMessage& error)
{
    std::string why;
    void* entry = CModuleLoader::FindEntry(CFaceModule::kFileName, CFaceFinder::kMakeFunctionName,
                                           TREVALIN_MODULE_RELATIVE_DIR, why);
    if (entry == nullptr) {
        error = CFaceMessages::MissingModule(why);
        return nullptr;
    }
    return reinterpret_cast<CFaceFinder::MakeFunction>(entry);
}

} // namespace

std::string CFaceModule::ModelPath()
{
    if (const char* path = std::getenv("TREVALIN_FACE_MODEL"); path != nullptr && *path != '\0') return path;
    return kModelPath;
}

std::unique_ptr<CFaceFinder> CFaceModule::MakeFinder(CMessage& error)
{
    const std::string model = ModelPath();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(model, ec)) {
        error = CFaceMessages::MissingModel(model);
        return nullptr;
    }
    const CFaceFinder::MakeFunction make = LoadModule(error);
    if (make == nullptr) return nullptr;
    return std::unique_ptr<CFaceFinder>(make(model));
}
