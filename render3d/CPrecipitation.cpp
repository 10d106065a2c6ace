#include "render3d/CPrecipitation.h"

#include "platform/Random.h"

#include <algorithm>

namespace {

using plat::COLORREF;
using plat::GetBValue;
using plat::GetGValue;
using plat::GetRValue;
using plat::RGB;

const COLORREF kKey = RGB(255, 0, 255);

// A raindrop: a thin streak slanting with the wind, lighter at its head.
std::unique_ptr<plat::Surface> MakeRaindrop()
{
    auto pSprite = std::make_unique<plat::Surface>(3, 9);
    const plat::PixelFormat format = pSprite->format();
    pSprite->fill(nullptr, plat::colorToPixel(kKey, format));
    for (int y = 0; y < 9; ++y) {
        const uint8_t byLight = uint8_t(150 + y * 10);
        pSprite->setPixel(2 - y / 4, y, plat::colorToPixel(RGB(byLight, byLight, 255), format));
    }
    pSprite->setColorKey(plat::colorToPixel(kKey, format));
    return pSprite;
}

// A snowflake: a small white cross with a soft centre.
std::unique_ptr<plat::Surface> MakeSnowflake()
{
    auto pSprite = std::make_unique<plat::Surface>(3, 3);
    const plat::PixelFormat format = pSprite->format();
    pSprite->fill(nullptr, plat::colorToPixel(kKey, format));
    const uint16_t wWhite = plat::colorToPixel(RGB(255, 255, 255), format);
    for (const auto& at : {std::pair{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}})
        pSprite->setPixel(at.first, at.second, wWhite);
    pSprite->setColorKey(plat::colorToPixel(kKey, format));
    return pSprite;
}

// Half of each channel of a and b.
uint16_t Blend(uint16_t a, uint16_t b, plat::PixelFormat format)
{
    const COLORREF ca = plat::pixelToColor(a, format), cb = plat::pixelToColor(b, format);
    return plat::colorToPixel(RGB(uint8_t((GetRValue(ca) + GetRValue(cb)) / 2),
                                  uint8_t((GetGValue(ca) + GetGValue(cb)) / 2),
                                  uint8_t((GetBValue(ca) + GetBValue(cb)) / 2)),
                              format);
}

}  // namespace

void CPrecipitation::Setup(KIND eKind, uint32_t dwInterval, int nParticles)
{
    m_pSprite.reset();
    m_dwInterval = dwInterval;
    m_nParticles = nParticles;
    m_dwNextRedraw = 0;
    m_nParticlesDrawn = 0;
    if (eKind != NONE)
        m_pSprite = eKind == SNOW ? MakeSnowflake() : MakeRaindrop();
}

void CPrecipitation::Resize(int nWidth, int nHeight)
{
    m_pLayer.reset();
    if (nWidth > 0 && nHeight > 0)
        m_pLayer = std::make_unique<plat::Surface>(nWidth, nHeight);
    m_dwNextRedraw = 0;
}

void CPrecipitation::Redraw()
{
    const plat::PixelFormat format = m_pLayer->format();
    m_pLayer->fill(nullptr, plat::colorToPixel(kKey, format));
    const int nWidth = m_pLayer->width() - m_pSprite->width();
    const int nHeight = m_pLayer->height() - m_pSprite->height();
    m_nParticlesDrawn = 0;
    if (nWidth <= 0 || nHeight <= 0)
        return;
    for (int i = 0; i < m_nParticles; ++i) {
        const int x = plat::rand() % nWidth, y = plat::rand() % nHeight;
        m_pLayer->bltFast(x, y, *m_pSprite, nullptr, plat::BLTFAST_SRCCOLORKEY);
        ++m_nParticlesDrawn;
    }
}

void CPrecipitation::Draw(plat::Surface& target, const plat::Rect& view, uint32_t dwClock, bool bTurning)
{
    if (!m_pSprite || !m_pLayer)
        return;
    if (bTurning || dwClock >= m_dwNextRedraw) {
        m_dwNextRedraw = dwClock + m_dwInterval;
        Redraw();
    }
    const uint16_t wKey = plat::colorToPixel(kKey, m_pLayer->format());
    const int nWidth = std::min({view.width(), m_pLayer->width(), target.width() - view.left});
    const int nHeight = std::min({view.height(), m_pLayer->height(), target.height() - view.top});
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) {
            const uint16_t wDrop = m_pLayer->pixel(x, y);
            if (wDrop == wKey)
                continue;
            const int tx = view.left + x, ty = view.top + y;
            if (tx < 0 || ty < 0)
                continue;
            target.setPixel(tx, ty, Blend(target.pixel(tx, ty), wDrop, target.format()));
        }
}
