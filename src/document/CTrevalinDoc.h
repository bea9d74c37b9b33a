#pragma once

#include "CDocument.h"
#include "CFeatureSet.h"
#include "CPictureFile.h"

#include <cstdint>
#include <string>

// The project: two pictures, the feature lines of both images, the working
// folder captured at construction and the last editing tool chosen.
class CTrevalinDoc : public CDocument {
public:
    // Captures the process's current directory as the working folder.
    CTrevalinDoc();
    explicit CTrevalinDoc(std::string workDir);
    ~CTrevalinDoc() override = default;

    CPictureFile* GetPicture(int index) { return &m_pictures[index]; }
    CFeatureSet* GetFeatureSet() { return &m_featureSet; }
    std::string GetWorkDir() const { return m_strWorkDir; }

    CPictureFile m_pictures[2];
    int32_t m_bDrawTool = 0;
    int32_t m_bSelectTool = 0;
    CFeatureSet m_featureSet;
    std::string m_strWorkDir;
};
