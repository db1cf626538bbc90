#pragma once
// The deck line readers: keywords and the numbers behind them, names, single values, case.
// Messages and traces go to units 6 and 9; traces are on at detail level 5 (units.IPRNT2 >= 5).
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "runtime/units.hpp"

namespace korvex::input {

// Finds each search string in ZLINE and stores the text of the number behind it,
// right-justified, in field k (width L) of OUT; OUT.size() is the declared length of the
// output string. S holds S1..S7 in order; strings not given count as a single blank.
// IERR is set to 1 on any error and never cleared.
void LESEPR(runtime::Units& u, int IZEILE, int L, std::string& OUT, std::string_view ZLINE, int& IERR,
            std::initializer_list<std::string_view> S);

// Reads up to N names (at most L characters each) following the search string S into the
// fields of OUT (OUT.size() is its declared length), left-justified.
void LESEPC(runtime::Units& u, int IZEILE, int L, std::string& OUT, std::string_view ZLINE, int& IERR,
            std::string_view S, int N);

// How a search string is found in a line: anywhere (a plain substring search), or only as a
// name of its own, where it is not the tail of a longer name ("T(F)=" inside "DT(F)=").
enum class NameMatch { anywhere, whole_name };

// For each search string S[i] (its first L1[i] characters significant), reads one real value
// into X[i] with a flag in IERR[i]; N is the common size of the four spans. S[i] keep their
// declared length (7 at both call sites of the run control). When `written` is given (N
// elements), it receives each value read as the deck writes it, before single precision rounds
// it (0 where X gets 0), so that a caller can judge the value itself.
void READRL(runtime::Units& u, int IZEILE, int L, std::span<const int> L1, std::span<int> IERR,
            std::string_view ZLINE, std::span<const std::string> S, std::span<float> X,
            NameMatch match = NameMatch::anywhere, std::span<double> written = {});

// Position of the first occurrence of KEY in LINE that is not the tail of a longer name: the
// character before it is no letter, digit or underscore. npos when there is none.
std::size_t find_name(std::string_view line, std::string_view key);

// Case conversion of the first |NCHAR| characters (NCHAR = 0: up to the last non-blank of the
// first LOUT); NCHAR >= 0 to upper case, < 0 to lower case. COUT receives LOUT characters.
void CHCASE(std::string_view CIN, int NCHAR, int LOUT, std::string& COUT);

// Length of the first N characters of the text without trailing blanks.
int LENTRM(std::string_view text, int N);

}  // namespace korvex::input
