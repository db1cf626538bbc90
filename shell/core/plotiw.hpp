#pragma once
// The plot driver PLOTIW and OPENFILES: the shell's only way into the model. The window shell
// and the batch mode call it in mode 1 once per window (caption, header lines) and in mode 4 on
// every paint (the model draws one page onto the surface it is given).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/surface.hpp"
#include "state/program.hpp"

namespace korvex::shell {

// The version text, also the window caption.
inline constexpr std::string_view VERSTR = "KORVEX.1kw vom 8.4.2005";
// What the caption buffer holds before the first mode-1 call.
inline constexpr std::string_view CAPTION_INITIAL = "12345678901234567890123";

// The file names of the job, beside each other in the job directory.
inline constexpr const char* NAME_F06 = "KORVEX.F06";
inline constexpr const char* NAME_F08 = "KORVEX.F08";
inline constexpr const char* NAME_F09 = "KORVEX.F09";
inline constexpr const char* NAME_DAT = "KORVEX.DAT";

// Shell state that lives from paint to paint, one per process (one per Program).
struct ShellState {
    std::filesystem::path job_dir = ".";  // where the deck is read and the listings are written
    bool first_call = true;               // the header lines are still to be written
    std::string stamp = std::string(23, ' ');  // date and time of the latest mode-1 call
    std::string open_failure;             // the file OPENFILES could not open, empty when all are
    // A deck given in memory (a study's runs): unit 55 reads it instead of the deck file,
    // which stays as it is.
    std::optional<std::string> deck_text;
};

// The arguments of a paint (mode 4): the surface and its size, and the handles the device
// shows in its traces.
struct PaintArgs {
    platform::Surface* surface = nullptr;
    int ISIZEX = 0, ISIZEY = 0;
    int HWND = 0, HDC = 0;
    platform::Pen HPEN{platform::PenStyle::Solid, 2, {}};  // the pen selected before the paint
    platform::Pen HPENOLD{};                                // the surface's pen before that
    int HPEN_ID = 0, HPENOLD_ID = 0;
};

// PLOTIW returns this when OPENFILES failed: nothing else was done (s.open_failure says why).
inline constexpr int PLOTIW_OPEN_FAILED = -1;

// Opens units 6, 8, 9 and 55 on their files in s.job_dir, in that order (unit 55 on s.deck_text
// when there is one). A missing deck is
// created empty; a listing is written over from its start; a unit already connected to its file
// stays connected where it is. False (and s.open_failure set) when a file cannot be opened.
bool OPENFILES(Program& p, ShellState& s);

// The driver. Every call opens the files first. Modes:
//   1: date/time stamp; header lines of units 6, 8, 9 on the first call; TITLE = VERSTR;
//      returns NEWDIA.
//   2: stores HWND (from a); returns -2.      3: stores ISIZEX, ISIZEY; returns -3.
//   4: stores the paint arguments into the device, runs the model; returns NEWDIA.
// Any other mode only opens the files and returns 0.
int PLOTIW(Program& p, ShellState& s, int MODE, std::string& TITLE, const PaintArgs& a = {});

}  // namespace korvex::shell
