// The reader's guide to the listings explains every column of the results table and of
// KORVEX.csv: a column added to the table without a word in docs/listings.md fails here.
#include <gtest/gtest.h>

#include <string>

#include "state/results_observer.hpp"
#include "tests/e2e/e2e_support.hpp"

TEST(ListingsGuide, NamesEveryResultsTableAndCsvColumn) {
    const std::string guide = e2e::read_file(e2e::fs::path(KORVEX_SOURCE_DIR) / "docs" / "listings.md");
    ASSERT_FALSE(guide.empty()) << "docs/listings.md cannot be read";
    std::string missing;
    auto need = [&](std::string_view heading) {
        // A column is explained under its CSV heading, written as code: `P0 [Bar]`.
        if (guide.find("`" + std::string(heading) + "`") == std::string::npos)
            missing += "\n  " + std::string(heading);
    };
    need("run");
    need("revolution");
    for (std::string_view h : korvex::RESULT_HEADINGS) need(h);
    EXPECT_TRUE(missing.empty()) << "docs/listings.md does not explain these columns:" << missing;
}
