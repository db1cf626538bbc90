#include "shell/core/plotiw.hpp"

#include "run/control.hpp"

namespace korvex::shell {

int PLOTIW(Program& p, int MODE, std::string&) {
    if (MODE == 4) run::run_control(p);
    return p.run.NEWDIA;
}

}  // namespace korvex::shell
