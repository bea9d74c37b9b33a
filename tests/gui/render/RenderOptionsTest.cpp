#include "render/CRenderOptions.h"

#include <gtest/gtest.h>

namespace {

std::optional<std::string> Parse(std::vector<std::string> args, CRenderOptions& out)
{
    return CRenderOptions::Parse(args, out);
}

TEST(RenderOptions, DefaultsAndAllSwitches)
{
    CRenderOptions o;
    ASSERT_FALSE(Parse({"p.tvl"}, o));
    EXPECT_EQ(o.steps, 10);
    EXPECT_TRUE(o.featureEngine);
    EXPECT_FALSE(o.motionJpeg);
    EXPECT_FALSE(o.clean);
    EXPECT_EQ(o.project, "p.tvl");

    CRenderOptions all;
    ASSERT_FALSE(Parse({"--steps", "100", "--engine=dissolve", "--codec", "mjpeg", "--clean", "/abs/path/x.tvl"}, all));
    EXPECT_EQ(all.steps, 100);
    EXPECT_FALSE(all.featureEngine);
    EXPECT_TRUE(all.motionJpeg);
    EXPECT_TRUE(all.clean);
    EXPECT_EQ(all.project, "/abs/path/x.tvl") << "a leading slash is a path, not a switch";

    CRenderOptions one;
    ASSERT_FALSE(Parse({"--steps=1", "p.tvl"}, one));
    EXPECT_EQ(one.steps, 1);
}

TEST(RenderOptions, RejectsBadValuesAndShapes)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"--steps", "0", "p.tvl"},
             {"--steps", "101", "p.tvl"},
             {"--steps", "-3", "p.tvl"},
             {"--steps", "ten", "p.tvl"},
             {"--steps", "5x", "p.tvl"},
             {"--steps"},
             {"--engine", "warp", "p.tvl"},
             {"--codec", "h264", "p.tvl"},
             {"--frobnicate", "p.tvl"},
             {"--clean=yes", "p.tvl"},
             {"a.tvl", "b.tvl"},
         }) {
        CRenderOptions o;
        const std::optional<std::string> problem = Parse(args, o);
        ASSERT_TRUE(problem.has_value()) << "accepted: " << ::testing::PrintToString(args);
        EXPECT_FALSE(problem->empty());
    }
}

TEST(RenderOptions, HelpIsNotAnError)
{
    CRenderOptions o;
    const std::optional<std::string> problem = Parse({"--help"}, o);
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->empty());
}

} // namespace
