#include "render3d/CXFileReader.h"

#include "common/DebugLog.h"
#include "platform/Files.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kMaxCount = 65535;  // vertices, faces and corners are kept as u16
constexpr int kMaxFrameDepth = 64;

enum class TokenKind { Name, Number, String, Open, Close, Guid, End };

struct Token {
    TokenKind kind;
    std::string text;
    int line;
};

bool IsNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-';
}

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
}

// Tokens of the text after the header; the separators ',' and ';' only
// separate, so they are dropped, and counts decide how many values follow.
class Parser {
public:
    Parser(const std::string& sourceName, std::string& error) : m_source(sourceName), m_error(error) {}

    bool Parse(const char* p, size_t n, XFileData& out)
    {
        if (!CheckHeader(p, n) || !Tokenise(p + 16, n - 16))
            return false;
        while (Peek().kind != TokenKind::End) {
            if (!TopLevelObject(out))
                return false;
        }
        return true;
    }

private:
    bool Fail(int line, const std::string& what)
    {
        m_error = m_source + ":" + std::to_string(line) + ": " + what;
        return false;
    }
    bool FailAt(const Token& t, const std::string& what)
    {
        return Fail(t.line, what + (t.kind == TokenKind::End ? " (the file ends)" : " (at '" + t.text + "')"));
    }

    bool CheckHeader(const char* p, size_t n)
    {
        if (n < 16 || std::memcmp(p, "xof ", 4) != 0)
            return Fail(1, "not an .x file (no \"xof \" header)");
        for (int i = 4; i < 8; ++i)
            if (p[i] < '0' || p[i] > '9')
                return Fail(1, "bad version in the header");
        if (std::memcmp(p + 8, "txt ", 4) != 0)
            return Fail(1, "only text .x files are read");
        if (std::memcmp(p + 12, "0032", 4) != 0 && std::memcmp(p + 12, "0064", 4) != 0)
            return Fail(1, "bad float size in the header");
        return true;
    }

    bool Tokenise(const char* p, size_t n)
    {
        int line = 1;
        size_t i = 0;
        while (i < n) {
            const char c = p[i];
            if (c == '\n') {
                ++line;
                ++i;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == ',' || c == ';') {
                ++i;
            } else if (c == '#' || (c == '/' && i + 1 < n && p[i + 1] == '/')) {
                while (i < n && p[i] != '\n')
                    ++i;
            } else if (c == '{' || c == '}') {
                m_tokens.push_back({c == '{' ? TokenKind::Open : TokenKind::Close, std::string(1, c), line});
                ++i;
            } else if (c == '"' || c == '<') {
                // A string or a GUID: everything up to its closing mark on the same line.
                const char close = c == '"' ? '"' : '>';
                const size_t start = ++i;
                while (i < n && p[i] != close && p[i] != '\n')
                    ++i;
                if (i >= n || p[i] != close)
                    return Fail(line, c == '"' ? "unterminated string" : "unterminated GUID");
                m_tokens.push_back(
                    {c == '"' ? TokenKind::String : TokenKind::Guid, std::string(p + start, i - start), line});
                ++i;
            } else if (IsNameStart(c)) {
                const size_t start = i;
                while (i < n && IsNameChar(p[i]))
                    ++i;
                m_tokens.push_back({TokenKind::Name, std::string(p + start, i - start), line});
            } else if (IsNumberChar(c)) {
                const size_t start = i;
                while (i < n && IsNumberChar(p[i]))
                    ++i;
                m_tokens.push_back({TokenKind::Number, std::string(p + start, i - start), line});
            } else {
                return Fail(line, "unexpected character");
            }
        }
        m_endLine = m_tokens.empty() ? 1 : m_tokens.back().line;
        return true;
    }

    const Token& Peek()
    {
        if (m_next < m_tokens.size())
            return m_tokens[m_next];
        m_end.line = m_endLine;
        return m_end;
    }
    const Token& Next()
    {
        const Token& t = Peek();
        if (m_next < m_tokens.size())
            ++m_next;
        return t;
    }

