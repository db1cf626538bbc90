// Fuzz target: arbitrary bytes as the input deck of a whole job, run page by page through the
// model with the listings in memory. A crash, a sanitizer report, a hang or a job that ends
// without closing its detail listing is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/deck_job.hpp"

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
    // With KORVEX_FUZZ_FINITE set, a "NaN" or "Inf" in a listing is a finding as well.
    static const bool finite = std::getenv("KORVEX_FUZZ_FINITE") != nullptr;
    if (finite && out.non_finite) {
        std::fputs("deck_fuzz: a listing shows a number that is not finite\n", stderr);
        std::abort();
    }
    return 0;
}
