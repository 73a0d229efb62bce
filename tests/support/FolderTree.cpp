#include "support/FolderTree.h"

#include "platform/DosTime.h"
#include "support/TempDir.h"

#include <sstream>

namespace fs = std::filesystem;

namespace testsupport {
namespace {

const std::string kFolderMark = "<folder>";

std::string Shown(const std::string& content)
{
    std::string text = content.size() > 40 ? content.substr(0, 40) + "..." : content;
    return "\"" + text + "\" (" + std::to_string(content.size()) + " bytes)";
}

std::string TimeText(fs::file_time_type time)
{
    const auto dos = platform::ToDosDateTime(time);
    if (!dos)
        return "?";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", 1980 + (*dos >> 25),
                  (*dos >> 21) & 0x0F, (*dos >> 16) & 0x1F, (*dos >> 11) & 0x1F, (*dos >> 5) & 0x3F,
                  (*dos & 0x1F) * 2);
    return text;
}

void Describe(std::ostream& out, const std::string& name, const FileSnapshot& expected,
              const FileSnapshot& actual)
{
    out << "\n  changed " << name << ":";
    if (expected.content != actual.content)
        out << " content " << Shown(expected.content) << " -> " << Shown(actual.content);
    if (expected.time != actual.time)
        out << " time " << TimeText(expected.time) << " -> " << TimeText(actual.time);
}

} // namespace

Entry File(std::string name, std::string content, std::optional<std::uint32_t> time)
{
    return {std::move(name), std::move(content), time, false};
}

Entry Folder(std::string name)
{
    return {std::move(name), {}, std::nullopt, true};
}

void Build(const fs::path& folder, const Tree& tree)
{
    for (const Entry& entry : tree) {
        const fs::path path = folder / entry.name;
        if (entry.folder) {
            fs::create_directories(path);
            continue;
        }
        fs::create_directories(path.parent_path());
        if (entry.time)
            WriteFileAt(path, entry.content, *entry.time);
        else
            WriteFile(path, entry.content);
    }
}

FolderSnapshot SnapshotTree(const fs::path& folder)
{
    FolderSnapshot snapshot;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = fs::relative(it->path(), folder).generic_string();
        FileSnapshot file;
        if (it->is_symlink()) {
            file.content = "<not a file>";
            it.disable_recursion_pending();
        } else if (it->is_directory()) {
            file.content = kFolderMark;
        } else if (it->is_regular_file()) {
            file.content = ReadFile(it->path());
            file.time = it->last_write_time();
        } else {
            file.content = "<not a file>";
        }
        snapshot.emplace(name, std::move(file));
    }
    return snapshot;
}

::testing::AssertionResult SameSnapshot(const FolderSnapshot& expected, const FolderSnapshot& actual)
{
    std::ostringstream out;
    for (const auto& [name, file] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end())
            out << "\n  missing " << name << " " << Shown(file.content);
        else if (!(found->second == file))
            Describe(out, name, file, found->second);
    }
    for (const auto& [name, file] : actual)
        if (!expected.contains(name))
            out << "\n  extra " << name << " " << Shown(file.content);
    if (out.str().empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the folders differ:" << out.str();
}

::testing::AssertionResult FolderHolds(const fs::path& folder, const Tree& tree)
{
    FolderSnapshot actual = SnapshotTree(folder);
    FolderSnapshot expected;
    for (const Entry& entry : tree) {
        // The folders on the way to an entry are part of what the tree describes.
        for (fs::path parent = fs::path(entry.name).parent_path(); !parent.empty();
             parent = parent.parent_path())
            expected[parent.generic_string()] = {kFolderMark, {}};
        FileSnapshot file;
        file.content = entry.folder ? kFolderMark : entry.content;
        if (entry.time)
            file.time = platform::FromDosDateTime(*entry.time);
        else if (const auto found = actual.find(entry.name); found != actual.end())
            file.time = found->second.time;
        expected[entry.name] = file;
    }
    return SameSnapshot(expected, actual);
}

} // namespace testsupport