    bool Expect(TokenKind kind, const char* what)
    {
        const Token& t = Next();
        return t.kind == kind || FailAt(t, std::string("expected ") + what);
    }

    bool Float(float& value)
    {
        const Token& t = Next();
        if (t.kind != TokenKind::Number)
            return FailAt(t, "expected a number");
        char* end = nullptr;
        const double d = std::strtod(t.text.c_str(), &end);
        if (end != t.text.c_str() + t.text.size() || !std::isfinite(d) || std::fabs(d) > 3.0e38)
            return FailAt(t, "bad number");
        value = static_cast<float>(d);
        return true;
    }

    bool Count(uint32_t& value, uint32_t limit, const char* what)
    {
        const Token& t = Next();
        if (t.kind != TokenKind::Number)
            return FailAt(t, std::string("expected ") + what);
        uint64_t v = 0;
        for (char c : t.text) {
            if (c < '0' || c > '9')
                return FailAt(t, std::string("bad ") + what);
            v = v * 10 + static_cast<uint64_t>(c - '0');
            if (v > limit)
                return FailAt(t, std::string(what) + " too large");
        }
        value = static_cast<uint32_t>(v);
        return true;
    }

    bool Vector(D3DVECTOR& v) { return Float(v.x) && Float(v.y) && Float(v.z); }

    // Opening of a data object after its template name: an optional name and '{'.
    bool OpenObject(std::string* pName)
    {
        if (Peek().kind == TokenKind::Name) {
            const std::string name = Next().text;
            if (pName)
                *pName = name;
        }
        if (Peek().kind == TokenKind::Guid)
            Next();
        return Expect(TokenKind::Open, "'{'");
    }

    // The rest of an object whose '{' was read, whatever it holds.
    bool SkipRest()
    {
        int depth = 1;
        while (depth > 0) {
            const Token& t = Next();
            if (t.kind == TokenKind::End)
                return FailAt(t, "missing '}'");
            depth += t.kind == TokenKind::Open ? 1 : (t.kind == TokenKind::Close ? -1 : 0);
        }
        return true;
    }

    // A child of a frame or mesh that the renderer does not use: a reference
    // {Name} or a data object of another template.
    bool SkipChild()
    {
        const Token& t = Next();
        if (t.kind == TokenKind::Open)
            return SkipRest();
        if (t.kind == TokenKind::End)
            return FailAt(t, "missing '}'");
        if (t.kind != TokenKind::Name)
            return FailAt(t, "expected a data object");
        return OpenObject(nullptr) && SkipRest();
    }

    bool TopLevelObject(XFileData& out)
    {
        const Token& t = Peek();
        if (t.kind != TokenKind::Name)
            return FailAt(Next(), "expected a data object");
        const std::string kind = Next().text;
        if (kind == "template") {
            return Expect(TokenKind::Name, "a template name") && Expect(TokenKind::Open, "'{'") && SkipRest();
        }
        if (kind == "Frame") {
            out.frames.emplace_back();
            return Frame(out.frames.back(), 1);
        }
        if (kind == "Mesh") {
            out.meshes.emplace_back();
            return Mesh(out.meshes.back());
        }
        return OpenObject(nullptr) && SkipRest();
    }

    bool Frame(XFrameData& frame, int depth)
    {
        if (depth > kMaxFrameDepth)
            return FailAt(Peek(), "frames nested too deeply");
        if (!OpenObject(&frame.name))
            return false;
        for (;;) {
            const Token& t = Peek();
            if (t.kind == TokenKind::Close) {
                Next();
                return true;
            }
            if (t.kind == TokenKind::Name && t.text == "FrameTransformMatrix") {
                const Token& at = Next();
                if (frame.hasTransform)
                    return FailAt(at, "second transform in one frame");
                if (!OpenObject(nullptr))
                    return false;
                for (auto& row : frame.transform.m)
                    for (float& value : row)
                        if (!Float(value))
                            return false;
                if (!Expect(TokenKind::Close, "'}' after the matrix"))
                    return false;
                frame.hasTransform = true;
            } else if (t.kind == TokenKind::Name && t.text == "Frame") {
                Next();
                frame.frames.emplace_back();
                if (!Frame(frame.frames.back(), depth + 1))
                    return false;
            } else if (t.kind == TokenKind::Name && t.text == "Mesh") {
                Next();
                frame.meshes.emplace_back();
                if (!Mesh(frame.meshes.back()))
                    return false;
            } else if (!SkipChild()) {
                return false;
            }
        }
    }

