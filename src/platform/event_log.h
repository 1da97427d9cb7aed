#pragma once
// The program's log: a few lines per event (start and end, hooks, faults caught at a callback's
// edge, files that could not be written, updates refused), never typed text. The file is capped:
// when a line would take it past the cap it becomes the one older copy and a new file starts.
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

constexpr std::uint64_t kLogCapBytes = 256u << 10;

struct EventLog {
    std::string path; // empty: the log is off (no folder to keep it in)
    std::uint64_t capBytes = kLogCapBytes;
};

// `path` + ".1": the copy a rotation keeps.
std::string RotatedLogPath(const std::string& path);

// Appends `stamp` and `line` (CR LF ends it; line breaks inside become blanks); false when the
// file could not be written. A line longer than the cap is cut to fit.
bool AppendLogLine(const EventLog& log, std::string_view stamp, std::string_view line);

} // namespace tov
