#pragma once
// Saving the page the window shows into a file: SVG, PNG or PDF, as batch mode writes its pages.
#include <filesystem>
#include <string>

#include "shell/qt/job.hpp"

namespace korvex::shell::qt {

inline constexpr const char* SAVE_ENTRY = "Save page as...";
inline constexpr const char* SAVE_CAPTION = "Save page";

// The page kind a file name asks for by its ending ("svg", "png" or "pdf", in any letter case);
// empty for any other ending.
std::string page_kind(const std::filesystem::path& file);

// Draws the window's page (as PAINTPAGE does) onto a page of width x height pixels and writes it
// to the file, in the kind its name ends with. Returns an empty text when the page was written,
// else what went wrong, for the user.
std::string save_page(Job& job, const std::filesystem::path& file, int width, int height, int HWND);

}  // namespace korvex::shell::qt
