#include "sync/Inventory.h"

#include "platform/DosTime.h"
#include "platform/FolderListing.h"
#include "platform/TextCase.h"
#include "sync/CopyTemporary.h"
#include "sync/FileStatus.h"
#include "sync/OfficeLockFile.h"
#include "sync/TimeShift.h"
#include "text/Utf8.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>

namespace filesync {
namespace {

// The start-file INI of a folder; other letter cases are ordinary files.
constexpr std::string_view kFolderIniName = "qPPP_Profile.ini";
constexpr std::string_view kThumbnailCacheName = "thumbs.db";

struct ListedFile
{
    std::string name;
    std::uint32_t time;
    std::uint64_t size;
};

bool EqualsAsciiIgnoreCase(std::string_view a, std::string_view lowerB)
{
    if (a.size() != lowerB.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
        if (c != lowerB[i])
            return false;
    }
    return true;
}

bool IsSkippedName(std::string_view name)
{
    return name == kFolderIniName || EqualsAsciiIgnoreCase(name, kThumbnailCacheName) ||
           IsCopyTemporaryName(name) || IsOfficeLockFileName(name);
}

std::optional<std::vector<ListedFile>> ListFolder(const std::string& folder)
{
    auto entries = platform::ListFolderFlat(folder);
    if (!entries)
        return std::nullopt;
    std::vector<ListedFile> files;
    files.reserve(entries->size());
    platform::DosTimeConverter times;
    for (auto& entry : *entries) {
        if (IsSkippedName(entry.name))
            continue;
        // A time the DOS format cannot hold makes the file count as missing.
        const auto time = times.ToDos(entry.lastWriteTime);
        if (!time)
            continue;
        files.push_back(ListedFile{std::move(entry.name), *time, entry.size});
    }
    return files;
}

std::string DisplayNameOf(const std::string& name)
{
    return text::IsValidUtf8(name) ? name : text::Windows1252FallbackToUtf8(name);
}

// Compares the packed values unsigned: as signed numbers every date from 2044 on
// would sort before all earlier ones.
int StatusFromTimes(std::uint32_t serverTime, std::uint32_t localTime)
{
    if (serverTime == localTime)
        return StatusIdentical;
    return serverTime > localTime ? StatusServerNewer : StatusLocalNewer;
}

// Server names by case-folded key, so that each local name finds the first server
// name of its key not yet taken, in server listing order, in constant time. The
// keys share one buffer and the table is open addressing: a refresh of thousands
// of files makes no allocation per name.
class ServerIndex
{
public:
    explicit ServerIndex(const std::vector<ListedFile>& files) : m_nextSameKey(files.size(), kNone)
    {
        std::size_t capacity = 16;
        while (capacity < files.size() * 2)
            capacity *= 2;
        m_slots.resize(capacity);
        // Walking backwards leaves each key's chain in listing order.
        for (std::size_t q = files.size(); q-- > 0;) {
            const std::size_t keyStart = m_keys.size();
            platform::AppendFoldedCase(m_keys, files[q].name);
            Slot& slot = SlotOf(std::string_view(m_keys).substr(keyStart));
            if (slot.first == kNone) {
                slot = Slot{ToIndex(keyStart), ToIndex(m_keys.size() - keyStart), ToIndex(q)};
            } else {
                m_keys.resize(keyStart);
                m_nextSameKey[q] = slot.first;
                slot.first = ToIndex(q);
            }
        }
    }

    // Takes the first untaken server entry equal to the name ignoring case.
    std::optional<std::size_t> Take(std::string_view name)
    {
        m_lookup.clear();
        platform::AppendFoldedCase(m_lookup, name);
        Slot& slot = SlotOf(m_lookup);
        if (slot.first == kNone || slot.first == kTaken)
            return std::nullopt;
        const Index q = slot.first;
        slot.first = m_nextSameKey[q] == kNone ? kTaken : m_nextSameKey[q];
        return q;
    }

private:
    using Index = std::uint32_t;
    static constexpr Index kNone = std::numeric_limits<Index>::max();
    static constexpr Index kTaken = kNone - 1; // a key whose entries are all taken
    static Index ToIndex(std::size_t value) { return static_cast<Index>(value); }

