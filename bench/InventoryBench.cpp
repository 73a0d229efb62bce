// Cost of building the file list against the bare cost of reading both folders.
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTOR_GUI=OFF -DQUINTOR_BENCH=ON
//   cmake --build build/bench --target inventory_bench && build/bench/bench/inventory_bench
//
// With the GUI on, the target refresh_bench runs the same and adds the main
// window's whole refresh (QUINTOR_GUI=ON, target refresh_bench).
//
// The folders are made once per size in a temporary folder and removed at exit.
#include "sync/Inventory.h"

#ifdef QUINTOR_BENCH_GUI
#include "BenchSettings.h"
#include "app/ApplicationWindows.h"
#include "ui/StatusListView.h"
#include "util/z_global.h"

#include <QApplication>
#endif

#include <benchmark/benchmark.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void MakeFile(const fs::path& path, std::time_t seconds)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path.string());
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    const int rc = futimens(fd, times);
    close(fd);
    if (rc != 0)
        throw std::runtime_error("cannot set the time of " + path.string());
}

// A local and a server folder of `perSide` files each: identical, newer on either
// side, missing locally, only local, and names differing only in letter case.
class FolderPair
{
public:
    explicit FolderPair(int perSide)
    {
        std::string pattern = (fs::temp_directory_path() / "quintor-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        root = pattern;
        local = root / "lokal";
        server = root / "server";
        fs::create_directory(local);
        fs::create_directory(server);

        const std::time_t base = 1'700'000'000; // an even second, so DOS times stay distinct
        // Each of the six kinds leaves one index out on one side, so six indices
        // give five files per side.
        const int indices = perSide / 5 * 6;
        for (int i = 0; i < indices; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "Vortrag_Quartalsbericht_%07d.pptx", i);
            const std::time_t t = base + 2 * std::time_t(i);
            switch (i % 6) {
            case 0: // identical
                MakeFile(local / name, t);
                MakeFile(server / name, t);
                break;
            case 1: // newer on the server
                MakeFile(local / name, t);
                MakeFile(server / name, t + 2);
                break;
            case 2: // changed locally
                MakeFile(local / name, t + 2);
                MakeFile(server / name, t);
                break;
            case 3: // missing locally
                MakeFile(server / name, t);
                break;
            case 4: // only local
                MakeFile(local / name, t);
                break;
            case 5: { // same file, other letter case on the server
                std::string upper = name;
                for (char& c : upper)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                MakeFile(local / name, t);
                MakeFile(server / upper, t);
                break;
            }
            }
        }
    }

    ~FolderPair()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    FolderPair(const FolderPair&) = delete;
    FolderPair& operator=(const FolderPair&) = delete;

    fs::path root, local, server;
};

FolderPair& Folders(int perSide)
{
    static std::map<int, std::unique_ptr<FolderPair>> made;
    auto& pair = made[perSide];
    if (!pair)
        pair = std::make_unique<FolderPair>(perSide);
    return *pair;
}

