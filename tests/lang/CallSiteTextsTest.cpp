#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/Cp1250.h"
#include "lang/BuiltinLanguages.h"
#include "lang/LngFile.h"

// Every look-up of a text passes the Czech text as its default, and the built-in Czech language
// holds the same texts. The defaults show whenever a language lacks a key (and always for the
// [EEPROM] texts, whose Czech header never matches), so the two copies must not drift apart.
// These tests read every call site in src/ and compare its default with the built-in Czech
// language.

namespace {

namespace fs = std::filesystem;

// ---- A small C++ tokenizer: enough to find calls and read their literal arguments. ----------

struct Token {
  enum Kind { Ident, String, Number, Punct } kind;
  std::string text;  // String: the bytes the literal stands for; otherwise the spelling
  int line;
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of an ordinary literal's body, from just after its opening quote; pos ends after
// the closing quote.
std::string DecodeLiteral(const std::string& src, size_t& pos, int& line) {
  std::string out;
  while (pos < src.size() && src[pos] != '"') {
    char c = src[pos++];
    if (c == '\n') ++line;
    if (c != '\\' || pos >= src.size()) {
      out += c;
      continue;
    }
    c = src[pos++];
    if (c == 'x') {
      int value = 0;
      while (pos < src.size() && HexValue(src[pos]) >= 0) value = value * 16 + HexValue(src[pos++]);
      out += static_cast<char>(value);
    } else if (c >= '0' && c <= '7') {
      int value = c - '0';
      for (int k = 0; k < 2 && pos < src.size() && src[pos] >= '0' && src[pos] <= '7'; ++k)
        value = value * 8 + (src[pos++] - '0');
      out += static_cast<char>(value);
    } else {
      static const std::string from = "ntrabfv", to = "\n\t\r\a\b\f\v";
      const size_t k = from.find(c);
      out += k == std::string::npos ? c : to[k];
    }
  }
  ++pos;
  return out;
}

std::vector<Token> Tokenize(const std::string& src) {
  std::vector<Token> tokens;
  size_t pos = 0;
  int line = 1;
  bool lineStart = true;
  auto isIdent = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  while (pos < src.size()) {
    const char c = src[pos];
    if (c == '\n') {
      ++line;
      ++pos;
      lineStart = true;
      continue;
    }
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++pos;
      continue;
    }
    if (c == '#' && lineStart) {  // a preprocessor line, continuations included
      while (pos < src.size() && src[pos] != '\n') {
        if (src[pos] == '\\' && pos + 1 < src.size() && src[pos + 1] == '\n') {
          ++line;
          ++pos;
        }
        ++pos;
      }
      continue;
    }
    lineStart = false;
    if (src.compare(pos, 2, "//") == 0) {
      pos = std::min(src.find('\n', pos), src.size());
      continue;
    }
    if (src.compare(pos, 2, "/*") == 0) {
      const size_t end = std::min(src.find("*/", pos + 2), src.size());
      line += static_cast<int>(std::count(src.begin() + pos, src.begin() + end, '\n'));
      pos = std::min(end + 2, src.size());
      continue;
    }
    const int at = line;
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t end = pos;
      while (end < src.size() && isIdent(src[end])) ++end;
      const std::string word = src.substr(pos, end - pos);
      pos = end;
      if (pos < src.size() && src[pos] == '"' && !word.empty() && word.back() == 'R') {
        // Raw literal: R"delimiter( ... )delimiter"
        const size_t open = src.find('(', pos);
        const std::string close = ")" + src.substr(pos + 1, open - pos - 1) + "\"";
        const size_t stop = src.find(close, open);
        const std::string body = src.substr(open + 1, stop - open - 1);
        line += static_cast<int>(std::count(body.begin(), body.end(), '\n'));
        tokens.push_back({Token::String, body, at});
        pos = stop + close.size();
      } else if (pos < src.size() && src[pos] == '"' &&
                 (word == "u8" || word == "u" || word == "U" || word == "L")) {
        ++pos;
        tokens.push_back({Token::String, DecodeLiteral(src, pos, line), at});
      } else {
        tokens.push_back({Token::Ident, word, at});
      }
      continue;
    }
    if (c == '"') {
      ++pos;
      tokens.push_back({Token::String, DecodeLiteral(src, pos, line), at});
      continue;
    }
    if (c == '\'') {
      size_t end = pos + 1;
      while (end < src.size() && src[end] != '\'') end += src[end] == '\\' ? 2 : 1;
      tokens.push_back({Token::Number, src.substr(pos, end + 1 - pos), at});
      pos = end + 1;
      continue;
    }
    if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t end = pos;
      while (end < src.size() && (isIdent(src[end]) || src[end] == '.' || src[end] == '\'')) ++end;
      tokens.push_back({Token::Number, src.substr(pos, end - pos), at});
      pos = end;
      continue;
    }
    const size_t width = src.compare(pos, 2, "::") == 0 || src.compare(pos, 2, "->") == 0 ? 2 : 1;
    tokens.push_back({Token::Punct, src.substr(pos, width), at});
    pos += width;
  }
  return tokens;
}

