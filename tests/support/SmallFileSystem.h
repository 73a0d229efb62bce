#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace testsupport {

struct SmallFileSystemOutcome
{
    bool made = false; // false: the machine cannot mount one here; see whyNot
    std::string whyNot;
    int value = -1; // what the body returned
};

// Runs body in a forked child in a mount namespace of its own, with a memory file
// system of sizeBytes mounted over the folder mountPoint (which must exist). The
// mount is never seen outside the child and goes with it, so the body has to check
// what it wrote itself and report through its return value.
SmallFileSystemOutcome RunWithSmallFileSystem(const std::string& mountPoint, std::size_t sizeBytes,
                                              const std::function<int()>& body);

} // namespace testsupport
