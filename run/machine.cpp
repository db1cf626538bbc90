#include "run/machine.hpp"

namespace korvex::run {

bool derive_geometry(Program&) { return true; }
bool derive_options(Program&) { return true; }

}  // namespace korvex::run
