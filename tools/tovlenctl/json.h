#pragma once
// A small JSON writer for the console tool's output.
#include <cstdint>
#include <string>
#include <string_view>

namespace tov::json {

inline std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

// Builds one object or array, adding commas between members.
class Writer {
  public:
    Writer& BeginObject() { return Open('{'); }
    Writer& EndObject() { return Close('}'); }
    Writer& BeginArray() { return Open('['); }
    Writer& EndArray() { return Close(']'); }
    Writer& Key(std::string_view key) {
        Separate();
        out_ += Quote(key) + ":";
        afterKey_ = true;
        return *this;
    }
    Writer& String(std::string_view value) { return Raw(Quote(value)); }
    Writer& Number(std::int64_t value) { return Raw(std::to_string(value)); }
    Writer& Bool(bool value) { return Raw(value ? "true" : "false"); }
    Writer& Null() { return Raw("null"); }
    Writer& Field(std::string_view key, std::string_view value) { return Key(key).String(value); }
    const std::string& Text() const { return out_; }

  private:
    Writer& Raw(std::string_view text) {
        Separate();
        out_ += text;
        return *this;
    }
    Writer& Open(char c) {
        Separate();
        out_ += c;
        first_ = true;
        return *this;
    }
    Writer& Close(char c) {
        out_ += c;
        first_ = false;
        return *this;
    }
    void Separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (!first_)
            out_ += ',';
        first_ = false;
    }
    std::string out_;
    bool first_ = true;
    bool afterKey_ = false;
};

} // namespace tov::json
