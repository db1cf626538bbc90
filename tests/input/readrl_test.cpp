#include <gtest/gtest.h>

#include <array>
#include <string>

#include "input/readers.hpp"
#include "tests/input/reader_support.hpp"

using korvex::input::READRL;
using korvex::input::test::expect_both;
using korvex::input::test::pad80;

namespace {

using F4 = std::array<float, 4>;
using I4 = std::array<int, 4>;

// Scale values as the run control asks for them: 7-character search strings, 5 significant.
struct Call {
    korvex::runtime::Units u;
    std::array<int, 4> L1{5, 5, 5, 5};
    I4 IERR{0, 0, 0, 0};
    std::array<std::string, 4> S{"XMIN=  ", "XMAX=  ", "YMIN=  ", "YMAX=  "};
    F4 X{9, 9, 9, 9};
    void run(int IZEILE, int L, const std::string& line,
             korvex::input::NameMatch match = korvex::input::NameMatch::anywhere) {
        READRL(u, IZEILE, L, L1, IERR, line, S, X, match);
    }
};

}  // namespace

TEST(ReadrlValues, ValuesAndMissingKeywords) {
    Call c;
    c.run(1, 12, "XMIN=0.5 XMAX= 2.5E1, YMIN=-3");
    EXPECT_EQ(c.IERR, (I4{0, 0, 0, 0}));
    EXPECT_EQ(c.X, (F4{0.5f, 25, -3, 9}));  // no YMAX= on the line: the caller's value stands
    expect_both(c.u, "");
    c.S[0] = "XMINxyz";
    c.L1 = {4, 0, 5, 5};  // only XMIN is significant; length 0 skips the element
    c.run(1, 12, "XMIN 4.5 XMAX=7 YMIN=1");
    EXPECT_EQ(c.X, (F4{4.5f, 25, 1, 9}));

    // A plain search finds a key as the tail of a longer name; a search for names of their own
    // passes over it to the key that stands alone, or finds none.
    const std::string tails = "DXMIN=1 XMIN=2 _XMAX=5 (XMAX=6 Y7YMIN=3";
    Call a, w;
    a.run(1, 12, tails);
    EXPECT_EQ(a.X, (F4{1, 5, 3, 9}));
    w.run(1, 12, tails, korvex::input::NameMatch::whole_name);
    EXPECT_EQ(w.X, (F4{2, 6, 9, 9}));
    EXPECT_EQ(w.IERR, (I4{0, 0, 0, 0}));
}

TEST(ReadrlValues, FixedFieldRulesOfTheWorkString) {
    const std::pair<const char*, float> cases[] = {
        {"XMIN=12", 12}, {"XMIN=1+2", 100}, {"XMIN=-.5E-1", -0.05f}, {"XMIN=2D1", 2}, {"XMIN=1 2", 12}};
    for (const auto& [line, x] : cases) {
        Call c;
        c.run(1, 12, line);
        EXPECT_EQ(c.IERR[0], 0) << line;
        EXPECT_EQ(c.X[0], x) << line;
    }
}

TEST(ReadrlMessages, FaultyElementsAreSetToZeroAndTheRestIsRead) {
    Call c;
    const std::string line = "XMIN= XMAX=12345 YMIN=+-4 YMAX=7";
    const std::string rec = pad80(line) + "\n";
    c.run(9, 4, line);
    EXPECT_EQ(c.IERR, (I4{1, 1, 1, 0}));
    EXPECT_EQ(c.X, (F4{0, 0, 0, 7}));
    const std::string no_digit = " ### ERROR IN DATA INPUT: NO DIGIT FOUND AFTER SEARCH STRING:\n"
                                 "     XMIN=   IN INPUT LINE: ZEILE  9\n" + rec +
                                 "      Value for XMIN=  is set to 0.0\n";
    // Text that passes the scan but is no number.
    const std::string no_number = " ### ERROR IN DATA INPUT: NO VALID NUMBER FOUND AFTER SEARCH STRING:\n"
                                  "     YMIN=   IN INPUT LINE: ZEILE  9\n" + rec +
                                  "      Value for YMIN=  is set to 0.0\n";
    const std::string zero = "      Value for XMAX=  is set to 0.0\n";
    EXPECT_EQ(c.u.u9.text(), no_digit +
                                 " ### ERROR IN DATA INPUT: NUMBER FOUND AFTER SEARCH STRING:    XMAX=  \n"
                                 " IS GREATER THAN   4 DIGITS. PROCESSING THE INPUT LINE: ZEILE  9\n" +
                                 rec + zero + no_number);
    EXPECT_EQ(c.u.u6.text(), no_digit +
                                 " ### ERROR IN DATA INPUT: NUMBER FOUND AFTER SEARCH STRING:\n"
                                 "     XMAX=   IS GREATER THAN   4 DIGITS.\n"
                                 " PROCESSING THE INPUT LINE: ZEILE  9\n" +
                                 rec + zero + no_number);
}

