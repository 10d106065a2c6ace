#pragma once
// Puts every built screen (and the global popups) in place when the program
// starts, before the first frame.

// Registers the screens with the shell's registry; safe to call more than once.
void RegisterGameScreens();
