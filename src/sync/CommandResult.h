#pragma once

#include <string>
#include <string_view>

namespace filesync {

inline constexpr std::string_view kCopyFailedMessage = "Datei konnte nicht kopiert werden.";
inline constexpr std::string_view kDeleteFailedMessage = "Datei konnte nicht gelöscht werden";

enum class CommandCode
{
    Nothing,      // nothing to do for the file; nothing to show
    Done,         // copied or deleted
    CopyFailed,   // the local file is as it was
    DeleteFailed, // the local file is still there
};

// What a command on local copies did, for the window to show: the message (in a
// plain message box) when not empty, then a refresh of the list when asked for.
struct CommandResult
{
    CommandCode code = CommandCode::Nothing;
    std::string message;
    bool refresh = false;

    bool operator==(const CommandResult&) const = default;
};

} // namespace filesync
