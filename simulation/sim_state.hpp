#pragma once
// State of the cycle simulation: the four cylinder-pair records and the inputs of their state
// equations. The driver adds its crank, accumulator and extreme-value state here.
#include <array>

#include "simulation/comp.hpp"
#include "simulation/pair_record.hpp"

namespace korvex::simulation {

struct SimState {
    // Pair i (1..4) is pair[i - 1]; for the single-acting machine pair[1] holds the crankcase.
    std::array<PairRecord, 4> pair{};
    // Inputs of COMP: the ones common to all pairs and each pair's own.
    CompCommon comp{};
    std::array<CompPair, 4> comp_pair{};
};

}  // namespace korvex::simulation
