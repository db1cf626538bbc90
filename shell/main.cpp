// The korvex program: the command line decides between the window and the batch job.
#include "shell/core/cli.hpp"
#ifdef KORVEX_HAVE_QT
#include "shell/qt/hooks.hpp"
#endif

int main(int argc, char** argv) {
#ifdef KORVEX_HAVE_QT
    return korvex::shell::cli_main(argc, argv, korvex::shell::qt::qt_hooks());
#else
    return korvex::shell::cli_main(argc, argv, {});
#endif
}
