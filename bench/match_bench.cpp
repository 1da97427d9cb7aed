// The ranking that runs inside the keyboard hook on every key, beside the floor for one
// pass over the same phrases: a memmem scan that only finds the typed text.
//   tovlen_bench --benchmark_filter='BM_(MatchCommand|ReferenceScan)/100000' --benchmark_repetitions=10
#include "base/text.h"
#include "catalogue/build.h"
#include "suggest/rank.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <map>
#include <random>

namespace tov {
namespace {

// Typed texts of 1, 3 and 6 characters, as the user types "notepad". Every "run" phrase holds
// an "n", so the one-letter text matches nearly the whole list: the hardest case.
constexpr std::string_view kTypedWord = "notepad";

constexpr std::array kVendors = {
    "Microsoft", "Adobe",      "Mozilla",   "Google",   "JetBrains", "Oracle",      "VideoLAN", "Igor Pavlov",
    "Notepad++", "Autodesk",   "Corel",     "Apple",    "Python",    "Git",         "Steam",    "Valve",
    "Nvidia",    "Intel",      "Realtek",   "Logitech", "Zoom",      "Slack",       "Spotify",  "Dropbox",
    "WinRAR",    "TeamViewer", "Audacity",  "GIMP",     "Inkscape",  "LibreOffice", "Blender",  "OBS",
    "Wireshark", "PuTTY",      "FileZilla", "KeePass",  "Paint.NET", "HandBrake",   "Calibre",  "Sumatra"};
constexpr std::array kProducts = {"Visual Studio",
                                  "Word",
                                  "Excel",
                                  "Outlook",
                                  "PowerPoint",
                                  "OneNote",
                                  "Access",
                                  "Publisher",
                                  "Teams",
                                  "Edge",
                                  "Photoshop",
                                  "Acrobat Reader DC",
                                  "Illustrator",
                                  "Premiere Pro",
                                  "Firefox",
                                  "Thunderbird",
                                  "Chrome",
                                  "Drive",
                                  "IntelliJ IDEA",
                                  "PyCharm",
                                  "CLion",
                                  "VirtualBox",
                                  "Java Control Panel",
                                  "VLC media player",
                                  "7-Zip File Manager",
                                  "Notepad",
                                  "AutoCAD",
                                  "CorelDRAW",
                                  "iTunes",
                                  "IDLE",
                                  "Git Bash",
                                  "Git GUI",
                                  "Client",
                                  "Control Panel",
                                  "Graphics Command Center",
                                  "Audio Console",
                                  "Options",
                                  "Meetings",
                                  "Desktop",
                                  "Music",
                                  "Sync",
                                  "Archiver",
                                  "Remote Support",
                                  "Editor",
                                  "Image Manipulation Program",
                                  "Vector Graphics Editor",
                                  "Writer",
                                  "Calc",
                                  "Impress",
                                  "Draw",
                                  "Studio",
                                  "Network Analyzer",
                                  "SSH Client",
                                  "FTP Client",
                                  "Password Safe",
                                  "Video Transcoder",
                                  "E-book Manager",
                                  "PDF Reader",
                                  "SQL Developer",
                                  "Management Studio"};
constexpr std::array kEditions = {"",     "",         "",          "2019",         "2022",       "2024",
                                  "x64",  "(64-bit)", "Community", "Professional", "Enterprise", "CE",
                                  "3.12", "10",       "11",        "Preview",      "Beta",       "LTS"};
constexpr std::array kExtras = {"",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "Uninstall",
                                "Help",
                                "Readme",
                                "Release Notes",
                                "Documentation",
                                "Command Prompt",
                                "Settings",
                                "Safe Mode",
                                "Website",
                                "Tools",
                                "Manual",
                                "License"};

std::string RandomName(std::mt19937& random) {
    auto pick = [&](const auto& list) { return std::string(list[random() % list.size()]); };
    std::string name = pick(kVendors) + " " + pick(kProducts);
    if (const std::string edition = pick(kEditions); !edition.empty())
        name += " " + edition;
    if (const std::string extra = pick(kExtras); !extra.empty())
        name = random() % 2 ? extra + " " + name : name + " " + extra;
    return name;
}

// The phrase list as a build leaves it: the fixed slots, then run phrases.
struct Workload {
    std::vector<std::string> phrases;
    UsageMemory usage;
};

const Workload& WorkloadOf(std::size_t programs) {
    static std::map<std::size_t, Workload> cache;
    auto [it, fresh] = cache.try_emplace(programs);
    Workload& w = it->second;
    if (!fresh)
        return w;
    std::mt19937 random(static_cast<unsigned>(programs));
    w.phrases = FixedPhraseSlots();
    while (w.phrases.size() < programs)
        w.phrases.push_back(RunPhrase(RandomName(random)));

    const std::size_t firstOpen = FixedPhraseSlots().size();
    auto anyPhrase = [&] { return w.phrases[firstOpen + random() % (w.phrases.size() - firstOpen)]; };
    std::vector<InfluenceEntry> influence;
    for (int i = 0; i < 150; ++i) {
        const int count = static_cast<int>(random() % 11) - 5;
        std::string phrase = anyPhrase();
        if (i % 3 == 0)
            phrase = "Run " + RandomName(random); // written by hand, in any letter case
        influence.push_back({phrase, static_cast<std::int16_t>(count == 0 ? 3 : count)});
    }
    for (int i = 0; i < 50; ++i)
        influence.push_back(
            {"run " + LowerCase(RandomName(random)) + " old", static_cast<std::int16_t>(i % 7 - 3)});
    SetInfluenceList(w.usage, std::move(influence));

    std::vector<TackEntry> tacks;
    for (std::size_t length : {1, 3, 6})
        tacks.push_back({anyPhrase(), std::string(kTypedWord.substr(0, length))});
    while (tacks.size() < 50)
        tacks.push_back({anyPhrase(), LowerCase(RandomName(random)).substr(0, 1 + random() % 5)});
    SetTackList(w.usage, std::move(tacks));
    return w;
}

void BM_MatchCommand(benchmark::State& state) {
    const Workload& w = WorkloadOf(static_cast<std::size_t>(state.range(0)));
    const std::string_view typed = kTypedWord.substr(0, static_cast<std::size_t>(state.range(1)));
    Ranking ranking; // reused from key to key, as the running program does
    for (auto _ : state) {
        RankMatches(w.phrases, typed, w.usage, ranking);
        benchmark::DoNotOptimize(ranking.matches.data());
    }
    state.counters["matches"] = static_cast<double>(ranking.matches.size());
}

void BM_ReferenceScan(benchmark::State& state) {
    const Workload& w = WorkloadOf(static_cast<std::size_t>(state.range(0)));
    const std::string_view typed = kTypedWord.substr(0, static_cast<std::size_t>(state.range(1)));
    std::size_t matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (std::size_t i = 1; i < w.phrases.size(); ++i)
            matches +=
                memmem(w.phrases[i].data(), w.phrases[i].size(), typed.data(), typed.size()) != nullptr;
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(matches);
}

BENCHMARK(BM_MatchCommand)->ArgsProduct({{1000, 10000, 100000}, {1, 3, 6}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReferenceScan)->ArgsProduct({{1000, 10000, 100000}, {1, 3, 6}})->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tov
