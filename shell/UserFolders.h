#pragma once
// The per-user folders the game writes into, never the build or runtime
// tree: saved games under the user's data folder and printed pages under
// the user's documents folder, each as the freedesktop base-directory rules
// name them.
#include <string>

// "$XDG_DATA_HOME/brellox/saves", else "~/.local/share/brellox/saves".
std::string GetSavesFolder();
// "$XDG_DOCUMENTS_DIR", else the DOCUMENTS entry of "user-dirs.dirs" in the
// user's configuration folder, else "~/Documents".
std::string GetDocumentsFolder();
