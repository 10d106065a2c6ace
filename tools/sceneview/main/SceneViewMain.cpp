// sceneview --out FILE.png [--width W] [--height H] [--players N]
//           [--animation NAME] [--frames N] [--weather rain|snow]
//           [--club ID] [--away ID] [--camera 0-5|orbit|follow|plan]
//           [--match SECONDS [--view V] [--radar 0|1] [--alerts 0|1] [--debug 0|1]]
// Draws the match scene at a club's ground headless (run from the runtime
// data tree) and writes
// the last frame as a PNG picture; with --frames it draws N frames of 42 ms
// and ends with a line "fps F". With --match it runs a match between the
// first two clubs of the world for that many seconds and draws the view from
// the chosen match camera (orbit from view point V, or follow) with the
// players' labels and the radar.
#include "platform/PngWriter.h"
#include "tools/sceneview/MatchView.h"
#include "tools/sceneview/NumberArgument.h"
#include "tools/sceneview/SceneView.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: sceneview --out FILE.png [--width W] [--height H] [--players N] [--animation NAME] "
                 "[--frames N] [--weather rain|snow] [--club ID] [--away ID] [--camera 0-5|orbit|follow|plan] "
                 "[--match SECONDS [--view V] [--radar 0|1] [--alerts 0|1] [--debug 0|1]]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    tools::SceneOptions options;
    std::string out;
    int frames = 0;
    int matchSeconds = -1, viewPoint = 1, radar = 1, alerts = 0, debug = 0;
    tools::MatchViewOptions matchOptions;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return Usage();
        const char* value = argv[++i];
        bool bGood = true;
        if (arg == "--out")
            out = value;
        else if (arg == "--width")
            bGood = tools::ParseNumberArgument(value, 16, 4096, &options.width);
        else if (arg == "--height")
            bGood = tools::ParseNumberArgument(value, 16, 4096, &options.height);
        else if (arg == "--players")
            bGood = tools::ParseNumberArgument(value, 0, 22, &options.players);
        else if (arg == "--animation")
            options.animation = value;
        else if (arg == "--frames")
            bGood = tools::ParseNumberArgument(value, 1, 1000000, &frames);
        else if (arg == "--weather" && std::strcmp(value, "rain") == 0)
            options.weather = CPrecipitation::RAIN;
        else if (arg == "--weather" && std::strcmp(value, "snow") == 0)
            options.weather = CPrecipitation::SNOW;
        else if (arg == "--weather")
            bGood = false;
        else if (arg == "--club")
            bGood = tools::ParseNumberArgument(value, 1, 65535, &options.club);
        else if (arg == "--away")
            bGood = tools::ParseNumberArgument(value, 1, 65535, &options.away);
        else if (arg == "--match")
            bGood = tools::ParseNumberArgument(value, 0, 6000, &matchSeconds);
        else if (arg == "--camera" && (!std::strcmp(value, "orbit") || !std::strcmp(value, "follow") ||
                                       !std::strcmp(value, "plan")))
            matchOptions.camera = !std::strcmp(value, "plan") ? 2 : !std::strcmp(value, "follow") ? 1 : 0;
        else if (arg == "--alerts")
            bGood = tools::ParseNumberArgument(value, 0, 1, &alerts);
        else if (arg == "--debug")
            bGood = tools::ParseNumberArgument(value, 0, 1, &debug);
        else if (arg == "--camera")
            bGood = tools::ParseNumberArgument(value, 0, tools::kSceneCameras - 1, &options.camera);
        else if (arg == "--view")
            bGood = tools::ParseNumberArgument(value, 0, 7, &viewPoint);
        else if (arg == "--radar")
            bGood = tools::ParseNumberArgument(value, 0, 1, &radar);
        else
            return Usage();
        if (!bGood) {
            std::fprintf(stderr, "sceneview: %s %s is out of range\n", arg.c_str(), value);
            return 2;
        }
    }
    if (out.empty())
        return Usage();
    if (matchSeconds >= 0) {
        options.players = 0;  // the match's own people take the pitch
        options.match = true;
        options.camera = 0;   // the match's cameras, not a still viewpoint
    }
    tools::SceneView view;
    if (!view.Setup(options)) {
        std::fprintf(stderr, "sceneview: %s\n", view.GetError().c_str());
        return 1;
    }
    if (matchSeconds >= 0) {
        matchOptions.seconds = matchSeconds;
        matchOptions.view = static_cast<uint8_t>(viewPoint);
        matchOptions.radar = radar != 0;
        matchOptions.alerts = alerts != 0;
        matchOptions.debug = debug != 0;
        tools::MatchView match(view);
        if (!match.Setup(matchOptions)) {
            std::fprintf(stderr, "sceneview: %s\n", match.GetError().c_str());
            return 1;
        }
        match.Run();
        match.Draw();
        if (!plat::writePng(view.GetTarget(), out)) {
            std::fprintf(stderr, "sceneview: %s cannot be written\n", out.c_str());
            return 1;
        }
        return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    const int drawn = frames > 0 ? frames : 1;
    for (int f = 0; f < drawn; ++f)
        view.Frame(42);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!plat::writePng(view.GetTarget(), out)) {
        std::fprintf(stderr, "sceneview: %s cannot be written\n", out.c_str());
        return 1;
    }
    if (frames > 0) {
        const tools::SceneTimes& times = view.GetTimes();
        std::printf("animation %.3f ms a frame\n", times.animate / times.frames);
        std::printf("drawing %.3f ms a frame\n", times.draw / times.frames);
        std::printf("fps %.1f\n", drawn / seconds);
    }
    return 0;
}
