#pragma once
// The command line of the korvex program: the window job or the batch job for a directory.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/surface.hpp"

namespace korvex::shell {

// One page of a batch job that goes into a picture file: the surface the model paints on, then
// the file it is written to.
class PageWriter {
public:
    virtual ~PageWriter() = default;
    virtual platform::Surface& surface() = 0;
    // Writes the page; false when the file cannot be written.
    virtual bool save(const std::filesystem::path& path) = 0;
};

// What the window shell adds to the command line when it is built in.
struct ShellHooks {
    // Runs the window job for a directory and returns the process exit code.
    std::function<int(const std::filesystem::path& dir)> run_window;
    // A page writer for kind "png" or "pdf" of width x height pixels; null when the kind is
    // not supported.
    std::function<std::unique_ptr<PageWriter>(const std::string& kind, int width, int height)> make_page;
};

// Exit status of the program.
inline constexpr int EXIT_JOB_OK = 0;       // the job ended with error number 0
inline constexpr int EXIT_JOB_FAILED = 1;   // the job ended with an error number
inline constexpr int EXIT_USAGE = 2;        // a usage error, or no deck to read

// Cap on the pages of one batch job: a model that never reports its last page must not make
// batch mode run forever.
inline constexpr int MAX_BATCH_PAGES = 1000;

int cli_main(int argc, char** argv, const ShellHooks& hooks);

}  // namespace korvex::shell
