#include "util/times.h"

#include <cstdio>

namespace talq {

namespace {

std::string Part(std::int64_t n, const char* unit) {
  std::string s = std::to_string(n) + " " + unit;
  if (n != 1) s += 's';
  return s;
}

}  // namespace

std::string ElapsedTimeLong(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const std::int64_t minutes = seconds / 60;
  const std::int64_t secs = seconds % 60;
  const std::int64_t days = minutes / 1440;
  const std::int64_t hours = minutes % 1440 / 60;
  const std::int64_t mins = minutes % 60;
  std::string text;
  auto join = [&text](const std::string& part) {
    if (!text.empty()) text += " and ";
    text += part;
  };
  if (days > 0) join(Part(days, "day"));
  if (hours > 0) join(Part(hours, "hour"));
  if (mins > 0) join(Part(mins, "minute"));
  if (secs > 0 || text.empty()) join(Part(secs, "second"));
  // Only the last join keeps " and "; the earlier ones become commas.
  const std::string_view kAnd = " and ";
  std::size_t count = 0;
  for (auto p = text.find(kAnd); p != std::string::npos; p = text.find(kAnd, p + 1)) ++count;
  while (count-- > 1) text.replace(text.find(kAnd), kAnd.size(), ", ");
  return text;
}

std::string ElapsedTimeCompact(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const std::int64_t minutes = seconds / 60;
  const std::int64_t days = minutes / 1440;
  const std::int64_t hours = minutes % 1440 / 60;
  const std::int64_t mins = minutes % 60;
  std::string text;
  if (days > 0) text += std::to_string(days) + "d ";
  if (!text.empty() || hours > 0) text += std::to_string(hours) + "h ";
  if (!text.empty() || mins > 0) text += std::to_string(mins) + "m ";
  return text + std::to_string(seconds % 60) + "s";
}

std::string DateTimeText(std::time_t when, bool timeFirst) {
  std::tm tm{};
  localtime_r(&when, &tm);
  char date[32];
  char time[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday);
  std::snprintf(time, sizeof time, "%02d:%02d", tm.tm_hour, tm.tm_min);
  return timeFirst ? std::string(time) + " on " + date : std::string(date) + " " + time;
}

std::string DateTimeText(bool timeFirst) { return DateTimeText(std::time(nullptr), timeFirst); }

}  // namespace talq
