#pragma once

#include "sync/FileRow.h"
#include "sync/ServerFolder.h"

#include <functional>
#include <string>
#include <vector>

namespace filesync {

struct InventoryRequest
{
    std::string localFolder;  // listed as the local side (the current set's or a profile's folder)
    std::string serverFolder; // as the user wrote it; only ever read
    std::string hostName;     // empty when the server folder is not on a network share
    bool compareWithServer = false;
};

// What the refresh learnt of the server side, for every row at once.
enum class CompareVerdict
{
    NotCompared,              // comparing was not switched on (yet)
    Compared,                 // the server folder was listed and matched
    HostSilent,               // the named host did not answer; the folder was not looked at
    HostAnswersFolderMissing, // the named host answered, its folder could not be listed
    FolderMissing,            // no host to ask, and the folder could not be listed
    NoServerFolder,           // no server folder set at all
};

// Asks whether the host answers; true when it does.
using PingFunction = std::function<bool(const std::string& host)>;

// The rows of a file list: first the local files in listing order, then the
// server-only files in server listing order.
// - Local files start in StatusNotCompared; without compareWithServer that is all.
// - A host name is pinged (without a ping function it counts as silent); an empty
//   one is not, and then the server folder alone decides. A named host that does
//   not answer leaves every row not compared and the server folder is not looked at.
// - The server folder is found through LocateServerFolder. One that cannot be
//   listed (missing, not a folder, unreadable, a share not mounted here) marks
//   every row StatusServerFolderMissing.
// - Otherwise each local name takes the first not yet taken server name equal to
//   it ignoring letter case, and the two times decide 0, 2 or 4; local names left
//   over are StatusLocalOnly, server names left over become StatusMissingLocally rows.
//   A matched pair of equal size whose times lie one hour apart is marked so.
// A missing or unreadable local folder gives no local rows. Only regular files
// directly in a folder count, without "qPPP_Profile.ini" (exact case),
// "thumbs.db" (any case), temporary copies, office lock files and files dated
// outside the DOS range.
// Folder trouble never throws; it only shows in the statuses.
struct ComparedInventory
{
    std::vector<FileRow> rows;
    CompareVerdict verdict = CompareVerdict::NotCompared;
    // Why the server folder could not be listed when the way it is written is the
    // cause (a share not mounted here); None otherwise.
    ServerFolderProblem serverFolderProblem = ServerFolderProblem::None;
};
ComparedInventory BuildComparedInventory(const InventoryRequest& request, const PingFunction& ping);

// The rows alone.
std::vector<FileRow> BuildInventory(const InventoryRequest& request, const PingFunction& ping);

} // namespace filesync
