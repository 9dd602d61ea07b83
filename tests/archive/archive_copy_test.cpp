#include <gtest/gtest.h>

#include "archive_engines.h"
#include "archive_lines.h"
#include "pelorin/archive_store.h"

namespace {

using pelorin::ArchiveAccess;
using testarchive::Engine;
using testarchive::entries;
using testarchive::logLine;

struct CopyCase {
    Engine from;
    Engine to;
};

class ArchiveCopyTest : public ::testing::TestWithParam<CopyCase> {
  protected:
    void SetUp() override {
        PELORIN_REQUIRE_ENGINE(fromLocations_);
        PELORIN_REQUIRE_ENGINE(toLocations_);
    }
    testarchive::ArchiveLocations fromLocations_{GetParam().from};
    testarchive::ArchiveLocations toLocations_{GetParam().to};
};

// A station that was offline pushes its passes later: the copy brings what the other side
// lacks, keeps what it has, survives being cut short, and a second run adds nothing.
TEST_P(ArchiveCopyTest, CopyingBringsWhatIsLackingOnceEvenWhenCutShort) {
    constexpr std::size_t kBatch = 7;
    std::vector<std::string> ours;
    std::vector<std::string> theirs;
    for (unsigned k = 0; k < 40; ++k) {
        const std::string stamp =
            "2026-12-08T11:0" + std::to_string(k / 10) + ":" + std::to_string(10 + k) + "Z";
        ours.push_back(logLine(k, k % 4 == 0 ? "" : stamp));
        if (k % 3 == 0) {
            theirs.push_back(logLine(k, "2026-12-08T10:00:00Z"));
        }
    }
    theirs.push_back(logLine(500));
    auto from = pelorin::OpenArchive(fromLocations_.fresh(), ArchiveAccess::Write);
    from->add(entries(ours, "W1ABC", "/logs/ours.log"));
    const auto reference = pelorin::OpenArchive(toLocations_.fresh(), ArchiveAccess::Write);
    const auto to = pelorin::OpenArchive(toLocations_.fresh(), ArchiveAccess::Write);
    for (auto* store : {reference.get(), to.get()}) {
        store->add(entries(theirs, "K2XYZ", "/logs/theirs.log"));
    }
    reference->add(entries(ours, "W1ABC", "/logs/ours.log"));

    int batches = 0;
    const pelorin::AddCounts cut =
        pelorin::CopyArchive(*from, *to, kBatch, [&batches] { return ++batches <= 2; });
    EXPECT_EQ(cut.newReceptions, static_cast<std::int64_t>(2 * kBatch));
    const pelorin::AddCounts rest = pelorin::CopyArchive(*from, *to, kBatch);
    EXPECT_EQ(cut.newReceptions + rest.newReceptions, static_cast<std::int64_t>(ours.size()));
    EXPECT_EQ(pelorin::CopyArchive(*from, *to, kBatch).newReceptions, 0);
    EXPECT_EQ(testarchive::frameDump(*to), testarchive::frameDump(*reference));
    EXPECT_EQ(to->stats().receptions, reference->stats().receptions);
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveCopyTest,
                         ::testing::Values(CopyCase{Engine::Sqlite, Engine::Sqlite},
                                           CopyCase{Engine::Sqlite, Engine::Postgres},
                                           CopyCase{Engine::Postgres, Engine::Sqlite}),
                         [](const auto& info) {
                             return testarchive::EngineName({info.param.from, 0}) + "To" +
                                    testarchive::EngineName({info.param.to, 0});
                         });

}  // namespace