    bool Mesh(XMeshData& mesh)
    {
        if (!OpenObject(&mesh.name))
            return false;
        uint32_t vertexCount = 0;
        if (!Count(vertexCount, kMaxCount, "vertex count"))
            return false;
        for (uint32_t i = 0; i < vertexCount; ++i) {
            D3DVECTOR v;
            if (!Vector(v))
                return false;
            mesh.positions.push_back(v);
        }
        uint32_t faceCount = 0;
        if (!Count(faceCount, kMaxCount, "face count"))
            return false;
        for (uint32_t f = 0; f < faceCount; ++f) {
            std::vector<uint16_t> face;
            if (!Face(face, vertexCount, "vertex"))
                return false;
            mesh.faces.push_back(std::move(face));
        }
        bool normals = false, coords = false;
        for (;;) {
            const Token& t = Peek();
            if (t.kind == TokenKind::Close) {
                Next();
                return true;
            }
            const bool named = t.kind == TokenKind::Name;
            if (named && (t.text == "MeshNormals" || t.text == "MeshTextureCoords" || t.text == "MeshMaterialList")) {
                const Token& at = Next();
                bool& seen = at.text == "MeshNormals" ? normals : (at.text == "MeshTextureCoords" ? coords : mesh.hasMaterialList);
                if (seen)
                    return FailAt(at, "second " + at.text + " in one mesh");
                seen = true;
                const bool ok = at.text == "MeshNormals"         ? Normals(mesh)
                                : at.text == "MeshTextureCoords" ? TextureCoords(mesh)
                                                                 : MaterialList(mesh);
                if (!ok)
                    return false;
            } else if (!SkipChild()) {
                return false;
            }
        }
    }

    bool Face(std::vector<uint16_t>& face, uint32_t indexLimit, const char* what)
    {
        const Token& at = Peek();
        uint32_t corners = 0;
        if (!Count(corners, kMaxCount, "corner count"))
            return false;
        if (corners < 3)
            return FailAt(at, "a face needs at least 3 corners");
        for (uint32_t k = 0; k < corners; ++k) {
            const Token& it = Peek();
            uint32_t index = 0;
            if (!Count(index, kMaxCount, "index"))
                return false;
            if (index >= indexLimit)
                return FailAt(it, std::string(what) + " index out of range");
            face.push_back(static_cast<uint16_t>(index));
        }
        return true;
    }

    bool Normals(XMeshData& mesh)
    {
        if (!OpenObject(nullptr))
            return false;
        uint32_t count = 0;
        if (!Count(count, kMaxCount, "normal count"))
            return false;
        std::vector<D3DVECTOR> normals;
        for (uint32_t i = 0; i < count; ++i) {
            D3DVECTOR v;
            if (!Vector(v))
                return false;
            normals.push_back(v);
        }
        uint32_t faceCount = 0;
        if (!Count(faceCount, kMaxCount, "normal face count"))
            return false;
        for (uint32_t f = 0; f < faceCount; ++f) {
            std::vector<uint16_t> face;
            if (!Face(face, count, "normal"))
                return false;
        }
        // Normals are used per vertex, so only a list with one per vertex counts.
        if (normals.size() == mesh.positions.size())
            mesh.normals = std::move(normals);
        return Expect(TokenKind::Close, "'}' after the normals");
    }

