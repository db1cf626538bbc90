#pragma once
// Every deck value of a run under its keyword name.
namespace korvex::run {

struct DeckValues {
};

}  // namespace korvex::run
