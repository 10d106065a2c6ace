#pragma once
// Rain or snow falling over a 3-D view. At each redraw
// (every interval of engine time, or at once while the view is being
// turned) a layer the size of the view is cleared to the colour key and the
// particles are drawn on it at random points; every frame the layer is
// blended over the view at half opacity, so the fall flickers at its own
// pace whatever the frame rate.
#include "platform/Surface.h"

#include <cstdint>
#include <memory>

class CPrecipitation {
public:
    enum KIND { NONE, RAIN, SNOW };
    // The kind that falls, how often (ms) the fall is redrawn and how many
    // particles each redraw scatters; NONE stops it.
    void Setup(KIND eKind, uint32_t dwInterval, int nParticles);
    bool IsOn() const { return m_pSprite != nullptr; }
    // A new layer for a view of this size; the next draw redraws it.
    void Resize(int nWidth, int nHeight);
    // Blends the fall over the view rectangle of the target (redrawing it
    // first when due or while turning); nothing without a sprite or layer.
    void Draw(plat::Surface& target, const plat::Rect& view, uint32_t dwClock, bool bTurning);
    // The particles of the last redraw, for the tests' eyes.
    int GetParticlesDrawn() const { return m_nParticlesDrawn; }
    uint32_t GetNextRedraw() const { return m_dwNextRedraw; }

private:
    void Redraw();

    std::unique_ptr<plat::Surface> m_pSprite;
    std::unique_ptr<plat::Surface> m_pLayer;
    uint32_t m_dwInterval = 100;
    int m_nParticles = 0;
    int m_nParticlesDrawn = 0;
    uint32_t m_dwNextRedraw = 0;
};
