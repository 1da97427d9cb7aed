#include "suggest/icon_cache.h"

#include "platform/files.h"

#include <algorithm>

namespace tov {

const CachedIcon* FindCachedIcon(IconCache& cache, const IconKey& key) {
    const auto it = cache.icons.find(key);
    if (it == cache.icons.end())
        return nullptr;
    it->second.lastUse = ++cache.uses;
    return &it->second;
}

void StoreIcon(IconCache& cache, const IconKey& key, CachedIcon icon) {
    if (!cache.icons.contains(key) && cache.icons.size() >= kMaxCachedIcons) {
        const auto oldest =
            std::min_element(cache.icons.begin(), cache.icons.end(), [](const auto& a, const auto& b) {
                return a.second.lastUse < b.second.lastUse;
            });
        cache.icons.erase(oldest);
    }
    icon.lastUse = ++cache.uses;
    cache.icons[key] = std::move(icon);
}

void ExtractIconInBackground(Platform& platform, IconCache& cache, const IconKey& key,
                             std::function<void(const IconKey&)> ready) {
    if (cache.extracting) {
        cache.next = key;
        return;
    }
    cache.extracting = true;
    std::optional<CachedIcon> known;
    if (const CachedIcon* cached = FindCachedIcon(cache, key))
        known = *cached;
    // The next extraction waits for this one's hand-over, which comes whether the file gave an
    // icon, gave none, or could not be read at all.
    const auto handOver = [&platform, &cache, key, ready](CachedIcon icon) -> HandOver {
        return [&platform, &cache, key, icon, ready]() mutable {
            icon.checked = platform.MonotonicNow();
            StoreIcon(cache, key, std::move(icon));
            cache.extracting = false;
            ready(key);
            if (auto next = std::move(cache.next)) {
                cache.next.reset();
                ExtractIconInBackground(platform, cache, *next, ready);
            }
        };
    };
    platform.RunInBackground(HandingOverAlways(
        [&platform, key, known, handOver] {
            CachedIcon icon;
            icon.written = LastWriteStamp(key.file);
            const bool unchanged = known && known->written && known->written == icon.written;
            icon.picture = unchanged ? known->picture : platform.ExtractFileIcon(key.file, key.index);
            return handOver(std::move(icon));
        },
        [handOver](const std::string&) { return handOver(CachedIcon{}); }));
}

} // namespace tov
