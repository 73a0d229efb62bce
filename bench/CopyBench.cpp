// Throughput of the bulk update against `cp -p` of the same files, measured in the
// same run, alternating which goes first; both end with a `sync`, so that each pays
// for getting its data to disk. Every shape runs twice: into an empty local folder
// (new files) and over older copies of every file (replaced files). The page cache
// is dropped before every measured run where the machine allows (root), else both
// run warm.
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTOR_GUI=OFF -DQUINTOR_BENCH=ON
//   cmake --build build/bench --target copy_bench && build/bench/bench/copy_bench [folder] [scale] [rounds]
//   [only] [settle]
//
// folder: where the files go (default: the system's temporary folder; it needs
// about three times the data, 3 GB at scale 1). scale: divides the file sizes.
// only: runs just the shapes whose name holds this text ("4 KiB"). settle: seconds
// that every run waits after the last removal of files (default 0).
//
// Before a replacing run the older copies are written back into the files the last
// run left, not removed and made anew. An ext4 without a journal does not hand out
// again the number of a file removed in the last minute and searches past each such
// number whenever it makes a file: thousands of removals just before a run would
// charge the contender that makes new files (the bulk update) for the set-up. The
// update's own removals still count against the next run unless `settle` (65 s on
// such a disk) lets them age, as between two updates of a working day.
#include "BenchFiles.h"
#include "platform/AtomicFile.h"
#include "sync/BulkUpdate.h"
#include "sync/FileStatus.h"
#include "util/StepPlan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

void EmptyFolder(const fs::path& folder)
{
    fs::remove_all(folder);
    fs::create_directory(folder);
}

struct Shape
{
    const char* name;
    std::size_t files;
    std::size_t bytesEach;
};

struct Contender
{
    const char* name;
    std::function<void()> run;
    std::vector<double> seconds = {};
};

void SyncAll()
{
    ::sync();
}

} // namespace

int main(int argc, char** argv)
{
    const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const std::size_t scale = argc > 2 ? static_cast<std::size_t>(std::max(1, std::atoi(argv[2]))) : 1;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    const std::string only = argc > 4 ? argv[4] : "";
    const std::chrono::seconds settle(argc > 5 ? std::max(0, std::atoi(argv[5])) : 0);
    const fs::path root = base / ("quintor-copy-bench-" + std::to_string(::getpid()));
    const fs::path server = root / "server";
    const fs::path local = root / "local";
    const fs::path older = root / "older"; // the local copies that a replacing run finds
    fs::create_directories(server);
    fs::create_directories(local);

    const bool cold = bench::DropPageCache();
    std::printf("page cache: %s; every run ends with sync; runs start %lld s after the last removal\n",
                cold ? "dropped before every run" : "cannot be dropped, warm runs",
                static_cast<long long>(settle.count()));
    auto lastRemoval = Clock::now();

    int status = 0;
    for (const Shape shape : {Shape{"3000 x 4 KiB", 3000, std::size_t{4} << 10},
                              Shape{"200 x 5 MB", 200, (std::size_t{5} << 20) / scale},
                              Shape{"2 x 500 MB", 2, (std::size_t{500} << 20) / scale}}) {
        if (std::string(shape.name).find(only) == std::string::npos)
            continue;
        EmptyFolder(server);
        EmptyFolder(older);
        lastRemoval = Clock::now();
        std::vector<filesync::FileRow> rows;
        std::vector<std::string> sources;
        for (std::size_t i = 0; i < shape.files; ++i) {
            const std::string name = "Vortrag " + std::to_string(i) + ".ppt";
            bench::MakeFile(server / name, shape.bytesEach, static_cast<unsigned>(i));
            bench::MakeFile(older / name, shape.bytesEach, static_cast<unsigned>(i) + 7);
            fs::last_write_time(older / name, fs::last_write_time(server / name) - std::chrono::hours(24));
            sources.push_back((server / name).string());
        }
        const double megabytes = static_cast<double>(shape.files * shape.bytesEach) / (1 << 20);

        for (const bool replacing : {false, true}) {
            rows.clear();
            for (std::size_t i = 0; i < shape.files; ++i) {
                const std::string name = "Vortrag " + std::to_string(i) + ".ppt";
                rows.push_back({name, name, std::nullopt, std::nullopt,
                                replacing ? filesync::StatusServerNewer : filesync::StatusMissingLocally});
            }
            std::vector<Contender> contenders{
                {"bulk update + sync",
                 [&] {
                     const auto plan = filesync::PlanBulkUpdate(rows, local.string(), server.string());
                     const auto summary = util::ExecutePlan(plan, {});
                     if (summary.done != shape.files)
                         throw std::runtime_error("bulk update copied too few files");
                     SyncAll();
                 }},
                {"cp -p + sync",
                 [&] {
                     if (bench::RunCp(sources, local) != 0)
                         throw std::runtime_error("cp -p failed");
                     SyncAll();
                 }},
            };
            for (int round = 0; round < rounds; ++round) {
                for (std::size_t k = 0; k < contenders.size(); ++k) {
                    // Rotate the order so that no contender always runs first.
                    const std::size_t which = (k + static_cast<std::size_t>(round)) % contenders.size();
                    auto& c = contenders[which];
                    if (replacing) {
                        for (const auto& entry : fs::directory_iterator(older))
                            fs::copy_file(entry.path(), local / entry.path().filename(),
                                          fs::copy_options::overwrite_existing);
                        for (const auto& entry : fs::directory_iterator(older))
                            fs::last_write_time(local / entry.path().filename(),
                                                fs::last_write_time(entry.path()));
                    } else {
                        EmptyFolder(local);
                        lastRemoval = Clock::now();
                    }
                    SyncAll();
                    std::this_thread::sleep_until(lastRemoval + settle);
                    if (cold)
                        bench::DropPageCache();
                    const auto start = Clock::now();
                    c.run();
                    c.seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
                    // The update replaces each copy by a new file and removes the old one.
                    if (replacing && which == 0)
                        lastRemoval = Clock::now();
                }
            }
            EmptyFolder(local);
            lastRemoval = Clock::now();

            const double cpRate = megabytes / bench::Median(contenders.back().seconds);
            std::printf("\n%s (%.0f MB), %s files, median of %d runs:\n", shape.name, megabytes,
                        replacing ? "replaced" : "new", rounds);
            for (const auto& c : contenders) {
                const double rate = megabytes / bench::Median(c.seconds);
                std::printf("  %-20s %8.3f s %8.1f MB/s   ratio to cp -p %.2f\n", c.name,
                            bench::Median(c.seconds), rate, rate / cpRate);
            }
            std::fflush(stdout);
            if (megabytes / bench::Median(contenders.front().seconds) < 0.8 * cpRate)
                status = 1;
        }
    }
    fs::remove_all(root);
    return status;
}
