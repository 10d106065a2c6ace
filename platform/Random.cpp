#include "platform/Random.h"

namespace plat {
namespace {
unsigned g_state = 1;
}

int rand()
{
    // A linear congruential generator with 15-bit output taken from the high bits.
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

void srand(unsigned seed) { g_state = seed; }

unsigned randState() { return g_state; }

}  // namespace plat
