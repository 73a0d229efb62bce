#pragma once

#include <atomic>
#include <cstdint>
#include <random>

namespace platform {

// A number for a temporary file's name, different with every call. Only the first
// call asks the system for randomness, which costs more than a small copy does.
// Consecutive numbers are mixed so that names do not follow each other in order;
// creating the file exclusively catches the rare clash with another process.
inline unsigned TemporaryNameNumber()
{
    static std::atomic<std::uint64_t> next{std::random_device()()};
    std::uint64_t x = next.fetch_add(0x9E3779B97F4A7C15u);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    return static_cast<unsigned>(x ^ (x >> 31));
}

} // namespace platform
