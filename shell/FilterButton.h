#pragma once
// The small filter button that screens put at the top right of a list: it
// opens the list filter panel beside itself.
#include <cstdint>
#include <memory>

class CXButton;
class CXClient;
class CXSurface;

// Adds the 16 x 16 button at (x, y) of the screen on the shared filter face,
// which pFace keeps for as long as the screen shows it.
CXButton* AddFilterButton(CXClient& screen, uint32_t dwID, int x, int y, std::unique_ptr<CXSurface>& pFace);