// ---- Call sites of the text look-ups -------------------------------------------------------

using Arg = std::vector<Token>;

// A function whose calls carry a key and its Czech default: GetLangText itself and the small
// wrappers around it. A wrapper bound to one file is a local helper; a name like Text means
// something else elsewhere.
struct TextFunction {
  const char* name;
  const char* file;     // relative to the source root; nullptr: every file
  const char* section;  // nullptr: the first argument
  std::vector<std::pair<size_t, size_t>> keyAndText;  // argument positions
  bool hasIndex = false;  // GetLangText's optional index and language id follow the default
};

const std::vector<TextFunction>& TextFunctions() {
  static const std::vector<TextFunction> functions = {
      {"GetLangText", nullptr, nullptr, {{1, 2}}, true},
      {"Text", "src/protocol/VUniModule.cpp", "Texts", {{0, 1}}},
      {"Text", "src/protocol/VScriptConnect.cpp", "Texts", {{0, 1}}},
      {"Text", "src/protocol/VScriptSyncEEPROM.cpp", "Texts", {{0, 1}}},
      {"ReportText", "src/report/ReportExpression.cpp", "Report", {{0, 1}}},
      {"AddLangText", nullptr, "Report", {{0, 1}}},
      {"BindBit", "src/device/KXADCdect.cpp", "EEPROM", {{3, 4}}},
      {"VSettingBit2Check", nullptr, "EEPROM", {{2, 3}, {7, 8}}},
  };
  return functions;
}

// Calls whose key or default is computed, with the reason they are left to other checks. Each
// entry is the call as written, blanks removed; an entry that matches no call fails the test, so
// the list cannot go stale.
struct Exception {
  const char* file;
  const char* call;
  const char* reason;
};

const std::vector<Exception>& Exceptions() {
  static const std::vector<Exception> exceptions = {
      {"src/base/LangText.cpp", "GetLangText(section,key,defaultText,index,languageId)",
       "forwards its caller's arguments to the installed language"},
      {"src/lang/VQelLanguage.cpp", "GetLangText(section,key,defaultText,index,languageId)",
       "forwards its caller's arguments to the catalogue"},
      {"src/lang/VQelLanguage.cpp", "GetLangText(defaultSection_,key,key)",
       "simple texts are their own keys"},
      {"src/lang/WindowTranslator.cpp", "GetLangText(formName,c.Name(),caption)",
       "windows are translated by control name; the design caption is the default"},
      {"src/lang/WindowTranslator.cpp", "GetLangText(formName,c.Name()+\"_Hint\",hint)",
       "windows are translated by control name; the design hint is the default"},
      {"src/lang/WindowTranslator.cpp", "GetLangText(section,c.Name()+\"_Filter\",piece,int(i/2))",
       "file dialog filters, by control name"},
      {"src/lang/WindowTranslator.cpp", "GetLangText(section,name+\"_Count\",\"\")",
       "item lists, by control name; no default"},
      {"src/lang/WindowTranslator.cpp", "GetLangText(section,name,\"\",static_cast<int>(i))",
       "item lists, by control name; no default"},
      {"src/protocol/VUniModule.cpp", "GetLangText(\"Texts\",key,czech)",
       "the file's Text wrapper; its calls are checked"},
      {"src/protocol/VScriptConnect.cpp", "GetLangText(\"Texts\",key,czech)",
       "the file's Text wrapper; its calls are checked"},
      {"src/protocol/VScriptSyncEEPROM.cpp", "GetLangText(\"Texts\",key,czech)",
       "the file's Text wrapper; its calls are checked"},
      {"src/report/ReportExpression.cpp", "GetLangText(\"Report\",key,defaultText)",
       "the ReportText wrapper; its calls are checked"},
      {"src/report/ReportExpression.cpp", "ReportText(textKey,defaultText)",
       "keys and defaults of report options, checked where the report is built"},
      {"src/report/VEepReport.cpp", "GetLangText(\"Report\",text_,defaultText_)",
       "a report record's text, checked at AddLangText"},
      {"src/settings/VSettingBit2Check.cpp", "GetLangText(\"EEPROM\",hintKey_,hintDefault_)",
       "a check box's hint, checked where the check box is bound"},
      {"src/settings/VSettingBit2Check.cpp", "GetLangText(\"EEPROM\",captionKey_,captionDefault_)",
       "a check box's caption, checked where the check box is bound"},
      {"src/device/KXADCdect.cpp",
       "VSettingBit2Check(bits_[offset]->bit(bit),box,hintKey,hintDefault,bit)",
       "BindBit's key and default, checked at BindBit"},
  };
  return exceptions;
}

