#include "CModuleLoader.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

std::vector<std::filesystem::path> Candidates(const char* installedDir)
{
    std::vector<std::filesystem::path> folders;
    if (const char* dir = std::getenv("TREVALIN_MODULE_DIR"); dir != nullptr && *dir != '\0') {
        folders.emplace_back(dir);
    }
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        folders.push_back(program.parent_path());
        folders.push_back(program.parent_path() / installedDir);
    }
    return folders;
}

} // namespace

void* CModuleLoader::FindEntry(const char* fileName, const char* entryName, const char* installedDir,
                               std::string& whyNot)
{
    std::string tried;
    std::string why;
    for (const std::filesystem::path& folder : Candidates(installedDir)) {
        const std::filesystem::path path = folder / fileName;
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
        if (void* entry = ::dlsym(handle, entryName)) return entry;
        why = path.string() + ": " + entryName;
    }
    whyNot = why.empty() ? tried : why;
    return nullptr;
}
