#include "base/log_record.h"

#include <algorithm>

namespace tov {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

} // namespace

std::string LogRecord(std::string_view stamp, std::string_view line, std::uint64_t capBytes) {
    std::string record(stamp);
    if (!record.empty())
        record += ' ';
    record += line;
    std::replace_if(
        record.begin(), record.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const std::size_t room =
        capBytes > kLineEnd.size() ? static_cast<std::size_t>(capBytes - kLineEnd.size()) : 0;
    if (record.size() > room)
        record.resize(room);
    record += kLineEnd;
    return record;
}

} // namespace tov
