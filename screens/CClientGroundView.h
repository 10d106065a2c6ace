#pragma once
// A club's ground in 3-D, full screen at 640 x 480 (screen 90): the pitch
// with its markings on the ground plan, the stands and board rows as a match
// at the ground shows them, the facilities and building work as blocks on
// their cells, and the fixed surroundings (grass, roads, trees, street lamps
// and flashing crossing beacons) on every free cell, on a table in a room.
// Holding the left button steers the camera (left and right turn it, up and
// down drive it forwards and back), dragging with the right button zooms,
// Space shows or hides the facility signs and Escape goes back to the
// ground development screen. The name panel slides up from the bottom.
#include "shell/CGameClient.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

class C3DEngine;
class CBillboard;
class CCamera;
class CClubDatabase;
class CFileManager;
class CHordings;
class CModel;
class CXSurface;

class CClientGroundView : public CGameClient {
public:
    static constexpr int kWidth = 640, kHeight = 480;
    static constexpr int kColumns = 62, kRows = 44;
    static constexpr float kCell = 1000.0f;
    // The plan's cells a ground keeps for its pitch: 11 x 8 from (26, 18).
    static constexpr int kPitchColumn = 26, kPitchRow = 18, kPitchColumns = 11, kPitchRows = 8;
    static constexpr float kPitchCentreX = kPitchColumn * kCell + kPitchColumns * kCell * 0.5f;
    static constexpr float kPitchCentreY = kPitchRow * kCell + kPitchRows * kCell * 0.5f;
    // Where the target may go: two cells in from the plan's edges.
    static constexpr float kMinTargetX = 2 * kCell, kMinTargetY = 2 * kCell;
    static constexpr float kMaxTargetX = (kColumns - 2) * kCell, kMaxTargetY = (kRows - 2) * kCell;
    static constexpr float kMinZoom = 0.75f, kMaxZoom = 3.0f;
    static constexpr int kTileKinds = 11;
    static constexpr int kBoardRows = 5;
    static constexpr uint32_t kPanelHeight = 45;

    CClientGroundView();
    ~CClientGroundView() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnRButtonDown(uint32_t flags, int x, int y) override;
    void OnRButtonUp(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) override;
    void ConstructScreen() override;

    // The club whose ground the next entry shows (the ground development
    // screen sets it before asking for the full view).
    void SetClub(CClubDatabase* pClub) { m_pClub = pClub; }
    CClubDatabase* GetClub() const { return m_pClub; }

    // One steering step of the given milliseconds: the yaw turns by the
    // sideways offset and the target drives along it by the offset up or
    // down, kept within the plan. Nothing unless the left button is held.
    void Steer(uint32_t dwElapsedMs);
    // The zoom after the right button dragged dy pixels, kept within
    // 0.75..3.0; the camera's distance keeps its proportion to it.
    void Zoom(int dy);
    void ShowFacilitySigns(bool bShow);
    // Swaps the lit and unlit crossing beacons, at most every 500 ms.
    void FlashCrossings(uint32_t dwNow);

    const float* GetTarget() const { return m_vTarget; }
    float GetYaw() const { return m_fYaw; }
    float GetZoom() const;
    int32_t GetDistance() const;
    bool IsLeftHeld() const { return m_bLeftHeld != 0; }
    bool IsRightHeld() const { return m_bRightHeld != 0; }
    bool AreSignsShown() const { return m_bShowSigns != 0; }
    C3DEngine* GetEngine() const { return m_p3DEngine.get(); }
    // The tile model of a plan cell; null where the cell is taken or off the plan.
    const CModel* GetTileModel(int nColumn, int nRow) const;
    // The trees, lamps and beacons standing on a plan cell.
    int CountBillboardsOnCell(int nColumn, int nRow) const;
    size_t GetStandModelCount() const { return m_StandModels.size(); }
    size_t GetFacilitySignCount() const { return m_FacilitySigns.size(); }
    const CHordings* GetBoardRow(int n) const { return n >= 0 && n < kBoardRows ? m_apHoardings[n].get() : nullptr; }
    int GetPanelState() const { return m_nPanelState; }
    float GetPanelPos() const { return m_fPanelPos; }

private:
    struct SURROUNDING {
        std::unique_ptr<CBillboard> pBillboard;
        int nColumn, nRow, nKind;
    };
    void SetupComponents();
    void SetupCamera();
    void BuildPitch();
    void SetupLight();
    void LoadComponentMeshes();
    void LoadBlankMeshes();
    void SetupHoardings();
    void FreeBlankModels();
    void FreeScene();
    CCamera* Camera() const;
    void AddBillboard(int nKind, float x, float y, float fScale, int nColumn, int nRow);
    void DrawNamePanel(uint32_t dwElapsed);

    CClubDatabase* m_pClub = nullptr;
    std::unique_ptr<C3DEngine> m_p3DEngine;
    std::unique_ptr<CFileManager> m_pTextureArchive;
    bool m_b3DActive = false;
    uint8_t m_nWeather = 0;
    float m_vTarget[3] = {kPitchCentreX, kPitchCentreY, 0};
    float m_fYaw = 0.0f;
    // min x, min y, max x, max y
    float m_rcTargetBounds[4] = {kMinTargetX, kMinTargetY, kMaxTargetX, kMaxTargetY};
    uint8_t m_bLeftHeld = 0, m_bRightHeld = 0;
    int32_t m_nSteerX = 0, m_nSteerY = 0;
    int32_t m_nMouseX = 0, m_nMouseY = 0;
    uint32_t m_dwLastTime = 0;
    std::unique_ptr<CXSurface> m_pEventBox;
    int m_nPanelState = 0;
    float m_fPanelPos = 0.0f;
    uint8_t m_bShowSigns = 1;
    uint32_t m_dwNextFlash = 0;
    uint16_t m_aBlankMeshes[kTileKinds] = {};
    std::vector<std::unique_ptr<CModel>> m_apBlankModels;  // kColumns x kRows, column-major
    uint16_t m_awTreeTextures[5] = {};
    std::unique_ptr<CModel> m_pTableModel, m_pRoomModel;
    std::unique_ptr<CHordings> m_apHoardings[kBoardRows];
    float m_afAdvertRects[51][4] = {};
    std::vector<std::unique_ptr<CModel>> m_StandModels;
    std::vector<std::unique_ptr<CBillboard>> m_FacilitySigns;
    std::vector<SURROUNDING> m_Surroundings;
    std::minstd_rand m_Random;
};

CClientGroundView& GetGroundViewScreen();
