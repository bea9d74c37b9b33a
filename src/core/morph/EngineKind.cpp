#include "EngineKind.h"

#include "FBMorphing.h"
#include "LinearMorphing.h"

std::unique_ptr<ImageMorphing> MakeEngine(EngineKind kind)
{
    if (kind == EngineKind::kFeature) return std::make_unique<FBMorphing>();
    return std::make_unique<LinearMorphing>();
}
