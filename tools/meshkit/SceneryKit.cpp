#include "tools/meshkit/SceneryKit.h"

#include "tools/meshkit/KitShapes.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tools {

namespace {

constexpr float kPi = 3.14159265f;

XMaterialData Material(float r, float g, float b, const std::string& texture = "", bool bGlowing = false)
{
    XMaterialData m;
    m.faceColour = {r, g, b, 1};
    m.textureFilename = texture;
    if (bGlowing)
        m.emissive = {r, g, b};
    return m;
}

D3DCOLORVALUE Colour(const KitLine& line, const std::string& name, D3DCOLORVALUE fallback)
{
    const std::vector<float> v = line.Numbers(name);
    if (v.empty())
        return fallback;
    if (v.size() != 3)
        throw KitError{line.Where(name + " needs three values")};
    return {v[0], v[1], v[2], 1};
}

XFileData OneMesh(XMeshData mesh)
{
    XFrameData frame;
    frame.name = mesh.name + "_frame";
    frame.meshes.push_back(std::move(mesh));
    XFileData file;
    file.frames.push_back(std::move(frame));
    return file;
}

XFileData Ball(const KitLine& line)
{
    XMeshData mesh;
    mesh.name = "ball";
    mesh.materials = {Material(1, 1, 1, line.Text("texture", ""))};
    KitShapes(mesh).Sphere({0, 0, 0}, line.Number("radius", 13), static_cast<int>(line.Number("rings", 8)),
                           2 * static_cast<int>(line.Number("rings", 8)));
    return OneMesh(std::move(mesh));
}

XFileData Net(const KitLine& line)
{
    const float w = line.Number("width", 7.1f) / 2, h = line.Number("height", 2.3f), d = line.Number("depth", 2);
    const float p = line.Number("post", 0.06f);
    XMeshData mesh;
    mesh.name = "net";
    mesh.materials = {Material(1, 1, 1), Material(1, 1, 1, line.Text("texture", ""))};
    KitShapes shapes(mesh);
    shapes.Box({-w - p, 0, -p}, {-w, h + p, 0});
    shapes.Box({w, 0, -p}, {w + p, h + p, 0});
    shapes.Box({-w, h, -p}, {w, h + p, 0});
    shapes.SetMaterial(1);
    const float back = h * 0.75f;
    const D3DVECTOR top[4] = {{-w, h, 0}, {w, h, 0}, {w, back, d}, {-w, back, d}};
    shapes.TwoSidedQuad(top, {0, 1, 0}, w * 4, d * 2);
    const D3DVECTOR rear[4] = {{-w, 0, d}, {w, 0, d}, {w, back, d}, {-w, back, d}};
    shapes.TwoSidedQuad(rear, {0, 0, 1}, w * 4, back * 2);
    for (float x : {-w, w}) {
        const D3DVECTOR side[4] = {{x, 0, 0}, {x, 0, d}, {x, back, d}, {x, h, 0}};
        shapes.TwoSidedQuad(side, {x > 0 ? 1.0f : -1.0f, 0, 0}, d * 2, h * 2);
    }
    return OneMesh(std::move(mesh));
}

XFileData Flag(const KitLine& line)
{
    const float h = line.Number("height", 3.75f), r = line.Number("pole", 0.04f), c = line.Number("cloth", 0.9f);
    XMeshData mesh;
    mesh.name = "flag";
    mesh.materials = {Material(0.95f, 0.95f, 0.95f), Material(1, 1, 1, line.Text("texture", ""))};
    KitShapes shapes(mesh);
    shapes.Prism(0, 0, 0, h, r, r, 6);
    shapes.SetMaterial(1);
    const D3DVECTOR cloth[4] = {{0, h - c * 0.7f, 0}, {c, h - c * 0.7f, 0}, {c, h, 0}, {0, h, 0}};
    shapes.TwoSidedQuad(cloth, {0, 0, -1});
    return OneMesh(std::move(mesh));
}

XFileData Card(const KitLine& line)
{
    const float w = line.Number("width", 8) / 2, h = line.Number("height", 11);
    const D3DCOLORVALUE c = Colour(line, "colour", {1, 0.85f, 0.05f, 1});
    XMeshData mesh;
    mesh.name = "card";
    mesh.materials = {Material(c.r, c.g, c.b, "", true)};
    KitShapes(mesh).Box({-w, 0, -0.2f}, {w, h, 0.2f});
    return OneMesh(std::move(mesh));
}

XFileData SprayCan(const KitLine& line)
{
    const float r = line.Number("radius", 3), h = line.Number("height", 16);
    const D3DCOLORVALUE body = Colour(line, "colour", {0.85f, 0.85f, 0.9f, 1});
    const D3DCOLORVALUE cap = Colour(line, "cap", {0.9f, 0.1f, 0.1f, 1});
    XMeshData mesh;
    mesh.name = "spraycan";
    mesh.materials = {Material(body.r, body.g, body.b), Material(cap.r, cap.g, cap.b)};
    KitShapes shapes(mesh);
    shapes.Prism(0, 0, 0, h, r, r, 8);
    shapes.SetMaterial(1);
    shapes.Prism(0, 0, h, h + r, r * 0.8f, r * 0.8f, 8, 0.6f);
    return OneMesh(std::move(mesh));
}

XFileData Dome(const KitLine& line)
{
    XMeshData mesh;
    mesh.name = "dome";
    mesh.materials = {Material(1, 1, 1, line.Text("texture", ""), true)};
    KitShapes(mesh).Sphere({0, 0, 0}, line.Number("radius", 300), static_cast<int>(line.Number("rings", 8)),
                           static_cast<int>(line.Number("segments", 16)), true, true);
    return OneMesh(std::move(mesh));
}

XFileData Skyline(const KitLine& line)
{
    const float r = line.Number("radius", 160), h = line.Number("height", 32);
    const int n = std::max(3, static_cast<int>(line.Number("segments", 24)));
    XMeshData mesh;
    mesh.name = "skyline";
    mesh.materials = {Material(1, 1, 1, line.Text("texture", ""), true)};
    KitShapes shapes(mesh);
    for (int i = 0; i < n; ++i) {
        const float a0 = 2 * kPi * i / n, a1 = 2 * kPi * (i + 1) / n, am = (a0 + a1) / 2;
        const D3DVECTOR q[4] = {{r * std::cos(a0), 0, r * std::sin(a0)}, {r * std::cos(a1), 0, r * std::sin(a1)},
                                {r * std::cos(a1), h, r * std::sin(a1)}, {r * std::cos(a0), h, r * std::sin(a0)}};
        shapes.SetUv({static_cast<float>(i % 4) / 4, 0, static_cast<float>(i % 4 + 1) / 4, 1});
        shapes.Quad(q, {-std::cos(am), 0, -std::sin(am)});
    }
    return OneMesh(std::move(mesh));
}

XFileData Dugout(const KitLine& line)
{
    const float w = line.Number("width", 6) / 2, d = line.Number("depth", 1.5f), h = line.Number("height", 2);
    const float t = 0.08f;
    XMeshData mesh;
    mesh.name = "dugout";
    mesh.materials = {Material(1, 1, 1, line.Text("texture", "")), Material(0.2f, 0.25f, 0.5f)};
    KitShapes shapes(mesh);
    shapes.Box({-w, 0, d - t}, {w, h, d});
    shapes.Box({-w, h - t, 0}, {w, h, d});
    shapes.Box({-w, 0, 0}, {-w + t, h, d});
    shapes.Box({w - t, 0, 0}, {w, h, d});
    shapes.SetMaterial(1);
    shapes.Box({-w + t, 0, d * 0.45f}, {w - t, 0.45f, d - t});
    return OneMesh(std::move(mesh));
}

struct StandKind {
    int tiers = 1;
    float depth = 1300, height = 700;
};

struct StandTextures {
    std::string seats, concrete, roof, scaffold;
};

enum StandMaterial : uint16_t { CONCRETE = 0, SEATS = 1, ROOF = 2, SCAFFOLD = 3 };

std::vector<XMaterialData> StandMaterials(const StandTextures& t)
{
    return {Material(1, 1, 1, t.concrete), Material(1, 1, 1, t.seats), Material(1, 1, 1, t.roof),
            Material(1, 1, 1, t.scaffold)};
}

constexpr float kFrontWall = 100;
constexpr float kFascia = 150;

// The height of a stand's seating at depth z (the front of each tier raised
// by its fascia).
float SeatHeight(const StandKind& k, float z, bool bAtTierFront)
{
    const float tierDepth = k.depth / k.tiers, tierRise = k.height / k.tiers;
    int tier = std::min(k.tiers - 1, static_cast<int>(z / tierDepth));
    if (bAtTierFront && tier > 0 && z <= tier * tierDepth + 0.5f)
        return kFrontWall + tier * tierRise + kFascia;
    const float local = z - tier * tierDepth;
    const float start = kFrontWall + tier * tierRise + (tier > 0 ? kFascia : 0);
    const float end = kFrontWall + (tier + 1) * tierRise;
    return start + (end - start) * local / tierDepth;
}

// Scaffold poles over a rectangle of ground, up to the height given.
void Scaffold(KitShapes& shapes, float x0, float x1, float z0, float z1, float top)
{
    shapes.SetMaterial(SCAFFOLD);
    for (float x = x0; x <= x1 + 1; x += 900)
        for (float z = z0; z <= z1 + 1; z += 600)
            shapes.Box({x - 12, 0, z - 12}, {x + 12, top, z + 12});
    for (float y = 300; y < top; y += 300)
        for (float z = z0; z <= z1 + 1; z += 600)
            shapes.Box({x0, y - 8, z - 8}, {x1, y + 8, z + 8});
}

XFileData SideStand(const StandKind& k, float length, const std::string& variant, const StandTextures& textures)
{
    XMeshData mesh;
    mesh.name = "stand";
    mesh.materials = StandMaterials(textures);
    KitShapes shapes(mesh);
    const float L = length, D = k.depth, top = kFrontWall + k.height;
    const int built = variant == "UC" ? 1 : variant == "UC2" ? std::max(1, k.tiers - 1) : k.tiers;
    const bool bScaffold = variant == "UC" || variant == "UC2";
    const float builtDepth = D * built / k.tiers;
    shapes.SetMaterial(CONCRETE);
    const D3DVECTOR front[4] = {{0, 0, 0}, {L, 0, 0}, {L, kFrontWall, 0}, {0, kFrontWall, 0}};
    shapes.Quad(front, {0, 0, -1}, L / 300, 1);
    const float tierDepth = D / k.tiers, tierRise = k.height / k.tiers;
    for (int i = 0; i < built; ++i) {
        const float z0 = i * tierDepth, z1 = (i + 1) * tierDepth;
        const float y0 = SeatHeight(k, z0, true), y1 = kFrontWall + (i + 1) * tierRise;
        if (i > 0) {
            shapes.SetMaterial(CONCRETE);
            const D3DVECTOR fascia[4] = {{0, y0 - kFascia, z0}, {L, y0 - kFascia, z0}, {L, y0, z0}, {0, y0, z0}};
            shapes.Quad(fascia, {0, 0, -1}, L / 300, 1);
        }
        shapes.SetMaterial(SEATS);
        const float dz = z1 - z0, dy = y1 - y0, n = std::sqrt(dz * dz + dy * dy);
        const D3DVECTOR slope[4] = {{0, y0, z0}, {L, y0, z0}, {L, y1, z1}, {0, y1, z1}};
        shapes.Quad(slope, {0, dz / n, -dy / n}, L / 250, n / 250);
    }
    // The ends follow the built profile; the back closes it.
    shapes.SetMaterial(CONCRETE);
    const float builtTop = kFrontWall + built * tierRise;
    for (float x : {0.0f, L}) {
        std::vector<D3DVECTOR> profile{{x, 0, builtDepth}, {x, 0, 0}, {x, kFrontWall, 0}};
        for (int i = 1; i < built; ++i) {
            profile.push_back({x, kFrontWall + i * tierRise, i * tierDepth});
            profile.push_back({x, SeatHeight(k, i * tierDepth, true), i * tierDepth});
        }
        profile.push_back({x, builtTop, builtDepth});
        shapes.Fan(profile, {x > 0 ? 1.0f : -1.0f, 0, 0}, 1.0f / 300);
    }
    const float backTop = variant == "B" ? builtTop + 350 : builtTop;
    const D3DVECTOR back[4] = {{L, 0, builtDepth}, {0, 0, builtDepth}, {0, backTop, builtDepth}, {L, backTop, builtDepth}};
    shapes.Quad(back, {0, 0, 1}, L / 300, backTop / 300);
    if (variant == "B") {
        const D3DVECTOR screen[4] = {{0, builtTop, builtDepth}, {L, builtTop, builtDepth}, {L, backTop, builtDepth},
                                     {0, backTop, builtDepth}};
        shapes.Quad(screen, {0, 0, -1}, L / 300, 1);
    }
    if (bScaffold)
        Scaffold(shapes, 0, L, builtDepth, D, top);
    return OneMesh(std::move(mesh));
}

XFileData CornerStand(const StandKind& k, const std::string& variant, const StandTextures& textures)
{
    XMeshData mesh;
    mesh.name = "corner";
    mesh.materials = StandMaterials(textures);
    KitShapes shapes(mesh);
    const bool bScaffold = variant == "UC" || variant == "UC2";
    const int built = variant == "UC" ? 1 : variant == "UC2" ? std::max(1, k.tiers - 1) : k.tiers;
    const float D = k.depth * static_cast<float>(built) / static_cast<float>(k.tiers);
    const float top = kFrontWall + k.height * D / k.depth;
    shapes.SetMaterial(SEATS);
    // Two slopes meeting on the diagonal: one rising along x, one along z.
    const float n = std::sqrt(D * D + (top - kFrontWall) * (top - kFrontWall));
    shapes.Fan({{0, kFrontWall, 0}, {D, top, 0}, {D, top, D}}, {-(top - kFrontWall) / n, D / n, 0}, 1.0f / 250);
    shapes.Fan({{0, kFrontWall, 0}, {D, top, D}, {0, top, D}}, {0, D / n, -(top - kFrontWall) / n}, 1.0f / 250);
    shapes.SetMaterial(CONCRETE);
    const float backTop = variant == "B" ? top + 350 : top;
    const D3DVECTOR backX[4] = {{D, 0, 0}, {D, 0, D}, {D, backTop, D}, {D, backTop, 0}};
    shapes.Quad(backX, {1, 0, 0}, D / 300, backTop / 300);
    const D3DVECTOR backZ[4] = {{D, 0, D}, {0, 0, D}, {0, backTop, D}, {D, backTop, D}};
    shapes.Quad(backZ, {0, 0, 1}, D / 300, backTop / 300);
    const D3DVECTOR frontX[4] = {{0, 0, 0}, {D, 0, 0}, {D, kFrontWall, 0}, {0, kFrontWall, 0}};
    shapes.Quad(frontX, {0, 0, -1}, D / 300, 1);
    const D3DVECTOR frontZ[4] = {{0, 0, D}, {0, 0, 0}, {0, kFrontWall, 0}, {0, kFrontWall, D}};
    shapes.Quad(frontZ, {-1, 0, 0}, D / 300, 1);
    if (bScaffold)
        Scaffold(shapes, D, k.depth, 0, k.depth, kFrontWall + k.height);
    return OneMesh(std::move(mesh));
}

// A roof over the back of a stand: a tilted slab held by posts at the back.
XFileData Roof(const StandKind& k, float length, bool bCorner, const StandTextures& textures)
{
    XMeshData mesh;
    mesh.name = "roof";
    mesh.materials = StandMaterials(textures);
    KitShapes shapes(mesh);
    const float D = k.depth, top = kFrontWall + k.height;
    const float front = std::max(0.0f, D * 0.35f - 200), high = top + 450, low = top + 300;
    const float L = bCorner ? D : length;
    shapes.SetMaterial(ROOF);
    const float dz = D + 50 - front, dy = high - low, n = std::sqrt(dz * dz + dy * dy);
    const D3DVECTOR under[4] = {{0, low, front}, {L, low, front}, {L, high, D + 50}, {0, high, D + 50}};
    shapes.Quad(under, {0, -dz / n, dy / n}, L / 400, dz / 400);
    const D3DVECTOR over[4] = {{L, low + 30, front}, {0, low + 30, front}, {0, high + 30, D + 50}, {L, high + 30, D + 50}};
    shapes.Quad(over, {0, dz / n, -dy / n}, L / 400, dz / 400);
    const D3DVECTOR edge[4] = {{0, low, front}, {L, low, front}, {L, low + 30, front}, {0, low + 30, front}};
    shapes.Quad(edge, {0, 0, -1}, L / 400, 1);
    shapes.SetMaterial(CONCRETE);
    for (float x = 0; x <= L + 1; x += std::max(L / 4, 600.0f))
        shapes.Box({x - 20, 0, D + 10}, {x + 20, high, D + 50});
    return OneMesh(std::move(mesh));
}

XFileData Wall(const KitLine& line, const StandTextures& textures)
{
    const float L = line.Number("length", 0), h = line.Number("height", 110);
    XMeshData mesh;
    mesh.name = "wall";
    mesh.materials = StandMaterials(textures);
    KitShapes shapes(mesh);
    if (L > 0) {
        shapes.Box({0, 0, 0}, {L, h, 30});
    } else {
        shapes.Box({0, 0, 0}, {30, h, 30});
    }
    return OneMesh(std::move(mesh));
}

std::vector<std::string> Variants(const std::string& text)
{
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        out.push_back(part);
    if (!text.empty() && text.back() == ',')
        out.emplace_back();
    return out;
}

// The stands, roofs and walls of the sides and ends begin this far behind
// their segment's line, where the match puts its advertising boards, which
// would otherwise share their plane with the front walls. The corners reach
// beyond the boards' ends and keep to the line, so that they meet the sides.
constexpr float kSetback = 50;

XFileData SetBack(XFileData file, bool bCorner)
{
    if (bCorner)
        return file;
    for (XFrameData& frame : file.frames)
        for (XMeshData& mesh : frame.meshes)
            for (D3DVECTOR& p : mesh.positions)
                p.z += kSetback;
    return file;
}

}  // namespace