    struct Slot
    {
        Index keyStart = 0;
        Index keyLength = 0;
        Index first = kNone; // kNone: the slot is empty
    };

    // The slot holding key, or the empty slot where it belongs.
    Slot& SlotOf(std::string_view key)
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t at = std::hash<std::string_view>{}(key)&mask;; at = (at + 1) & mask) {
            Slot& slot = m_slots[at];
            if (slot.first == kNone || std::string_view(m_keys).substr(slot.keyStart, slot.keyLength) == key)
                return slot;
        }
    }

    std::string m_keys;
    std::vector<Slot> m_slots;
    std::vector<Index> m_nextSameKey;
    std::string m_lookup;
};

} // namespace

ComparedInventory BuildComparedInventory(const InventoryRequest& request, const PingFunction& ping)
{
    ComparedInventory result;
    std::vector<FileRow>& rows = result.rows;
    std::vector<std::uint64_t> localSizes;
    if (auto local = ListFolder(request.localFolder)) {
        rows.reserve(local->size());
        localSizes.reserve(local->size());
        for (auto& file : *local) {
            std::string display = DisplayNameOf(file.name);
            localSizes.push_back(file.size);
            rows.push_back(FileRow{std::move(file.name), std::move(display), std::nullopt, file.time,
                                   StatusNotCompared});
        }
    }
    if (!request.compareWithServer)
        return result;

    // A named host that does not answer: the server folder is not touched, as it
    // might hang on a dead share. Without a host name the folder alone decides.
    if (!request.hostName.empty() && !(ping && ping(request.hostName))) {
        result.verdict = CompareVerdict::HostSilent;
        return result;
    }

    const ServerFolderPlace place = LocateServerFolder(request.serverFolder);
    auto server = place.problem == ServerFolderProblem::None ? ListFolder(place.path) : std::nullopt;
    if (!server) {
        for (auto& row : rows)
            row.status = StatusServerFolderMissing;
        result.serverFolderProblem = place.problem;
        result.verdict = request.serverFolder.empty() ? CompareVerdict::NoServerFolder
                         : request.hostName.empty()   ? CompareVerdict::FolderMissing
                                                      : CompareVerdict::HostAnswersFolderMissing;
        return result;
    }
    result.verdict = CompareVerdict::Compared;

    ServerIndex index(*server);
    std::vector<bool> serverTaken(server->size(), false);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        FileRow& row = rows[i];
        const auto q = index.Take(row.name);
        if (!q) {
            row.status = StatusLocalOnly;
            continue;
        }
        serverTaken[*q] = true;
        const ListedFile& serverFile = (*server)[*q];
        row.serverTime = serverFile.time;
        if (serverFile.name != row.name)
            row.serverName = serverFile.name;
        row.status = StatusFromTimes(serverFile.time, *row.localTime);
        row.oneHourApart = row.status != StatusIdentical && serverFile.size == localSizes[i] &&
                           IsOneHourApart(serverFile.time, *row.localTime);
    }

    rows.reserve(rows.size() + server->size());
    for (std::size_t q = 0; q < server->size(); ++q) {
        if (serverTaken[q])
            continue;
        auto& file = (*server)[q];
        std::string display = DisplayNameOf(file.name);
        rows.push_back(
            FileRow{std::move(file.name), std::move(display), file.time, std::nullopt, StatusMissingLocally});
    }
    return result;
}

std::vector<FileRow> BuildInventory(const InventoryRequest& request, const PingFunction& ping)
{
    return BuildComparedInventory(request, ping).rows;
}

} // namespace filesync
