#pragma once
// A headless match drawn through the scene: the scene's match (set up with
// its match option and without players of its own) runs for a while,
// everybody walking in the model and kit the match gave him, and the view from one of the match
// cameras is drawn with the players' labels and the radar in a corner.
#include "match/CMatchEngine.h"
#include "tools/sceneview/SceneView.h"

#include "shell/CFileManager.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tools {

struct MatchViewOptions {
    int seconds = 20;      // of real time at the engine's starting speed
    uint8_t camera = 0;    // 0 orbit, 1 follow, 2 the pitch plan
    bool alerts = false;   // three home players start spent, furious and downcast
    bool debug = false;    // the engine's debug overlays
    uint8_t view = 1;      // the orbit camera's view point, 0-7
    bool radar = true;
};

class MatchView {
public:
    explicit MatchView(SceneView& scene);
    MatchView(const MatchView&) = delete;
    MatchView& operator=(const MatchView&) = delete;

    // False with the reason in GetError() when the world or a model is missing.
    bool Setup(const MatchViewOptions& options);
    // Runs the match for the seconds asked, frame by frame (40 ms each).
    void Run();
    // Draws the scene through the chosen camera, the labels and the radar.
    void Draw();
    CMatchEngine& GetEngine() { return *m_pEngine; }
    const std::string& GetError() const { return m_error; }

private:
    bool Fail(const std::string& why);
    bool DressPeople();
    bool LoadPlanPictures();
    void RaiseAlerts();
    void DrawRadarPanel(plat::Surface& target) const;

    SceneView& m_Scene;
    MatchViewOptions m_Options;
    CMatchEngine* m_pEngine = nullptr;  // the scene's
    uint32_t m_dwClock = 0;
    std::string m_error;
    std::unique_ptr<CFileManager> m_pArchive;
};

}  // namespace tools
