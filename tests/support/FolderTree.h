#pragma once

#include "support/FolderSnapshot.h"
#include "support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Folders described as data: built in one call, snapshotted with everything in
// them, and compared with a failure message that names each differing entry.
namespace testsupport {

// One entry of a folder: a file with its content and last-write time (a DOS
// date-time, local time; none: the time of writing), or a folder. The name may
// hold '/' for an entry in a subfolder.
struct Entry
{
    std::string name;
    std::string content;
    std::optional<std::uint32_t> time;
    bool folder = false;
};

Entry File(std::string name, std::string content = {}, std::optional<std::uint32_t> time = std::nullopt);
Entry Folder(std::string name);

using Tree = std::vector<Entry>;

// Writes the entries into the folder in the given order, making subfolders as
// needed; an existing file of the same name is replaced.
void Build(const std::filesystem::path& folder, const Tree& tree);
inline void Build(const TempDir& folder, const Tree& tree)
{
    Build(folder.path(), tree);
}

// Every entry below the folder by its path relative to it ("qPPP_Profile/P/a.ppt");
// folders show as "<folder>", links and other non-files as "<not a file>".
FolderSnapshot SnapshotTree(const std::filesystem::path& folder);

// Equal snapshots, or a failure listing what is missing, what is extra and what
// changed (content, size, last-write time as a date).
::testing::AssertionResult SameSnapshot(const FolderSnapshot& expected, const FolderSnapshot& actual);

// The folder holds exactly the described entries; a described file without a
// time is compared by content only.
::testing::AssertionResult FolderHolds(const std::filesystem::path& folder, const Tree& tree);

} // namespace testsupport
