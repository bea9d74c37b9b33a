#include "CArchive.h"
#include "CFeatureBlock.h"
#include "geometry/CFeatureSet.h"

// The lines of both images; on loading they are replaced only when the whole
// block could be read.
void CFeatureSet::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CFeatureBlock::Write(ar, *this);
        return;
    }
    CFeatureBlock block;
    if (block.Read(ar)) {
        block.ApplyTo(*this);
    }
}
