#include "run/control.hpp"

namespace korvex::run {

void run_control(Program&) {}

}  // namespace korvex::run
