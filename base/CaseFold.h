#pragma once

#include <string>
#include <string_view>

namespace canprog {

// UTF-8 text with its capital letters made small, for searches that ignore case: the Latin
// letters with those of the languages the window speaks (ą, č, ő, ß stays), and Cyrillic.
// Bytes that are not UTF-8 are kept as they are.
std::string foldCase(std::string_view utf8);

// Whether `needle` stands in `haystack`, case ignored as above.
bool containsFolded(std::string_view haystack, std::string_view needle);

}  // namespace canprog
