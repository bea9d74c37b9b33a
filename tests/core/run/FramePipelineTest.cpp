#include "run/CFramePipeline.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

namespace {

// A frame that cannot be had for want of memory ends a sequence before it
// and reaches a single frame's receiver as such, not as an abandoned frame.
TEST(FramePipeline, AFrameWithoutMemoryEndsTheSequenceAndIsToldAsSuch)
{
    CFramePipeline pipeline([](int32_t k, CBitmap&, CCancelToken::Ticket) -> bool {
        if (k == 2) throw std::bad_alloc();
        return true;
    });
    const CCancelToken token;
    std::vector<int32_t> written;
    const CFramePipeline::Outcome outcome = pipeline.Run(
        {0, 1, 2, 3},
        [&written](size_t, int32_t k, const CBitmap&) {
            written.push_back(k);
            return true;
        },
        token.Issue());
    EXPECT_EQ(written, (std::vector<int32_t>{0, 1}));
    EXPECT_TRUE(outcome.outOfMemory);
    EXPECT_EQ(outcome.failedFrame, 2);

    for (const int32_t k : {1, 2}) {
        bool told = false;
        bool lacking = false;
        const CBitmap* got = nullptr;
        pipeline.Post(k, token.Issue(), [&](int32_t, const CBitmap* frame, bool outOfMemory) {
            told = true;
            got = frame;
            lacking = outOfMemory;
        });
        pipeline.WaitIdle();
        ASSERT_TRUE(told);
        EXPECT_EQ(got == nullptr, k == 2);
        EXPECT_EQ(lacking, k == 2);
    }
}

} // namespace
