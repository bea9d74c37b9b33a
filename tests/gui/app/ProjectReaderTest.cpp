#include "ProjectReaderTest.h"

#include "app/CProjectReader.h"
#include "document/CTrevalinDoc.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <random>

namespace {

void AddLines(CTrevalinDoc& doc, int32_t count, unsigned seed)
{
    std::mt19937 rng(seed);
    for (CPointSets<int>& lines : doc.GetFeatureSet()->m_sets) {
        for (int32_t k = 0; k < count; ++k) {
            CPointSet<int>& line = lines.Line(lines.Add());
            line.AddPoint(static_cast<int>(rng() % 400), static_cast<int>(rng() % 300), 0, 1);
            line.AddPoint(static_cast<int>(rng() % 400), static_cast<int>(rng() % 300), 0, 1);
        }
    }
}

bool SameLines(const CTrevalinDoc& a, const CTrevalinDoc& b)
{
    for (int m = 0; m < 2; ++m) {
        const CPointSets<int>& x = a.GetFeatureSet()->m_sets[m];
        const CPointSets<int>& y = b.GetFeatureSet()->m_sets[m];
        if (x.m_nCount != y.m_nCount) return false;
        for (int32_t i = 0; i < x.m_nCount; ++i) {
            if (x.Line(i).m_nCount != y.Line(i).m_nCount) return false;
            for (int32_t j = 0; j < x.Line(i).m_nCount; ++j)
                if (!(x.Line(i).Point(j) == y.Line(i).Point(j))) return false;
        }
    }
    return true;
}

} // namespace

void ProjectReaderTest::readsWhileTheEventLoopRunsAndGivesTheSameDocument()
{
    QTemporaryDir dir;
    const std::string work = dir.path().toStdString();
    const std::string path = work + "/big.tvl";
    {
        CTrevalinDoc written(work);
        AddLines(written, 200000, 1);
        QVERIFY(written.OnSaveDocument(path).ok);
    }
    CTrevalinDoc expected(work);
    QVERIFY(expected.OnOpenDocument(path).ok);

    CTrevalinDoc doc(work);
    AddLines(doc, 3, 2);
    doc.SetModifiedFlag(true);
    doc.m_bDrawTool = 1;
    CProjectReader reader;
    int ticks = 0;
    bool readingSeen = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        readingSeen = readingSeen || reader.IsReading();
    });
    timer.start(0);
    int replacing = 0;
    QObject::connect(&reader, &CProjectReader::aboutToReplace, [&] { ++replacing; });
    QVERIFY(reader.Open(doc, path).ok);
    QVERIFY(ticks > 0 && readingSeen); // the interface went on meanwhile
    QVERIFY(!reader.IsReading());
    QCOMPARE(replacing, 1);
    QVERIFY(SameLines(doc, expected));
    QCOMPARE(doc.GetPathName(), expected.GetPathName());
    QCOMPARE(doc.GetTitle(), expected.GetTitle());
    QVERIFY(!doc.IsModified());
    QCOMPARE(doc.m_bDrawTool, 1); // the tool chosen stays
    QCOMPARE(doc.GetWorkDir(), work);
}

void ProjectReaderTest::failedReadLeavesTheDocumentWhole()
{
    QTemporaryDir dir;
    const std::string work = dir.path().toStdString();
    const std::string path = work + "/broken.tvl";
    CTrevalinDoc written(work);
    AddLines(written, 1000, 3);
    QVERIFY(written.OnSaveDocument(path).ok);
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(file.size() - 5)); // cut short

    CTrevalinDoc doc(work);
    AddLines(doc, 7, 4);
    CTrevalinDoc same(work);
    AddLines(same, 7, 4);
    CProjectReader reader;
    int replacing = 0;
    QObject::connect(&reader, &CProjectReader::aboutToReplace, [&] { ++replacing; });
    const CDocStatus status = reader.Open(doc, path);
    QVERIFY(!status.ok);
    QVERIFY(!status.message.IsEmpty());
    QCOMPARE(replacing, 0);
    QVERIFY(SameLines(doc, same));
    QVERIFY(doc.GetPathName().empty());
}
