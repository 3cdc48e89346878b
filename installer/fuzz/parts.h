// Splits a fuzz input into its parts, separated by lines "==8<==".
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Exactly count parts: the last takes the rest, missing ones are empty.
inline std::vector<std::string> fuzzParts(const uint8_t* data, size_t size, size_t count) {
    static const std::string cut = "\n==8<==\n";
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; parts.size() + 1 < count && (at = input.find(cut, start)) != std::string::npos;
         start = at + cut.size())
        parts.push_back(input.substr(start, at - start));
    parts.push_back(input.substr(start));
    parts.resize(count);
    return parts;
}
