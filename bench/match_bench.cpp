// The ranking the main thread runs for every key the input thread's hook reports (the refresh
// of the command window, through MatchCommand), beside the floor for one pass over the same
// phrases: a memmem scan that only finds the typed text. MatchCommand ranks with near matches
// off, MatchCommandNear with them on; NearKeys types whole words key by key into a list of names
// in several scripts and reports the time of each key's ranking.
//   tovlen_bench --benchmark_filter='BM_(MatchCommand|ReferenceScan)/100000' --benchmark_repetitions=10
//   tovlen_bench --benchmark_filter='BM_NearKeys' --benchmark_repetitions=5
#include "base/text.h"
#include "catalogue/build.h"
#include "catalogue/match_forms.h"
#include "suggest/rank.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <map>
#include <random>
#include <time.h>

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

// The phrase list as a build leaves it: the fixed slots, then run phrases, and their forms.
struct Workload {
    std::vector<std::string> phrases;
    std::vector<std::string> spelled;
    MatchForms forms;
    UsageMemory usage;
};

// 200 influence entries and 50 tacks, as a user who has used the program a while has them.
void FillUsage(Workload& w, std::mt19937& random) {
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
}

Workload PlainWorkload(std::size_t programs) {
    Workload w;
    std::mt19937 random(static_cast<unsigned>(programs));
    w.phrases = FixedPhraseSlots();
    while (w.phrases.size() < programs)
        w.phrases.push_back(RunPhrase(RandomName(random)));
    w.forms = BuildMatchForms(w.phrases);
    FillUsage(w, random);
    return w;
}

// Names as a Start menu of a user who reads several languages holds them: Latin names with and
// without accents, Chinese, Japanese and Korean names, Cyrillic ones, and mixtures.
constexpr std::array kForeignNames = {"微信",
                                      "QQ音乐",
                                      "网易云音乐",
                                      "腾讯会议",
                                      "钉钉",
                                      "百度网盘",
                                      "中国银行",
                                      "支付宝",
                                      "爱奇艺",
                                      "搜狗输入法",
                                      "金山文档",
                                      "迅雷",
                                      "カメラ",
                                      "メモ帳",
                                      "電卓",
                                      "ペイント",
                                      "フォト",
                                      "ファイル名を指定して実行",
                                      "コントロールパネル",
                                      "계산기",
                                      "메모장",
                                      "카카오톡",
                                      "네이버 웨일",
                                      "한글 2022",
                                      "그림판",
                                      "Café Crème",
                                      "Câmera",
                                      "Łódź Maps",
                                      "Éditeur de Texte",
                                      "Straße Planer",
                                      "Ærø Færge",
                                      "Блокнот",
                                      "Калькулятор",
                                      "Диспетчер задач",
                                      "Проводник",
                                      "Яндекс Браузер"};

Workload MixedWorkload(std::size_t programs) {
    Workload w;
    std::mt19937 random(static_cast<unsigned>(programs) + 1);
    w.spelled = FixedPhraseSlots();
    while (w.spelled.size() < programs) {
        std::string name =
            random() % 3 == 0 ? kForeignNames[random() % kForeignNames.size()] : RandomName(random);
        if (random() % 4 == 0)
            name += " " + std::string(kForeignNames[random() % kForeignNames.size()]);
        w.spelled.push_back("run " + name);
    }
    for (const std::string& s : w.spelled)
        w.phrases.push_back(LowerCase(s));
    w.forms = BuildMatchForms(w.phrases, [&w](std::size_t i) { return w.spelled[i]; });
    FillUsage(w, random);
    return w;
}

// Each workload is made once, however often the benchmarks ask for it.
const Workload& WorkloadOf(std::size_t programs, bool mixedScripts = false) {
    static std::map<std::pair<std::size_t, bool>, Workload> cache;
    const std::pair key{programs, mixedScripts};
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.emplace(key, mixedScripts ? MixedWorkload(programs) : PlainWorkload(programs)).first;
    return it->second;
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

void BM_MatchCommandNear(benchmark::State& state) {
    const Workload& w = WorkloadOf(static_cast<std::size_t>(state.range(0)));
    const std::string_view typed = kTypedWord.substr(0, static_cast<std::size_t>(state.range(1)));
    Ranking ranking;
    for (auto _ : state) {
        RankMatches(w.phrases, typed, w.usage, ranking, {.forms = &w.forms});
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
BENCHMARK(BM_MatchCommandNear)
    ->ArgsProduct({{1000, 10000, 100000}, {1, 3, 6}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReferenceScan)->ArgsProduct({{1000, 10000, 100000}, {1, 3, 6}})->Unit(benchmark::kMicrosecond);

// Words typed key by key; each key's line is ranked. The last is typed with a Russian layout.
struct TypedWord {
    std::string_view text;
    std::string_view usLayout; // what its keys type with the US layout
};
constexpr std::array kTypedWords = {
    TypedWord{"notepad", ""},  TypedWord{"weixin", ""}, TypedWord{"kamera", ""},
    TypedWord{"gyesangi", ""}, TypedWord{"vsc", ""},    TypedWord{"cafe creme", ""},
    TypedWord{"visaul", ""},   TypedWord{"ㄱㅅㄱ", ""}, TypedWord{"сфдсгдфещк", "calculator"}};

std::vector<std::pair<std::string, std::string>> TypedLines() {
    std::vector<std::pair<std::string, std::string>> lines;
    for (const TypedWord& word : kTypedWords) {
        std::vector<std::size_t> ends;
        for (std::size_t i = 1; i <= word.text.size(); ++i)
            if (i == word.text.size() || (static_cast<unsigned char>(word.text[i]) & 0xC0) != 0x80)
                ends.push_back(i);
        for (std::size_t k = 0; k < ends.size(); ++k)
            lines.emplace_back(word.text.substr(0, ends[k]),
                               word.usLayout.empty() ? std::string()
                                                     : std::string(word.usLayout.substr(0, k + 1)));
    }
    return lines;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(share * static_cast<double>(values.size()) + 0.999999);
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// Each key's ranking is timed twice: by the clock on the wall, which a busy machine stretches
// while other work has the processor, and by the processor time this thread spent on it.
void BM_NearKeys(benchmark::State& state) {
    const Workload& w = WorkloadOf(static_cast<std::size_t>(state.range(0)), true);
    const auto lines = TypedLines();
    // Kept for the whole run, as the program keeps its own for the session: the first key that
    // finds more than any before it grows the storage once, not once per repetition.
    static std::map<std::int64_t, Ranking> rankings;
    Ranking& ranking = rankings[state.range(0)];
    std::vector<double> wall;
    std::vector<double> cpu;
    for (auto _ : state) {
        for (const auto& [typed, usLayout] : lines) {
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = ThreadCpuMicroseconds();
            RankMatches(w.phrases, typed, w.usage, ranking, {.forms = &w.forms, .usLayoutText = usLayout});
            benchmark::DoNotOptimize(ranking.matches.data());
            cpu.push_back(ThreadCpuMicroseconds() - cpuStart);
            wall.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
    }
    state.counters["keys"] = static_cast<double>(lines.size());
    state.counters["p50_us"] = Percentile(wall, 0.5);
    state.counters["p99_us"] = Percentile(wall, 0.99);
    state.counters["cpu_p50_us"] = Percentile(cpu, 0.5);
    state.counters["cpu_p99_us"] = Percentile(cpu, 0.99);
}

BENCHMARK(BM_NearKeys)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tov
