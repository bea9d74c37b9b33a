#include "CExportCommand.h"

#include "language/CCoreText.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CEditTexts.h"
#include "editing/CUserPrompts.h"
#include "export/CExportJob.h"
#include "export/CExportSequence.h"
#include "options/CMorphOptionsFile.h"
#include "picture/CDocumentFitter.h"
#include "morph/CCancelToken.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSettings>

#include <memory>
#include <thread>
#include <vector>

namespace {

const QString kGroup = QStringLiteral("Export/");

} // namespace

CExportCommand::CExportCommand(CDocController& doc, CUserPrompts& prompts, QSettings& settings, CRowPool& pool,
                               QObject* parent)
    : QObject(parent), m_doc(doc), m_prompts(prompts), m_settings(settings), m_pool(pool)
{
}

CExportSettings CExportCommand::InitialSettings(int32_t steps, EngineKind engine) const
{
    const CTrevalinDoc& doc = m_doc.GetDoc();
    CExportSettings s;
    const QString work = QFile::decodeName(QByteArray::fromStdString(doc.GetWorkDir()));
    s.folder = QFile::encodeName(m_settings.value(kGroup + QStringLiteral("Folder"), work).toString()).toStdString();
    // The project's name without ".tvl"; a project without a file has its
    // title, 无标题.
    const QString path = QFile::decodeName(QByteArray::fromStdString(doc.GetPathName()));
    s.baseName = path.isEmpty() ? doc.GetTitle() : QFileInfo(path).completeBaseName().toStdString();
    s.frames = static_cast<CExportSettings::Frames>(
        m_settings.value(kGroup + QStringLiteral("Frames"), int(s.frames)).toInt());
    s.frameQuality = m_settings.value(kGroup + QStringLiteral("FrameQuality"), s.frameQuality).toInt();
    s.video =
        static_cast<CExportSettings::Video>(m_settings.value(kGroup + QStringLiteral("Video"), int(s.video)).toInt());
    s.videoQuality = m_settings.value(kGroup + QStringLiteral("VideoQuality"), s.videoQuality).toInt();
    s.fps = m_settings.value(kGroup + QStringLiteral("Fps"), s.fps).toInt();
    s.mp4Preset = m_settings.value(kGroup + QStringLiteral("Mp4Preset"), s.mp4Preset).toInt();
    s.sequenceHold = m_settings.value(kGroup + QStringLiteral("SequenceHold"), 0).toInt();
    s.webmSpeed = m_settings.value(kGroup + QStringLiteral("WebmSpeed"), s.webmSpeed).toInt();
    s.gifDither = static_cast<CVideoSettings::GifDither>(
        m_settings.value(kGroup + QStringLiteral("GifDither"), int(s.gifDither)).toInt());
    s.width = m_settings.value(kGroup + QStringLiteral("Width"), 0).toInt();
    s.pingPong = m_settings.value(kGroup + QStringLiteral("PingPong"), false).toBool();
    s.holdFirstSeconds = m_settings.value(kGroup + QStringLiteral("HoldFirst"), 0.0).toDouble();
    s.holdLastSeconds = m_settings.value(kGroup + QStringLiteral("HoldLast"), 0.0).toDouble();
    s.steps = steps;
    s.engine = engine;
    s.morph = m_doc.GetMorphOptions();
    return s;
}

void CExportCommand::Remember(const CExportSettings& s)
{
    m_settings.setValue(kGroup + QStringLiteral("Folder"), QFile::decodeName(QByteArray::fromStdString(s.folder)));
    m_settings.setValue(kGroup + QStringLiteral("Frames"), int(s.frames));
    m_settings.setValue(kGroup + QStringLiteral("FrameQuality"), s.frameQuality);
    m_settings.setValue(kGroup + QStringLiteral("Video"), int(s.video));
    m_settings.setValue(kGroup + QStringLiteral("VideoQuality"), s.videoQuality);
    m_settings.setValue(kGroup + QStringLiteral("Fps"), s.fps);
    m_settings.setValue(kGroup + QStringLiteral("Mp4Preset"), s.mp4Preset);
    m_settings.setValue(kGroup + QStringLiteral("SequenceHold"), s.sequenceHold);
    m_settings.setValue(kGroup + QStringLiteral("WebmSpeed"), s.webmSpeed);
    m_settings.setValue(kGroup + QStringLiteral("GifDither"), int(s.gifDither));
    m_settings.setValue(kGroup + QStringLiteral("Width"), s.width);
    m_settings.setValue(kGroup + QStringLiteral("PingPong"), s.pingPong);
    m_settings.setValue(kGroup + QStringLiteral("HoldFirst"), s.holdFirstSeconds);
    m_settings.setValue(kGroup + QStringLiteral("HoldLast"), s.holdLastSeconds);
}

void CExportCommand::OnFileExport(QWidget* parent, int32_t steps, EngineKind engine)
{
    CExportSettings settings = InitialSettings(steps, engine);
    const CTrevalinDoc& doc = m_doc.GetDoc();
    const CPictureFile& source = *doc.GetPicture(0);
    const int32_t width = source.IsLoaded() ? source.GetSizeInPixels().cx : 0;
    const int32_t height = source.IsLoaded() ? source.GetSizeInPixels().cy : 0;
    for (;;) {
        if (!m_prompts.ChooseExport(parent, settings, width, height, 1)) return;
        CExportJob job(doc, settings);
        if (RunChecked(parent, job, settings)) return;
    }
}

