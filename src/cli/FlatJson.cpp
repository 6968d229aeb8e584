#include "cli/FlatJson.h"

#include <cstdint>

namespace cli {
namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  std::vector<JsonMember> Object() {
    std::vector<JsonMember> members;
    Space();
    Expect('{');
    Space();
    if (Peek() == '}') {
      ++at_;
    } else {
      for (;;) {
        Space();
        JsonMember m;
        m.name = String();
        for (const JsonMember& seen : members)
          if (seen.name == m.name) Fail("the name " + m.name + " is repeated");
        Space();
        Expect(':');
        Space();
        if (Peek() == '"') {
          m.value = String();
        } else if (s_.compare(at_, 4, "true") == 0) {
          at_ += 4;
          m.value = "1";
          m.isBool = true;
        } else if (s_.compare(at_, 5, "false") == 0) {
          at_ += 5;
          m.value = "0";
          m.isBool = true;
        } else {
          Fail("a value must be a string, true or false");
        }
        members.push_back(std::move(m));
        Space();
        if (Peek() == ',') {
          ++at_;
          continue;
        }
        Expect('}');
        break;
      }
    }
    Space();
    if (at_ != s_.size()) Fail("text after the object");
    return members;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw JsonError("JSON at byte " + std::to_string(at_) + ": " + what);
  }
  char Peek() const { return at_ < s_.size() ? s_[at_] : '\0'; }
  void Expect(char c) {
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    ++at_;
  }
  void Space() {
    while (at_ < s_.size() &&
           (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r'))
      ++at_;
  }
  unsigned Hex4() {
    if (at_ + 4 > s_.size()) Fail("a short \\u escape");
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[at_++];
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        v |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        v |= static_cast<unsigned>(c - 'A' + 10);
      else
        Fail("a bad \\u escape");
    }
    return v;
  }
  static void PutUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  // A UTF-8 sequence copied as it stands once it is checked to be one.
  void Utf8Sequence(std::string& out) {
    const auto lead = static_cast<unsigned char>(s_[at_]);
    const int extra = lead >= 0xF0 && lead < 0xF5   ? 3
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                                                    : -1;
    if (extra < 0 || at_ + static_cast<size_t>(extra) >= s_.size()) Fail("broken UTF-8");
    for (int i = 1; i <= extra; ++i)
      if ((static_cast<unsigned char>(s_[at_ + static_cast<size_t>(i)]) & 0xC0) != 0x80)
        Fail("broken UTF-8");
    out.append(s_, at_, static_cast<size_t>(extra) + 1);
    at_ += static_cast<size_t>(extra) + 1;
  }
  std::string String() {
    Expect('"');
    std::string out;
    for (;;) {
      if (at_ >= s_.size()) Fail("an unterminated string");
      const auto c = static_cast<unsigned char>(s_[at_]);
      if (c == '"') {
        ++at_;
        return out;
      }
      if (c < 0x20) Fail("a control character in a string");
      if (c >= 0x80) {
        Utf8Sequence(out);
        continue;
      }
      ++at_;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      const char e = Peek();
      ++at_;
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          uint32_t cp = Hex4();
          if (cp >= 0xD800 && cp < 0xDC00) {
            if (s_.compare(at_, 2, "\\u") != 0) Fail("a lone surrogate");
            at_ += 2;
            const uint32_t low = Hex4();
            if (low < 0xDC00 || low >= 0xE000) Fail("a lone surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp < 0xE000) {
            Fail("a lone surrogate");
          }
          PutUtf8(out, cp);
          break;
        }
        default:
          Fail("a bad escape");
      }
    }
  }

  const std::string& s_;
  size_t at_ = 0;
};

}  // namespace

std::vector<JsonMember> ParseFlatJson(const std::string& text) {
  return Parser(text).Object();
}

}  // namespace cli
