#include "CPreviewRenderer.h"

#include "PictureBitmap.h"
#include "geometry/CLinePairs.h"
#include "morph/CCancelToken.h"
#include "morph/ImageMorphing.h"

#include <algorithm>

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

// One request: what to show and the line pairs as they were when it was
// made.
struct CPreviewRenderer::Job {
    Request request;
    uint64_t generation = 0;
    bool exactOnly = false; // its half-resolution frame has been shown
    std::shared_ptr<const CLinePairs> lines;
};

// What the worker keeps between frames: the pictures drawn as a run draws
// them, their halves, and one engine for each resolution, reloaded only when
// the pictures or the engine kind change.
class CPreviewRenderer::Engines {
public:
    enum class Outcome { kMade, kNothing, kAbandoned };

    // Computes the frame of `job` into `out` under `ticket`.
    Outcome Compute(const Job& job, bool half, CRowPool* pPool, CCancelToken::Ticket ticket, Frame& out)
    {
        const Request& r = job.request;
        TakePictures(r);
        const CBitmap& source = *m_full[0];
        const CBitmap& target = *m_full[1];
        out.width = source.Width();
        out.height = source.Height();
        const bool usable = source.Width() > 0 && source.Height() > 0 && source.Width() == target.Width() &&
                            source.Height() == target.Height();
        if (!usable || r.steps < 1 || r.frame < 0 || r.frame > r.steps) {
            out.bitmap.DeleteObject();
            return Outcome::kNothing;
        }
        if (half && !m_bHalvesMade) {
            for (int i = 0; i < 2; ++i) {
                auto halved = std::make_shared<CBitmap>();
                HalvePicture(*m_full[i], *halved);
                m_half[i] = std::move(halved);
            }
            m_bHalvesMade = true;
        }
        Slot& slot = m_slots[half ? 1 : 0];
        if (!slot.engine || slot.kind != r.engineKind) {
            slot.engine = MakeEngine(r.engineKind);
            slot.kind = r.engineKind;
            slot.pictures = 0;
        }
        const std::shared_ptr<const CBitmap>* inputs = half ? m_half : m_full;
        if (slot.pictures != m_nPictures) {
            // A run loads the target first, then the source. The engine
            // shares the bitmaps: new pictures are drawn into new ones.
            slot.engine->ShareImage(inputs[1], 1);
            slot.engine->ShareImage(inputs[0], 0);
            slot.pictures = m_nPictures;
        }
        slot.engine->SetRowPool(pPool);
        slot.engine->SetCancelTicket(ticket);
        slot.engine->SetSteps(r.steps);
        slot.engine->SetOptions(r.options);
        // The halved pairs live for the half frame only: the exact frame
        // that follows, and the next request's lines, do not need them.
        const CLinePairs none;
        const CLinePairs& full = job.lines ? *job.lines : none;
        const CLinePairs halved = half ? full.Halved() : CLinePairs();
        // The engine writes every byte of the frame, as in a run: the
        // bitmap kept from the frame before is reused as it is.
        CBitmap& bitmap = out.bitmap;
        bitmap.Reshape(inputs[0]->Width(), inputs[0]->Height(), 32);
        const int32_t made = slot.engine->MorphPairs(bitmap, r.frame, half ? halved : full);
        return made == ImageMorphing::kAbandoned ? Outcome::kAbandoned : Outcome::kMade;
    }

    // Whether the pictures of the last frame are those of `r`.
    bool SamePictures(const Request& r) const
    {
        return m_pictures[0] == r.pictures[0] && m_pictures[1] == r.pictures[1];
    }

private:
    struct Slot {
        std::unique_ptr<ImageMorphing> engine;
        EngineKind kind = EngineKind::kFeature; // of `engine`, when there is one
        uint64_t pictures = 0;                  // m_nPictures when they were loaded
    };

    void TakePictures(const Request& r)
    {
        if (m_nPictures != 0 && SamePictures(r)) return;
        for (int i = 0; i < 2; ++i) {
            m_pictures[i] = r.pictures[i];
            auto drawn = std::make_shared<CBitmap>();
            DrawPictureBitmap(m_pictures[i].get(), *drawn);
            m_full[i] = std::move(drawn);
        }
        m_bHalvesMade = false;
        ++m_nPictures;
    }

    std::shared_ptr<const CPictureImage> m_pictures[2];
    uint64_t m_nPictures = 0;
    std::shared_ptr<const CBitmap> m_full[2];
    std::shared_ptr<const CBitmap> m_half[2];
    bool m_bHalvesMade = false;
    Slot m_slots[2];
};

CPreviewRenderer::CPreviewRenderer(FrameSink sink)
    : m_sink(std::move(sink)), m_pEngines(std::make_unique<Engines>()), m_thread([this] { Loop(); })
{
}

CPreviewRenderer::~CPreviewRenderer()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CPreviewRenderer::SetRowPool(CRowPool* pPool)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pPool = pPool;
}

void CPreviewRenderer::SetPacing(double budgetMs, int32_t restMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_budgetMs = budgetMs;
    m_restMs = restMs;
}

uint64_t CPreviewRenderer::Submit(const Request& request, const CFeatureSet& lines)
{
    return Submit(request, std::make_shared<const CLinePairs>(lines));
}

uint64_t CPreviewRenderer::Submit(const Request& request, std::shared_ptr<const CLinePairs> lines)
{
    auto job = std::make_unique<Job>();
    job->request = request;
    job->lines = std::move(lines);
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        generation = ++m_nGeneration;
        job->generation = generation;
        if (m_pCurrent != nullptr && Supersedes(*m_pCurrent, job->request)) m_cancel.Cancel();
        m_pPending = std::move(job);
    }
    m_wake.notify_all();
    return generation;
}

