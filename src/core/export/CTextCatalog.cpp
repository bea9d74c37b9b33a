#include "CTextCatalog.h"

#include "CExportMessages.h"
#include "CExportSummary.h"
#include "run/CRunDriver.h"
#include "document/CDocument.h"
#include "document/CFeatureBlock.h"
#include "document/CPictureFile.h"

namespace {

void AddAll(std::vector<const char*>& patterns, const char* const* list)
{
    for (; *list != nullptr; ++list)
        patterns.push_back(*list);
}

} // namespace

const std::vector<const char*>& CTextCatalog::Patterns()
{
    static const std::vector<const char*> patterns = [] {
        std::vector<const char*> all{CDocument::kNotFoundFormat,      CPictureFile::kCannotOpen,
                                     CPictureFile::kCannotLoad,       CFeatureBlock::kTooManyLines,
                                     CFeatureBlock::kTooManyPoints,   CRunDriver::kMissingSourceFormat,
                                     CRunDriver::kMissingTargetFormat};
        AddAll(all, CExportMessages::kPatterns);
        AddAll(all, CExportSummary::kPatterns);
        return all;
    }();
    return patterns;
}
