#include "sync/RowCommands.h"

#include "platform/FileDelete.h"
#include "sync/FolderPath.h"

namespace filesync {
namespace {

std::string FourLineQuestion(std::string_view first, std::string_view caption, std::string_view last)
{
    std::string text(first);
    text.append(caption).append("\r\r").append(last);
    return text;
}

} // namespace

std::string UpdateRowQuestion(std::string_view caption)
{
    return FourLineQuestion("Wollen Sie die ausgewählte Datei   \r", caption,
                            "lokal wirklich aktualisieren?");
}

std::string DeleteRowQuestion(std::string_view caption)
{
    return FourLineQuestion("Wollen Sie die asugewählte Datei   \r", caption, "lokal wirklich löschen?");
}

CommandResult UpdateRow(const FileRow& row, const std::string& localFolder, const std::string& serverFolder,
                        const CopyChunkCallback& afterChunk)
{
    RemoveCopyLeftovers(localFolder);
    const auto copy =
        CopyFromServer(PathInFolder(serverFolder, row.name), PathInFolder(localFolder, row.name), afterChunk);
    switch (copy.outcome) {
    case ServerCopyOutcome::SourceMissing:
        return {};
    case ServerCopyOutcome::Copied:
        return {CommandCode::Done, {}, true};
    case ServerCopyOutcome::Failed:
        break;
    }
    return {CommandCode::CopyFailed, std::string(kCopyFailedMessage), true};
}

CommandResult DeleteRowLocally(const FileRow& row, const std::string& localFolder)
{
    switch (platform::DeleteRegularFile(PathInFolder(localFolder, row.name))) {
    case platform::DeleteOutcome::NoFile:
        return {};
    case platform::DeleteOutcome::Deleted:
        return {CommandCode::Done, {}, true};
    case platform::DeleteOutcome::Refused:
        break;
    }
    return {CommandCode::DeleteFailed, std::string(kDeleteFailedMessage), false};
}

} // namespace filesync
