// Every line of text the game can draw, in code page 1250 as the screens pass
// them to PutText: the browser build has no font renderer and draws only the
// lines of this list (their coverage made by the Linux build's own text code,
// tools/make_text_atlas.cpp). The program tests fail on any line the game draws
// that is missing here.
#pragma once

#include <string>
#include <vector>

namespace text_lines {

std::vector<std::string> All();

}  // namespace text_lines
