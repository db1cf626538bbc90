#pragma once
// Every error number the program can set ("FEHLER Nr."): what it means, which deck line or
// condition gives it, what it does to the job and what to change. `korvex --explain` prints
// from this table, and docs/errors.md is made from what it prints.
#include <span>
#include <string>
#include <string_view>

namespace korvex::run {

// What an error does to the job.
enum class Effect {
    stops_job,     // the job ends with "Programm STOP"; no further run is computed
    ends_run,      // the run ends at once; the job goes on with the next run
    goes_on,       // the run goes on (a value corrected, a diagram or curve skipped)
    varies,        // depends on the cause (see the text)
};

struct ErrorEntry {
    int lo, hi;                  // the number, or a span of numbers (counted events)
    Effect effect;
    std::string_view title;      // one line: what went wrong
    std::string_view where;      // the deck line or the condition that gives it
    std::string_view change;     // what to change
};

std::span<const ErrorEntry> error_table();

// The entry that holds number n, or null.
const ErrorEntry* error_entry(int n);

// The text that `korvex --explain N` prints: the entry, with the value ranges of the deck lines
// that give the number; a number above the known ones by a few counts is explained as such.
// Empty when n is no error number of this program.
std::string explain_error(int n);

// Every entry, in order, as --explain prints each one.
std::string explain_all();

}  // namespace korvex::run
