#pragma once

// A line cut into its fields at a separator.

#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// Every field, empty ones included: "a\tb\t" cut at tabs is "a", "b", "".
inline std::vector<std::string> SplitFields(std::string_view line, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at; (at = line.find(separator, start)) != std::string_view::npos;
         start = at + 1) {
        fields.emplace_back(line.substr(start, at - start));
    }
    fields.emplace_back(line.substr(start));
    return fields;
}

} // namespace norvale
