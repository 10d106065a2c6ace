#pragma once
// The game's own random numbers. Every chance in the game is drawn here, never
// from the C library, so that one seed gives the same game on every machine
// and every value lies in 0..32767, the range the game's arithmetic assumes.
namespace plat {

constexpr int kRandMax = 32767;

namespace detail {
// The game's sequence: a linear congruential generator with 15-bit output
// taken from the high bits. Defined here so that every draw is a few
// instructions in place (the quick matches of a season draw millions).
inline unsigned g_gameRandState = 1;
}  // namespace detail

// Next value in 0..kRandMax.
inline int rand()
{
    detail::g_gameRandState = detail::g_gameRandState * 214013u + 2531011u;
    return static_cast<int>((detail::g_gameRandState >> 16) & 0x7FFFu);
}
// Restarts the sequence; the same seed gives the same sequence.
void srand(unsigned seed);
// The current state, so that a saved game or a test can resume a sequence.
unsigned randState();

// A second sequence, for the jitter of painted gradients: what is drawn, and
// how often, must never move the game's own draws.
int paintRand();
// A third sequence, for the sounds (the play list's order, the moments of
// crowd sounds): music that ends when it ends must never move the game's draws.
int soundRand();
void soundSrand(unsigned seed);

}  // namespace plat
