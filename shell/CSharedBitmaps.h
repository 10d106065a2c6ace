#pragma once
// The interface bitmaps every screen shares, loaded once from the main
// archive: button faces, tabs, scroll bar parts, the popup background, the
// list icons and the slider thumb (as sprites), the empty 640 x 42 shading
// strip, and the game's own animated mouse pointers with the text caret.
#include "shell/CFileManager.h"
#include "xframework/CXAnimation.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CSharedBitmaps {
public:
    static constexpr int kCursorKinds = 6;

    CSharedBitmaps() = default;
    ~CSharedBitmaps() { FreeBitmaps(); }
    CSharedBitmaps(const CSharedBitmaps&) = delete;
    CSharedBitmaps& operator=(const CSharedBitmaps&) = delete;

    // Loads every shared bitmap from the open archive. A member that is
    // missing or unreadable is logged and left null; false when any was.
    bool LoadBitmaps(CFileManager& archive);
    void FreeBitmaps();

    // A shared bitmap by its member name ("btnTog.bmp"); null when not loaded.
    CXSurface* GetBitmap(const char* pszName) const;
    // A sprite by its member name ("icnTick.bmp"); null when not loaded.
    CXAnimation* GetSprite(const char* pszName) const;
    // The flag of a nationality (1-101), cut from "Flags.bmp" (cell n of
    // 16 x 11 at x 16 n); null outside the picture or when it did not load.
    static constexpr int kFlagWidth = 16;
    static constexpr int kFlagHeight = 11;
    CXAnimation* GetNationFlag(int nNationality) const;
    CXSurface* GetShadingSurface() const { return m_pShading.get(); }
    CXAnimation* GetCaret() const { return m_pCaret.get(); }

    // Kinds 0-5 choose the pointer and its hot spot; any other kind is
    // logged and changes nothing.
    void SetMousePointer(int nKind, int nHotX, int nHotY);
    int GetMousePointerKind() const { return m_nCursorKind; }
    CXAnimation* GetMousePointer() const { return m_Cursors[m_nCursorKind].get(); }
    int GetHotSpotY() const { return m_nHotY; }
    // Draws the current pointer at the mouse position less the hot spot.
    void DrawMousePointer(CXSurface* pTarget, int nMouseX, int nMouseY);

private:
    std::unique_ptr<CXSurface> LoadSurface(CFileManager& archive, const char* pszName, bool bColourKey);
    std::unique_ptr<CXAnimation> LoadAnimation(CFileManager& archive, const char* pszName, int nFrameWidth,
                                               int nFrameHeight, int nFrames, int nPerRow);

    std::map<std::string, std::unique_ptr<CXSurface>> m_Bitmaps;
    std::map<std::string, std::unique_ptr<CXAnimation>> m_Sprites;
    std::vector<std::unique_ptr<CXAnimation>> m_Flags;
    std::unique_ptr<CXSurface> m_pShading;
    std::unique_ptr<CXAnimation> m_Cursors[kCursorKinds];
    std::unique_ptr<CXAnimation> m_pCaret;
    int m_nCursorKind = 0;
    int m_nHotX = 0;
    int m_nHotY = 0;
    bool m_bComplete = true;
};
