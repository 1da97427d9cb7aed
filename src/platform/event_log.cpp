#include "platform/event_log.h"

#include "platform/files.h"

#include <algorithm>

namespace tov {

std::string RotatedLogPath(const std::string& path) {
    return path + ".1";
}

bool AppendLogLine(const EventLog& log, std::string_view stamp, std::string_view line) {
    if (log.path.empty())
        return false;
    std::string record(stamp);
    if (!record.empty())
        record += ' ';
    record += line;
    std::replace_if(
        record.begin(), record.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const std::size_t room = log.capBytes > 2 ? static_cast<std::size_t>(log.capBytes - 2) : 0;
    if (record.size() > room)
        record.resize(room);
    record += "\r\n";
    const std::optional<std::uint64_t> size = FileSize(log.path);
    if (size && *size + record.size() > log.capBytes)
        RenameFile(log.path, RotatedLogPath(log.path));
    return AppendToFile(log.path, record);
}

} // namespace tov