// The least any listing must do: read the folder and query each entry's status.
std::size_t ListAndStat(const fs::path& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    const int fd = dirfd(dir);
    std::size_t sum = 0;
    while (const dirent* ent = readdir(dir)) {
        if (std::strcmp(ent->d_name, ".") == 0 || std::strcmp(ent->d_name, "..") == 0)
            continue;
        struct stat st;
        if (fstatat(fd, ent->d_name, &st, 0) == 0)
            sum += static_cast<std::size_t>(st.st_mtime);
    }
    closedir(dir);
    return sum;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

filesync::InventoryRequest RequestFor(const FolderPair& pair)
{
    return filesync::InventoryRequest{pair.local.string(), pair.server.string(), "fileserver", true};
}

const filesync::PingFunction kHostAnswers = [](const std::string&) { return true; };

void BM_ListingFloor(benchmark::State& state)
{
    const FolderPair& pair = Folders(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ListAndStat(pair.local));
        benchmark::DoNotOptimize(ListAndStat(pair.server));
    }
}
BENCHMARK(BM_ListingFloor)->Arg(10'000)->Unit(benchmark::kMillisecond);

// Floor and inventory alternate within each iteration, so that both see the same
// state of the caches and the ratio is taken within one run.
void BM_Inventory(benchmark::State& state)
{
    const FolderPair& pair = Folders(static_cast<int>(state.range(0)));
    const auto request = RequestFor(pair);
    double floorSeconds = 0;
    double inventorySeconds = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ListAndStat(pair.local));
        benchmark::DoNotOptimize(ListAndStat(pair.server));
        floorSeconds += SecondsSince(start);

        start = std::chrono::steady_clock::now();
        const auto result = filesync::BuildInventory(request, kHostAnswers);
        const double seconds = SecondsSince(start);
        inventorySeconds += seconds;
        rows = result.size();
        state.SetIterationTime(seconds);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["floor_ms"] = floorSeconds / n * 1e3;
    state.counters["ratio"] = inventorySeconds / floorSeconds;
}
BENCHMARK(BM_Inventory)->Arg(10'000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Large folders, once: the time and the peak memory of the whole process.
void BM_InventoryLarge(benchmark::State& state)
{
    const FolderPair& pair = Folders(static_cast<int>(state.range(0)));
    const auto request = RequestFor(pair);
    std::size_t rows = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ListAndStat(pair.local));
        benchmark::DoNotOptimize(ListAndStat(pair.server));
        floorSeconds = SecondsSince(start);
        state.ResumeTiming();
        rows = filesync::BuildInventory(request, kHostAnswers).size();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["floor_ms"] = floorSeconds * 1e3;
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_InventoryLarge)->Arg(100'000)->Iterations(1)->Unit(benchmark::kMillisecond);

#ifdef QUINTOR_BENCH_GUI
// The window's whole refresh on the same folders: clearing the list, the
// inventory, filling the list view and painting it, through the real handler of
// the main window. The fixed 100 ms wait is taken out by a tick source that lets
// it end after its one pass of message processing; no host name, so no ping.
void BM_WholeRefresh(benchmark::State& state)
{
    const FolderPair& pair = Folders(static_cast<int>(state.range(0)));
    static ApplicationWindows* windows = [] {
        util::InstallTickSource([] {
            static std::uint32_t tick = 0;
            return tick += 1000;
        });
        auto* made = new ApplicationWindows;
        made->Form1.show();
        return made;
    }();
    util::RuntimeState& g = util::Global();
    g.CurrentLocalFolder = pair.local.string();
    g.CurrentServerFolder = pair.server.string();
    g.HostNameGerman.clear();
    g.LanguageFlag = 1;
    g.CompareWithServer = true;

    double floorSeconds = 0;
    double refreshSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ListAndStat(pair.local));
        benchmark::DoNotOptimize(ListAndStat(pair.server));
        floorSeconds += SecondsSince(start);

        start = std::chrono::steady_clock::now();
        windows->Form1.EncartaButtonAktAClick();
        windows->Form1.TntListViewAkt->repaint();
        QApplication::processEvents();
        const double seconds = SecondsSince(start);
        refreshSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["rows"] = windows->Form1.TntListViewAkt->statusModel()->rowCount();
    state.counters["floor_ms"] = floorSeconds / static_cast<double>(state.iterations()) * 1e3;
    state.counters["ratio"] = refreshSeconds / floorSeconds;
}
BENCHMARK(BM_WholeRefresh)->Arg(10'000)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

} // namespace

#ifdef QUINTOR_BENCH_GUI
int main(int argc, char** argv)
{
    std::string home = (fs::temp_directory_path() / "quintor-bench-home-XXXXXX").string();
    if (!mkdtemp(home.data()))
        throw std::runtime_error("cannot make a temporary home folder");
    bench::UseSettingsBelow(home);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    {
        QApplication app(argc, argv);
        util::InitialiseGlobalState();
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    fs::remove_all(home);
    return 0;
}
#else
BENCHMARK_MAIN();
#endif
