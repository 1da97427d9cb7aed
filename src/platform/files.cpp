#include "platform/files.h"

#include "base/paths.h"

#include <random>

namespace tov {

namespace {

constexpr const char* kTemporaryExtension = ".tmp";
// A name that is taken (a stale file of an earlier run, or a clash of random parts) is
// passed over for a fresh one, a few times.
constexpr int kNameAttempts = 4;

// Writes through `save` at a fresh name in `folder` and moves the result to `path`.
bool SaveAndMove(const std::string& folder, const std::string& path, const std::string& extension,
                 const std::function<bool(const std::string&)>& save, std::string* failure) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string staged = folder + UniqueFileName("~" + NamePart(path), extension);
        if (PathExists(staged))
            continue;
        if (!save(staged)) {
            RemoveFile(staged); // the name was free a moment ago, so whatever is there is ours
            if (failure && failure->empty())
                *failure = "the temporary file could not be written";
            return false;
        }
        if (!RenameFile(staged, path, failure)) {
            RemoveFile(staged);
            return false;
        }
        return true;
    }
    if (failure)
        *failure = "no free name for a temporary file";
    return false;
}

} // namespace

std::string UniqueFileName(const std::string& stem, const std::string& extension) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    return stem + "." + std::to_string(CurrentProcessId()) + "." + std::to_string(random()) + extension;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes, std::string* failure) {
    return SaveAndMove(
        FolderPart(path), path, kTemporaryExtension,
        [&](const std::string& staged) { return WriteNewFile(staged, bytes, failure); }, failure);
}

bool SaveThroughStaging(const std::string& stagingFolder, const std::string& path,
                        const std::string& extension,
                        const std::function<bool(const std::string& stagedPath)>& save,
                        std::string* failure) {
    if (stagingFolder.empty())
        return false;
    return SaveAndMove(JoinPath(stagingFolder, ""), path, extension, save, failure);
}

} // namespace tov
