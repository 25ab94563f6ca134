#pragma once

#include <string>

// velarc map --text WORLD_DIR: one edge a line, FROM<TAB>KIND<TAB>TO<TAB>CONDITION
// in UTF-8, then "unreachable<TAB>N".
int MapText(const std::string& worldDir);

// velarc map WORLD_DIR OUT: the graph source (.dot), or drawn by Graphviz's
// dot (.svg, .png).
int MapDraw(const std::string& worldDir, const std::string& out);
