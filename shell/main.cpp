// The korvex program: the command line decides between the window and the batch job.
#include "shell/core/cli.hpp"

int main(int argc, char** argv) { return korvex::shell::cli_main(argc, argv, {}); }
