#include "sync/RowCommands.h"

#include "platform/FileDelete.h"
#include "sync/FolderPath.h"
#include "sync/ServerFolder.h"

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

util::Outcome<> UpdateRow(const FileRow& row, const std::string& localFolder, const std::string& serverFolder,
                          const CopyChunkCallback& afterChunk)
{
    RemoveCopyLeftovers(localFolder);
    return CopyFromServer(ServerFilePath(serverFolder, ServerNameOf(row)),
                          PathInFolder(localFolder, row.name), afterChunk);
}

util::Outcome<> DeleteRowLocally(const FileRow& row, const std::string& localFolder)
{
    switch (platform::DeleteRegularFile(PathInFolder(localFolder, row.name))) {
    case platform::DeleteOutcome::NoFile:
        return util::Nothing();
    case platform::DeleteOutcome::Deleted:
        return util::Done();
    case platform::DeleteOutcome::Refused:
        break;
    }
    return util::Failed(std::string(kDeleteFailedMessage));
}

} // namespace filesync
