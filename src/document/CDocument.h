#pragma once

#include "CObject.h"

#include <string>

// Base of the application's document: a serializable object with a path,
// a title and a modified flag, kept by the document management around it.
class CDocument : public CObject {
public:
    ~CDocument() override = default;

    const std::string& GetPathName() const { return m_strPathName; }
    const std::string& GetTitle() const { return m_strTitle; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

protected:
    CDocument() = default;

    std::string m_strPathName;
    std::string m_strTitle;
    bool m_bModified = false;
};
