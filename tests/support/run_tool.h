#pragma once
// Runs the console tool and captures what it prints.
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace tov::testing {

inline std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct ToolResult {
    int exitCode = -1;
    std::string out;
};

inline ToolResult RunTovlenctl(const std::vector<std::string>& args) {
    std::string command = ShellQuote(TOVLENCTL_PATH);
    for (const auto& arg : args)
        command += " " + ShellQuote(arg);
    command += " 2>/dev/null";
    ToolResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace tov::testing
