#include "CAutoFace.h"

#include "CCliLanguage.h"
#include "document/CTrevalinDoc.h"
#include "faces/CFaceJob.h"
#include "faces/CFaceMessages.h"
#include "faces/CFaceModule.h"
#include "geometry/CFeatureSet.h"

#include <ostream>

bool CAutoFace::Apply(CTrevalinDoc& doc, std::ostream& err, const CCliLanguage& language)
{
    CFeatureSet& lines = *doc.GetFeatureSet();
    if (lines.m_sets[0].m_nCount > 0 || lines.m_sets[1].m_nCount > 0) {
        err << "--auto-face: the project has feature lines; it keeps them\n";
        return true;
    }
    CMessage error;
    const std::unique_ptr<CFaceFinder> finder = CFaceModule::MakeFinder(error);
    if (finder == nullptr) {
        err << "--auto-face: " << language.Say(error) << "\n";
        return false;
    }
    const CFaceJob::Outcome outcome = CFaceJob::Run(
        *finder, {doc.GetPicture(0)->GetSharedImage(), doc.GetPicture(1)->GetSharedImage()}, CCancelToken::Ticket());
    if (!outcome.HasLines()) {
        err << "--auto-face: " << language.Say(outcome.error) << "\n";
        return false;
    }
    CFaceLinePairs::Append(lines, outcome.lines[0], outcome.lines[1]);
    err << "--auto-face: " << language.Say(CFaceMessages::LinesAdded(static_cast<int32_t>(outcome.lines[0].size())))
        << "\n--auto-face: for this run only; the project file is not changed\n";
    if (!outcome.note.IsEmpty()) err << "--auto-face: " << language.Say(outcome.note) << "\n";
    return true;
}
