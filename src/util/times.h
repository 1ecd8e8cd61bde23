// Elapsed-time and date texts for the main window's labels and report headers.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace talq {

// "1 hour, 2 minutes and 5 seconds": days, hours, minutes and seconds that are not zero
// ("0 seconds" for 0); only the last join keeps " and ".
std::string ElapsedTimeLong(std::int64_t seconds);

// "1d 2h 3m 4s"; leading zero parts are left out ("5s", "1m 5s", "1h 0m 5s").
std::string ElapsedTimeCompact(std::int64_t seconds);

// Local date and time of `when`: "YYYY-MM-DD HH:MM", or "HH:MM on YYYY-MM-DD" when timeFirst.
std::string DateTimeText(std::time_t when, bool timeFirst = false);

// DateTimeText for the current moment.
std::string DateTimeText(bool timeFirst = false);

}  // namespace talq
