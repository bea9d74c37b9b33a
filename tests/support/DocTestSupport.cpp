#include "DocTestSupport.h"

#include "document/CArchive.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace doctest {

std::vector<uint8_t> Hex(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    std::istringstream in(hex);
    std::string token;
    while (in >> token) {
        if (token != "|") {
            bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
        }
    }
    return bytes;
}

void AddLine(CTrevalinDoc& doc, int image, const std::vector<std::pair<int32_t, int32_t>>& points)
{
    CPointSets<int>& lines = doc.GetFeatureSet()->m_sets[image];
    CPointSet<int>& line = lines.Line(lines.Add());
    for (const auto& [x, y] : points) {
        line.AddPoint(x, y, 0, 1);
    }
}

std::string Dump(const CTrevalinDoc& doc)
{
    std::ostringstream out;
    out << "title=" << doc.GetTitle() << " path=" << doc.GetPathName() << " modified=" << doc.IsModified()
        << " work=" << doc.GetWorkDir() << " tools=" << doc.m_bDrawTool << doc.m_bSelectTool << '\n';
    for (int i = 0; i < 2; ++i) {
        const CPictureFile* pic = doc.GetPicture(i);
        out << "picture" << i << " path=" << pic->GetPath() << " loaded=" << pic->IsLoaded()
            << " image=" << static_cast<const void*>(pic->GetImage()) << '\n';
    }
    for (int m = 0; m < 2; ++m) {
        const CPointSets<int>& lines = doc.GetFeatureSet()->m_sets[m];
        out << "image" << m << " count=" << lines.m_nCount << " size=" << lines.m_nSize << '\n';
        for (int32_t s = 0; s < lines.m_nSize; ++s) {
            const CPointSet<int>& line = lines.Line(s);
            out << " line" << s << " @" << static_cast<const void*>(&line) << " count=" << line.m_nCount
                << " size=" << line.m_nSize << " index=" << line.m_nIndex << " state=" << line.m_nState
                << " sel=" << line.m_nSelPoint << ',' << line.m_nSelSegment << ':';
            for (int32_t p = 0; p < line.m_nSize; ++p) {
                const CFeaturePoint& pt = line.Point(p);
                out << " (" << pt.x << ',' << pt.y << ',' << pt.z << ',' << pt.w << '#' << pt.label << ')';
            }
            out << '\n';
        }
    }
    return out.str();
}

std::vector<uint8_t> Store(CTrevalinDoc& doc)
{
    CArchive ar;
    doc.Serialize(ar);
    return ar.GetBuffer();
}

} // namespace doctest
