#pragma once
// Icons of command-table entries, extracted on a worker, so that a program file on a slow or
// unreachable disk never holds up typing, and kept by file, icon number and the file's last
// write, so that a changed program shows its new icon.
#include "platform/platform.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tov {

struct IconKey {
    std::string file;
    int index = 0;
    auto operator<=>(const IconKey&) const = default;
};

struct CachedIcon {
    PicturePtr picture;                  // null: the file has no icon
    std::optional<std::int64_t> written; // the file's last write when the icon was taken
    MonotonicTime checked{};
    std::uint64_t lastUse = 0;
};

struct IconCache {
    std::map<IconKey, CachedIcon> icons;
    std::uint64_t uses = 0;
    // One extraction at a time; of those asked for meanwhile only the latest is kept.
    bool extracting = false;
    std::optional<IconKey> next;
};

// Enough for every program a user flips between; beyond it the least recently used goes.
inline constexpr std::size_t kMaxCachedIcons = 512;
// A cached icon is checked against its file's last write at most this often.
inline constexpr std::chrono::seconds kIconRecheck{10};

// The cached icon of `key`, counted as used; nothing when it has not been extracted yet.
const CachedIcon* FindCachedIcon(IconCache& cache, const IconKey& key);
// Keeps `icon`, letting the least recently used go when the cache is full.
void StoreIcon(IconCache& cache, const IconKey& key, CachedIcon icon);

// Has the icon of `key` extracted (or its file's last write checked against `known`) on a
// worker; `ready` runs on this thread with the outcome, but not while another extraction
// runs: then only the latest request waits for it.
void ExtractIconInBackground(Platform& platform, IconCache& cache, const IconKey& key,
                             std::function<void(const IconKey&)> ready);

} // namespace tov
