#include "sync/FileStatus.h"

namespace filesync {

StatusCounts CountByStatus(const std::vector<FileRow>& rows)
{
    StatusCounts counts{};
    for (const FileRow& row : rows)
        if (row.status >= 0 && row.status < kStatusCount)
            ++counts[static_cast<std::size_t>(row.status)];
    return counts;
}

std::size_t CountNeedingUpdate(const std::vector<FileRow>& rows)
{
    const StatusCounts counts = CountByStatus(rows);
    return counts[StatusServerNewer] + counts[StatusMissingLocally];
}

} // namespace filesync
