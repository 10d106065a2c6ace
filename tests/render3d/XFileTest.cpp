#include "render3d/CXFileReader.h"
#include "render3d/CXFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>

namespace {

// A frame with a transform holding a textured, normal-carrying quad and a
// child frame with a triangle of another material.
XFileData SmallFile()
{
    XMeshData quad;
    quad.name = "Plate";
    quad.positions = {{0, 0, 0}, {1.5f, 0, 0}, {1.5f, 2, 0.1f}, {0, 2, -3e-5f}};
    quad.faces = {{0, 1, 2, 3}};
    quad.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0.6f, 0.8f}, {0, 0, 1}};
    quad.textureCoords = {{{0, 0}}, {{1, 0}}, {{1, 1}}, {{0, 1}}};
    quad.hasMaterialList = true;
    quad.faceMaterials = {0};
    XMaterialData white;
    white.faceColour = {1, 1, 1, 1};
    white.power = 4;
    white.textureFilename = "Grass.bmp";
    quad.materials = {white};

    XMeshData triangle;
    triangle.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.faces = {{0, 2, 1}};
    triangle.hasMaterialList = true;
    triangle.faceMaterials = {0};
    XMaterialData red;
    red.faceColour = {0.9f, 0.1f, 0.1f, 1};
    red.specular = {0.2f, 0.2f, 0.2f};
    red.emissive = {0.1f, 0, 0};
    triangle.materials = {red};

    XFrameData child;
    child.name = "Flag";
    child.meshes = {triangle};
    XFrameData root;
    root.name = "Root";
    root.hasTransform = true;
    root.transform = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {10, 20, 30, 1}}};
    root.meshes = {quad};
    root.frames = {child};
    XFileData data;
    data.frames = {root};
    return data;
}

bool Read(const std::string& text, XFileData& out, std::string* pError = nullptr)
{
    CXFileReader reader;
    const bool ok = reader.ReadText(text.data(), text.size(), "Test.x", out);
    if (pError)
        *pError = reader.GetError();
    return ok;
}

TEST(XFile, WrittenFileReadsBackToTheSameData)
{
    const std::string text = CXFileWriter::ToText(SmallFile());
    XFileData back;
    std::string error;
    ASSERT_TRUE(Read(text, back, &error)) << error << "\n" << text;
    EXPECT_EQ(CXFileWriter::ToText(back), text);
    ASSERT_EQ(back.frames.size(), 1u);
    const XFrameData& root = back.frames[0];
    EXPECT_EQ(root.name, "Root");
    EXPECT_TRUE(root.hasTransform);
    EXPECT_EQ(root.transform.m[3][1], 20.0f);
    ASSERT_EQ(root.meshes.size(), 1u);
    const XMeshData& quad = root.meshes[0];
    EXPECT_EQ(quad.positions[3].z, -3e-5f) << "floats come back exactly";
    EXPECT_EQ(quad.faces[0], (std::vector<uint16_t>{0, 1, 2, 3}));
    EXPECT_EQ(quad.normals[2].y, 0.6f);
    EXPECT_EQ(quad.textureCoords[2][1], 1.0f);
    EXPECT_EQ(quad.materials[0].textureFilename, "Grass.bmp");
    ASSERT_EQ(root.frames.size(), 1u);
    const XMaterialData& red = root.frames[0].meshes[0].materials[0];
    EXPECT_EQ(red.faceColour.g, 0.1f);
    EXPECT_EQ(red.emissive.x, 0.1f);
    EXPECT_TRUE(root.frames[0].meshes[0].normals.empty());
}

TEST(XFile, PassesOverTemplatesCommentsAndObjectsItDoesNotUse)
{
    const std::string text = "xof 0302txt 0064\n"
                             "template Vector { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }\n"
                             "# a comment\n"
                             "Header { 1; 0; 1; }\n"
                             "Frame Body { // the body\n"
                             "  AnimationKey { 0; 1; 0; 4; 1.0, 0.0, 0.0, 0.0;;; }\n"
                             "  Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
                             "    MeshNormals { 2; 0;0;1;, 0;0;1;; 1; 3;0,1,1;; }\n"  // not one per vertex: unused
                             "    VertexDuplicationIndices { 3; 3; 0, 1, 2; }\n"
                             "  }\n"
                             "  { SomeReference }\n"
                             "}\n";
    XFileData data;
    std::string error;
    ASSERT_TRUE(Read(text, data, &error)) << error;
    ASSERT_EQ(data.frames.size(), 1u);
    ASSERT_EQ(data.frames[0].meshes.size(), 1u);
    EXPECT_EQ(data.frames[0].meshes[0].positions.size(), 3u);
    EXPECT_TRUE(data.frames[0].meshes[0].normals.empty());
}