TEST(ReadrlMessages, CommaInsideANumberEndsTheCall) {
    Call c;
    const std::string line = "XMIN=1,5 XMAX=3";
    c.IERR = {0, 7, 7, 7};
    c.run(4, 12, line);
    EXPECT_EQ(c.IERR, (I4{1, 7, 7, 7}));
    EXPECT_EQ(c.X, (F4{9, 9, 9, 9}));
    const std::string head = " ### ERROR IN DATA INPUT POSSIBLE: KOMMA \",\" NOT ALLOWED WITHIN A NUMBER\n"
                             " BUT ONLY BEHIND A NUMBER AS A SEPARATOR; PROCESSING SEARCH STRING: ";
    const std::string tail = " IN THE INPUT LINE: ZEILE  4\n" + pad80(line) + "\n" +
                             " ERROR: Look for line 4    XMIN=           1,5\n"
                             "      : Perhaps automatic scaling is possible\n";
    EXPECT_EQ(c.u.u9.text(), head + "    XMIN=  \n" + tail);
    EXPECT_EQ(c.u.u6.text(), head + "\n     XMIN=  \n" + tail);
}

TEST(ReadrlArguments, WidthBlankSearchStringAndNegativeLength) {
    Call w;
    w.run(1, 13, "XMIN=1");
    EXPECT_EQ(w.IERR, (I4{1, 1, 1, 1}));
    expect_both(w.u, " ### ERROR IN SUBROUTINE \"READRL\"\n"
                     " PROCESSING NOT POSSIBLE, FOURTH ARGUMENT MUST BE L <= 12\n"
                     " YOU SPECIFY L=  13\n");
    Call b;  // every flag is raised, also that of the value already read
    b.S[1] = "       ";
    b.L1 = {5, 1, 5, 5};
    b.run(1, 12, "XMIN=1 YMIN=2");
    EXPECT_EQ(b.IERR, (I4{1, 1, 1, 1}));
    EXPECT_EQ(b.X, (F4{1, 9, 9, 9}));
    expect_both(b.u, " ### ERROR FIRST BYTE OF THE SEARCH-STRING IS BLANK, NO PROCCESSING. RETURN!\n");
    Call n;
    n.L1 = {5, -2, 5, 5};
    n.run(1, 12, "XMIN=1 XMAX=2 YMIN=3");
    EXPECT_EQ(n.IERR, (I4{0, 1, 0, 0}));
    EXPECT_EQ(n.X, (F4{1, 9, 9, 9}));
    expect_both(n.u, " ### ERROR LENGTH OF SEARCH-STRING: L1( 2) FOR:       XMAX=  \n IS <= ZERO\n");
}

TEST(ReadrlTrace, LevelFiveShowsTheWorkString) {
    Call c;
    c.u.IPRNT2 = 5;
    c.run(3, 12, "XMIN=2");
    const std::string head = " ### Eingabe Pruefer \"READRL\" bearbeitet ZEILE  3\n XMIN=2\n";
    EXPECT_EQ(c.u.u9.text(), head + " search in line 3    XMIN=             2\n");
    EXPECT_EQ(c.u.u6.text(), head + " Search in line 3    XMIN=             2\n");
}

TEST(ReadrlRobustness, OddBytesOddLengthsAndSpansOfDifferentSizes) {
    for (int b = 0; b < 256; ++b) {
        Call c;
        std::string line = "XMIN=1.5,7";
        line.insert(line.begin() + b % 10, static_cast<char>(b));
        c.run(1, 12, line);
    }
    Call big;  // beyond single precision, or a significant length beyond the string
    big.S[1] = "XMAX=";
    big.L1 = {5, 9, 0, 0};
    big.run(1, 12, "XMIN=1E39 XMAX=4");
    EXPECT_EQ(big.IERR, (I4{1, 0, 0, 0}));
    EXPECT_EQ(big.X, (F4{0, 4, 9, 9}));
    korvex::runtime::Units u;  // only the elements all four spans have are touched
    const int L1[] = {5, 5};
    int IERR[] = {3};
    const std::string S[] = {"XMIN=  ", "XMAX=  ", "YMIN=  "};
    float X[] = {9, 9};
    READRL(u, 1, 12, L1, IERR, "XMIN=1 XMAX=2", S, X);
    EXPECT_EQ(IERR[0], 0);
    EXPECT_EQ(X[0], 1.0f);
    EXPECT_EQ(X[1], 9.0f);
}
