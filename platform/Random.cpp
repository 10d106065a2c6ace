#include "platform/Random.h"

namespace plat {
namespace {
unsigned g_paintState = 1;
unsigned g_soundState = 1;

// A linear congruential generator with 15-bit output taken from the high bits.
int next(unsigned& state)
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}
}  // namespace

int paintRand() { return next(g_paintState); }

int soundRand() { return next(g_soundState); }

void soundSrand(unsigned seed) { g_soundState = seed; }

void srand(unsigned seed) { detail::g_gameRandState = seed; }

unsigned randState() { return detail::g_gameRandState; }

}  // namespace plat
