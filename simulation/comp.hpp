#pragma once
// COMP: one time step of one cylinder pair (expansion space E, compression space C and the
// regenerator R between them) in the one-pressure model. The space temperatures come from the
// run's temperature mode, the regenerator temperature from them, and pressure and masses from
// the fixed gas charge of the pair through the reduced volume; heat and work rates follow
// from the energy balances of the three spaces and are integrated into the record.
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "properties/vorcom.hpp"
#include "runtime/numeric.hpp"
#include "simulation/tdifdf.hpp"
#include "state/comp_inputs.hpp"
#include "state/pair_record.hpp"

namespace korvex::runtime {
struct Units;
}
namespace korvex::properties {
struct SteamState;
}

namespace korvex::simulation {

// Advances the pair record REC by the step DELT_NEU that ends at TIME. Integrals grow only
// while TIME > 0. A property routine that raises NFAIL above 880 ends the step at once.
void COMP(PairRecord& REC, const CompCommon& C, const CompPair& PP, double TIME,
          double DELT_NEU, runtime::Units& units, properties::SteamState& steam, int& NFAIL);

// Takes the state one step before the start, as VORCOM leaves it for the pair, as the
// previous-step values of the pair's first step. The vapour values are taken where they mean
// what COMP computes: the vapour mass, heat contents and evaporation heats whenever the vapour
// is taken at the space temperatures (no nozzles), the heat content and entropy where the
// deck's definitions can be formed from them; the first vapour step takes its own values for
// the rest.
void take_vorcom(PairRecord& REC, const properties::VorcomArgs& a, const CompCommon& C);

// The factors r**E1 and r**C1 by which a change of the total gas volume by the ratio r takes
// the temperatures of E and C (polytropic exponents E1 + 1 and C1 + 1). A space that keeps
// its temperature (exponent 1) needs no power, r**0 being 1, and equal exponents, the usual
// case, take it once.
struct PolytropicFactors {
    double E = 1.0, C = 1.0;
};
inline PolytropicFactors polytropic_factors(double r, double E1, double C1) {
    PolytropicFactors f;
    if (E1 != 0.0) f.E = std::pow(r, E1);
    if (C1 == E1) f.C = f.E;
    else if (C1 != 0.0) f.C = std::pow(r, C1);
    return f;
}

// Mean temperature of a linear profile between two end temperatures: the logarithmic mean
// (A - B) / ln(A / B), and the arithmetic mean where that is undefined (equal ends, or an end
// that is not positive).
double log_mean(double A, double B);

// The same value bit for bit (a kept value is exactly the one the formula would give again).
inline bool same_bits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// True when the means that E belongs to were taken for the ends TER and TCR (bit for bit, so
// that a kept mean is exactly the one the logarithm would give); else E takes these ends, for
// the means about to be taken.
inline bool kept_for(RegeneratorMeans::Ends& E, double TER, double TCR) {
    if (E.set && same_bits(E.TER, TER) && same_bits(E.TCR, TCR)) return true;
    E.set = true;
    E.TER = TER;
    E.TCR = TCR;
    return false;
}

// The logarithmic mean of the regenerator between its ends TER and TCR, kept in M: the
// logarithm is taken only when the ends differ from those of the kept mean. (Inline, like the
// sections below: the step takes them every time, mostly kept.)
inline double regenerator_mean(RegeneratorMeans& M, double TER, double TCR) {
    if (!kept_for(M.whole_ends, TER, TCR)) M.whole = log_mean(TER, TCR);
    return M.whole;
}

// Mean temperatures Ta, Tb, Tc of the three regenerator sections, hot end first, between the
// ends TER and TCR: the logarithmic means over thirds of the temperature drop with the
// three-section regenerator (DREI), kept in M like the regenerator's mean; else the arithmetic
// means with the regenerator's mean TR. Returns the sum of their reciprocals, 1/Ta + 1/Tb +
// 1/Tc (a section at 0 K adding 0), the reduced volume of the regenerator per VR/3.
inline double regenerator_sections(bool DREI, double TER, double TCR, double TR,
                                   RegeneratorMeans& M, double& Ta, double& Tb, double& Tc) {
    using runtime::quot;
    if (!DREI) {
        Ta = (TER + TR) / 2.0;
        Tb = TR;
        Tc = (TCR + TR) / 2.0;
        return quot(1.0, Ta) + quot(1.0, Tb) + quot(1.0, Tc);
    }
    if (!kept_for(M.section_ends, TER, TCR)) {
        const double D = (TER - TCR) / 3.0;
        const double T1 = TCR + D, T2 = TER - D;
        M.hot = log_mean(TER, T2);
        M.middle = log_mean(T2, T1);
        M.cold = log_mean(T1, TCR);
        M.reciprocals = quot(1.0, M.hot) + quot(1.0, M.middle) + quot(1.0, M.cold);
    }
    Ta = M.hot;
    Tb = M.middle;
    Tc = M.cold;
    return M.reciprocals;
}

}  // namespace korvex::simulation
