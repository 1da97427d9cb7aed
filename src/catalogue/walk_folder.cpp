#include "catalogue/walk_folder.h"

#include <deque>

namespace tov {

std::vector<FoundFile> WalkFolder(const std::string& root) {
    std::vector<FoundFile> found;
    if (root.empty())
        return found;
    std::deque<std::string> pending{root};
    while (!pending.empty()) {
        std::string current = std::move(pending.front());
        pending.pop_front();
        if (current.back() != '\\')
            current += '\\';
        for (auto& entry : ListFolder(current)) {
            if (HasFlag(entry.attributes, FileAttribute::Folder)) {
                // A junction or link leads back into the tree as often as not (a link to the
                // parent makes the walk endless), and a Start menu holds none worth following.
                const bool link = HasFlag(entry.attributes, FileAttribute::Link);
                if (!link && entry.name != "." && entry.name != "..")
                    pending.push_back(current + entry.name);
                continue;
            }
            found.push_back({std::move(entry), current});
        }
    }
    return found;
}

std::vector<std::string> Subfolders(const std::string& folder) {
    std::vector<std::string> names;
    for (auto& entry : ListFolder(folder))
        if (HasFlag(entry.attributes, FileAttribute::Folder) && entry.name != "." && entry.name != "..")
            names.push_back(std::move(entry.name));
    return names;
}

} // namespace tov