struct FoundText {
  std::string where;  // file:line
  std::string section;
  std::string key;
  std::string text;  // Windows-1250
};

struct ScanResult {
  std::vector<FoundText> texts;
  std::vector<std::string> unparsed;  // file:line and the call
  std::vector<std::string> excepted;  // "file|call" of the exceptions that matched
};

bool IsTypeWord(const Token& t) {
  return t.kind == Token::Ident ||
         (t.kind == Token::Punct &&
          (t.text == "::" || t.text == "*" || t.text == "&" || t.text == "<" || t.text == ">"));
}

// A parameter declaration ("const std::string& key", "int index = -1"), not an argument.
bool LooksLikeParameter(const Arg& arg) {
  size_t end = arg.size();
  for (size_t i = 0; i < arg.size(); ++i)
    if (arg[i].kind == Token::Punct && arg[i].text == "=") end = i;
  if (end < 2 || arg[end - 1].kind != Token::Ident) return false;
  int words = 0;
  for (size_t i = 0; i < end; ++i) {
    if (!IsTypeWord(arg[i])) return false;
    if (arg[i].kind == Token::Ident) ++words;
  }
  return words >= 2;
}

// Adjacent literals, or Win1250 of adjacent literals (UTF-8 in the source).
std::optional<std::string> TextOf(const Arg& arg) {
  size_t from = 0, to = arg.size();
  bool convert = false;
  if (arg.size() >= 3 && arg[0].kind == Token::Ident && arg[0].text == "Win1250" &&
      arg[1].text == "(" && arg.back().text == ")") {
    from = 2;
    to = arg.size() - 1;
    convert = true;
  }
  if (from >= to) return std::nullopt;
  std::string text;
  for (size_t i = from; i < to; ++i) {
    if (arg[i].kind != Token::String) return std::nullopt;
    text += arg[i].text;
  }
  return convert ? Utf8ToCp1250(text) : text;
}

std::optional<int> IntegerOf(const Arg& arg) {
  if (arg.size() == 1 && arg[0].kind == Token::Number) return std::stoi(arg[0].text, nullptr, 0);
  if (arg.size() == 2 && arg[0].text == "-" && arg[1].kind == Token::Number)
    return -std::stoi(arg[1].text, nullptr, 0);
  return std::nullopt;
}

bool IsNoKey(const Arg& arg) {
  return (arg.size() == 1 && arg[0].text == "nullptr") ||
         (arg.size() == 2 && arg[0].text == "{" && arg[1].text == "}");
}

std::string Squeezed(const std::string& text) {
  std::string out;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) out += c;
  return out;
}

// Named string constants of a file ("const char* const kTexts = "Texts";").
std::map<std::string, std::string> Constants(const std::vector<Token>& tokens) {
  std::map<std::string, std::string> constants;
  for (size_t i = 0; i + 2 < tokens.size(); ++i) {
    if (tokens[i].kind != Token::Ident || tokens[i + 1].text != "=" ||
        tokens[i + 2].kind != Token::String)
      continue;
    size_t end = i + 2;
    std::string value;
    while (end < tokens.size() && tokens[end].kind == Token::String) value += tokens[end++].text;
    if (end < tokens.size() && tokens[end].text == ";") constants[tokens[i].text] = value;
  }
  return constants;
}

