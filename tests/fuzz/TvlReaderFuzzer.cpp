// Fuzz target: the project-file reader behind File Open.
//
// Every input is loaded into a document that already holds lines. A failed
// load must leave the document exactly as it was; a successful one must
// store bytes that load back to the same bytes.
#include "document/CArchive.h"
#include "document/CTrevalinDoc.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// No such folder: the pictures a project names are looked for and never found.
constexpr const char* kWorkDir = "/nonexistent-trevalin-fuzz";

std::vector<uint8_t> Store(CTrevalinDoc& doc)
{
    CArchive ar;
    doc.Serialize(ar);
    return ar.GetBuffer();
}

void Prefill(CTrevalinDoc& doc)
{
    for (int m = 0; m < 2; ++m) {
        CPointSets<int>& lines = doc.GetFeatureSet()->m_sets[m];
        for (int i = 0; i < 3 + m; ++i) {
            CPointSet<int>& line = lines.Line(lines.Add());
            for (int p = 0; p < 2 + i; ++p) {
                line.AddPoint(10 * i + p, 20 * i - p, 0, 1);
            }
        }
    }
}

int32_t Capacity(CTrevalinDoc& doc)
{
    int32_t total = 0;
    for (const CPointSets<int>& lines : doc.GetFeatureSet()->m_sets) {
        total += lines.m_nSize;
        for (int32_t i = 0; i < lines.m_nSize; ++i) {
            total += lines.Line(i).m_nSize;
        }
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CTrevalinDoc doc(kWorkDir);
    Prefill(doc);
    const std::vector<uint8_t> before = Store(doc);
    const int32_t capacityBefore = Capacity(doc);

    CArchive ar(data, size);
    doc.Serialize(ar);
    if (ar.HasFailed()) {
        if (Store(doc) != before || Capacity(doc) != capacityBefore) {
            std::abort(); // a failed load changed the document
        }
        return 0;
    }
    if (ar.GetPosition() > size) {
        std::abort();
    }

    const std::vector<uint8_t> stored = Store(doc);
    CTrevalinDoc again(kWorkDir);
    CArchive reread(stored.data(), stored.size());
    again.Serialize(reread);
    if (reread.HasFailed() || reread.GetRemaining() != 0 || Store(again) != stored) {
        std::abort(); // what we write does not read back the same
    }
    return 0;
}
