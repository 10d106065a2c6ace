// The stands and board rows of a ground, shared by the match and the ground view.
#include "match/CGroundStadium.h"

#include "common/DebugLog.h"
#include "match/CHordings.h"
#include "platform/Random.h"
#include "render3d/C3DEngine.h"
#include "render3d/CMeshBuilder.h"
#include "render3d/CModel.h"
#include "render3d/CObjectData.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CHoardingsManager.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint8_t kModelFlagShared = 0x20;

// Each segment's corner, its turn about z and its mesh suffix; the even ones
// are the sides and ends, the odd ones the corners, in the order 0 -> 2 -> 4 -> 6
// round the pitch.
struct SEGMENTPLACE {
    float x, y, fTurn;
    const char* pszSuffix;
};
constexpr SEGMENTPLACE kSegmentPlaces[CGroundStadium::kSegments] = {
    {-650, -500, 0, "NN.x"},           {10650, -500, 0, "NE.x"},
    {10650, -500, -kPi / 2, "EE.x"},   {10650, 8000, -kPi / 2, "NE.x"},
    {10650, 8000, kPi, "NN.x"},        {-650, 8000, kPi, "NE.x"},
    {-650, 8000, kPi / 2, "EE.x"},     {-650, -500, kPi / 2, "NE.x"},
};

// The board rows: centre, half size and quads; the near side is split to
// leave the tunnel free. Each faces the pitch, so only a ball or a path from
// the pitch is stopped by it.
struct BOARDROW {
    int32_t cx, cy, hx, hy;
    uint32_t nQuads;
    uint8_t byFacing;
    int nSegment;      // the segment behind it: a wall there lets a ball fly over at any height
    int nDirection;    // the hoardings' row of its places
    int nFirstPlace;
};
constexpr BOARDROW kBoardRowPlaces[CGroundStadium::kBoardRows] = {
    {2125, -500, 2775, 0, 6, 1, 0, HOARDINGS_2, 0},   {7875, -500, 2775, 0, 6, 1, 0, HOARDINGS_2, 6},
    {5000, 8000, 5650, 0, 12, 0, 4, HOARDINGS_3, 0},  {-650, 3750, 0, 4250, 9, 0, 6, HOARDINGS_0, 0},
    {10650, 3750, 0, 4250, 9, 1, 2, HOARDINGS_1, 0},
};
constexpr int32_t kBoardHeight = 105;

// The advert picture: two columns of 128 x 10 cells in a 256 x 256 texture,
// advertiser 1 in the first cell, the board of an unsold place after the last.
constexpr int kAdvertColumns = 2;
constexpr float kAdvertCellWidth = 128.0f / 256.0f, kAdvertCellHeight = 10.0f / 256.0f, kTexel = 1.0f / 256.0f;
constexpr int kFirstAdvertiser = 1;
constexpr int kAdvertisers = 49;

}  // namespace

bool CGroundStadium::ChooseSegment(const CGroundDatabase* pGround, int s, const CDate& today, SEGMENT& segment)
{
    segment = SEGMENT();
    const CComponentDatabase* pStand = pGround ? pGround->GetStandOnSide(s) : nullptr;
    const int nComplete = pStand ? CMatchEngine::GetStandCompletion(*pGround, *pStand, today) : 100;
    if (nComplete < 0)
        pStand = nullptr;  // building work that has not begun
    if (!pStand) {
        segment.bWall = true;
        std::snprintf(segment.szMesh, sizeof segment.szMesh, "Wall%s", kSegmentPlaces[s & 7].pszSuffix);
        return true;
    }
    segment.bWall = false;
    segment.nComplete = nComplete;
    pStand->Get3DComponentFilename(segment.szMesh, segment.szRoof, true, nComplete);
    return pStand->GetNumberOfTiers() == 1 || nComplete < 50;
}

