// The folder walk: over a generated tree of folders, files and links between folders (loops
// included), the walk ends and lists every real file exactly once.
#include "catalogue/walk_folder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kMaxSteps = 64;

enum Step { kFolder, kFile, kLink, kStepKinds };

class Tree {
  public:
    Tree() {
        std::random_device random;
        root_ = std::filesystem::temp_directory_path() /
                ("tovlen-walk-" + std::to_string(getpid()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(root_);
        folders_.push_back(root_);
    }
    ~Tree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored); // removes links, never what they lead to
    }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    void Add(std::uint8_t kind, std::uint8_t where, std::uint8_t to) {
        const auto& folder = folders_[where % folders_.size()];
        const auto path = folder / ("e" + std::to_string(++names_));
        switch (kind % kStepKinds) {
        case kFolder:
            std::filesystem::create_directory(path);
            folders_.push_back(path);
            break;
        case kFile:
            std::ofstream(path.string() + ".lnk") << 'x';
            files_[path.string() + ".lnk"] = 0;
            break;
        case kLink:
            std::filesystem::create_directory_symlink(folders_[to % folders_.size()], path);
            break;
        }
    }

    const std::filesystem::path& Root() const { return root_; }
    std::map<std::string, int>& Files() { return files_; }

  private:
    std::filesystem::path root_;
    std::vector<std::filesystem::path> folders_;
    std::map<std::string, int> files_; // real file -> times listed
    int names_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Tree tree;
    for (std::size_t i = 0; i + 2 < size && i / 3 < kMaxSteps; i += 3)
        tree.Add(data[i], data[i + 1], data[i + 2]);
    for (const auto& found : tov::WalkFolder(tree.Root().string())) {
        std::string path = found.Folder + found.FindData.name;
        for (auto& c : path)
            if (c == '\\')
                c = '/';
        const auto it = tree.Files().find(path);
        if (it == tree.Files().end())
            std::abort(); // listed through a link, or not a file at all
        ++it->second;
    }
    for (const auto& [path, listed] : tree.Files())
        if (listed != 1)
            std::abort();
    return 0;
}
