#pragma once
// A match scene drawn headless for looking at and timing the renderer: the
// pitch built in code with its textures, four stands with roofs and corner
// walls, nets, flags, dugouts, sky dome and skyline, the ball and players
// with kits, each playing a named animation. Runs with the runtime data tree
// as the working folder.
#include "platform/Surface.h"
#include "shell/CFileManager.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class C3DEngine;
class CClubDatabase;
class CDatabaseHandler;
class CPlayerDatabase;
class CModel;
class CMeshBuilder;

namespace tools {

struct SceneOptions {
    int width = 640;
    int height = 480;
    int players = 22;
    std::string animation = "C5Run";
    bool stands = true;    // stands, walls, roofs, dugouts, nets and flags
    bool sky = true;       // dome and skyline
    // Two clubs of the runtime tree's starting world (Data/Data.bin) in their
    // match kits with their shirt numbers, and the officials; 0 for the
    // scene's own two kits.
    int home = 0;
    int away = 0;
    bool close = false;    // the camera near the players, behind the home side
};

// Milliseconds spent in each part of the frames drawn so far.
struct SceneTimes {
    double animate = 0;  // the models' animation steps
    double draw = 0;     // skinning, drawing and reading the frame back
    int frames = 0;
};

class SceneView {
public:
    SceneView();
    ~SceneView();
    SceneView(const SceneView&) = delete;
    SceneView& operator=(const SceneView&) = delete;

    // False with the reason in GetError() when the device, a file or the
    // animation is missing.
    bool Setup(const SceneOptions& options);
    // Advances every player by the elapsed time and draws one frame.
    void Frame(uint32_t dwElapsedMs);
    const plat::Surface& GetTarget() const { return *m_pTarget; }
    const SceneTimes& GetTimes() const { return m_Times; }
    const std::string& GetError() const { return m_error; }

private:
    struct Player {
        CModel* pModel;
        float startX, startY;
    };
    bool Fail(const std::string& why);
    bool BuildPitch();
    bool LoadScenery();
    bool LoadPlayers();
    CModel* AddModel(const std::string& name, float x, float y, float heading);
    CModel* AddPlacedModel(const std::string& name, float scale, float turn, float x, float y, float z);
    bool LoadClubs();
    // The kit textures of the players (home side first, by place) and the officials.
    bool DressPlayers(std::vector<uint16_t>& kits);
    void StartAnimation(Player& player);

    SceneOptions m_Options;
    std::unique_ptr<plat::Surface> m_pTarget;
    std::unique_ptr<C3DEngine> m_pEngine;
    CFileManager m_Textures;
    std::vector<std::unique_ptr<CModel>> m_Models;
    std::vector<Player> m_Players;
    CModel* m_pBall = nullptr;
    std::unique_ptr<CDatabaseHandler> m_pWorld;
    CClubDatabase* m_apClubs[2] = {};
    CPlayerDatabase* m_apSquads[2][11] = {};
    uint16_t m_wPlayerObject = 0;
    uint16_t m_wAnimation = 0;
    SceneTimes m_Times;
    std::string m_error;
};

}  // namespace tools
