#include "BenchFiles.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace bench {

void MakeFile(const fs::path& path, std::size_t size, unsigned seed)
{
    std::vector<char> block(std::size_t{1} << 20);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::size_t done = 0; done < size;) {
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>((i * 2654435761u + done + seed) >> 7);
        const std::size_t n = std::min(block.size(), size - done);
        out.write(block.data(), static_cast<std::streamsize>(n));
        done += n;
    }
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    out.close();
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 30));
}

bool DropPageCache()
{
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3";
    drop.flush();
    return static_cast<bool>(drop);
}

int RunCp(const std::vector<std::string>& sources, const fs::path& target)
{
    std::vector<std::string> args{"cp", "-p"};
    args.insert(args.end(), sources.begin(), sources.end());
    args.push_back(target.string() + "/");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cp", nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace bench
