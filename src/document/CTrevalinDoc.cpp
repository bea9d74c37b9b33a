#include "CTrevalinDoc.h"

#include <filesystem>
#include <system_error>

namespace {
std::string CurrentDirectory()
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string(".") : p.string();
}
} // namespace

CTrevalinDoc::CTrevalinDoc() : CTrevalinDoc(CurrentDirectory()) {}

CTrevalinDoc::CTrevalinDoc(std::string workDir) : m_strWorkDir(std::move(workDir)) {}
