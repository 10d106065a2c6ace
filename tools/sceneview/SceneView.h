#pragma once
// A match scene drawn headless for looking at and timing the renderer: the
// stadium of a club's ground as a match builds it from the starting world
// (pitch, stands and walls, boards, nets, flags, dugouts, sky and skyline),
// the ball and players with kits, each playing a named animation, seen from
// one of the match's cameras or a still viewpoint. Runs with the runtime data
// tree as the working folder.
#include "platform/Surface.h"
#include "render3d/CPrecipitation.h"
#include "shell/CFileManager.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class C3DEngine;
class CDatabaseHandler;
class CMatchEngine;
class CMatchPerson;
class CModel;

namespace tools {

struct SceneOptions {
    int width = 640;
    int height = 480;
    int players = 22;
    std::string animation = "C5Run";
    bool stands = true;    // the ring of stands and walls and the boards
    bool sky = true;       // dome and skyline
    // Rain or snow over the view, as a match in that weather draws it (200
    // particles, redrawn every 100 ms for rain and 200 ms for snow).
    CPrecipitation::KIND weather = CPrecipitation::NONE;
    int club = 1;          // whose ground; the home side
    int away = 0;          // the visitors; 0 for the first other club
    // 0 and 1 the match's orbit and tracking cameras; the still viewpoints:
    // 2 over the near touchline, 3 behind the low-end goal, 4 from a high
    // corner, 5 close to the players behind the home side.
    int camera = 2;
    // A match to be played in the scene (its own people take the pitch):
    // a league match with the clubs' own sheets, from this seed.
    bool match = false;
    uint32_t seed = 7;
};
constexpr int kSceneCameras = 6;

// Milliseconds spent in each part of the frames drawn so far.
struct SceneTimes {
    double animate = 0;  // the models' animation steps
    double draw = 0;     // skinning, drawing and reading the frame back
    int frames = 0;
};

class SceneView {
public:
    // The match's one draw list: pitch, scenery and people.
    static constexpr uint8_t kSceneLayer = 0;

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
    plat::Surface& GetTarget() { return *m_pTarget; }
    C3DEngine* GetEngine() const { return m_pEngine; }
    CMatchEngine* GetMatch() const { return m_pMatch.get(); }
    void PlaceBall(float x, float y, float z);
    const SceneTimes& GetTimes() const { return m_Times; }
    const std::string& GetError() const { return m_error; }

private:
    struct Player {
        CModel* pModel;
        float startX, startY;
    };
    bool Fail(const std::string& why);
    bool StartMatch();
    void LeaveOut(const CModel* pModel);
    // The scene's own players take the field in place of the match's people.
    void LeaveOutMatchPeople();
    static void Hide(CMatchPerson* pPerson);
    bool LoadPlayers();
    void StartAnimation(Player& player);

    SceneOptions m_Options;
    std::unique_ptr<plat::Surface> m_pTarget;
    std::unique_ptr<CDatabaseHandler> m_pWorld;
    std::unique_ptr<CMatchEngine> m_pMatch;
    C3DEngine* m_pEngine = nullptr;  // the match's
    std::vector<std::unique_ptr<CModel>> m_Models;
    std::vector<Player> m_Players;
    CModel* m_pBall = nullptr;
    uint16_t m_wPlayerObject = 0;
    uint16_t m_wAnimation = 0;
    CPrecipitation m_Precipitation;
    uint32_t m_dwClock = 0;
    SceneTimes m_Times;
    std::string m_error;
};

}  // namespace tools