std::unique_ptr<CModel> CGroundStadium::LoadSegmentModel(C3DEngine& engine, const char* pszFolder, int s,
                                                         const SEGMENT& segment, float ox, float oy,
                                                         const char* pszFailureFormat)
{
    CObjectData* pObjects = engine.GetObjectData();
    if (!pObjects)
        return nullptr;
    char szFile[64];
    std::snprintf(szFile, sizeof szFile, "%s%s", pszFolder, segment.szMesh);
    const uint16_t wObject = pObjects->Load(szFile, 1);
    if (wObject == OBJECT_NOT_FOUND) {
        DebugLog(6, pszFailureFormat, szFile);
        return nullptr;
    }
    auto pModel = std::make_unique<CModel>(*pObjects, wObject, 0);
    pModel->ClearFlags(kModelFlagShared);
    // The stand files are modelled in centimetres from the segment's corner.
    const SEGMENTPLACE& place = kSegmentPlaces[s & 7];
    pModel->SetPositionAndHeading(ox + place.x, oy + place.y, place.fTurn);
    if (segment.szRoof[0]) {
        std::snprintf(szFile, sizeof szFile, "%s%s", pszFolder, segment.szRoof);
        const uint16_t wRoof = pObjects->Load(szFile, 1);
        if (wRoof == OBJECT_NOT_FOUND)
            DebugLog(6, pszFailureFormat, szFile);
        else
            pModel->Merge(wRoof);
    }
    return pModel;
}

std::unique_ptr<CHordings> CGroundStadium::MakeBoardRow(int r, uint16_t wTexture, bool bWithMeshes, int32_t ox,
                                                        int32_t oy)
{
    const BOARDROW& row = kBoardRowPlaces[r < 0 || r >= kBoardRows ? 0 : r];
    return std::make_unique<CHordings>(ox + row.cx, oy + row.cy, 0, row.hx, row.hy, kBoardHeight, row.nQuads, 0,
                                       0.2f, wTexture, row.byFacing, bWithMeshes);
}

int CGroundStadium::GetBoardRowSegment(int r)
{
    return r >= 0 && r < kBoardRows ? kBoardRowPlaces[r].nSegment : 0;
}

void CGroundStadium::MakeAdvertRects(float (*pRects)[4])
{
    for (int k = 0; k < kAdvertRects; ++k) {
        const int nCell = k >= kFirstAdvertiser && k < kFirstAdvertiser + kAdvertisers ? k - kFirstAdvertiser
                                                                                          : kAdvertisers;
        const float left = float(nCell % kAdvertColumns) * kAdvertCellWidth;
        const float top = float(nCell / kAdvertColumns) * kAdvertCellHeight;
        // Half a texel in from each edge, so that no neighbouring cell bleeds in.
        const float rect[4] = {left + kTexel / 2, left + kAdvertCellWidth - kTexel / 2, top + kTexel / 2,
                               top + kAdvertCellHeight - kTexel / 2};
        std::memcpy(pRects[k], rect, sizeof rect);
    }
}

void CGroundStadium::FillBoardRows(std::unique_ptr<CHordings>* pRows, CHoardingsManager* pHoardings,
                                   const float (*pRects)[4])
{
    auto set = [&](int nRow, uint32_t nQuad, int nRect) {
        if (pRows[nRow])
            pRows[nRow]->SetTextureRect(nQuad, pRects[nRect]);
    };
    if (!pHoardings) {
        // Nobody sells this ground's boards: random advertisers, the split
        // near side and the two ends matching quad for quad.
        for (uint32_t i = 0; i < 6; ++i) {
            const int nRect = (plat::rand() & 15) + kFirstAdvertiser;
            set(0, i, nRect);
            set(1, i, nRect);
        }
        for (uint32_t i = 0; i < 12; ++i)
            set(2, i, (plat::rand() & 15) + kFirstAdvertiser);
        for (uint32_t i = 0; i < 9; ++i) {
            const int nRect = (plat::rand() & 15) + kFirstAdvertiser;
            set(3, i, nRect);
            set(4, i, nRect);
        }
        return;
    }
    for (int r = 0; r < kBoardRows; ++r) {
        const BOARDROW& row = kBoardRowPlaces[r];
        for (uint32_t i = 0; i < row.nQuads; ++i) {
            const HOARDING* pPlace = pHoardings->GetHoardings(row.nDirection, row.nFirstPlace + int(i));
            const int nAdvertiser = pPlace ? pPlace->byAdvertiser : 0;
            set(r, i, nAdvertiser >= 1 && nAdvertiser <= kAdvertisers ? nAdvertiser : kNoAdvertRect);
        }
    }
}

