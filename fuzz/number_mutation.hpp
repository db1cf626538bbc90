#pragma once
// Number mutation for the deck fuzzer: a well-formed deck whose numbers are replaced by
// extremes (0, -1, 1E-38, 1E38, 1E300, 9999999999, 360, ...). Byte mutations rarely produce a
// valid deck with a hostile value in it; this mutation produces little else.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvex::fuzz {

inline constexpr std::string_view EXTREMES[] = {
    "0",     "-1",    "1E-38", "1E38",  "1E300",  "-1E300", "9999999999", "360", "-360",
    "1E-300", "0.0001", "-0.5", "100",   "101",   "1",      "2147483647", "-2147483648", "1E30",
};

// Where the numbers of a deck stand: [begin, end) of every number that follows a keyword or a
// blank, outside comment lines, caption lines and the name lists of the diagram definitions.
inline std::vector<std::pair<std::size_t, std::size_t>> number_spans(std::string_view deck) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    auto word = [&](char c) { return digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '.'; };
    std::size_t start = 0;
    while (start < deck.size()) {
        std::size_t end = deck.find('\n', start);
        if (end == std::string_view::npos) end = deck.size();
        const std::string_view line = deck.substr(start, end - start);
        const bool skip = line.find("***") != std::string_view::npos || (!line.empty() && line[0] == ':') ||
                          line.find('|') != std::string_view::npos;
        for (std::size_t i = 0; !skip && i < line.size();) {
            std::size_t j = i;
            if (line[j] == '-' || line[j] == '+') ++j;
            const std::size_t digits_at = j;
            while (j < line.size() && digit(line[j])) ++j;
            if (j < line.size() && line[j] == '.') ++j;
            while (j < line.size() && digit(line[j])) ++j;
            const bool number = j > digits_at && (digit(line[digits_at]) || (j > digits_at + 1));
            if (!number || (i > 0 && word(line[i - 1]))) {
                ++i;
                continue;
            }
            if (j < line.size() && (line[j] == 'E' || line[j] == 'e' || line[j] == 'D' || line[j] == 'd')) {
                std::size_t k = j + 1;
                if (k < line.size() && (line[k] == '-' || line[k] == '+')) ++k;
                if (k < line.size() && digit(line[k])) {
                    while (k < line.size() && digit(line[k])) ++k;
                    j = k;
                }
            }
            out.emplace_back(start + i, start + j);
            i = j;
        }
        start = end + 1;
    }
    return out;
}

// The deck with one to four of its numbers replaced by extremes, chosen by `seed`. The deck as
// it is when it holds no number.
inline std::string mutate_numbers(std::string_view deck, std::uint32_t seed) {
    std::uint64_t state = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    auto next = [&](std::uint64_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>((state >> 33) % n);
    };
    auto spans = number_spans(deck);
    std::string out(deck);
    if (spans.empty()) return out;
    const std::size_t count = 1 + next(4);
    std::vector<std::pair<std::size_t, std::size_t>> picked;
    for (std::size_t n = 0; n < count; ++n) picked.push_back(spans[next(spans.size())]);
    // From the back, so that the earlier spans keep their places.
    std::sort(picked.begin(), picked.end(), [](auto a, auto b) { return a.first > b.first; });
    std::size_t last = std::string::npos;
    for (const auto& [b, e] : picked) {
        if (b == last) continue;
        last = b;
        const std::string_view v = EXTREMES[next(std::size(EXTREMES))];
        out.replace(b, e - b, v);
    }
    return out;
}

}  // namespace korvex::fuzz
