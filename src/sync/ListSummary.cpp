#include "sync/ListSummary.h"

#include <algorithm>

namespace filesync {

ListSummary Summarize(const std::vector<FileRow>& rows, CompareVerdict verdict)
{
    ListSummary summary;
    summary.verdict = verdict;
    summary.rows = rows.size();
    summary.counts = CountByStatus(rows);
    summary.newerOnServer = summary.counts[StatusServerNewer];
    summary.missingLocally = summary.counts[StatusMissingLocally];
    // Rows one hour apart are told apart from the status they keep.
    for (const FileRow& row : rows)
        if (row.oneHourApart && row.status >= 0 && row.status < kStatusCount) {
            ++summary.oneHourApart;
            --summary.counts[static_cast<std::size_t>(row.status)];
        }
    return summary;
}

ListSummary Summarize(const ComparedInventory& inventory)
{
    ListSummary summary = Summarize(inventory.rows, inventory.verdict);
    summary.serverFolderProblem = inventory.serverFolderProblem;
    return summary;
}

std::string_view VerdictText(CompareVerdict verdict)
{
    switch (verdict) {
    case CompareVerdict::NotCompared:
        return "nicht verglichen (beim Start abgeschaltet)";
    case CompareVerdict::Compared:
        return "mit dem Server verglichen";
    case CompareVerdict::HostSilent:
        return "Server antwortet nicht";
    case CompareVerdict::HostAnswersFolderMissing:
        return "Server antwortet, Serverordner fehlt";
    case CompareVerdict::FolderMissing:
        return "Serverordner nicht erreichbar";
    case CompareVerdict::NoServerFolder:
        return "kein Serverordner eingestellt";
    }
    return {};
}

std::string ServerCheckText(const ListSummary& summary)
{
    std::string text(VerdictText(summary.verdict));
    if (const std::string_view cause = ServerFolderProblemText(summary.serverFolderProblem); !cause.empty())
        text.append(": ").append(cause);
    return text;
}

std::string CountsText(const ListSummary& summary)
{
    std::string text;
    const auto add = [&text](std::size_t count, std::string_view words) {
        if (count == 0)
            return;
        if (!text.empty())
            text += ", ";
        text += std::to_string(count);
        text += ' ';
        text += words;
    };
    for (int status = 0; status < kStatusCount; ++status)
        add(summary.counts[static_cast<std::size_t>(status)], StatusCountText(status));
    add(summary.oneHourApart, "eine Stunde versetzt");
    return text.empty() ? std::string("keine Dateien") : text;
}

std::string SummaryText(const ListSummary& summary, std::string_view checkedAt)
{
    std::string text = "Geprüft ";
    text += checkedAt;
    text += ": ";
    text += ServerCheckText(summary);
    text += '\n';
    text += CountsText(summary);
    return text;
}

std::string_view OneHourApartHint()
{
    return "Genau eine Stunde Unterschied bei gleicher Größe:\n"
           "wahrscheinlich nur eine Zeitumstellung (Sommerzeit)\n"
           "des Dateisystems, keine geänderte Datei.";
}

std::vector<std::string> OutdatedNames(const std::vector<FileRow>& rows)
{
    std::vector<std::string> names;
    for (const FileRow& row : rows)
        if (NeedsUpdate(row.status))
            names.push_back(row.name);
    std::sort(names.begin(), names.end());
    return names;
}

std::size_t CountNewlyOutdated(const std::vector<std::string>& before, const std::vector<std::string>& now)
{
    std::size_t added = 0;
    auto old = before.begin();
    for (const std::string& name : now) {
        old = std::lower_bound(old, before.end(), name);
        if (old == before.end() || *old != name)
            ++added;
    }
    return added;
}

std::string NewerOnServerNotice(std::size_t count)
{
    return count == 1 ? std::string("1 Präsentation auf dem Server ist neuer")
                      : std::to_string(count) + " Präsentationen auf dem Server sind neuer";
}

} // namespace filesync
