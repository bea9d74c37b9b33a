#pragma once

#include "CDocStatus.h"
#include "message/CMessage.h"
#include "message/CText.h"
#include "geometry/CObject.h"

#include <cstdint>
#include <string>

// Base of the application's document: a serializable object with a path,
// a title and a modified flag, with the new, open and save steps of the
// document management around it.
class CDocument : public CObject {
public:
    ~CDocument() override = default;

    const std::string& GetPathName() const { return m_strPathName; }
    const std::string& GetTitle() const { return m_strTitle; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    // Takes the full form of the path and the file's name as the title.
    void SetPathName(const std::string& path);
    void SetTitle(const std::string& title) { m_strTitle = title; }

    // A new document: no path, the title "无标题", not modified. The content
    // stays as it is.
    virtual bool OnNewDocument();

    // Reads the file through Serialize. A zero-length file is not read. On
    // success the document takes the file's path and name and is not
    // modified. On failure nothing in the document changes (content, path,
    // title, modified flag) and the status carries the message to show.
    virtual CDocStatus OnOpenDocument(const std::string& path);

    // Writes the document through Serialize into a new file that replaces
    // the old one only once it is complete: a failed save leaves any file
    // already at that path as it was. On success the document takes the
    // path and name and is not modified.
    virtual CDocStatus OnSaveDocument(const std::string& path);

    // The title of a document without a file.
    static constexpr const char* kUntitled = TRV_TEXT("CoreText", "无标题");
    // Messages of the open and save steps.
    static constexpr const char* kNotFoundFormat = TRV_TEXT("CoreText", "没有找到 %1。");
    static constexpr const char* kOpenFailed = TRV_TEXT("CoreText", "打开文档失败。");
    static constexpr const char* kBadFormat = TRV_TEXT("CoreText", "非预期的文件格式。");
    static constexpr const char* kSaveFailed = TRV_TEXT("CoreText", "保存文档失败。");
    // A failed save's detail when a file was already there: %1 the reason.
    static constexpr const char* kLeftUnchangedFormat = TRV_TEXT("CoreText", "%1原来的文件没有改动。");
    // Projects are small (the largest the line limits allow is about 20 MB);
    // a file beyond this is refused before it is read.
    static constexpr uint64_t kMaxDocumentBytes = uint64_t{256} << 20;
    static constexpr const char* kTooLargeText = TRV_TEXT("CoreText", "文件超过了项目文件 256 MB 的上限。");

protected:
    CDocument() = default;

    std::string m_strPathName;
    std::string m_strTitle;
    bool m_bModified = false;
};
