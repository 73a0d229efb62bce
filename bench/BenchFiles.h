#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// What the copy benchmarks share: their files, the cold cache and `cp -p` as the
// yardstick.
namespace bench {

// A file of `size` bytes whose content depends on `seed`, last written a month ago.
void MakeFile(const std::filesystem::path& path, std::size_t size, unsigned seed);

// Writes everything out and drops the page cache; false where the machine does not
// allow it (not root), so runs stay warm.
bool DropPageCache();

// `cp -p` of the sources into the folder; its exit status, -1 when it could not run.
int RunCp(const std::vector<std::string>& sources, const std::filesystem::path& target);

double Median(std::vector<double> values);

} // namespace bench
