// Real shortcut files from ../shared/corpus/lnk (gathered from public parser test suites; see
// the corpus's SOURCES.md) against the reference parser's output in ../shared/corpus/lnk-expected.
#include "catalogue/shortcut.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace tov {
namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
    if (const char* dir = std::getenv("TOVLEN_CORPUS_DIR"))
        return dir;
    return TOVLEN_CORPUS_DIR;
}

// The reference prints "\t<Label>\t\t: <value>" lines; the value runs to the end of the line.
std::map<std::string, std::string> ReferenceFields(const fs::path& file) {
    std::map<std::string, std::string> fields;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 2 || line[0] != '\t' || line[1] == '\t')
            continue;
        const auto colon = line.find("\t: ");
        if (colon == std::string::npos)
            continue;
        const auto labelEnd = line.find_last_not_of('\t', colon);
        fields.emplace(line.substr(1, labelEnd), line.substr(colon + 3));
    }
    return fields;
}

std::string Field(const std::map<std::string, std::string>& fields, const std::string& label) {
    const auto it = fields.find(label);
    return it == fields.end() ? std::string() : it->second;
}

// The reference turns an unpaired UTF-16 surrogate and the unit after it into one U+FFFD; the
// link reader keeps the following unit, so "_\xD800.exe" reads as "_\uFFFD.exe" here.
std::string UndoReferenceMangling(const std::string& name, std::string value) {
    if (name != "plaso__unpaired_surrogate.lnk")
        return value;
    const std::string mangled = "\xEF\xBF\xBD"
                                "exe";
    if (const auto at = value.find(mangled); at != std::string::npos)
        value.replace(at, mangled.size(), "\xEF\xBF\xBD.exe");
    return value;
}

std::vector<fs::path> CorpusLinks() {
    std::vector<fs::path> links;
    for (const auto& entry : fs::directory_iterator(CorpusDir() / "lnk"))
        links.push_back(entry.path());
    std::sort(links.begin(), links.end());
    return links;
}

TEST(ShortcutCorpus, AgreesWithTheReferenceParser) {
    ASSERT_TRUE(fs::is_directory(CorpusDir() / "lnk-expected")) << "no corpus at " << CorpusDir();
    int compared = 0;
    for (const auto& link : CorpusLinks()) {
        const std::string name = link.filename().string();
        const fs::path expectedFile = CorpusDir() / "lnk-expected" / (name + ".lnkinfo.txt");
        ASSERT_TRUE(fs::exists(expectedFile)) << name;
        auto expected = ReferenceFields(expectedFile);
        for (auto& [label, value] : expected)
            value = UndoReferenceMangling(name, value);
        ShortcutInfo info;
        const bool ok = ReadShortcut(link.string(), info);
        if (expected.empty()) { // the reference could not read it either
            EXPECT_FALSE(ok) << name;
            continue;
        }
        ++compared;
        std::string target = Field(expected, "Local path");
        if (target.empty())
            target = Field(expected, "Network path");
        EXPECT_EQ(info.Target, target) << name;
        EXPECT_EQ(ok, !target.empty()) << name;
        EXPECT_EQ(info.Arguments, Field(expected, "Command line arguments")) << name;
        EXPECT_EQ(info.WorkingFolder, Field(expected, "Working directory")) << name;
        EXPECT_EQ(info.IconLocation, Field(expected, "Icon location")) << name;
        EXPECT_EQ(info.Description, Field(expected, "Description")) << name;
        EXPECT_EQ(info.RelativePath, Field(expected, "Relative path")) << name;
    }
    EXPECT_EQ(compared, 59);
}

} // namespace
} // namespace tov