TEST(XFile, MalformedFilesAreRefusedWithFileAndLine)
{
    const std::string mesh = "Mesh {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n";
    struct Case {
        const char* what;
        std::string text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"empty", "", 1, "not an .x file"},
        {"binary", "xof 0303bin 0032\n", 1, "only text"},
        {"bad float size", "xof 0303txt 0016\n", 1, "float size"},
        {"cut in a mesh", "xof 0303txt 0032\n" + mesh, 8, "the file ends"},
        {"vertex index out of range", "xof 0303txt 0032\nMesh {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,3;;\n}\n", 8,
         "vertex index out of range"},
        {"two-corner face", "xof 0303txt 0032\nMesh {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n2;0,1;;\n}\n", 8,
         "at least 3 corners"},
        {"letters for a number", "xof 0303txt 0032\nMesh {\n3;\n0;0;0;,\n1;zero;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n}\n", 5,
         "expected a number"},
        {"two numbers run together", "xof 0303txt 0032\nMesh {\n3;\n0;0;0;,\n1.0.5;0;0;,\n", 5, "bad number"},
        {"count past 16 bits", "xof 0303txt 0032\nMesh {\n70000;\n", 3, "too large"},
        {"negative count", "xof 0303txt 0032\nMesh {\n-3;\n", 3, "bad vertex count"},
        {"material number past the list",
         "xof 0303txt 0032\n" + mesh + "MeshMaterialList {\n1;\n1;\n1;;\nMaterial { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n}\n}\n",
         12, "material number out of range"},
        {"fewer materials than counted",
         "xof 0303txt 0032\n" + mesh + "MeshMaterialList {\n2;\n1;\n0;;\nMaterial { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n}\n}\n",
         10, "material count differs"},
        {"material by reference", "xof 0303txt 0032\n" + mesh + "MeshMaterialList {\n1;\n1;\n0;;\n{ Red }\n}\n}\n", 13,
         "references are not read"},
        {"unterminated texture name",
         "xof 0303txt 0032\n" + mesh +
             "MeshMaterialList { 1; 1; 0;;\nMaterial { 1;1;1;1;; 0; 0;0;0;; 0;0;0;;\nTextureFilename { \"a.bmp; }\n",
         11, "unterminated string"},
        {"stray character", "xof 0303txt 0032\nFrame A {\n  @\n}\n", 3, "unexpected character"},
        {"short matrix", "xof 0303txt 0032\nFrame A {\nFrameTransformMatrix { 1,0,0,0, 0,1,0,0;; }\n}\n", 3,
         "expected a number"},
        {"unclosed frame", "xof 0303txt 0032\nFrame A {\nFrame B {\n}\n", 4, "missing"},
        {"stray closing brace", "xof 0303txt 0032\nFrame A {\n}\n}\n", 4, "expected a data object"},
    };
    for (const Case& c : cases) {
        XFileData data;
        std::string error;
        EXPECT_FALSE(Read(c.text, data, &error)) << c.what;
        EXPECT_EQ(error.rfind("Test.x:" + std::to_string(c.line) + ": ", 0), 0u) << c.what << ": " << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    }
}

TEST(XFile, RefusesDeepNestingWithoutExhaustingTheStack)
{
    std::string text = "xof 0303txt 0032\n";
    for (int i = 0; i < 5000; ++i)
        text += "Frame {\n";
    XFileData data;
    std::string error;
    EXPECT_FALSE(Read(text, data, &error));
    EXPECT_NE(error.find("nested too deeply"), std::string::npos) << error;
}

// Checks what a successful read promises: indices within their arrays and
// per-vertex lists of the right length.
void ExpectConsistent(const XMeshData& mesh)
{
    for (const auto& face : mesh.faces) {
        ASSERT_GE(face.size(), 3u);
        for (uint16_t v : face)
            ASSERT_LT(v, mesh.positions.size());
    }
    EXPECT_TRUE(mesh.normals.empty() || mesh.normals.size() == mesh.positions.size());
    EXPECT_TRUE(mesh.textureCoords.empty() || mesh.textureCoords.size() == mesh.positions.size());
    if (mesh.hasMaterialList) {
        ASSERT_EQ(mesh.faceMaterials.size(), mesh.faces.size());
        for (uint16_t m : mesh.faceMaterials)
            ASSERT_LT(m, mesh.materials.size());
    }
}

void ExpectConsistent(const XFrameData& frame)
{
    for (const XMeshData& mesh : frame.meshes)
        ExpectConsistent(mesh);
    for (const XFrameData& child : frame.frames)
        ExpectConsistent(child);
}

TEST(XFile, FuzzedFilesAreReadOrRefusedCleanly)
{
    const std::string text = CXFileWriter::ToText(SmallFile());
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    const std::regex message(R"(Test\.x:(\d+): .+)");
    const size_t lastBrace = text.rfind('}');
    auto check = [&](const std::string& damaged, const std::string& how) -> bool {
        XFileData data;
        std::string error;
        if (Read(damaged, data, &error)) {
            for (const XFrameData& frame : data.frames)
                ExpectConsistent(frame);
            // What was read writes out and reads back to itself.
            XFileData again;
            EXPECT_TRUE(Read(CXFileWriter::ToText(data), again)) << how;
            EXPECT_EQ(CXFileWriter::ToText(again), CXFileWriter::ToText(data)) << how;
            return true;
        }
        std::smatch m;
        EXPECT_TRUE(std::regex_match(error, m, message)) << how << ": " << error;
        if (m.size() == 2) {
            const int line = std::stoi(m[1]);
            EXPECT_GE(line, 1) << how;
            EXPECT_LE(line, lines) << how;
        }
        return false;
    };
    // Only the header alone is a whole (empty) file; every other cut is refused.
    const size_t firstObject = text.find("Frame");
    for (size_t cut = 0; cut <= lastBrace; ++cut) {
        if (cut >= 16 && cut <= firstObject)
            continue;
        EXPECT_FALSE(check(text.substr(0, cut), "cut at " + std::to_string(cut)))
            << "a file cut at " << cut << " was taken";
    }

    std::mt19937 random(7);
    const char replacements[] = "{};,.-0123456789\"<#/ \nxeFM";
    for (int trial = 0; trial < 3000; ++trial) {
        std::string damaged = text;
        const int flips = 1 + trial % 3;
        for (int k = 0; k < flips; ++k) {
            const size_t at = random() % damaged.size();
            damaged[at] = (random() % 2) ? replacements[random() % (sizeof replacements - 1)]
                                         : static_cast<char>(random() % 256);
        }
        check(damaged, "trial " + std::to_string(trial));
        if (::testing::Test::HasFailure())
            break;
    }
}

}  // namespace
