#pragma once

#include "CDocument.h"
#include "CPictureFile.h"
#include "geometry/CFeatureSet.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CPictureDecoder;

// The project: two pictures, the feature lines of both images, the working
// folder captured at construction and the last editing tool chosen.
class CTrevalinDoc : public CDocument {
public:
    // The working folder is the process's current directory, whatever its
    // length; no picture decoder.
    CTrevalinDoc();
    // The working folder as given (trailing slashes dropped, except for the
    // root folder); both pictures decode with `decoder`.
    explicit CTrevalinDoc(std::string workDir, std::shared_ptr<const CPictureDecoder> decoder = nullptr);
    ~CTrevalinDoc() override = default;

    CTrevalinDoc(const CTrevalinDoc&) = delete;
    CTrevalinDoc& operator=(const CTrevalinDoc&) = delete;

    // index is 0 (source) or 1 (target); not checked.
    CPictureFile* GetPicture(int index) { return &m_pictures[index]; }
    const CPictureFile* GetPicture(int index) const { return &m_pictures[index]; }
    CFeatureSet* GetFeatureSet() { return &m_featureSet; }
    const CFeatureSet* GetFeatureSet() const { return &m_featureSet; }
    std::string GetWorkDir() const { return m_strWorkDir; }

    // Stores the two picture names and the lines, or loads them. Loading
    // reads everything first and changes the document only when the whole
    // project could be read; then it loads the pictures named (found by
    // PictureFileFor), both at once (the decoder must take calls from two
    // threads), and replaces the lines. A picture that cannot be loaded
    // leaves its holder empty and marked missing with the file looked for;
    // storing then writes the name the project was read with, until another
    // picture takes that holder's place.
    void Serialize(CArchive& ar) override;
    // Takes the content of `read`, a document another thread has just
    // opened a project into: the pictures, the lines, the path, title and
    // modified flag. `read` is left with what this document held. The
    // working folder and the tool choices stay.
    void TakeContentFrom(CTrevalinDoc& read);
    // Opens the project; a success whose pictures could not all be loaded
    // carries a warning naming each of them and why.
    CDocStatus OnOpenDocument(const std::string& path) override;
    // Picture names longer than a path can be, or whose file name is longer
    // than a file name can be, are refused when a project is read (before
    // a longer name is held in memory). A file name of NAME_MAX UTF-16 code
    // units, which a project written on Windows may hold, takes up to three
    // times as many bytes of UTF-8: such a name opens with its picture
    // missing; only longer ones are refused.
    static constexpr size_t kMaxNameBytes = PATH_MAX - 1;
    static constexpr size_t kMaxTailBytes = 3 * NAME_MAX;
    // Why such a project is refused: %1 the limit in bytes; %1 the file
    // name, %2 the limit.
    static constexpr const char* kNameTooLongText = TRV_TEXT("CoreText", "项目中的图片名超过了路径 %1 字节的上限。");
    static constexpr const char* kTailTooLongText =
        TRV_TEXT("CoreText", "项目中的图片文件名 %1 超过了文件名 %2 字节的上限。");
    // The text that starts that warning.
    static constexpr const char* kMissingPicturesText = TRV_TEXT("CoreText", "项目已打开,但下列图片没有载入:");

    // The name a picture is stored under: the tail of its path from the last
    // separator ('/' or '\'), written with a leading backslash as Windows
    // does; the empty string for a picture that never held one.
    static std::string StoredName(const std::string& picturePath);
    // Where a stored name is looked for: <work>/images/<tail>, the tail being
    // the name after its last separator ('\' or '/'). A name whose tail is
    // empty, "." or ".." gives the images folder itself, which never loads;
    // no name reaches outside the images folder.
    std::string PicturePathFor(const std::string& storedName) const;
    // The file a stored name is loaded from: PicturePathFor's when it
    // exists, else <project folder>/images/<tail> when that exists (the
    // project folder being the one of the project being opened, if any),
    // else PicturePathFor's.
    std::string PictureFileFor(const std::string& storedName) const;
    // The name picture `index` has in the project last read or written (as
    // the file holds it), empty before either.
    std::string GetPictureName(int index) const { return m_strPictureNames[index]; }

    CPictureFile m_pictures[2];
    int32_t m_bDrawTool = 0;
    int32_t m_bSelectTool = 0;
    CFeatureSet m_featureSet;
    std::string m_strWorkDir;

private:
    std::string m_strPictureNames[2];
    std::string m_openingFolder; // the folder of the project being opened
    CMessage m_missing;          // lines of the warning, from the last load
};
