#pragma once
// The process-wide sound state: the output device (opened at start, or a
// given one), the table of live sound managers by instance id, and the end
// callbacks, which run on the mixer's thread and only post the sound-end
// messages to the main window.
#include "platform/SoundOutput.h"

#include <cstdint>

class CSoundManager;

// Opens the mixer on the audio device; without one the game runs silent.
// The directory argument names where a library would look for its drivers;
// the mixer needs none.
bool StartSoundSystem(const char* pszDirectory);
// Starts on a given output (not owned), as the tests do with a recording one.
bool StartSoundSystem(plat::SoundOutput* pOutput);
void StopSoundSystem();
bool IsSoundSystemStarted();
bool ResumeSoundOutput();
bool SuspendSoundOutput();

// The end callbacks: user is the sound (or the music manager), tag the
// sound's manager instance id.
void PostSampleEnd(void* pSound, uint32_t dwInstanceID);
void PostStreamEnd(void* pManager, uint32_t dwTag);

// The instance table: an id is the first empty slot, else a new one.
uint32_t RegisterSoundManager(CSoundManager* pManager);
void UnregisterSoundManager(uint32_t dwInstanceID);
uint32_t GetSoundManagerCount();
CSoundManager* GetSoundManager(uint32_t dwInstanceID);
