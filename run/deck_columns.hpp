#pragma once
// Text beyond column 80. A deck line is read as 80 columns; what stands beyond them is never
// read. A number or keyword that column 80 cuts in two would be read cut ("TH=922.0" as
// "TH=9") and is an input error of its line; other text beyond column 80 gets a warning.
#include <string>
#include <string_view>

#include "runtime/units.hpp"

namespace korvex::run {

// The word that column 80 cuts in two, as written: from the last blank before column 81 to the
// first blank after it, with the keyword in front when the word is a number of its own ("TH=
// 922.0"). Empty when column 80 cuts nothing, or cuts a word that holds neither a digit nor a
// keyword mark ("=", ":"): plain text, like a comment word, changes no value.
std::string word_cut_at_80(std::string_view raw, std::string_view beyond);

// The warning on unit 6 (and to the note sink) that record `record` of the deck has text beyond
// column 80 that is not read.
void note_text_beyond_80(runtime::Units& u, long long record, std::string_view beyond);

// The error of deck line `line_no` (as the messages number it: " 4", " 2/ 3") whose word `word`
// column 80 cuts, with the line's error number NFAIL, to units 6 and 9. `stops` gives the end
// of the message: the job stops, or the value is not read and the run goes on.
void report_cut_at_80(runtime::Units& u, std::string_view line_no, int NFAIL, std::string_view word, bool stops);

}  // namespace korvex::run
