#include "CFeatureSet.h"

// Placeholder until the project file format lands.
void CFeatureSet::Serialize(CArchive&) {}
