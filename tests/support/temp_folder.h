#pragma once
// A folder of its own under the system's temporary folder, removed with everything in it.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace tov::testing {

// A path as the program writes it (backslashes) in the form the host's file functions take.
inline std::filesystem::path HostPath(std::string path) {
#ifndef _WIN32
    for (auto& c : path)
        if (c == '\\')
            c = '/';
#endif
    return path;
}

class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        for (;;) {
            path_ = std::filesystem::temp_directory_path() / ("tovlen-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(path_))
                break;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A path below the folder, as the program writes paths (the platform maps the separators).
    std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }
    // The bytes of a file in the folder; empty when there is none.
    std::string Read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

  private:
    std::filesystem::path path_;
};

} // namespace tov::testing
