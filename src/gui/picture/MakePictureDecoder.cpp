#include "MakePictureDecoder.h"

#include "CQtPictureDecoder.h"
#include "document/CDirectPictureDecoder.h"

std::shared_ptr<const CPictureDecoder> MakePictureDecoder()
{
    const auto qt = std::make_shared<const CQtPictureDecoder>();
    return std::make_shared<const CDirectPictureDecoder>(qt, qt->GetLimits());
}
