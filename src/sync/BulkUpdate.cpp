#include "sync/BulkUpdate.h"

#include "sync/FileStatus.h"
#include "sync/FolderPath.h"
#include "sync/ServerFolder.h"
#include "text/Utf8Path.h"

#include <filesystem>
#include <memory>

namespace filesync {
namespace {

bool FolderExists(const std::string& folder)
{
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_directory(text::PathFromUtf8(folder), ec);
}

} // namespace

bool HasRowsToUpdate(const std::vector<FileRow>& rows)
{
    return CountNeedingUpdate(rows) > 0;
}

bool BothLocalFoldersExist(const std::string& germanLocalFolder, const std::string& englishLocalFolder)
{
    return FolderExists(germanLocalFolder) && FolderExists(englishLocalFolder);
}

util::StepPlan PlanBulkUpdate(const std::vector<FileRow>& rows, const std::string& localFolder,
                              const std::string& serverFolder, const CopyChunkCallback& afterChunk)
{
    util::StepPlan plan;
    plan.prepare = [localFolder] { RemoveCopyLeftovers(localFolder); };
    const auto batch = std::make_shared<CopyBatch>();
    plan.batch = batch;
    const std::size_t count = CountNeedingUpdate(rows);
    plan.steps.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        util::PlanStep step{rows[i].name, util::StepProgress(i + 1, count), {}};
        if (NeedsUpdate(rows[i].status))
            step.work = [batch, serverFolder, name = ServerNameOf(rows[i]),
                         target = PathInFolder(localFolder, rows[i].name), afterChunk] {
                return batch->Copy(ServerFilePath(serverFolder, name), target, afterChunk);
            };
        plan.steps.push_back(std::move(step));
    }
    return plan;
}

} // namespace filesync
