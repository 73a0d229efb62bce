#include "platform/FolderListing.h"
#include "support/HangingFolder.h"
#include "support/TempDir.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(FileWorkOnAHangingFolder, TheWaitingThreadKeepsPumpingAndTheListingEndsWhenTheServerAnswers)
{
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir / "backing");
    std::filesystem::create_directory(dir / "share");
    testsupport::WriteFile(dir / "backing" / "Vortrag.ppt", "inhalt");
    testsupport::HangingFolder share((dir / "backing").string(), (dir / "share").string(),
                                     (dir / "hold").string());
    if (!share.made())
        GTEST_SKIP() << share.whyNot();

    share.Hold();
    std::thread letGo([&] {
        std::this_thread::sleep_for(1500ms);
        share.LetGo();
    });
    auto last = Clock::now();
    auto longestGap = Clock::duration::zero();
    util::InstallMessagePump([&] {
        const auto now = Clock::now();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });
    const auto started = Clock::now();
    const auto listing = util::RunFileWorkFor(
        [folder = share.path()](util::WorkProgress&) { return platform::ListFolderFlat(folder); });
    const auto waited = Clock::now() - started;
    letGo.join();
    util::InstallMessagePump({});

    // It really hung, and the window thread was never held for long meanwhile.
    EXPECT_GE(waited, 1400ms);
    EXPECT_LT(longestGap, 250ms);
    ASSERT_TRUE(listing.has_value() && listing->has_value());
    ASSERT_EQ((*listing)->size(), 1u);
    EXPECT_EQ((*listing)->front().name, "Vortrag.ppt");
}

} // namespace
