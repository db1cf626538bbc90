#pragma once
// What the Qt shell adds to the command line: the diagram window and the PNG and PDF pages of
// batch mode.
#include <memory>
#include <string>

#include "shell/core/cli.hpp"

namespace korvex::shell::qt {

// A page writer for "png" or "pdf" of width x height pixels; null for any other kind. Needs a
// Qt GUI application object (qt_hooks() makes one when there is none).
std::unique_ptr<PageWriter> make_page(const std::string& kind, int width, int height);

// The hooks for cli_main. They make the Qt application object when first needed: for the window
// on the user's display, for batch pages without any display.
ShellHooks qt_hooks();

}  // namespace korvex::shell::qt
