// Evaluation of a completed revolution.
#include "simulation/revolution.hpp"

#include "run/constants.hpp"

namespace korvex::simulation {

void write_table_head(runtime::Unit&) {}

void ORDREV(Program&, double, int, int, int&, int, int, int, std::string_view) {}

void evaluate_revolution(Program& p) {
    SimState& s = p.sim;
    s.NREV = s.NREVC;
    s.plot_forced = true;
    const double steps = p.run.SCHRITT * s.RPM * 6.0;
    s.XTR = steps != 0.0 ? 10.0 / steps : 0.0;
    s.NREVC += 1;
    s.PHIREV = s.NREVC * 2.0 * run::PI;
    s.TIME_REV = s.TIME;
}

}  // namespace korvex::simulation
