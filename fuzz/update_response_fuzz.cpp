// The update server's reply, read in pieces of any size, must come to the same verdict and
// the same installer bytes as when read whole; the first input byte chooses the piece size.
#include "update/response.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t piece = data[0] % 17 + 1;
    const std::string_view reply(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool closed = data[0] & 0x80;

    tov::UpdateResponse whole;
    whole.Append(reply);
    tov::UpdateResponse cut;
    for (std::size_t i = 0; i < reply.size(); i += piece)
        cut.Append(reply.substr(i, piece));
    if (closed) {
        whole.EndOfStream();
        cut.EndOfStream();
    }
    if (whole.Verdict() != cut.Verdict() || whole.Body() != cut.Body())
        std::abort();
    if (whole.Verdict() == tov::ResponseVerdict::Complete && whole.Body().size() > reply.size())
        std::abort();
    return 0;
}
