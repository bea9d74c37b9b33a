#include "files/CReplacingFile.h"
#include "support/CTempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Durability = CReplacingFile::Durability;
using Existing = CReplacingFile::Existing;

namespace {

std::set<std::string> Names(const CTempDir& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path())) {
        names.insert(e.path().filename().string());
    }
    return names;
}

// A program killed while writing each kind of output leaves its temporary
// file; the sweep removes those and nothing else: not the outputs, not
// names that only look alike, not a folder, not what the caller disowns.
TEST(ReplacingFile, RemoveLeftoversSweepsEveryKindOfOutputAndNothingElse)
{
    CTempDir dir;
    const std::string longName = std::string(250, 'x') + ".png";
    const struct {
        std::string name;
        Durability durability;
        Existing existing;
    } outputs[] = {
        {"Frame-3.bmp", Durability::kUnflushed, Existing::kReplaced},  // a run's frame file
        {"trevalin.avi", Durability::kUnflushed, Existing::kReplaced}, // a run's video
        {"clip.mp4", Durability::kFlushed, Existing::kReplaced},       // an export
        {longName, Durability::kFlushed, Existing::kReplaced},         // an export with a long name
        {"project.tvl", Durability::kFlushed, Existing::kUpdated},     // a saved project
    };
    for (const auto& output : outputs) {
        std::ofstream(dir / output.name) << "old";
    }
    // The last one is a live process's (this one's): it may still be writing it.
    for (const std::string& name :
         {std::string("notes.tmp-1-x"), std::string("clip.mp4.tmp-12"), std::string("other.tmp-1-2"),
          "clip.mp4.tmp-" + std::to_string(::getpid()) + "-7"}) {
        std::ofstream(dir / name) << "kept";
    }
    fs::create_directory(dir / "clip.mp4.tmp-1-2");
    const std::set<std::string> kept = Names(dir);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (const auto& output : outputs) {
            auto* file = new CReplacingFile; // never destroyed: the program dies
            if (file->Create((dir / output.name).string(), output.durability, output.existing) != 0 ||
                !file->File().Write("new", 3)) {
                ::_exit(1);
            }
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(Names(dir).size(), kept.size() + std::size(outputs));

    std::set<std::string> offered;
    CReplacingFile::RemoveLeftovers(dir.Str(), [&](const std::string& name) {
        offered.insert(name);
        return name != "other";
    });
    EXPECT_EQ(Names(dir), kept);
    EXPECT_EQ(offered.size(), std::size(outputs) + 1);
    EXPECT_EQ(offered.count(longName.substr(0, CReplacingFile::kMaxKeptName)), 1u);
}

} // namespace
