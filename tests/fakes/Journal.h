#pragma once
// One ordered record of everything the program asked of the fake machine, so
// that tests can compare whole sequences.
#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvanta {

class Journal {
public:
    void add(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

    // The lines that begin with one of the prefixes, in order.
    std::vector<std::string> only(std::initializer_list<std::string_view> prefixes) const {
        std::vector<std::string> kept;
        for (const std::string& line : lines_) {
            const bool match = std::any_of(prefixes.begin(), prefixes.end(),
                                           [&](std::string_view p) { return line.starts_with(p); });
            if (match) kept.push_back(line);
        }
        return kept;
    }

    // How many lines contain the text.
    std::size_t count(std::string_view text) const {
        return static_cast<std::size_t>(std::count_if(
            lines_.begin(), lines_.end(),
            [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }

    // The position of the first line equal to `line`, or the number of lines.
    std::size_t indexOf(std::string_view line) const {
        return static_cast<std::size_t>(std::find(lines_.begin(), lines_.end(), line) - lines_.begin());
    }

private:
    std::vector<std::string> lines_;
};

} // namespace orvanta
