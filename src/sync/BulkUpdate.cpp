#include "sync/BulkUpdate.h"

#include "sync/FileStatus.h"
#include "sync/FolderPath.h"
#include "sync/ServerFolder.h"
#include "text/Utf8Path.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

namespace filesync {
namespace {

bool FolderExists(const std::string& folder)
{
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_directory(text::PathFromUtf8(folder), ec);
}

// The server files that an update copies, in the order its steps take them. The
// server folder is found once, at the first copy: for a share's address that means
// reading the mount table, which is not worth doing again for every file.
class UpdateSources
{
public:
    explicit UpdateSources(std::string serverFolder) : m_serverFolder(std::move(serverFolder)) {}

    void Add(std::string serverName) { m_names.push_back(std::move(serverName)); }
    std::size_t Count() const { return m_names.size(); }

    std::string PathOf(std::size_t copy)
    {
        if (!m_located)
            m_located = LocateServerFolder(m_serverFolder).path;
        return PathInFolder(*m_located, m_names[copy]);
    }

private:
    std::string m_serverFolder;
    std::vector<std::string> m_names;
    std::optional<std::string> m_located;
};

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
    const auto sources = std::make_shared<UpdateSources>(serverFolder);
    plan.steps.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        util::PlanStep step{rows[i].name, util::StepProgress(i + 1, count), {}};
        if (NeedsUpdate(rows[i].status)) {
            const std::size_t copy = sources->Count();
            sources->Add(ServerNameOf(rows[i]));
            step.work = [batch, sources, copy, target = PathInFolder(localFolder, rows[i].name), afterChunk] {
                // The batch holds the sources of the next few copies; each copy
                // starts reading the one that has just come within reach, the
                // first copy all of them.
                constexpr std::size_t reach = CopyBatch::kMostReadAhead - 1;
                const std::size_t last = std::min(copy + reach, sources->Count() - 1);
                for (std::size_t next = copy == 0 ? 1 : copy + reach; next <= last; ++next)
                    batch->ReadAhead(sources->PathOf(next));
                auto outcome = batch->Copy(sources->PathOf(copy), target, afterChunk);
                if (copy + 1 == sources->Count())
                    batch->StopReadingAhead();
                return outcome;
            };
        }
        plan.steps.push_back(std::move(step));
    }
    return plan;
}

} // namespace filesync
