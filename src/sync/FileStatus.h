#pragma once

#include "sync/FileRow.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace filesync {

// A row's status; the number is also the index of the row's image, so the order
// is fixed.
enum FileStatus : int
{
    StatusIdentical = 0,
    StatusNotCompared = 1,
    StatusServerNewer = 2,
    StatusMissingLocally = 3,
    StatusLocalNewer = 4,
    StatusLocalOnly = 5,
    StatusException = 6, // no refresh assigns it; it has an image and a legend line
    StatusServerFolderMissing = 7,
};

inline constexpr int kStatusCount = 8;

// The legend line shown beside the status's image; empty for a number outside 0..7.
constexpr std::string_view StatusLegendText(int status)
{
    switch (status) {
    case StatusIdentical:
        return "Lokale Datei übereinstimmt mit der Datei auf dem Server";
    case StatusNotCompared:
        return "Datei wurden noch nicht aktuallisiert oder Server nicht erreichbar";
    case StatusServerNewer:
        return "Datei auf dem Server ist jünger als Datei lokal";
    case StatusMissingLocally:
        return "Datei im lokalen Ordner nicht vorhanden aber auf Server vorhanden";
    case StatusLocalNewer:
        return "Lokale Datei wurde geändert und ist jünger als auf dem Server";
    case StatusLocalOnly:
        return "Datei existiert nicht mehr auf dem Server, nur lokal";
    case StatusException:
        return "Ausnahmesituation. Bitte den Programmierer informieren";
    case StatusServerFolderMissing:
        return "Server erreichbar, aber Ordner auf dem Server nicht verfügbar";
    default:
        return {};
    }
}

// How a count of rows in the status reads in a list's summary ("3 neuer auf dem
// Server"); empty for a number outside 0..7.
constexpr std::string_view StatusCountText(int status)
{
    switch (status) {
    case StatusIdentical:
        return "aktuell";
    case StatusNotCompared:
        return "nicht verglichen";
    case StatusServerNewer:
        return "neuer auf dem Server";
    case StatusMissingLocally:
        return "fehlt lokal";
    case StatusLocalNewer:
        return "lokal geändert";
    case StatusLocalOnly:
        return "nur lokal";
    case StatusException:
        return "Ausnahme";
    case StatusServerFolderMissing:
        return "ohne Serverordner";
    default:
        return {};
    }
}

// The bulk update's rule: the server has a newer file (2), or one the local
// folder lacks (3).
constexpr bool NeedsUpdate(int status)
{
    return status == StatusServerNewer || status == StatusMissingLocally;
}

// The row commands' rule: a marked row can be updated unless the server's file is
// unknown (not compared, only local, server folder missing), and deleted unless
// there is no local file.
constexpr bool CanUpdateFromServer(int status)
{
    return status != StatusNotCompared && status != StatusLocalOnly && status != StatusServerFolderMissing;
}
constexpr bool CanDeleteLocally(int status)
{
    return status != StatusMissingLocally;
}

// How many rows have each status; a number outside 0..7 is not counted.
using StatusCounts = std::array<std::size_t, kStatusCount>;
StatusCounts CountByStatus(const std::vector<FileRow>& rows);

// Rows the bulk update would copy.
std::size_t CountNeedingUpdate(const std::vector<FileRow>& rows);

} // namespace filesync
