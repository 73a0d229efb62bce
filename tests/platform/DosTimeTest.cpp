#include "platform/DosTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using std::chrono::seconds;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

std::filesystem::file_time_type FileTime(sys_seconds t)
{
    return std::chrono::file_clock::from_sys(t);
}

// Runs with TZ set to a rule of its own, and puts the old zone back.
class ZoneScope
{
public:
    explicit ZoneScope(const char* rule)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", rule, 1);
        tzset();
    }
    ~ZoneScope()
    {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

private:
    std::optional<std::string> m_old;
};

// Zone rules written out, so the test needs no zone files: summer time in
// Central Europe, a half-hour shift, an offset of quarter hours, a southern one.
const char* const kZones[] = {"CET-1CEST,M3.5.0,M10.5.0/3", "LHST-10:30LHDT-11,M10.1.0,M4.1.0", "NPT-5:45",
                              "NZST-12NZDT,M9.5.0,M4.1.0/3", "UTC0"};

// The converter of a listing gives what converting each time on its own gives,
// around every change of offset of a whole year and in any order of the times.
TEST(DosTimeConverterTest, GivesWhatEachTimeOnItsOwnGivesInEveryZone)
{
    std::vector<sys_seconds> times;
    const sys_seconds start = sys_days{std::chrono::year{2024} / 1 / 1};
    for (seconds step{0}; step < seconds(366 * 86'400); step += seconds(7 * 60 + 13))
        times.push_back(start + step);
    std::vector<sys_seconds> shuffled = times;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));

    for (const char* zone : kZones) {
        const ZoneScope scope(zone);
        for (const auto* order : {&times, &shuffled}) {
            platform::DosTimeConverter converter;
            int differences = 0;
            for (const sys_seconds t : *order) {
                if (converter.ToDos(FileTime(t)) != platform::ToDosDateTime(FileTime(t)) && ++differences < 4)
                    ADD_FAILURE() << zone << " at " << t.time_since_epoch().count();
            }
            EXPECT_EQ(differences, 0) << zone;
        }
    }
}

TEST(DosTimeConverterTest, TimesOutsideThePackedRangeGiveNothing)
{
    const ZoneScope scope("CET-1CEST,M3.5.0,M10.5.0/3");
    platform::DosTimeConverter converter;
    // 1980-01-01 00:00 local is 1979-12-31 23:00 universal time in this zone.
    const sys_seconds firstLocal = sys_days{std::chrono::year{1979} / 12 / 31} + std::chrono::hours(23);
    EXPECT_FALSE(converter.ToDos(FileTime(firstLocal - seconds(1))));
    EXPECT_EQ(converter.ToDos(FileTime(firstLocal)), std::uint32_t{(1 << 5 | 1) << 16});
    const sys_seconds afterLast = sys_days{std::chrono::year{2107} / 12 / 31} + std::chrono::hours(23);
    EXPECT_TRUE(converter.ToDos(FileTime(afterLast - seconds(1))));
    EXPECT_FALSE(converter.ToDos(FileTime(afterLast)));
}

} // namespace
