#pragma once
// The machine derived from the deck values of a run: geometry, gas charge, options.
namespace korvex::run {

struct MachineData {
};

}  // namespace korvex::run
