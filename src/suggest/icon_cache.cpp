#include "suggest/icon_cache.h"

namespace tov {

namespace {

// Enough for every program a user flips between; beyond it the cache starts afresh.
constexpr std::size_t kMaxCachedIcons = 512;

} // namespace

PicturePtr CachedFileIcon(Platform& platform, IconCache& cache, const std::string& file) {
    if (const auto it = cache.pictures.find(file); it != cache.pictures.end())
        return it->second;
    if (cache.pictures.size() >= kMaxCachedIcons)
        cache.pictures.clear();
    PicturePtr picture = platform.ExtractFileIcon(file, 0);
    cache.pictures.emplace(file, picture);
    return picture;
}

} // namespace tov
