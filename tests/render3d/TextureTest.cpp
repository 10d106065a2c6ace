#include "RenderTestSupport.h"

#include "render3d/CMaterialManager.h"
#include "render3d/CTextureBitmap.h"
#include "render3d/CTextureManager.h"

#include <unistd.h>

#include <cstring>

using render3d_test::MakeBmp8;

namespace {

std::unique_ptr<CTextureBitmap> ReadBytes(std::vector<uint8_t> bytes, std::string* error, int64_t size = -1)
{
    FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    auto bitmap = CTextureBitmap::Read(f, size < 0 ? static_cast<int64_t>(bytes.size()) : size, error);
    std::fclose(f);
    return bitmap;
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(TextureBitmap, ReadsSmallPalettesAndBottomUpRows)
{
    // 3 x 2, three palette entries; the top row is 0 1 2, the bottom row 2 2 0.
    std::string error;
    auto bitmap = ReadBytes(MakeBmp8(3, 2, {0x00FF0000, 0x0000FF00, 0x000000FF}, {0, 1, 2, 2, 2, 0}), &error);
    ASSERT_TRUE(bitmap) << error;
    EXPECT_EQ(bitmap->Width(), 3);
    EXPECT_EQ(bitmap->Height(), 2);
    EXPECT_EQ(bitmap->Colour(0, 0), 0x00FF0000u);
    EXPECT_EQ(bitmap->Colour(1, 0), 0x0000FF00u);
    EXPECT_EQ(bitmap->Colour(0, 1), 0x000000FFu);
    EXPECT_EQ(bitmap->Colour(2, 1), 0x00FF0000u);
}

TEST(TextureBitmap, RefusesDamagedFiles)
{
    const std::vector<uint8_t> good = MakeBmp8(4, 4, {0x0, 0xFFFFFF}, std::vector<uint8_t>(16, 1));
    struct Damage {
        const char* what;
        std::vector<uint8_t> bytes;
        int64_t size;
    };
    std::vector<Damage> cases;
    auto variant = [&](const char* what, auto change, int64_t size = -1) {
        std::vector<uint8_t> b = good;
        change(b);
        cases.push_back({what, b, size});
    };
    variant("colour table of 300 entries", [](auto& b) { PutU32(b, 46, 300); });
    variant("colour table past the end", [](auto& b) { PutU32(b, 46, 200); });
    variant("pixel offset past the end", [](auto& b) { PutU32(b, 10, 100000); });
    variant("pixel offset inside the headers", [](auto& b) { PutU32(b, 10, 20); });
    variant("taller than the pixels", [](auto& b) { PutU32(b, 22, 40); });
    variant("huge width", [](auto& b) { PutU32(b, 18, 0x7FFFFFFF); });
    variant("zero height", [](auto& b) { PutU32(b, 22, 0); });
    variant("compressed", [](auto& b) { PutU32(b, 30, 1); });
    variant("4-bit", [](auto& b) { b[28] = 4; });
    variant("not a bitmap", [](auto& b) { b[0] = 'X'; });
    variant("pixel beyond the table", [](auto& b) { b.back() = 7; });
    variant("member shorter than the file", [](auto&) {}, 60);
    for (const Damage& c : cases) {
        std::string error;
        EXPECT_FALSE(ReadBytes(c.bytes, &error, c.size)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST(TextureColours, HueSaturationLightnessRoundTrip)
{
    struct {
        uint8_t bgr[3];
        float h, s, l;
    } cases[] = {
        {{0, 0, 255}, 0.0f, 1.0f, 0.5f},         // red
        {{0, 255, 0}, 1.0f / 3.0f, 1.0f, 0.5f},  // green
        {{255, 0, 0}, 2.0f / 3.0f, 1.0f, 0.5f},  // blue
        {{128, 128, 128}, 0.0f, 0.0f, 0.50196f}, // grey has no hue
    };
    for (const auto& c : cases) {
        float h, s, l;
        RGBToHSL(c.bgr, &h, &s, &l);
        // Red's hue comes out as 1 (5 + 1 sixths), the same angle as 0.
        EXPECT_NEAR(h == 1.0f ? 0.0f : h, c.h, 1e-4f);
        EXPECT_NEAR(s, c.s, 1e-4f);
        EXPECT_NEAR(l, c.l, 1e-4f);
        uint8_t back[3];
        HSLToRGB(h, s, l, back);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(back[i], c.bgr[i], 1) << i;
    }
}

class TextureManagerTest : public render3d_test::EngineTest {
protected:
    void SetUp() override
    {
        StartEngine(16, 16);
        m_folder = std::filesystem::temp_directory_path() / ("render3d_tex_" + std::to_string(getpid()));
        std::filesystem::create_directories(m_folder);
        m_textures = m_engine->GetTextureManager();
        ASSERT_NE(m_textures, nullptr);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_folder);
        EngineTest::TearDown();
    }
    std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    plat::COLORREF Corner(uint16_t index)
    {
        plat::Surface* s = m_textures->GetSurface(index);
        return s ? plat::pixelToColor(s->pixel(0, 0), s->format()) : 0xFFFFFFFF;
    }

    std::filesystem::path m_folder;
    CTextureManager* m_textures = nullptr;
};

TEST_F(TextureManagerTest, SameNameSharesAndForceMakesAnother)
{
    render3d_test::WriteFile(m_folder / "grass.bmp", MakeBmp8(2, 2, {0x00208020}, std::vector<uint8_t>(4, 0)));
    const uint16_t first = m_textures->LoadTexture(Path("grass.bmp").c_str(), 0, nullptr);
    ASSERT_NE(first, NO_TEXTURE);
    EXPECT_EQ(m_textures->LoadTexture(Path("grass.bmp").c_str(), 0, nullptr), first);
    EXPECT_NE(m_textures->LoadTexture(Path("grass.bmp").c_str(), 1, nullptr), first);
    EXPECT_EQ(m_textures->LoadTexture(Path("missing.bmp").c_str(), 0, nullptr), NO_TEXTURE);
    EXPECT_EQ(m_textures->GetCount(), 2);
    EXPECT_EQ(m_textures->GetSurface(2), nullptr);
    EXPECT_EQ(m_textures->GetFlags(first), TEXTURE_WRAP);
}

TEST_F(TextureManagerTest, KitSlotReadsTheBaseFileRecolouredAndShares)
{
    // Entry 1 is the kit's red; entry 0 stays.
    render3d_test::WriteFile(m_folder / "kit%C0.bmp", MakeBmp8(2, 1, {0x00000000, 0x00FF0000}, {1, 0}));
    ColourRecord toBlue{};
    toBlue.first[0] = 1;
    toBlue.span[0] = 0;
    toBlue.shift[0][0] = 170;  // 170 / 255 of a turn: red to blue
    toBlue.count = 1;
    m_textures->SetColourSlot(&toBlue, 1);
    const uint16_t kit = m_textures->LoadTexture(Path("kit%C1.bmp").c_str(), 0, nullptr);
    ASSERT_NE(kit, NO_TEXTURE);
    const plat::COLORREF c = Corner(kit);
    EXPECT_LT(plat::GetRValue(c), 16);
    EXPECT_GT(plat::GetBValue(c), 230);
    EXPECT_EQ(m_textures->LoadTexture(Path("kit%C1.bmp").c_str(), 0, nullptr), kit);
    // The same slot contents given directly find the same texture.
    EXPECT_EQ(m_textures->LoadTexture(Path("kit%C0.bmp").c_str(), 0, &toBlue), kit);
    // A hue shift past a whole turn wraps: red shifted by -1/255 stays nearly red.
    ColourRecord nearRed = toBlue;
    nearRed.shift[0][0] = -1;
    const uint16_t wrapped = m_textures->LoadTexture(Path("kit%C0.bmp").c_str(), 0, &nearRed);
    EXPECT_GT(plat::GetRValue(Corner(wrapped)), 230);
    EXPECT_LT(plat::GetGValue(Corner(wrapped)), 16);
}

TEST_F(TextureManagerTest, NameCodesSubstituteAndKeyCodeSetsTheKey)
{
    render3d_test::WriteFile(m_folder / "stand%D1.bmp", MakeBmp8(1, 1, {0x00FFFFFF}, {0}));
    m_textures->SetNameCode('D', '1');
    EXPECT_EQ(m_textures->GetNameCode('D'), '1');
    EXPECT_EQ(m_textures->GetNameCode('Q'), '0');
    for (char c = 'E'; c < 'E' + 9; ++c)
        m_textures->SetNameCode(c, '5');
    EXPECT_EQ(m_textures->GetNameCode('L'), '5');
    EXPECT_EQ(m_textures->GetNameCode('M'), '0') << "a tenth code is ignored";
    const uint16_t stand = m_textures->LoadTexture(Path("stand%Dx.bmp").c_str(), 0, nullptr);
    ASSERT_NE(stand, NO_TEXTURE);
    EXPECT_STREQ(m_textures->GetName(stand), Path("stand%D1").c_str());

    render3d_test::WriteFile(m_folder / "net%K0,255,0.bmp", MakeBmp8(1, 1, {0x0000FF00}, {0}));
    const uint16_t net = m_textures->LoadTexture(Path("net%K0,255,0.bmp").c_str(), 0, nullptr);
    ASSERT_NE(net, NO_TEXTURE);
    EXPECT_EQ(m_textures->GetFlags(net), TEXTURE_COLOURKEYED | TEXTURE_WRAP);
    ASSERT_TRUE(m_textures->GetSurface(net)->hasColorKey());
    EXPECT_EQ(m_textures->GetSurface(net)->colorKey(), 0x07E0);
}

TEST_F(TextureManagerTest, OverlayKeepsKeyedPixelsAndSurvivesRestore)
{
    render3d_test::WriteFile(m_folder / "shirt.bmp", MakeBmp8(2, 1, {0x00FFFFFF}, {0, 0}));
    render3d_test::WriteFile(m_folder / "digit.bmp", MakeBmp8(2, 1, {0x00FF00FF, 0x00000000}, {0, 1}));
    const uint16_t shirt = m_textures->LoadTexture(Path("shirt.bmp").c_str(), 0, nullptr);
    m_textures->ReplaceTexture(shirt, Path("digit.bmp").c_str(), nullptr);
    EXPECT_EQ(m_textures->GetSurface(shirt)->pixel(0, 0), 0xFFFF);
    EXPECT_EQ(m_textures->GetSurface(shirt)->pixel(1, 0), 0x0000);
    m_engine->ReleaseDevice();
    m_engine->RestoreDevice();
    EXPECT_EQ(m_textures->GetSurface(shirt)->pixel(1, 0), 0x0000) << "the overlay is drawn again";
    EXPECT_EQ(m_textures->GetSurface(shirt)->pixel(0, 0), 0xFFFF);
}

TEST_F(TextureManagerTest, MaterialsAreSharedByTheirBytes)
{
    D3DMATERIAL a{};
    a.dwSize = sizeof a;
    a.diffuse = {1, 0, 0, 1};
    D3DMATERIAL b = a;
    b.power = 2.0f;
    CMaterialManager* materials = m_engine->GetMaterialManager();
    const uint16_t ia = m_engine->AddMaterial(&a);
    EXPECT_EQ(m_engine->AddMaterial(&a), ia);
    const uint16_t ib = m_engine->AddMaterial(&b);
    EXPECT_NE(ib, ia);
    EXPECT_EQ(materials->GetCount(), 2);
    EXPECT_EQ(materials->FindMaterial(&b), ib);
    D3DMATERIAL c = b;
    c.dwRampSize = 1;
    EXPECT_EQ(materials->FindMaterial(&c), MATERIAL_NOT_FOUND);
    materials->SetCurrentMaterial(ib);
    materials->SetCurrentMaterial(NO_MATERIAL);
    EXPECT_EQ(materials->GetCurrent(), ib) << "no material leaves the last one in effect";
    m_engine->ReleaseDevice();
    EXPECT_FALSE(materials->IsLive(ia));
    m_engine->RestoreDevice();
    EXPECT_TRUE(materials->IsLive(ia));
    EXPECT_EQ(m_engine->AddMaterial(&b), ib);
}

}  // namespace
