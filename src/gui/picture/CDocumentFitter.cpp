#include "CDocumentFitter.h"

#include "CPictureFitter.h"
#include "document/CTrevalinDoc.h"

#include <QImage>

bool CDocumentFitter::Fit(CTrevalinDoc& doc, int index, int32_t width, int32_t height, FitMode mode)
{
    CPictureFile& picture = *doc.GetPicture(index);
    const SIZE own = picture.GetSizeInPixels();
    if (own.cx == width && own.cy == height) {
        return true;
    }
    const CFitTransform fit(mode, own.cx, own.cy, width, height);
    const QImage fitted = CPictureFitter::Fit(*picture.GetImage(), fit);
    if (fitted.isNull()) {
        return false;
    }
    picture.SetImage(CPictureFitter::ToPictureImage(fitted));
    fit.Apply(doc.GetFeatureSet()->m_sets[index]);
    return true;
}