std::vector<KitFile> SceneryKit::Build(const std::vector<KitLine>& lines) const
{
    std::vector<KitFile> files;
    std::vector<std::pair<std::string, StandKind>> kinds;
    std::vector<std::pair<std::string, float>> sizes;
    std::vector<const KitLine*> segments, walls;
    StandTextures textures;
    for (const KitLine& line : lines) {
        const std::string name = line.words.empty() ? "" : line.words[0];
        if (line.words.size() != 1 && line.command != "standtextures")
            throw KitError{line.Where(line.command + " needs one name")};
        if (line.command == "ball")
            files.push_back({name, Ball(line)});
        else if (line.command == "net")
            files.push_back({name, Net(line)});
        else if (line.command == "flag")
            files.push_back({name, Flag(line)});
        else if (line.command == "card")
            files.push_back({name, Card(line)});
        else if (line.command == "spraycan")
            files.push_back({name, SprayCan(line)});
        else if (line.command == "dome")
            files.push_back({name, Dome(line)});
        else if (line.command == "skyline")
            files.push_back({name, Skyline(line)});
        else if (line.command == "dugout")
            files.push_back({name, Dugout(line)});
        else if (line.command == "standkind")
            kinds.push_back({name, StandKind{static_cast<int>(line.Number("tiers", 1)), line.Number("depth", 1300),
                                             line.Number("height", 700)}});
        else if (line.command == "standsize")
            sizes.push_back({name, line.Number("scale", 1)});
        else if (line.command == "segment")
            segments.push_back(&line);
        else if (line.command == "wall")
            walls.push_back(&line);
        else if (line.command == "standtextures")
            textures = {line.Text("seats", ""), line.Text("concrete", ""), line.Text("roof", ""), line.Text("scaffold", "")};
        else
            throw KitError{line.Where("unknown command " + line.command)};
    }
    for (const auto& [prefix, kind] : kinds) {
        if (kind.tiers < 1 || kind.tiers > 5)
            throw KitError{"stand kind " + prefix + " needs 1 to 5 tiers"};
        for (const auto& [digit, scale] : sizes) {
            const StandKind sized{kind.tiers, kind.depth * scale, kind.height * scale};
            for (const KitLine* pSegment : segments) {
                const std::string segment = pSegment->words[0];
                const bool bCorner = pSegment->Number("corner", 0) != 0;
                const float length = pSegment->Number("length", 0);
                if (!bCorner && length <= 0)
                    throw KitError{pSegment->Where("a side needs a length")};
                const std::string base = prefix + digit + segment;
                for (const std::string& variant : Variants(pSegment->Text("variants", ""))) {
                    files.push_back({base + variant + ".x",
                                     SetBack(bCorner ? CornerStand(sized, variant, textures)
                                                     : SideStand(sized, length, variant, textures),
                                             bCorner)});
                }
                if (pSegment->Number("roof", 0) != 0)
                    files.push_back({base + "R.x", SetBack(Roof(sized, length, bCorner, textures), bCorner)});
            }
        }
    }
    for (const KitLine* pWall : walls)
        files.push_back({"Wall" + pWall->words[0] + ".x", SetBack(Wall(*pWall, textures), pWall->Number("length", 0) <= 0)});
    return files;
}

}  // namespace tools
