#pragma once
// HTML escaping of the report's values: the four characters that HTML gives a meaning in text and
// attribute values become entities; every other byte (Windows-1250 letters included) stays.

#include <string>

namespace report {

std::string HtmlEscape(const std::string& text);

}  // namespace report