void CGroundStadium::BuildPitch(C3DEngine& engine, uint16_t wGrass, uint16_t wMarkings, uint16_t wMaterial, float ox,
                                float oy, uint8_t ucLayer)
{
    CMeshBuilder* b = engine.GetMeshBuilder();
    if (!b)
        return;
    const uint16_t wFirst = b->GetMeshCount();
    b->AddMesh();
    b->SetTexture(wGrass);
    b->SetMaterial(wMaterial);
    // The mown stripes of the grass picture run across the pitch.
    b->AddGrid(ox - 700, oy - 550, 0, ox + 10700, oy + 8050, 0, 6, 4, 1);
    b->AddMesh();
    b->SetTexture(wMarkings);
    b->SetMaterial(wMaterial);
    const float lineRect[4] = {0, 0, 1, 0.21875f};
    b->SetTextureTiling(1, lineRect, 100);
    // Corner, opposite corner and the way the texture runs along it.
    static const float kLines[][5] = {
        {4991, 0, 5009, 7500, 2},       {-18, -18, 10018, 0, 1},       {-18, 7500, 10018, 7518, 1},
        {-18, 0, 0, 7500, 2},           {10000, 0, 10018, 7500, 2},    {0, 2766, 550, 2784, 1},
        {550, 2766, 568, 4734, 2},      {0, 4716, 550, 4734, 1},       {9450, 2766, 10000, 2784, 1},
        {9432, 2766, 9450, 4734, 2},    {9450, 4716, 10000, 4734, 1},  {0, 1666, 1650, 1684, 1},
        {1650, 1666, 1668, 5834, 2},    {0, 5816, 1650, 5834, 1},      {8350, 1666, 10000, 1684, 1},
        {8332, 1666, 8350, 5834, 2},    {8350, 5816, 10000, 5834, 1}};
    for (const auto& l : kLines)
        b->AddRectangle(ox + l[0], oy + l[1], 1, ox + l[2], oy + l[3], 1, uint8_t(l[4]));
    b->AddRingQuadrants(ox + 0, oy + 0, 1, 100, 118, 1);
    b->AddRingQuadrants(ox + 10000, oy + 0, 1, 100, 118, 8);
    b->AddRingQuadrants(ox + 0, oy + 7500, 1, 100, 118, 2);
    b->AddRingQuadrants(ox + 10000, oy + 7500, 1, 100, 118, 4);
    b->AddRingQuadrants(ox + 5000, oy + 3750, 1, 915, 933, 15);
    b->AddClippedRing(ox + 1100, oy + 3750, 1, 915, 933, ox + 1668);
    b->AddClippedRing(ox + 8900, oy + 3750, 1, 915, 933, ox + 8332);
    const float spotRect[4] = {0.1875f, 0.3125f, 0.78125f, 0.875f};
    b->SetTextureTiling(1, spotRect, 100);
    b->AddRectangle(ox + 4985, oy + 3735, 1, ox + 5015, oy + 3765, 1, 0);
    b->AddRectangle(ox + 1085, oy + 3735, 1, ox + 1115, oy + 3765, 1, 0);
    b->AddRectangle(ox + 8885, oy + 3735, 1, ox + 8915, oy + 3765, 1, 0);
    // The mesh flag and the draw order: grass first, the markings over it.
    for (uint16_t m = 0; m < 2; ++m)
        if (ITEMMESHINFORMATION* pMesh = const_cast<ITEMMESHINFORMATION*>(b->GetMesh(uint16_t(wFirst + m)))) {
            pMesh->flags |= MESH_NO_ZENABLE;
            pMesh->drawOrderKey = uint16_t(2 + m);
        }
    b->AddToMeshManager(ucLayer);
}

