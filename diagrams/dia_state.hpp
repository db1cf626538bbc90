#pragma once
// Diagram definitions, plot series and the scale table.
namespace korvex::diagrams {

struct DiagramState {
};

}  // namespace korvex::diagrams
