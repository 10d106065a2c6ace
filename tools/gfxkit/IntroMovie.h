#pragma once
// The intro movie of the data kit: a short generated clip (a ball crossing a
// striped pitch at dusk as the floodlights come up) written as the
// launcher's Movies/intro.avi.
#include <string>

namespace tools {

bool writeIntroMovie(const std::string& path, std::string& error);

}  // namespace tools
