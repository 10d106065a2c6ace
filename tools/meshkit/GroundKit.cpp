#include "tools/meshkit/GroundKit.h"

#include "tools/meshkit/KitShapes.h"

namespace tools {

namespace {

XMaterialData Material(float r, float g, float b, const std::string& texture)
{
    XMaterialData m;
    m.faceColour = {r, g, b, 1};
    m.textureFilename = texture;
    return m;
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

// The files are modelled with y up; the view turns them to z up.
XFileData Tile(const KitLine& line)
{
    const float h = line.Number("size", 10) / 2;
    XMeshData mesh;
    mesh.name = "tile";
    mesh.materials = {Material(1, 1, 1, line.Text("texture", ""))};
    const D3DVECTOR q[4] = {{-h, 0, -h}, {h, 0, -h}, {h, 0, h}, {-h, 0, h}};
    KitShapes(mesh).Quad(q, {0, 1, 0});
    return OneMesh(std::move(mesh));
}

// A slab whose top lies just under the ground, its edge running down.
XFileData Table(const KitLine& line)
{
    const float w = line.Number("width", 640) / 2, d = line.Number("depth", 460) / 2;
    const float top = line.Number("top", -0.2f), thick = line.Number("thickness", 12);
    XMeshData mesh;
    mesh.name = "table";
    mesh.materials = {Material(1, 1, 1, line.Text("texture", ""))};
    KitShapes(mesh).Box({-w, top - thick, -d}, {w, top, d});
    return OneMesh(std::move(mesh));
}

// A box seen from inside: floor and four walls round the table.
XFileData Room(const KitLine& line)
{
    const float w = line.Number("width", 1400) / 2, h = line.Number("height", 500), floor = line.Number("base", -60);
    XMeshData mesh;
    mesh.name = "room";
    mesh.materials = {Material(1, 1, 1, line.Text("walls", "")), Material(1, 1, 1, line.Text("floor", ""))};
    KitShapes shapes(mesh);
    const float y0 = floor, y1 = floor + h;
    const D3DVECTOR walls[4][4] = {{{-w, y0, -w}, {w, y0, -w}, {w, y1, -w}, {-w, y1, -w}},
                                   {{w, y0, -w}, {w, y0, w}, {w, y1, w}, {w, y1, -w}},
                                   {{w, y0, w}, {-w, y0, w}, {-w, y1, w}, {w, y1, w}},
                                   {{-w, y0, w}, {-w, y0, -w}, {-w, y1, -w}, {-w, y1, w}}};
    const D3DVECTOR normals[4] = {{0, 0, 1}, {-1, 0, 0}, {0, 0, -1}, {1, 0, 0}};
    for (int i = 0; i < 4; ++i)
        shapes.Quad(walls[i], normals[i], 8, 3);
    shapes.SetMaterial(1);
    const D3DVECTOR floorQuad[4] = {{-w, y0, w}, {w, y0, w}, {w, y0, -w}, {-w, y0, -w}};
    shapes.Quad(floorQuad, {0, 1, 0}, 10, 10);
    return OneMesh(std::move(mesh));
}

// A unit block (1 x 1 on the ground, 1 high) with walls and a roof, which
// the view stretches over a facility's cells.
XFileData Block(const KitLine& line)
{
    XMeshData mesh;
    mesh.name = "block";
    mesh.materials = {Material(1, 1, 1, line.Text("walls", "")), Material(1, 1, 1, line.Text("roof", ""))};
    KitShapes shapes(mesh);
    shapes.Box({-0.5f, 0, -0.5f}, {0.5f, 0.92f, 0.5f});
    shapes.SetMaterial(1);
    shapes.Box({-0.46f, 0.92f, -0.46f}, {0.46f, 1, 0.46f});
    return OneMesh(std::move(mesh));
}

}  // namespace

std::vector<KitFile> GroundKit::Build(const std::vector<KitLine>& lines) const
{
    std::vector<KitFile> files;
    for (const KitLine& line : lines) {
        if (line.words.size() != 1)
            throw KitError{line.Where(line.command + " needs one file name")};
        if (line.command == "tile")
            files.push_back({line.words[0], Tile(line)});
        else if (line.command == "table")
            files.push_back({line.words[0], Table(line)});
        else if (line.command == "room")
            files.push_back({line.words[0], Room(line)});
        else if (line.command == "block")
            files.push_back({line.words[0], Block(line)});
        else
            throw KitError{line.Where("unknown ground mesh kind " + line.command)};
    }
    return files;
}

}  // namespace tools
