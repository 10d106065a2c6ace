#pragma once
// The popups that live as one object each for the whole program, made once
// when the program starts (popups owned by a screen are made by that screen).

// Makes the global popups; safe to call more than once.
void CreateGamePopups();
