#include "sync/BulkUpdate.h"

#include "sync/FileStatus.h"
#include "sync/FolderPath.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace filesync {
namespace {

int RoundHalfToEven(double value)
{
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<int>(whole);
}

bool FolderExists(const std::string& folder)
{
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_directory(folder, ec);
}

} // namespace

bool NeedsUpdate(int status)
{
    return status == StatusServerNewer || status == StatusMissingLocally;
}

bool HasRowsToUpdate(const std::vector<FileRow>& rows)
{
    return std::any_of(rows.begin(), rows.end(), [](const FileRow& row) { return NeedsUpdate(row.status); });
}

bool BothLocalFoldersExist(const std::string& germanLocalFolder, const std::string& englishLocalFolder)
{
    return FolderExists(germanLocalFolder) && FolderExists(englishLocalFolder);
}

int BulkUpdateProgress(std::size_t position, std::size_t count)
{
    if (count == 0)
        return 0;
    const double step = 100.0 / static_cast<double>(count);
    return std::min(RoundHalfToEven(static_cast<double>(position) * step), 100);
}

BulkUpdatePlan PlanBulkUpdate(const std::vector<FileRow>& rows, const std::string& localFolder,
                              const std::string& serverFolder)
{
    BulkUpdatePlan plan;
    plan.localFolder = localFolder;
    plan.count = static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(), [](const FileRow& row) { return NeedsUpdate(row.status); }));
    plan.steps.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        BulkUpdateStep step;
        step.position = i + 1;
        step.copy = NeedsUpdate(rows[i].status);
        if (step.copy) {
            step.source = PathInFolder(serverFolder, rows[i].name);
            step.target = PathInFolder(localFolder, rows[i].name);
        }
        step.progress = BulkUpdateProgress(step.position, plan.count);
        plan.steps.push_back(std::move(step));
    }
    return plan;
}

BulkUpdateSummary ExecuteBulkUpdate(const BulkUpdatePlan& plan, const BulkRowCallback& afterRow,
                                    const CopyChunkCallback& afterChunk)
{
    RemoveCopyLeftovers(plan.localFolder);
    BulkUpdateSummary summary;
    for (const auto& step : plan.steps) {
        BulkRowReport report{step.position, step.progress, {}};
        if (step.copy) {
            switch (CopyFromServer(step.source, step.target, afterChunk).outcome) {
            case ServerCopyOutcome::Copied:
                ++summary.copied;
                report.result.code = CommandCode::Done;
                break;
            case ServerCopyOutcome::SourceMissing:
                ++summary.passedOver;
                break;
            case ServerCopyOutcome::Failed:
                ++summary.failed;
                report.result = {CommandCode::CopyFailed, std::string(kCopyFailedMessage), false};
                break;
            }
        }
        if (afterRow)
            afterRow(report);
    }
    return summary;
}

} // namespace filesync
