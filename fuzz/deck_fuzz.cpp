// Fuzz target: arbitrary bytes as the input deck of a whole job, run page by page through the
// model with the listings in memory. A crash, a sanitizer report, a hang, a job that ends
// without closing its detail listing, or a listing that shows NaN or Infinity is a finding.
//
// Besides libFuzzer's byte mutations, every other mutation replaces numbers of the deck by
// extremes (fuzz/number_mutation.hpp), so that well-formed decks with hostile values are tried
// as often as broken ones.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/deck_job.hpp"
#include "fuzz/number_mutation.hpp"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t max_size,
                                               unsigned int seed) {
    if (seed % 2 == 0) {
        const std::string deck(reinterpret_cast<const char*>(data), size);
        const std::string m = korvex::fuzz::mutate_numbers(deck, seed / 2);
        if (m != deck && m.size() <= max_size) {
            std::memcpy(data, m.data(), m.size());
            return m.size();
        }
    }
    return LLVMFuzzerMutate(data, size, max_size);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string deck(reinterpret_cast<const char*>(data), size);
    // Decks that ask for more simulated steps than a fuzzing input may take are left out of
    // the corpus rather than run.
    if (!korvex::fuzz::job_is_bounded(deck)) return -1;
    // The page kind follows from the input, so that a finding replays alike.
    using korvex::fuzz::PageKind;
    const PageKind kind = size % 3 == 0 ? PageKind::batch : size % 3 == 1 ? PageKind::none : PageKind::tiny;
    const auto out = korvex::fuzz::run_deck_job(deck, kind);
    // Every job that ends says so on the detail listing.
    if (!out.page_cap_hit && !out.ended) std::abort();
    if (out.non_finite) {
        std::fputs("deck_fuzz: a listing shows a number that is not finite\n", stderr);
        std::abort();
    }
    return 0;
}
