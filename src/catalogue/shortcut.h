#pragma once
// Shell-link (.lnk) files, read by hand: the link information block for the target path and
// the string section for the other fields. The bytes come from whatever sits in a Start-menu
// folder, so every offset and count is checked against the data before it is used.
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

struct ShortcutInfo {
    std::uint32_t Attributes = 0; // the target's file attributes as stored in the link
    std::string Target;
    std::string Description;
    std::string RelativePath;
    std::string WorkingFolder;
    std::string Arguments;
    std::string IconLocation;
};

// Fills `info` from the bytes of a link file. False, with `info` left empty, when the bytes
// are no link (wrong header size) or a structure they announce runs past the data.
bool ParseShortcut(std::string_view bytes, ShortcutInfo& info);

// Reads the link file at `path` (".lnk" is appended when the path does not end in it).
// True when the link names a target path.
bool ReadShortcut(const std::string& path, ShortcutInfo& info);

} // namespace tov
