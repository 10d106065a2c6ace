#include "render3d/CXFileWriter.h"

#include "platform/SafeFile.h"

#include <cstdio>

namespace {

// Nine significant digits bring every float back exactly.
void Number(std::string& out, float value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    out += buffer;
}

void Indent(std::string& out, int depth)
{
    out.append(static_cast<size_t>(depth) * 2, ' ');
}

// Floats of one record separated by ';', then the record's ';'.
void Record(std::string& out, const float* pValues, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        Number(out, pValues[i]);
        out += ';';
    }
}

// A list's separator: ',' between elements, ';' after the last.
const char* ListEnd(size_t i, size_t n)
{
    return i + 1 < n ? ",\n" : ";\n";
}

void Faces(std::string& out, const std::vector<std::vector<uint16_t>>& faces, int depth)
{
    Indent(out, depth);
    out += std::to_string(faces.size()) + ";\n";
    for (size_t f = 0; f < faces.size(); ++f) {
        Indent(out, depth);
        out += std::to_string(faces[f].size()) + ";";
        for (size_t k = 0; k < faces[f].size(); ++k)
            out += std::to_string(faces[f][k]) + (k + 1 < faces[f].size() ? "," : ";");
        out += ListEnd(f, faces.size());
    }
}

void Material(std::string& out, const XMaterialData& material, int depth)
{
    Indent(out, depth);
    out += "Material {\n";
    Indent(out, depth + 1);
    const float colour[4] = {material.faceColour.r, material.faceColour.g, material.faceColour.b,
                             material.faceColour.a};
    Record(out, colour, 4);
    out += ";\n";
    Indent(out, depth + 1);
    Number(out, material.power);
    out += ";\n";
    Indent(out, depth + 1);
    Record(out, &material.specular.x, 3);
    out += ";\n";
    Indent(out, depth + 1);
    Record(out, &material.emissive.x, 3);
    out += ";\n";
    if (!material.textureFilename.empty()) {
        Indent(out, depth + 1);
        out += "TextureFilename { \"" + material.textureFilename + "\"; }\n";
    }
    Indent(out, depth);
    out += "}\n";
}

void Mesh(std::string& out, const XMeshData& mesh, int depth)
{
    Indent(out, depth);
    out += "Mesh " + mesh.name + (mesh.name.empty() ? "{\n" : " {\n");
    Indent(out, depth + 1);
    out += std::to_string(mesh.positions.size()) + ";\n";
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        Indent(out, depth + 1);
        Record(out, &mesh.positions[i].x, 3);
        out += ListEnd(i, mesh.positions.size());
    }
    Faces(out, mesh.faces, depth + 1);
    if (!mesh.normals.empty()) {
        Indent(out, depth + 1);
        out += "MeshNormals {\n";
        Indent(out, depth + 2);
        out += std::to_string(mesh.normals.size()) + ";\n";
        for (size_t i = 0; i < mesh.normals.size(); ++i) {
            Indent(out, depth + 2);
            Record(out, &mesh.normals[i].x, 3);
            out += ListEnd(i, mesh.normals.size());
        }
        // Normals are per vertex, so each face's normals are its vertices'.
        Faces(out, mesh.faces, depth + 2);
        Indent(out, depth + 1);
        out += "}\n";
    }
    if (!mesh.textureCoords.empty()) {
        Indent(out, depth + 1);
        out += "MeshTextureCoords {\n";
        Indent(out, depth + 2);
        out += std::to_string(mesh.textureCoords.size()) + ";\n";
        for (size_t i = 0; i < mesh.textureCoords.size(); ++i) {
            Indent(out, depth + 2);
            Record(out, mesh.textureCoords[i].data(), 2);
            out += ListEnd(i, mesh.textureCoords.size());
        }
        Indent(out, depth + 1);
        out += "}\n";
    }
    if (mesh.hasMaterialList) {
        Indent(out, depth + 1);
        out += "MeshMaterialList {\n";
        Indent(out, depth + 2);
        out += std::to_string(mesh.materials.size()) + ";\n";
        Indent(out, depth + 2);
        out += std::to_string(mesh.faceMaterials.size()) + ";\n";
        for (size_t f = 0; f < mesh.faceMaterials.size(); ++f) {
            Indent(out, depth + 2);
            out += std::to_string(mesh.faceMaterials[f]);
            out += ListEnd(f, mesh.faceMaterials.size());
        }
        for (const XMaterialData& material : mesh.materials)
            Material(out, material, depth + 2);
        Indent(out, depth + 1);
        out += "}\n";
    }
    Indent(out, depth);
    out += "}\n";
}

void Frame(std::string& out, const XFrameData& frame, int depth)
{
    Indent(out, depth);
    out += "Frame " + frame.name + (frame.name.empty() ? "{\n" : " {\n");
    if (frame.hasTransform) {
        Indent(out, depth + 1);
        out += "FrameTransformMatrix {\n";
        for (int r = 0; r < 4; ++r) {
            Indent(out, depth + 2);
            for (int c = 0; c < 4; ++c) {
                Number(out, frame.transform.m[r][c]);
                out += (r == 3 && c == 3) ? ";;\n" : ",";
            }
            if (r < 3)
                out += "\n";
        }
        Indent(out, depth + 1);
        out += "}\n";
    }
    for (const XMeshData& mesh : frame.meshes)
        Mesh(out, mesh, depth + 1);
    for (const XFrameData& child : frame.frames)
        Frame(out, child, depth + 1);
    Indent(out, depth);
    out += "}\n";
}

}  // namespace

std::string CXFileWriter::ToText(const XFileData& data)
{
    std::string out = "xof 0303txt 0032\n";
    for (const XMeshData& mesh : data.meshes)
        Mesh(out, mesh, 0);
    for (const XFrameData& frame : data.frames)
        Frame(out, frame, 0);
    return out;
}

bool CXFileWriter::WriteFile(const std::string& gamePath, const XFileData& data)
{
    const std::string text = ToText(data);
    return plat::writeFileSafely(gamePath, [&text](FILE* f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); });
}
