// An influence list read from any bytes must answer every look-up as the plain rule does:
// the count of the first entry whose phrase, lower-cased, equals the phrase lower-cased.
#include "base/text.h"
#include "catalogue/list_file.h"
#include "suggest/usage.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines =
        tov::DecodeListFile(std::string_view(reinterpret_cast<const char*>(data), size)).lines;
    tov::UsageMemory usage;
    tov::SetInfluenceList(usage, tov::ParseInfluenceLines(lines));
    for (const auto& e : usage.influence)
        if (e.count < -32767 || e.count > 32767)
            std::abort();
    for (const std::string& line : lines) {
        std::int16_t expected = 0;
        for (const auto& e : usage.influence)
            if (tov::LowerCase(e.phrase) == tov::LowerCase(line)) {
                expected = e.count;
                break;
            }
        if (tov::GetInfluence(usage, line) != expected)
            std::abort();
    }
    return 0;
}
