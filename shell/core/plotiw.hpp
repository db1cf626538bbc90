#pragma once
#include <string>

#include "run/program.hpp"

namespace korvex::shell {

// The plot driver: opens the files, writes the header lines once, runs the model.
int PLOTIW(Program& p, int MODE, std::string& TITLE);

}  // namespace korvex::shell