void CExportCommand::OnFileExportSequence(QWidget* parent, int32_t steps, EngineKind engine,
                                          const QStringList& projects, FitMode fit)
{
    if (projects.isEmpty()) return;
    const CTrevalinDoc& open = m_doc.GetDoc();
    const auto fresh = [&open] {
        return std::make_unique<CTrevalinDoc>(open.GetWorkDir(), open.GetPicture(0)->GetDecoder());
    };
    // The other projects, opened here, and a copy of the open one where its
    // pictures must be fitted; every picture at the first one's size.
    std::vector<std::unique_ptr<CTrevalinDoc>> owned;
    std::vector<const CTrevalinDoc*> docs;
    std::vector<CTrevalinDoc*> mine; // docs[k] when made here, else null
    std::vector<CMorphOptions> options;
    for (const QString& path : projects) {
        if (path.isEmpty()) {
            docs.push_back(&open);
            mine.push_back(nullptr);
            options.push_back(m_doc.GetMorphOptions());
            continue;
        }
        auto doc = fresh();
        const CDocStatus opened = doc->OnOpenDocument(QFile::encodeName(path).toStdString());
        if (!opened.ok || !doc->GetPicture(0)->IsLoaded() || !doc->GetPicture(1)->IsLoaded()) {
            const QString why = opened.ok ? tr("项目 %1 的图像无法载入。").arg(path)
                                          : tr("无法打开项目 %1:%2").arg(path, CCoreText::Translate(opened.message));
            m_prompts.MessageBox(parent, why, CUserPrompts::Icon::kWarning);
            return;
        }
        docs.push_back(doc.get());
        mine.push_back(doc.get());
        options.push_back(CMorphOptionsFile::Read(doc->GetPathName()));
        owned.push_back(std::move(doc));
    }
    const SIZE size = docs.front()->GetPicture(0)->GetSizeInPixels();
    const auto hasSize = [size](const CTrevalinDoc& doc, int i) {
        const SIZE own = doc.GetPicture(i)->GetSizeInPixels();
        return own.cx == size.cx && own.cy == size.cy;
    };
    for (size_t k = 0; k < docs.size(); ++k) {
        if (hasSize(*docs[k], 0) && hasSize(*docs[k], 1)) continue;
        if (mine[k] == nullptr) {
            // Only a project whose pictures are both there gets this far in
            // the export; the check names a missing one.
            if (!open.GetPicture(0)->IsLoaded() || !open.GetPicture(1)->IsLoaded()) continue;
            auto copy = fresh();
            for (int i = 0; i < 2; ++i)
                copy->GetPicture(i)->SetImage(open.GetPicture(i)->GetSharedImage());
            copy->GetFeatureSet()->CopyLinesFrom(*open.GetFeatureSet());
            docs[k] = mine[k] = copy.get();
            owned.push_back(std::move(copy));
        }
        for (int i = 0; i < 2; ++i) {
            if (!CDocumentFitter::Fit(*mine[k], i, size.cx, size.cy, fit)) {
                m_prompts.MessageBox(parent, CEditTexts::FitFailed(size.cx, size.cy), CUserPrompts::Icon::kWarning);
                return;
            }
        }
    }
    CExportSettings settings = InitialSettings(steps, engine);
    const auto morphs = static_cast<int32_t>(docs.size());
    for (;;) {
        if (!m_prompts.ChooseExport(parent, settings, size.cx, size.cy, morphs)) return;
        CExportSequence sequence;
        sequence.SetHold(settings.sequenceHold);
        // The quality chosen in the dialog holds for every morph.
        for (size_t i = 0; i < docs.size(); ++i) {
            CMorphOptions morph = options[i];
            morph.quality = settings.morph.quality;
            sequence.Add(*docs[i], morph, settings.steps);
        }
        CExportJob job(sequence, settings);
        if (RunChecked(parent, job, settings)) return;
    }
}

bool CExportCommand::RunChecked(QWidget* parent, CExportJob& job, const CExportSettings& settings)
{
    job.SetRowPool(&m_pool);
    const CMessage problem = job.Check();
    if (!problem.IsEmpty()) {
        m_prompts.MessageBox(parent, CCoreText::Translate(problem), CUserPrompts::Icon::kWarning);
        return false;
    }
    Remember(settings);
    m_lastSummary = RunWithProgress(parent, job);
    m_prompts.MessageBox(parent, CCoreText::Translate(m_lastSummary.Describe()).trimmed(),
                         m_lastSummary.outcome == CExportSummary::Outcome::kDone ? CUserPrompts::Icon::kInformation
                                                                                 : CUserPrompts::Icon::kWarning);
    return true;
}

CExportSummary CExportCommand::RunWithProgress(QWidget* parent, CExportJob& job)
{
    const int64_t total = job.TotalSteps();
    QProgressDialog progress(tr("正在导出..."), tr("取消"), 0, static_cast<int>(total), parent);
    progress.setWindowTitle(tr("导出"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);

    CCancelToken cancel;
    // Issued before 取消 can be pressed: a press at any time abandons it.
    const CCancelToken::Ticket ticket = cancel.Issue();
    CExportSummary summary;
    connect(&progress, &QProgressDialog::canceled, &progress, [&cancel, &progress] {
        cancel.Cancel();
        progress.setLabelText(tr("正在取消..."));
    });
    progress.show();
    emit exportStarted(&progress);
    // The job runs on its own thread (and the row pool); this thread keeps
    // the window alive. The worker's signals arrive in the order sent, so
    // the end comes after the last progress.
    QEventLoop loop;
    connect(
        this, &CExportCommand::exportProgressed, &progress,
        [&progress](qint64 done) { progress.setValue(static_cast<int>(done)); }, Qt::QueuedConnection);
    connect(this, &CExportCommand::exportEnded, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    std::thread worker([&] {
        summary = job.Run(ticket, [this](int64_t done, int64_t) { emit exportProgressed(done); });
        emit exportEnded();
    });
    loop.exec();
    worker.join();
    return summary;
}
