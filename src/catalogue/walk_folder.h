#pragma once
// Breadth-first listing of every file below a folder.
#include "platform/files.h"

#include <string>
#include <vector>

namespace tov {

struct FoundFile {
    FoundEntry FindData; // the entry as the folder listing gave it
    std::string Folder;  // the folder that holds it, ending in a backslash
};

// The files of `root` first, then those of each subfolder in the order the subfolders were
// found. An empty root lists nothing, and "." and ".." are never entered, nor are junctions
// and symbolic links to folders, so the walk ends and lists each file once.
std::vector<FoundFile> WalkFolder(const std::string& root);

// The names of the folders directly in `folder`, in listing order, without "." and "..".
std::vector<std::string> Subfolders(const std::string& folder);

} // namespace tov
