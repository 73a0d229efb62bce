#pragma once

#include "sync/FileRow.h"
#include "sync/ListSummary.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whether a language's current set can be presented as it is: compared with the
// server at its last refresh, nothing newer on the server or missing locally, and
// its start file there locally.
namespace launch {

struct Readiness
{
    bool ready = false;
    // Why not, one item each ("3 neuer auf dem Server", "Startdatei ... fehlt lokal");
    // empty when ready.
    std::vector<std::string> missing;
};

Readiness AssessReadiness(const filesync::ListSummary& summary, const std::vector<filesync::FileRow>& rows,
                          std::string_view startFile);

// The tooltip of a language's flag: "Deutsch: bereit ..." / "Englisch: nicht bereit - ..." /
// "Englisch: noch nicht geprüft" while that language had no check in this run.
std::string ReadinessText(bool german, const std::optional<Readiness>& readiness);

} // namespace launch
