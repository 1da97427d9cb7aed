#pragma once
// A fresh program folder for tests of the usage files, removed afterwards.
#include "support/temp_folder.h"

#include <fstream>
#include <iterator>
#include <string>

namespace tov::test {

class ProgramFolder {
  public:
    std::string Path() const { return temp_.Path().string(); }
    std::string File(const std::string& name) const { return temp_ / name; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }

  private:
    testing::TempFolder temp_;
};

} // namespace tov::test
