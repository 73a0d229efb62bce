#include "support/FolderSnapshot.h"

#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace testsupport {

FolderSnapshot SnapshotFolder(const fs::path& folder)
{
    FolderSnapshot snapshot;
    for (const auto& entry : fs::directory_iterator(folder)) {
        FileSnapshot file;
        if (entry.is_regular_file() && !entry.is_symlink()) {
            file.content = ReadFile(entry.path());
            file.time = entry.last_write_time();
        } else {
            file.content = "<not a file>";
        }
        snapshot.emplace(entry.path().filename().string(), std::move(file));
    }
    return snapshot;
}

void PrintTo(const FileSnapshot& file, std::ostream* os)
{
    const auto shown = file.content.size() > 40 ? file.content.substr(0, 40) + "..." : file.content;
    *os << "{" << file.content.size() << " bytes \"" << shown << "\", time "
        << file.time.time_since_epoch().count() << "}";
}

} // namespace testsupport
