#pragma once
// How many columns a console gives a line of text: a CJK character and
// full-width punctuation (“”，。：（）) take two, everything else one.
#include <cstddef>
#include <string_view>

namespace orvanta {

// The line's width in console columns; `text` is UTF-8 (a byte that starts
// no well-formed sequence counts as one column).
std::size_t DisplayWidth(std::string_view text);

} // namespace orvanta