void CPreviewRenderer::Hold(bool held)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bHeld = held;
        // A run takes the cores at once: the frame in progress is given up
        // (and made again after the hold).
        if (held && m_pCurrent != nullptr) m_cancel.Cancel();
    }
    m_wake.notify_all();
}

bool CPreviewRenderer::WaitIdle(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_idle.wait_for(lock, timeout, [this] { return !m_bBusy && !m_pPending; });
}

bool CPreviewRenderer::Deliver(const Job& job, bool half, CCancelToken::Ticket ticket)
{
    CRowPool* pool = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        pool = m_pPool;
    }
    // The bitmap of the last frame of this resolution is used again unless
    // the sink took it.
    Frame frame;
    CBitmap& spare = m_spare[half ? 1 : 0];
    frame.bitmap = std::move(spare);
    frame.generation = job.generation;
    frame.frame = job.request.frame;
    frame.steps = job.request.steps;
    frame.halfResolution = half;
    const auto start = std::chrono::steady_clock::now();
    const Engines::Outcome outcome = m_pEngines->Compute(job, half, pool, ticket, frame);
    frame.milliseconds = MillisecondsSince(start);
    if (outcome == Engines::Outcome::kAbandoned) {
        ++m_nAbandoned;
        spare = std::move(frame.bitmap);
        return false;
    }
    const bool made = outcome == Engines::Outcome::kMade;
    if (!made) frame.halfResolution = false;
    if (m_sink) m_sink(frame);
    ++m_nDelivered;
    // What paces the frames is the time until one is handed over, what the
    // sink does with it included.
    if (made && !half) {
        m_lastExactMs.store(MillisecondsSince(start));
        m_measuredKind = job.request.engineKind;
    }
    if (frame.bitmap.SizeBytes() > 0) spare = std::move(frame.bitmap);
    return true;
}

bool CPreviewRenderer::Run(std::unique_lock<std::mutex>& lock, const Job& job, bool half)
{
    // The ticket is issued under the lock that Submit and Hold take, so a
    // request made from here on can abandon this frame.
    m_pCurrent = &job;
    const CCancelToken::Ticket ticket = m_cancel.Issue();
    lock.unlock();
    const bool delivered = Deliver(job, half, ticket);
    lock.lock();
    m_pCurrent = nullptr;
    return delivered;
}

bool CPreviewRenderer::Supersedes(const Job& current, const Request& next)
{
    // An exact frame after the pointer rested is of no use once it moves
    // again; a frame of another k, engine, options or pictures never is.
    // A live frame of the same k goes on: abandoning it on every pointer
    // move would leave nothing shown while the pointer keeps moving.
    const Request& r = current.request;
    return current.exactOnly || r.frame != next.frame || r.steps != next.steps || r.engineKind != next.engineKind ||
           r.options != next.options || r.pictures[0] != next.pictures[0] || r.pictures[1] != next.pictures[1];
}

void CPreviewRenderer::Loop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto finish = [this](std::unique_ptr<Job> abandoned) {
        // A frame given up for a hold, with nothing newer waiting, is made
        // after the hold.
        if (abandoned && !m_pPending) m_pPending = std::move(abandoned);
        m_bBusy = false;
        m_idle.notify_all();
    };
    for (;;) {
        m_wake.wait(lock, [this] { return m_bStop || (m_pPending && !m_bHeld); });
        if (m_bStop) return;
        std::unique_ptr<Job> job = std::move(m_pPending);
        m_bBusy = true;
        // The time measured belongs to the pictures it was measured on.
        const bool slow = m_pEngines->SamePictures(job->request) && job->request.engineKind == m_measuredKind &&
                          m_lastExactMs.load() > m_budgetMs;
        if (!job->exactOnly && slow) {
            if (!Run(lock, *job, true)) {
                finish(std::move(job));
                continue;
            }
            // The exact frame once the request has rested.
            const bool superseded = m_wake.wait_for(lock, std::chrono::milliseconds(m_restMs),
                                                    [this] { return m_bStop || m_pPending != nullptr; });
            job->exactOnly = true;
            if (superseded || m_bHeld) {
                finish(superseded ? nullptr : std::move(job));
                continue;
            }
        }
        finish(Run(lock, *job, false) ? nullptr : std::move(job));
    }
}

void CPreviewRenderer::HalvePicture(const CBitmap& from, CBitmap& to)
{
    const int32_t w = from.Width(), h = from.Height();
    if (w <= 0 || h <= 0 || from.BitsPixel() != 32) {
        to.CreateCompatibleBitmap(0, 0);
        return;
    }
    const int32_t hw = (w + 1) / 2, hh = (h + 1) / 2;
    to.CreateCompatibleBitmap(hw, hh);
    const size_t pitch = static_cast<size_t>(from.WidthBytes());
    for (int32_t y = 0; y < hh; ++y) {
        const uint8_t* top = from.Bits() + static_cast<size_t>(2 * y) * pitch;
        const uint8_t* bottom = from.Bits() + static_cast<size_t>(std::min(2 * y + 1, h - 1)) * pitch;
        uint8_t* out = to.Bits() + static_cast<size_t>(y) * static_cast<size_t>(to.WidthBytes());
        for (int32_t x = 0; x < hw; ++x) {
            const size_t a = static_cast<size_t>(2 * x) * 4;
            const size_t b = static_cast<size_t>(std::min(2 * x + 1, w - 1)) * 4;
            for (size_t c = 0; c < 4; ++c)
                out[4 * static_cast<size_t>(x) + c] =
                    static_cast<uint8_t>((top[a + c] + top[b + c] + bottom[a + c] + bottom[b + c] + 2) / 4);
        }
    }
}
