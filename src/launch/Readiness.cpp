#include "launch/Readiness.h"

#include "launch/StartFile.h"
#include "sync/FileStatus.h"

namespace launch {
namespace {

std::string Counted(std::size_t count, int status)
{
    return std::to_string(count) + " " + std::string(filesync::StatusCountText(status));
}

} // namespace

Readiness AssessReadiness(const filesync::ListSummary& summary, const std::vector<filesync::FileRow>& rows,
                          std::string_view startFile)
{
    Readiness r;
    if (summary.verdict == filesync::CompareVerdict::NotCompared)
        r.missing.emplace_back("nicht mit dem Server verglichen (beim Start abgeschaltet)");
    else if (summary.verdict != filesync::CompareVerdict::Compared)
        r.missing.push_back("nicht mit dem Server verglichen: " + filesync::ServerCheckText(summary));
    if (summary.newerOnServer > 0)
        r.missing.push_back(Counted(summary.newerOnServer, filesync::StatusServerNewer));
    if (summary.missingLocally > 0)
        r.missing.push_back(Counted(summary.missingLocally, filesync::StatusMissingLocally));
    if (startFile.empty()) {
        r.missing.emplace_back("keine Startdatei festgelegt");
    } else {
        // Only a row with a local date is a file in the local folder; a folder of
        // that name never becomes a row.
        bool present = false;
        for (const filesync::FileRow& row : rows)
            if (row.localTime && IsStartFile(row.displayName, startFile)) {
                present = true;
                break;
            }
        if (!present)
            r.missing.emplace_back("Startdatei \"" + std::string(startFile) + "\" fehlt lokal");
    }
    r.ready = r.missing.empty();
    return r;
}

std::string ReadinessText(bool german, const std::optional<Readiness>& readiness)
{
    std::string text = german ? "Deutsch: " : "Englisch: ";
    if (!readiness)
        return text + "noch nicht geprüft";
    if (readiness->ready)
        return text + "bereit zum Präsentieren (mit dem Server verglichen, nichts neuer auf dem Server, "
                      "nichts fehlt lokal, Startdatei vorhanden)";
    text += "nicht bereit";
    const char* separator = " - ";
    for (const std::string& item : readiness->missing) {
        text += separator;
        text += item;
        separator = ", ";
    }
    return text;
}

} // namespace launch
