#pragma once
#include <cstdint>

namespace plat {

// Milliseconds since the program started, as a 32-bit count that wraps after
// about 49 days; callers compare times by unsigned subtraction.
uint32_t milliseconds();

}  // namespace plat
