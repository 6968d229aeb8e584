#include "report/ReportEscape.h"

#include <cstring>

namespace report {

namespace {

const char* EntityOf(char c) {
  switch (c) {
    case '"':
      return "&quot;";
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    default:
      return nullptr;
  }
}

}  // namespace

std::string HtmlEscape(const std::string& text) {
  // Two passes: count the escaped length first, so the result is allocated once and filled in
  // place; a report has thousands of values and most of them need no escaping at all.
  size_t length = 0;
  for (char c : text) {
    const char* entity = EntityOf(c);
    length += entity != nullptr ? std::strlen(entity) : 1;
  }
  if (length == text.size()) return text;

  std::string out(length, '\0');
  size_t at = 0;
  for (char c : text) {
    if (const char* entity = EntityOf(c)) {
      const size_t n = std::strlen(entity);
      out.replace(at, n, entity, n);
      at += n;
    } else {
      out[at++] = c;
    }
  }
  return out;
}

}  // namespace report
