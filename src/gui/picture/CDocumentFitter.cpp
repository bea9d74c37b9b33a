#include "CDocumentFitter.h"

#include "CPictureFitter.h"
#include "document/CTrevalinDoc.h"

bool CDocumentFitter::Fit(CTrevalinDoc& doc, int index, int32_t width, int32_t height, FitMode mode)
{
    CPictureFile& picture = *doc.GetPicture(index);
    const SIZE own = picture.GetSizeInPixels();
    if (own.cx == width && own.cy == height) {
        return false;
    }
    const CFitTransform fit(mode, own.cx, own.cy, width, height);
    picture.SetImage(CPictureFitter::ToPictureImage(CPictureFitter::Fit(*picture.GetImage(), fit)));
    fit.Apply(doc.GetFeatureSet()->m_sets[index]);
    return true;
}
