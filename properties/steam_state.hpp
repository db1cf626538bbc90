#pragma once
// State of the steam-property routines: error counter and one-time trace flags of a job.
namespace korvex::properties {

struct SteamState {
};

}  // namespace korvex::properties
