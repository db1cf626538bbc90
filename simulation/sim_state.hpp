#pragma once
// State of the cycle simulation: the four cylinder-pair records, accumulators and extremes.
namespace korvex::simulation {

struct SimState {
};

}  // namespace korvex::simulation