// The report's expressions name language texts in their options: "empty=Key,default" and
// "enable=Control,Key,default"; the control name may be joined in from a variable, leaving
// ",Key,default" in the literal. Splitting follows the report engine: quotes protect delimiters.
std::string ReadOptionToken(const std::string& text, size_t& pos, int delimiter) {
  const size_t start = pos;
  bool quoted = false, plainOutside = false;
  for (; pos < text.size(); ++pos) {
    if (text[pos] == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (static_cast<unsigned char>(text[pos]) == delimiter) break;
      plainOutside = true;
    }
  }
  std::string token = text.substr(start, pos - start);
  if (pos < text.size()) ++pos;
  if (plainOutside || token.empty()) return token;
  const size_t end = token.size() > 1 && token.back() == '"' ? token.size() - 1 : token.size();
  return token.substr(1, end - 1);
}

void ReportOptionTexts(const std::string& literal, const std::string& where,
                       std::vector<FoundText>& found) {
  size_t pos = 0;
  while (pos < literal.size()) {
    const std::string option = ReadOptionToken(literal, pos, ' ');
    size_t at = 0;
    if (option.rfind("empty=", 0) == 0) {
      at = 6;
    } else if (option.rfind("enable=", 0) == 0 || option.rfind("disable=", 0) == 0) {
      at = option.find('=') + 1;
      ReadOptionToken(option, at, ',');  // the control
    } else if (!option.empty() && option[0] == ',') {
      at = 1;  // the control's name came from a variable
    } else {
      continue;
    }
    if (at >= option.size()) continue;
    const std::string key = ReadOptionToken(option, at, ',');
    const std::string text = ReadOptionToken(option, at, -1);
    if (!key.empty()) found.push_back({where, "Report", key, text});
  }
}

// Reads one source file (path relative to the source root, for messages and file-bound names).
void ScanSource(const std::string& file, const std::string& source, ScanResult& result) {
  const std::vector<Token> tokens = Tokenize(source);
  const std::map<std::string, std::string> constants = Constants(tokens);
  if (file == "src/device/Kx2Report.cpp") {
    for (size_t i = 0; i < tokens.size();) {
      size_t end = i;
      const bool wrapped =
          tokens[i].text == "Win1250" && i + 1 < tokens.size() && tokens[i + 1].text == "(";
      if (wrapped) end += 2;
      const size_t first = end;
      while (end < tokens.size() && tokens[end].kind == Token::String) ++end;
      if (end == first) {
        ++i;
        continue;
      }
      std::string text;
      for (size_t k = first; k < end; ++k) text += tokens[k].text;
      ReportOptionTexts(wrapped ? Utf8ToCp1250(text) : text,
                        file + ":" + std::to_string(tokens[i].line), result.texts);
      i = end;
    }
  }
  for (size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i].kind != Token::Ident || tokens[i + 1].text != "(") continue;
    const TextFunction* function = nullptr;
    for (const TextFunction& f : TextFunctions())
      if (tokens[i].text == f.name && (f.file == nullptr || file == f.file)) function = &f;
    if (function == nullptr) continue;
    const bool member = i > 0 && (tokens[i - 1].text == "." || tokens[i - 1].text == "->");
    if (member && function->file != nullptr) continue;  // another class's function of that name
    if (i > 0 && tokens[i - 1].text == "~") continue;   // a destructor

    // The arguments, split at commas outside brackets.
    std::vector<Arg> args(1);
    std::string spelling = tokens[i].text + "(";
    int depth = 0;
    size_t k = i + 2;
    for (; k < tokens.size(); ++k) {
      const std::string& t = tokens[k].text;
      const bool punct = tokens[k].kind == Token::Punct;
      if (punct && depth == 0 && t == ")") break;
      if (punct && (t == "(" || t == "[" || t == "{")) ++depth;
      if (punct && (t == ")" || t == "]" || t == "}")) --depth;
      if (punct && depth == 0 && t == ",") {
        args.emplace_back();
      } else {
        args.back().push_back(tokens[k]);
      }
      spelling += tokens[k].kind == Token::String ? "\"" + tokens[k].text + "\"" : t;
    }
    spelling += ")";
    if (args.size() == 1 && args[0].empty()) args.clear();
    if (!args.empty() && std::all_of(args.begin(), args.end(), LooksLikeParameter)) continue;

    const std::string where = file + ":" + std::to_string(tokens[i].line);
    std::vector<FoundText> texts;
    bool parsed = !args.empty();
    std::optional<std::string> section;
    if (function->section != nullptr) {
      section = function->section;
    } else if (!args.empty()) {
      section = TextOf(args[0]);
      if (!section && args[0].size() == 1 && constants.count(args[0][0].text))
        section = constants.at(args[0][0].text);
    }
    parsed = parsed && section.has_value();
    for (const auto& [keyArg, textArg] : function->keyAndText) {
      if (!parsed) break;
      if (keyArg >= args.size() || IsNoKey(args[keyArg])) continue;
      const auto key = TextOf(args[keyArg]);
      const auto text = textArg < args.size() ? TextOf(args[textArg]) : std::nullopt;
      if (!key || !text) {
        parsed = false;
        break;
      }
      texts.push_back({where, *section, *key, *text});
    }
    if (parsed && function->hasIndex && args.size() > 3) {
      const auto index = IntegerOf(args[3]);
      const bool languageOk = args.size() < 5 || IntegerOf(args[4]).has_value();
      parsed = index.has_value() && languageOk && args.size() <= 5;
      if (parsed) texts.back().key = lang::FullKey(texts.back().key, *index);
    }
    if (parsed) {
      result.texts.insert(result.texts.end(), texts.begin(), texts.end());
      continue;
    }
    const std::string squeezed = Squeezed(spelling);
    const auto exception = std::find_if(
        Exceptions().begin(), Exceptions().end(),
        [&](const Exception& e) { return file == e.file && squeezed == Squeezed(e.call); });
    if (exception != Exceptions().end())
      result.excepted.push_back(file + "|" + squeezed);
    else
      result.unparsed.push_back(where + ": " + spelling);
  }
}

