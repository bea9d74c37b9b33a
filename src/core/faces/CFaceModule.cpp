#include "CFaceModule.h"

#include "CFaceMessages.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#ifndef TREVALIN_MODULE_RELATIVE_DIR
#define TREVALIN_MODULE_RELATIVE_DIR "../lib/trevalin"
#endif

namespace {

std::vector<std::filesystem::path> Candidates()
{
    std::vector<std::filesystem::path> folders;
    if (const char* dir = std::getenv("TREVALIN_MODULE_DIR"); dir != nullptr && *dir != '\0') {
        folders.emplace_back(dir);
    }
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        folders.push_back(program.parent_path());
        folders.push_back(program.parent_path() / TREVALIN_MODULE_RELATIVE_DIR);
    }
    return folders;
}

CFaceFinder::MakeFunction LoadModule(CMessage& error)
{
    std::string tried;
    std::string why;
    for (const std::filesystem::path& folder : Candidates()) {
        const std::filesystem::path path = folder / CFaceModule::kFileName;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            tried += (tried.empty() ? "" : ", ") + path.lexically_normal().string();
            continue;
        }
        // Loaded once and kept: a second dlopen of the same file finds it.
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (handle == nullptr) {
            const char* text = ::dlerror();
            why = text != nullptr ? text : path.string();
            continue;
        }
        void* entry = ::dlsym(handle, CFaceFinder::kMakeFunctionName);
        if (entry == nullptr) {
            why = path.string() + ": " + CFaceFinder::kMakeFunctionName;
            continue;
        }
        return reinterpret_cast<CFaceFinder::MakeFunction>(entry);
    }
    error = CFaceMessages::MissingModule(why.empty() ? tried : why);
    return nullptr;
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
