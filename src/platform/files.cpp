#include "platform/files.h"

#include <atomic>

namespace tov {

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\')
        return folder + name;
    return folder + "\\" + name;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
    static std::atomic<unsigned> counter{0};
    const std::string temp = path + ".tmp" + std::to_string(++counter);
    RemoveFile(temp);
    if (!AppendToFile(temp, bytes)) {
        RemoveFile(temp);
        return false;
    }
    if (!RenameFile(temp, path)) {
        RemoveFile(temp);
        return false;
    }
    return true;
}

} // namespace tov