ScanResult ScanSourceTree() {
  ScanResult result;
  const fs::path root = KX2_SOURCE_DIR;
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root / "src")) {
    const auto ext = entry.path().extension();
    if (ext == ".cpp" || ext == ".h") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& path : files) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream source;
    source << in.rdbuf();
    ScanSource(fs::relative(path, root).generic_string(), source.str(), result);
  }
  return result;
}

// section -> key -> text of the built-in Czech language.
using Table = std::map<std::string, std::map<std::string, std::string>>;

Table CzechTable() {
  Table table;
  std::string section;
  for (const std::string& line : lang::SplitLines(lang::BuiltinCzechText())) {
    if (!line.empty() && line[0] == '[') {
      // The [EEPROM] header carries its trailing blanks: still the same section here.
      section = line.substr(1, line.find(']') - 1);
    } else if (const size_t eq = line.find('='); eq != std::string::npos) {
      table[section][line.substr(0, eq)] = lang::DecodeLngValue(line.substr(eq + 1));
    }
  }
  return table;
}

// One message per default that the table does not hold, in UTF-8.
std::vector<std::string> Disagreements(const std::vector<FoundText>& texts, const Table& table) {
  std::vector<std::string> out;
  for (const FoundText& t : texts) {
    const std::string name = "[" + t.section + "] " + t.key;
    const auto section = table.find(t.section);
    if (section == table.end() || !section->second.count(t.key)) {
      out.push_back(t.where + ": " + name + " is not in the built-in Czech language");
      continue;
    }
    const std::string& czech = section->second.at(t.key);
    if (czech != t.text)
      out.push_back(t.where + ": " + name + " default \"" + Cp1250ToUtf8(t.text) +
                    "\", built-in Czech \"" + Cp1250ToUtf8(czech) + "\"");
  }
  return out;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "\n  " + line;
  return out;
}

}  // namespace

