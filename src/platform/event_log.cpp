#include "platform/event_log.h"

#include "base/log_record.h"
#include "platform/files.h"

namespace tov {

std::string RotatedLogPath(const std::string& path) {
    return path + ".1";
}

bool AppendLogLine(const EventLog& log, std::string_view stamp, std::string_view line) {
    if (log.path.empty())
        return false;
    const std::string record = LogRecord(stamp, line, log.capBytes);
    const std::optional<std::uint64_t> size = FileSize(log.path);
    if (size && *size + record.size() > log.capBytes)
        RenameFile(log.path, RotatedLogPath(log.path));
    return AppendToFile(log.path, record);
}

} // namespace tov
