#pragma once
// The stands and advertising boards of a ground, built the same way for a
// match and for the full-screen ground view: which stand or wall each of the
// eight segments round the pitch shows on a day, its model placed with the
// pitch's corner at an origin, the five board rows with the cells of the
// advert picture and the advert on each board. The match puts the pitch's
// corner at (0, 0); the ground view at the pitch's place on the ground plan.
#include "match/CMatchEngine.h"

#include <cstdint>
#include <memory>

class C3DEngine;
class CHoardingsManager;
class CHordings;
class CModel;

class CGroundStadium {
public:
    using SEGMENT = CMatchEngine::STADIUMSEGMENT;
    static constexpr int kSegments = CMatchEngine::kStadiumSegments;
    static constexpr int kBoardRows = CMatchEngine::kBoardRows;
    static constexpr int kAdvertRects = CMatchEngine::kAdvertRects;
    static constexpr int kNoAdvertRect = CMatchEngine::kNoAdvertRect;

    // The grass and the markings of the pitch, its corner at (ox, oy), as
    // two meshes of the engine's mesh builder handed to the draw list.
    static void BuildPitch(C3DEngine& engine, uint16_t wGrass, uint16_t wMarkings, uint16_t wMaterial, float ox,
                           float oy, uint8_t ucLayer);
    // What segment s of the ground shows on the day (a null ground: a wall).
    // True when it keeps the ring low: a wall, a one-tier stand or one less
    // than half built.
    static bool ChooseSegment(const CGroundDatabase* pGround, int s, const CDate& today, SEGMENT& segment);
    // The segment's model from the folder ("MatchMeshes\\"), the roof merged
    // into it, with the pitch's corner at (ox, oy); null (logged with the
    // format and the file name) when the file cannot be loaded.
    static std::unique_ptr<CModel> LoadSegmentModel(C3DEngine& engine, const char* pszFolder, int s,
                                                    const SEGMENT& segment, float ox, float oy,
                                                    const char* pszFailureFormat);
    // Board row r with the pitch's corner at (ox, oy).
    static std::unique_ptr<CHordings> MakeBoardRow(int r, uint16_t wTexture, bool bWithMeshes, int32_t ox, int32_t oy);
    // The segment standing behind board row r.
    static int GetBoardRowSegment(int r);
    // The texture rectangles of the advert picture: advertiser k at k, the
    // board of an unsold place at kNoAdvertRect.
    static void MakeAdvertRects(float (*pRects)[4]);
    // Every board's advert: the places the home club sold (kNoAdvertRect
    // where nothing is sold), or, without a seller, random advertisers with
    // the two halves of the near side and the two ends matching quad for quad.
    static void FillBoardRows(std::unique_ptr<CHordings>* pRows, CHoardingsManager* pHoardings,
                              const float (*pRects)[4]);
};
