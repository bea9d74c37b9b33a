#pragma once

#include "BITMAP.h"
#include "CBitmap.h"
#include "CCancelToken.h"
#include "CMorphOptions.h"
#include "morph/kernels/KernelDispatch.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CRowPool;

class CDC;
class CDocument;
class CLinePairs;

// Base of the morph engines: the source (image 0) and target (image 1)
// pictures as owned copies of their pixel bytes, and the number of steps N
// of the run. Frame k of N mixes the source with weight (N - k) / N and the
// target with weight k / N.
//
// An engine may be driven from any one thread at a time (not necessarily
// the same one each time); it keeps no reference to the document or the
// bitmaps between calls. A frame is spread over the threads of a row pool
// and is complete when Morph returns.
class ImageMorphing {
public:
    ImageMorphing();
    ImageMorphing(const ImageMorphing&) = delete;
    ImageMorphing& operator=(const ImageMorphing&) = delete;

    // Called after the frame was shown; does nothing.
    virtual void PostDraw(CDC* pDC);
    // Computes frame k of N into `out` (which should have image 0's size and
    // format). The result tells whether the engine wrote a frame (see each
    // engine). Frames outside 0 <= k <= N, runs with N < 1 and runs without
    // two usable pictures are refused: nothing is written and 0 returned.
    // kAbandoned: the cancel ticket was abandoned while the frame was being
    // computed, and `out` holds an unfinished frame.
    virtual int32_t Morph(CBitmap& out, int32_t k, CDocument* pDoc) = 0;
    // The same frame from the line pairs `lines` (see CLinePairs) instead
    // of a document's lines: byte for byte the frame of a document whose
    // lines they were taken from. Engines that use no lines compute their
    // frame as Morph does.
    virtual int32_t MorphPairs(CBitmap& out, int32_t k, const CLinePairs& lines);
    virtual ~ImageMorphing();

    // Copies the picture's description and pixel bytes into image record
    // `index` (0 source, 1 target), replacing what that record held.
    // Other indices are ignored.
    void LoadImage(const CBitmap& bitmap, int32_t index);
    // The same without a copy: the engine reads the picture's pixels for as
    // long as it holds them (until another picture replaces them), so the
    // picture must not change meanwhile.
    void ShareImage(std::shared_ptr<const CBitmap> bitmap, int32_t index);
    // 1 when both pictures have the same width, height and depth, and that
    // depth is at least 8 bits per pixel; otherwise 0.
    int32_t IsCompatible() const;
    void SetSteps(int32_t n);

    // Threads: by default the engine makes its own pool, one thread per
    // hardware thread, at its first frame. A shared pool may be given
    // instead (it must outlive the engine's use of it); nullptr returns to
    // the engine's own pool.
    void SetRowPool(CRowPool* pPool);
    // The ticket the next frames are computed under: the engine checks it
    // between slices of rows and gives up the frame once it is abandoned.
    // The default ticket is never abandoned.
    void SetCancelTicket(CCancelToken::Ticket ticket) { m_ticket = ticket; }
    static constexpr int32_t kAbandoned = -1;
    // Instruction-set path of the computation (frames are the same on every
    // path). The default takes the best the processor has.
    void SetKernelPath(MorphKernelPath path) { m_kernelPath = path; }
    // The path the next frame will take on this processor.
    MorphKernelPath GetKernelPath() const { return ResolveKernelPath(m_kernelPath); }
    // Warp only, easing and edges from the next frame on (the defaults give
    // the plain frames).
    void SetOptions(const CMorphOptions& options) { m_options = options; }
    const CMorphOptions& GetOptions() const { return m_options; }
    // Samples per pixel side of smooth feature-morph frames (an export
    // setting): 2 averages 2 x 2 samples per pixel; anything else is 1.
    // Classic frames and the dissolve ignore it.
    void SetSupersample(int32_t factor) { m_supersample = factor == 2 ? 2 : 1; }
    int32_t GetSupersample() const { return m_supersample; }

    BITMAP m_image[2];
    float m_fSteps = 0.0f;

protected:
    // True when frame k can be computed: N >= 1, 0 <= k <= N, both pixel
    // buffers present, at least one byte per pixel, and the target buffer at
    // least as long as the source's rows (the target is read with the
    // source's row pitch).
    bool CanMakeFrame(int32_t k) const;
    // Pixel bytes of image `index`; m_image[index].bmBits points at them.
    const uint8_t* Pixels(int32_t index) const { return m_pictures[index] ? m_pictures[index]->Bits() : nullptr; }
    size_t PixelBytes(int32_t index) const { return m_pictures[index] ? m_pictures[index]->SizeBytes() : 0; }
    // Byte count of a frame: bmWidthBytes x bmHeight of image 0.
    size_t FrameBytes() const;
    // The fractions t of frame k: s = k / N in double precision taken
    // through the options' shape curve (the lines) or colour curve (the
    // dissolve, kept within [0, 1]).
    double ShapeFraction(int32_t k) const;
    double ColourFraction(int32_t k) const;
    CRowPool& Pool();
    const CCancelToken::Ticket& Ticket() const { return m_ticket; }
    // Where a frame of `bytes` bytes is computed: straight into the output
    // bitmap's pixels when it holds at least that many, otherwise into a
    // buffer of the engine that FinishFrame copies over (as many bytes as
    // the bitmap takes).
    uint8_t* FrameTarget(CBitmap& out, size_t bytes);
    void FinishFrame(CBitmap& out, const uint8_t* frame, size_t bytes);

private:
    std::shared_ptr<const CBitmap> m_pictures[2];
    std::unique_ptr<CRowPool> m_ownPool;
    CRowPool* m_pPool = nullptr;
    MorphKernelPath m_kernelPath = MorphKernelPath::kAuto;
    CMorphOptions m_options;
    int32_t m_supersample = 1;
    std::vector<uint8_t> m_spareFrame;
    CCancelToken::Ticket m_ticket;
};
