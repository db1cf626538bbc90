#include <gtest/gtest.h>

#include <string>

#include "input/readers.hpp"
#include "tests/input/reader_support.hpp"

using korvex::input::LESEPC;
using korvex::input::test::expect_both;
using korvex::input::test::pad80;

namespace {

// An 80-column line with the text t starting in column c (1-based).
std::string at_column(const std::string& line, int c, const std::string& t) {
    return pad80(pad80(line).replace(static_cast<std::size_t>(c - 1), t.size(), t));
}

struct Call {
    korvex::runtime::Units u;
    std::string OUT = std::string(18, '.');
    int IERR = 0;
};

}  // namespace

TEST(LesepcNames, NamesAreStoredLeftJustified) {
    struct Case {
        std::string line;
        const char* S;
        const char* out;
    };
    const Case cases[] = {
        {"DIA ORDINATEN| PE1 VE1", "ORDINATEN|", "PE1   VE1   ......"},  // two of three: no error
        {"ABSZISSE|ZEIT,PE1|VE1", "ABSZISSE|", "ZEIT  PE1   VE1   "},   // | and , separate too
        {"ORD|\tX\x81 ,, ||A", "ORD|", "\tX\x81   A     ......"},     // any other byte is a name
        {at_column("ORD| PE1", 73, "VE1"), "ORD|", "PE1   ............"},  // column 73 is not seen
        {at_column(at_column("ORD|", 67, "AB"), 72, "C"), "ORD|", "AB    C     ......"},
        {at_column("", 64, "ABSZISSE|"), "ABSZISSE|", ".................."},  // ends in column 72
    };
    for (const Case& k : cases) {
        Call c;
        LESEPC(c.u, 1, 6, c.OUT, pad80(k.line), c.IERR, k.S, 3);
        EXPECT_EQ(c.IERR, 0) << k.line;
        EXPECT_EQ(c.OUT, k.out) << k.line;
        expect_both(c.u, "");
    }
}

TEST(LesepcMessages, SearchStringInTheLastEightColumnsIsNotFound) {
    for (int col : {65, 72}) {  // reaching into the last eight columns, or wholly in them
        Call c;
        LESEPC(c.u, 14, 6, c.OUT, at_column("", col, "ABSZISSE|"), c.IERR, "ABSZISSE|", 3);
        EXPECT_EQ(c.IERR, 1);
        EXPECT_EQ(c.OUT, std::string(18, '.'));
        expect_both(c.u, " ### ERROR IN DATA INPUT, SEARCH-STRING:  ABSZISSE|\n"
                         " NOTFOUND IN INPUT LINE: ZEILE 14\n");
    }
}

TEST(LesepcMessages, OverlongNameIsReportedAndStoredCut) {
    Call c;
    const std::string line = pad80("ORD| TEMPERATUR PE1");
    LESEPC(c.u, 8, 6, c.OUT, line, c.IERR, "ORD|", 3);
    EXPECT_EQ(c.IERR, 1);
    EXPECT_EQ(c.OUT, "TEMPERPE1   ......");
    expect_both(c.u, " ### ERROR IN DATA INPUT: NAME IS GREATER THAN 6 CHARACTERS.\n"
                     " THIS NAME IS: \"TEMPERATUR\" with 10  CHARACTERS\n"
                     " PROCESSING THE INPUT LINE: ZEILE  8" + line + "\n");
}

TEST(LesepcArguments, LimitsAreCheckedBeforeAnySearch) {
    const std::string line = pad80("ORD| A");
    Call w;
    LESEPC(w.u, 1, 7, w.OUT, line, w.IERR, "ORD|", 2);
    EXPECT_EQ(w.IERR, 1);
    expect_both(w.u, " ### ERROR IN SUBROUTINE LESEPC\n"
                     " PROCESSING NOT POSSIBLE, SECOND ARGUMENT MUST BE L <= 6\n"
                     " YOU SPECIFY L=   7 SEARCH ONLY FOR NAMES WITH MAX. 6 CHARACTERS\n");
    Call o;
    o.OUT.resize(17);
    LESEPC(o.u, 1, 6, o.OUT, line, o.IERR, "ORD|", 3);
    EXPECT_EQ(o.IERR, 1);
    expect_both(o.u, " ### ERROR IN SUBROUTINE LESEPC\n"
                     " OUTPUT CHARACTER STRING MUST BE >= 3*L\n"
                     " YOUR OUTPUT STRING IS OF LENGTH   17 AND YOU SPECIFY L=  6\n");
    Call s;
    LESEPC(s.u, 1, 6, s.OUT, pad80("ABCDEFGHIJKLM A"), s.IERR, "ABCDEFGHIJKLM", 3);
    EXPECT_EQ(s.IERR, 1);
    EXPECT_EQ(s.OUT, std::string(18, '.'));
    expect_both(s.u, " ### ERROR IN SUBROUTINE LESEPC. SEARCH-STRING:ABCDEFGHIJKLM\n"
                     "      HAS MORE THAN 12 CHARACTERS\n");
    Call e;  // an error on entry: nothing is read
    e.IERR = 1;
    LESEPC(e.u, 1, 6, e.OUT, line, e.IERR, "ORD|", 3);
    EXPECT_EQ(e.OUT, std::string(18, '.'));
}

TEST(LesepcTrace, LevelFiveShowsTheLineAndTheSearchString) {
    Call c;
    c.u.IPRNT2 = 5;
    LESEPC(c.u, 2, 6, c.OUT, "ORD| PE1" + std::string(12, ' '), c.IERR, "ORD|", 1);
    EXPECT_EQ(c.OUT, "PE1   ............");
    expect_both(c.u, " ### Eingabe Pruefer \"LESEPC\" bearbeitet ZEILE  2\n"
                     " ORD| PE1            \n"
                     " ### Such Begriff in ZEILE 2 ist:           ORD|\n");
}

TEST(LesepcRobustness, ShortLinesAndWidthsWithoutRoom) {
    // Lines of 8 characters or fewer have nothing to search.
    for (const char* line : {"", "ORD|"}) {
        Call c;
        LESEPC(c.u, 1, 6, c.OUT, line, c.IERR, "ORD|", 3);
        EXPECT_EQ(c.IERR, 1);
    }
    for (int L : {0, -2}) {  // every name is too long and nothing is stored
        Call c;
        LESEPC(c.u, 1, L, c.OUT, pad80("ORD| A"), c.IERR, "ORD|", 3);
        EXPECT_EQ(c.IERR, 1);
        EXPECT_EQ(c.OUT, std::string(18, '.'));
    }
}