// The scanner itself: what it must read, what it must skip, and what it must refuse to guess.
TEST(CallSiteTexts, ScannerReadsWrappersLiteralsAndRefusesComputedTexts) {
  const std::string source = R"src(
#include "base/LangText.h"
// GetLangText("Texts", "Commented", "never seen")
const char* const kTexts = "Texts";
std::string Text(const char* key, const std::string& czech);  // a declaration
void F(ui::Control* c) {
  c->SetText(GetLangText(kTexts, "CommPortFreed", Win1250("Port uvolněn")));
  Show(Text("ConnectCancel", "P\xF8"
                             "eru\x9Ait") + Text("ConnectDo",
      Win1250("Připojit")));
  GetLangText("FormOptions", "RGroupExpLevel", Win1250("Základní"), 0);
  GetLangText("Texts", "DeviceDead", Win1250("Zařízení přestalo komunikovat."));
  GetLangText("Texts", key, "computed");
  c->Text();
}
)src";
  ScanResult result;
  ScanSource("src/protocol/VUniModule.cpp", source, result);
  ASSERT_EQ(result.texts.size(), 5u);
  EXPECT_EQ(result.texts[0].section, "Texts");
  EXPECT_EQ(result.texts[0].key, "CommPortFreed");
  EXPECT_EQ(result.texts[0].where, "src/protocol/VUniModule.cpp:7");
  EXPECT_EQ(result.texts[1].key, "ConnectCancel");
  EXPECT_EQ(result.texts[1].text, Win1250("Přerušit"));
  EXPECT_EQ(result.texts[2].key, "ConnectDo");
  EXPECT_EQ(result.texts[3].key, "RGroupExpLevel_0");
  ASSERT_EQ(result.unparsed.size(), 1u);
  EXPECT_NE(result.unparsed[0].find(":13: GetLangText(\"Texts\",key,\"computed\")"),
            std::string::npos)
      << result.unparsed[0];

  // Everything agrees except the planted, shortened DeviceDead text.
  const auto wrong = Disagreements(result.texts, CzechTable());
  ASSERT_EQ(wrong.size(), 1u) << Joined(wrong);
  EXPECT_NE(wrong[0].find(":12: [Texts] DeviceDead default"), std::string::npos) << wrong[0];

  // Texts of report options; a control joined in from a variable leaves ",Key,text".
  ScanResult report;
  ScanSource("src/device/Kx2Report.cpp",
             "A(\"EditPIN nonempty=<b>,</b> empty=Empty,<em>x y</em>\" + B(\",NotSent,\\\"a "
             "b\\\"\"), \" enable=\" + c + \",,&minus;\");",
             report);
  ASSERT_EQ(report.texts.size(), 2u);
  EXPECT_EQ(report.texts[0].key, "Empty");
  EXPECT_EQ(report.texts[0].text, "<em>x");  // a blank ends an option, as in the report engine
  EXPECT_EQ(report.texts[1].key, "NotSent");
  EXPECT_EQ(report.texts[1].text, "a b");
}

TEST(CallSiteTexts, EveryDefaultInTheSourcesIsTheBuiltInCzechText) {
  const ScanResult result = ScanSourceTree();
  EXPECT_TRUE(result.unparsed.empty())
      << "calls whose key or default is not literal; make them literal or add them, with the "
         "reason, to Exceptions():"
      << Joined(result.unparsed);
  for (const Exception& e : Exceptions()) {
    const std::string id = std::string(e.file) + "|" + Squeezed(e.call);
    EXPECT_NE(std::find(result.excepted.begin(), result.excepted.end(), id), result.excepted.end())
        << "stale exception " << e.file << ": " << e.call;
  }
  const auto wrong = Disagreements(result.texts, CzechTable());
  EXPECT_TRUE(wrong.empty()) << Joined(wrong);

  // The scan reaches every kind of call site: direct look-ups, each wrapper, report options.
  auto count = [&](const std::string& section, const std::string& key) {
    return std::count_if(result.texts.begin(), result.texts.end(),
                         [&](const FoundText& t) { return t.section == section && t.key == key; });
  };
  EXPECT_EQ(count("Texts", "ConnectAnywayQ"), 2);
  EXPECT_EQ(count("Texts", "CannotWriteCfg"), 2);
  EXPECT_EQ(count("Texts", "ConfigLong"), 1);
  EXPECT_EQ(count("Texts", "DeviceDead"), 1);
  EXPECT_EQ(count("Texts", "ConnectCancel"), 1);
  EXPECT_EQ(count("Texts", "EepReadBreak"), 1);
  EXPECT_EQ(count("FormAbout", "Version"), 1);
  EXPECT_EQ(count("Report", "True"), 1);
  EXPECT_EQ(count("Report", "GeneratedBy"), 1);
  EXPECT_GE(count("Report", "Empty"), 1);
  EXPECT_GE(count("Report", "NotSent"), 1);
  EXPECT_EQ(count("Report", "Days"), 1);
  EXPECT_EQ(count("EEPROM", "HintDigOutMent"), 1);
  EXPECT_GE(result.texts.size(), 50u);
}