    bool TextureCoords(XMeshData& mesh)
    {
        if (!OpenObject(nullptr))
            return false;
        uint32_t count = 0;
        if (!Count(count, kMaxCount, "coordinate count"))
            return false;
        std::vector<std::array<float, 2>> coords;
        for (uint32_t i = 0; i < count; ++i) {
            std::array<float, 2> uv{};
            if (!Float(uv[0]) || !Float(uv[1]))
                return false;
            coords.push_back(uv);
        }
        if (coords.size() == mesh.positions.size())
            mesh.textureCoords = std::move(coords);
        return Expect(TokenKind::Close, "'}' after the texture coordinates");
    }

    bool MaterialList(XMeshData& mesh)
    {
        if (!OpenObject(nullptr))
            return false;
        const Token& countAt = Peek();
        uint32_t materialCount = 0, listed = 0;
        if (!Count(materialCount, kMaxCount, "material count") || !Count(listed, kMaxCount, "face material count"))
            return false;
        std::vector<uint32_t> numbers;
        for (uint32_t f = 0; f < listed; ++f) {
            const Token& it = Peek();
            uint32_t number = 0;
            if (!Count(number, kMaxCount, "material number"))
                return false;
            if (number >= materialCount)
                return FailAt(it, "material number out of range");
            numbers.push_back(number);
        }
        // Faces beyond the list take material 0.
        mesh.faceMaterials.assign(mesh.faces.size(), 0);
        for (size_t f = 0; f < numbers.size() && f < mesh.faceMaterials.size(); ++f)
            mesh.faceMaterials[f] = static_cast<uint16_t>(numbers[f]);
        for (;;) {
            const Token& t = Peek();
            if (t.kind == TokenKind::Close) {
                Next();
                break;
            }
            if (t.kind == TokenKind::Open)
                return FailAt(t, "material references are not read; give the Material inline");
            if (t.kind == TokenKind::Name && t.text == "Material") {
                Next();
                mesh.materials.emplace_back();
                if (!Material(mesh.materials.back()))
                    return false;
            } else if (!SkipChild()) {
                return false;
            }
        }
        if (mesh.materials.size() != materialCount)
            return FailAt(countAt, "the material count differs from the materials given");
        return true;
    }

    bool Material(XMaterialData& material)
    {
        if (!OpenObject(nullptr))
            return false;
        D3DCOLORVALUE& c = material.faceColour;
        if (!Float(c.r) || !Float(c.g) || !Float(c.b) || !Float(c.a) || !Float(material.power) ||
            !Vector(material.specular) || !Vector(material.emissive))
            return false;
        for (;;) {
            const Token& t = Peek();
            if (t.kind == TokenKind::Close) {
                Next();
                return true;
            }
            if (t.kind == TokenKind::Name && t.text == "TextureFilename") {
                const Token& at = Next();
                if (!material.textureFilename.empty())
                    return FailAt(at, "second texture name in one material");
                if (!OpenObject(nullptr))
                    return false;
                const Token& s = Next();
                if (s.kind != TokenKind::String || s.text.empty())
                    return FailAt(s, "expected a texture file name");
                material.textureFilename = s.text;
                if (!Expect(TokenKind::Close, "'}' after the texture name"))
                    return false;
            } else if (!SkipChild()) {
                return false;
            }
        }
    }

    std::string m_source;
    std::string& m_error;
    std::vector<Token> m_tokens;
    size_t m_next = 0;
    int m_endLine = 1;
    Token m_end{TokenKind::End, "", 0};
};

}  // namespace

bool CXFileReader::ReadText(const char* pText, size_t nLength, const std::string& sourceName, XFileData& out)
{
    m_error.clear();
    XFileData data;
    Parser parser(sourceName, m_error);
    if (!parser.Parse(pText, nLength, data)) {
        DebugLog(6, "[CXFileReader] %s", m_error.c_str());
        return false;
    }
    out = std::move(data);
    return true;
}

bool CXFileReader::ReadFile(const std::string& gamePath, XFileData& out)
{
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(gamePath, bytes)) {
        m_error = gamePath + ": cannot be read";
        DebugLog(6, "[CXFileReader] %s", m_error.c_str());
        return false;
    }
    return ReadText(reinterpret_cast<const char*>(bytes.data()), bytes.size(), gamePath, out);
}
