#include "platform/FolderListing.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {
namespace {

std::filesystem::file_time_type ToFileTime(const struct timespec& ts)
{
    using namespace std::chrono;
    const sys_time<nanoseconds> sys{seconds(ts.tv_sec) + nanoseconds(ts.tv_nsec)};
    return time_point_cast<std::filesystem::file_time_type::duration>(file_clock::from_sys(sys));
}

bool IsDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

class DirCloser
{
public:
    explicit DirCloser(DIR* dir) : m_dir(dir) {}
    ~DirCloser() { closedir(m_dir); }
    DirCloser(const DirCloser&) = delete;
    DirCloser& operator=(const DirCloser&) = delete;

private:
    DIR* m_dir;
};

} // namespace

std::optional<std::vector<FolderEntry>> ListFolderFlat(const std::string& folder)
{
    if (folder.empty())
        return std::nullopt;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    const DirCloser closer(dir);
    const int fd = dirfd(dir);

    std::vector<FolderEntry> entries;
    for (;;) {
        errno = 0;
        const dirent* ent = readdir(dir);
        if (!ent) {
            if (errno != 0)
                return std::nullopt;
            break;
        }
        if (IsDotOrDotDot(ent->d_name))
            continue;
        // The type from the folder read spares a status query for folders and
        // special files; links and unknown types need one to learn what they are.
        switch (ent->d_type) {
        case DT_REG:
        case DT_LNK:
        case DT_UNKNOWN:
            break;
        default:
            continue;
        }
        struct stat st;
        if (fstatat(fd, ent->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            continue;
        entries.push_back(FolderEntry{std::string(ent->d_name), ToFileTime(st.st_mtim),
                                      static_cast<std::uint64_t>(st.st_size)});
    }
    return entries;
}

} // namespace platform
