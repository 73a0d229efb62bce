#pragma once

#include <cstddef>
#include <filesystem>
#include <iterator>

namespace testsupport {

// How many files this process holds open, counted in /proc.
inline std::size_t OpenFileCount()
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                                  std::filesystem::directory_iterator()));
}

} // namespace testsupport
