#pragma once

#include "sync/FileRow.h"
#include "sync/FileStatus.h"
#include "sync/Inventory.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What a file list amounts to after a refresh, in words a presenter reads at a
// glance: how the server check ended and how many files stand in which status.
namespace filesync {

struct ListSummary
{
    CompareVerdict verdict = CompareVerdict::NotCompared;
    // Rows per status. Rows one hour apart are counted apart and not in their status.
    std::array<std::size_t, kStatusCount> counts{};
    std::size_t oneHourApart = 0;
    // All rows newer on the server (one hour apart or not) and all missing locally.
    std::size_t newerOnServer = 0;
    std::size_t missingLocally = 0;
    std::size_t rows = 0;
    ServerFolderProblem serverFolderProblem = ServerFolderProblem::None;
};

ListSummary Summarize(const std::vector<FileRow>& rows, CompareVerdict verdict);
ListSummary Summarize(const ComparedInventory& inventory);

// "mit dem Server verglichen", "Server antwortet nicht", ...
std::string_view VerdictText(CompareVerdict verdict);
// The verdict, and why the server folder could not be reached where the way it is
// written is the cause: "Serverordner nicht erreichbar: Freigabe ... nicht eingehängt".
std::string ServerCheckText(const ListSummary& summary);

// The counts that are not zero in status order, the one-hour rows last:
// "12 aktuell, 3 neuer auf dem Server, 1 fehlt lokal"; "keine Dateien" for none.
std::string CountsText(const ListSummary& summary);

// Two lines: when the check ran and how it ended, then the counts.
std::string SummaryText(const ListSummary& summary, std::string_view checkedAt);

// What a row one hour apart says beside its status.
std::string_view OneHourApartHint();

// The names of the rows newer on the server or missing locally, sorted, so that two
// refreshes can be compared.
std::vector<std::string> OutdatedNames(const std::vector<FileRow>& rows);

// How many names of `now` were not in `before` (both sorted).
std::size_t CountNewlyOutdated(const std::vector<std::string>& before, const std::vector<std::string>& now);

// "3 Präsentationen auf dem Server sind neuer"
std::string NewerOnServerNotice(std::size_t count);

} // namespace filesync
