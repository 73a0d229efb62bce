#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace filesync {

// A server folder written as a network path: "\\host\share\...", "//host/share/..."
// (after the two leading delimiters either delimiter separates) or
// "smb://[user[:password]@]host[:port]/share/..." (percent-encoding decoded).
struct ShareAddress
{
    std::string host;
    // Whether a delimiter follows the host: "\\srv01\" names its host, "\\srv01" does not.
    bool hostEnded = false;
    std::string share;
    std::vector<std::string> folders; // below the share, one name per level
    // Host and share named, and no folder name that leaves the share or holds a delimiter.
    bool complete = false;
};

// Nothing when the path is not written as a network path.
std::optional<ShareAddress> ParseShareAddress(std::string_view path);

enum class ServerFolderProblem
{
    None,
    NotMounted, // a share that is not mounted on this machine
    Incomplete, // a network path without host or share
};

struct ServerFolderPlace
{
    std::string path; // empty when the folder cannot be reached at all
    ServerFolderProblem problem = ServerFolderProblem::None;
};

// Where the server folder is on this machine: a folder path as it stands, a share
// written as a network path through the folder it is mounted on here. The one
// place where the server folder's text becomes a path for listing and copying.
ServerFolderPlace LocateServerFolder(const std::string& serverFolder);

// The path of a file directly in the server folder, where it is on this machine;
// empty when the folder cannot be reached. Locating reads the mount table and the
// user mounts, so it belongs with the file work, off the window's thread.
std::string ServerFilePath(const std::string& serverFolder, std::string_view name);

// The cause, in German, why a server folder cannot be reached; empty for None.
std::string_view ServerFolderProblemText(ServerFolderProblem problem);

} // namespace filesync
