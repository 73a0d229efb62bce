#include "sync/ServerFolder.h"

#include "platform/FileSystem.h"
#include "sync/FolderPath.h"
#include "text/PercentDecode.h"

namespace filesync {
namespace {

bool StartsWithNoCase(std::string_view s, std::string_view lowerPrefix)
{
    if (s.size() < lowerPrefix.size())
        return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
        const char c = s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] - 'A' + 'a') : s[i];
        if (c != lowerPrefix[i])
            return false;
    }
    return true;
}

bool IsDelimiter(char c)
{
    return c == '\\' || c == '/';
}

// Splits "share/folder/..." into the share and its folders. "." names the folder
// itself and ".." the one above; a name that would leave the share, or that
// decodes to a delimiter or a zero byte, makes the address incomplete.
void TakeShareAndFolders(std::string_view rest, bool decode, ShareAddress& address)
{
    bool safe = true;
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < rest.size()) {
        std::size_t end = i;
        while (end < rest.size() && !IsDelimiter(rest[end]))
            ++end;
        if (end > i) {
            std::string name =
                decode ? text::PercentDecoded(rest.substr(i, end - i)) : std::string(rest.substr(i, end - i));
            if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos)
                safe = false;
            else if (name == "..") {
                // names[0] is the share, which ".." may not leave.
                if (names.size() > 1)
                    names.pop_back();
                else
                    safe = false;
            } else if (name != ".")
                names.push_back(std::move(name));
        }
        i = end + 1;
    }
    if (!names.empty()) {
        address.share = std::move(names.front());
        address.folders.assign(std::make_move_iterator(names.begin() + 1),
                               std::make_move_iterator(names.end()));
    }
    address.complete = safe && !address.host.empty() && !address.share.empty();
}

ShareAddress ParseUncForm(std::string_view path)
{
    ShareAddress address;
    std::string_view rest = path.substr(2);
    std::size_t end = 0;
    while (end < rest.size() && !IsDelimiter(rest[end]))
        ++end;
    address.host = std::string(rest.substr(0, end));
    address.hostEnded = end < rest.size();
    TakeShareAndFolders(address.hostEnded ? rest.substr(end + 1) : std::string_view{}, false, address);
    return address;
}

ShareAddress ParseSmbUrl(std::string_view path)
{
    ShareAddress address;
    std::string_view rest = path.substr(6);
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority = authority.substr(at + 1);
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        authority = close == std::string_view::npos ? std::string_view{} : authority.substr(1, close - 1);
    } else {
        authority = authority.substr(0, authority.find(':'));
    }
    address.host = text::PercentDecoded(authority);
    address.hostEnded = slash != std::string_view::npos;
    TakeShareAndFolders(address.hostEnded ? rest.substr(slash + 1) : std::string_view{}, true, address);
    return address;
}

} // namespace

std::optional<ShareAddress> ParseShareAddress(std::string_view path)
{
    if (path.starts_with("\\\\") || path.starts_with("//"))
        return ParseUncForm(path);
    if (StartsWithNoCase(path, "smb://"))
        return ParseSmbUrl(path);
    return std::nullopt;
}

ServerFolderPlace LocateServerFolder(const std::string& serverFolder)
{
    const auto address = ParseShareAddress(serverFolder);
    if (!address)
        return {serverFolder, ServerFolderProblem::None};
    if (!address->complete)
        return {{}, ServerFolderProblem::Incomplete};
    auto folder = platform::MountedShareFolder(address->host, address->share, address->folders);
    if (!folder)
        return {{}, ServerFolderProblem::NotMounted};
    return {std::move(*folder), ServerFolderProblem::None};
}

std::string ServerFilePath(const std::string& serverFolder, std::string_view name)
{
    return PathInFolder(LocateServerFolder(serverFolder).path, name);
}

std::string_view ServerFolderProblemText(ServerFolderProblem problem)
{
    switch (problem) {
    case ServerFolderProblem::NotMounted:
        return "Freigabe auf diesem Rechner nicht eingehängt";
    case ServerFolderProblem::Incomplete:
        return "Serverpfad ohne Rechner oder Freigabe";
    case ServerFolderProblem::None:
        break;
    }
    return {};
}

} // namespace filesync
