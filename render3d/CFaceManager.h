#pragma once
// A list of faces the engine draws after its mesh lists, each frame. A static
// list owns its faces, added once; a dynamic one draws a chain of faces owned
// elsewhere, collected again every frame. Either can skip faces outside the
// view and sort its faces by texture or back to front.
#include "common/CPointerArray.h"

#include <cstdint>

class CFace;

class CFaceManager {
public:
    static constexpr uint8_t SORT_BACK_TO_FRONT = 0x1;
    static constexpr uint8_t SORT_BY_TEXTURE = 0x2;
    static constexpr uint8_t TEST_VISIBILITY = 0x4;
    static constexpr uint8_t KIND_STATIC = 0;
    static constexpr uint8_t KIND_DYNAMIC = 1;

    CFaceManager();
    ~CFaceManager();
    CFaceManager(const CFaceManager&) = delete;
    CFaceManager& operator=(const CFaceManager&) = delete;

    // Static lists: appends a face the list then owns (refused ones are deleted).
    void AddFace(CFace* pFace);
    CFace* GetFace(int nIndex) const;
    uint16_t GetFaceCount() const { return m_wFaceCount; }
    void ClearFaces() { m_wFaceCount = 0; }
    // Dynamic lists: the faces of the chain from m_pFirstDynamic, in chain
    // order (with visibility testing only those in view).
    void UpdateDynamicFaces();
    void FreeFaces();
    void Draw();

    uint8_t m_ucFlags = 0;
    uint8_t m_ucKind = KIND_STATIC;
    CFace* m_pFirstDynamic = nullptr;  // chain through CFace::m_pNext; not owned

private:
    void Sort();

    CPointerArray m_Faces;
    uint16_t m_wFaceCount = 0;
};
