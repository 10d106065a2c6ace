#include "tools/meshkit/PersonKit.h"

#include "render3d/VertexTransform.h"
#include "tools/meshkit/KitShapes.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tools {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kDegree = kPi / 180;

D3DMATRIX RotationX(float a)
{
    D3DMATRIX m = IdentityMatrix();
    m.m[1][1] = std::cos(a);
    m.m[1][2] = std::sin(a);
    m.m[2][1] = -std::sin(a);
    m.m[2][2] = std::cos(a);
    return m;
}

D3DMATRIX RotationY(float a)
{
    D3DMATRIX m = IdentityMatrix();
    m.m[0][0] = std::cos(a);
    m.m[0][2] = -std::sin(a);
    m.m[2][0] = std::sin(a);
    m.m[2][2] = std::cos(a);
    return m;
}

D3DMATRIX RotationZ(float a)
{
    D3DMATRIX m = IdentityMatrix();
    m.m[0][0] = std::cos(a);
    m.m[0][1] = std::sin(a);
    m.m[1][0] = -std::sin(a);
    m.m[1][1] = std::cos(a);
    return m;
}

D3DVECTOR Apply(const D3DVECTOR& v, const D3DMATRIX& m)
{
    const D3DVERTEX p = TransformVertex(D3DVERTEX{v.x, v.y, v.z, 0, 0, 0, 0, 0}, m, false);
    return {p.x, p.y, p.z};
}

float Ease(float t)
{
    return t * t * (3 - 2 * t);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

PaKey KeyOf(uint16_t wFrame, const D3DMATRIX& m)
{
    PaKey key;
    key.frame = wFrame;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            key.rows[r][c] = m.m[r][c];
    return key;
}

bool SameKey(const PaKey& a, const PaKey& b)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            if (std::fabs(a.rows[r][c] - b.rows[r][c]) > 1e-4f)
                return false;
    return true;
}

}  // namespace

int PersonKit::FindBone(const std::string& name) const
{
    for (size_t i = 0; i < m_Bones.size(); ++i)
        if (m_Bones[i].name == name)
            return static_cast<int>(i);
    return -1;
}

void PersonKit::ReadSkeleton(const std::vector<KitLine>& lines)
{
    for (const KitLine& line : lines) {
        if (line.command == "bone") {
            if (line.words.size() != 5)
                throw KitError{line.Where("a bone needs a name, a parent and three joint values")};
            KitBone bone;
            bone.name = line.words[0];
            if (line.words[1] != "-") {
                bone.parent = FindBone(line.words[1]);
                if (bone.parent < 0)
                    throw KitError{line.Where("the parent " + line.words[1] + " is not an earlier bone")};
            } else if (!m_Bones.empty()) {
                throw KitError{line.Where("only the first bone is the root")};
            }
            bone.joint = {line.Word(2), line.Word(3), line.Word(4)};
            for (const char* solid : {"prism", "sphere", "box"}) {
                if (line.Has(solid)) {
                    bone.solid = solid;
                    bone.values = line.Numbers(solid);
                }
            }
            const size_t wanted = bone.solid == "prism" ? 6 : bone.solid == "sphere" ? 4 : bone.solid == "box" ? 6 : 0;
            if (bone.values.size() < wanted)
                throw KitError{line.Where("the " + bone.solid + " needs " + std::to_string(wanted) + " values")};
            bone.band = line.Text("band", "");
            m_Bones.push_back(bone);
        } else if (line.command == "band") {
            if (line.words.size() != 3)
                throw KitError{line.Where("a band needs a name and two rows")};
            m_Bands[line.words[0]] = {static_cast<int>(line.Word(1)), static_cast<int>(line.Word(2))};
        } else if (line.command == "person") {
            if (line.words.size() != 1)
                throw KitError{line.Where("a person needs one file name")};
            m_PersonLines.push_back(line);
        } else if (line.command == "gait") {
            if (line.words.size() != 1)
                throw KitError{line.Where("a gait needs one name")};
            KitGait gait;
            gait.frames = line.Number("frames", gait.frames);
            gait.stride = line.Number("stride", gait.stride);
            gait.legs = line.Number("legs", gait.legs);
            gait.knees = line.Number("knees", gait.knees);
            gait.arms = line.Number("arms", gait.arms);
            gait.elbows = line.Number("elbows", gait.elbows);
            gait.bob = line.Number("bob", gait.bob);
            gait.lean = line.Number("lean", gait.lean);
            gait.uneven = line.Number("uneven", 0) != 0;
            if (gait.frames < 2)
                throw KitError{line.Where("a gait needs at least 2 frames")};
            m_Gaits[line.words[0]] = gait;
        } else if (line.command == "pose") {
            if (line.words.size() != 1)
                throw KitError{line.Where("a pose needs one name")};
            m_Poses[line.words[0]] = ReadPose(line);
        } else {
            throw KitError{line.Where("unknown command " + line.command)};
        }
    }
    if (m_Bones.empty() || m_Bones.size() > 255)
        throw KitError{"the skeleton needs 1 to 255 bones"};
    for (const KitBone& bone : m_Bones)
        if (!bone.solid.empty() && !m_Bands.count(bone.band))
            throw KitError{"the bone " + bone.name + " wears the unknown band " + bone.band};
}

KitPose PersonKit::ReadPose(const KitLine& line) const
{
    KitPose pose;
    pose.turns.assign(m_Bones.size(), {0, 0, 0});
    if (line.Has("mirror"))
        return Mirror(GetPose(line.Text("mirror", ""), line));
    if (line.Has("from"))
        pose = GetPose(line.Text("from", ""), line);
    for (const auto& [name, value] : line.named) {
        if (name == "from" || name == "mirror")
            continue;
        if (name == "lift") {
            pose.lift = parseKitNumber(line, value);
            continue;
        }
        if (name == "shift") {
            const std::vector<float> v = line.Numbers(name);
            if (v.size() != 2)
                throw KitError{line.Where("shift needs two values")};
            pose.shiftX = v[0];
            pose.shiftZ = v[1];
            continue;
        }
        const int bone = FindBone(name);
        if (bone < 0)
            throw KitError{line.Where("unknown bone " + name)};
        const std::vector<float> v = line.Numbers(name);
        if (v.empty() || v.size() > 3)
            throw KitError{line.Where("a bone turn has one to three values")};
        pose.turns[static_cast<size_t>(bone)] = {v[0], v.size() > 1 ? v[1] : 0, v.size() > 2 ? v[2] : 0};
    }
    return pose;
}

KitPose PersonKit::Mirror(const KitPose& pose) const
{
    KitPose out = pose;
    out.shiftX = -pose.shiftX;
    for (size_t b = 0; b < m_Bones.size(); ++b) {
        std::string name = m_Bones[b].name;
        if (name.rfind("l_", 0) == 0)
            name[0] = 'r';
        else if (name.rfind("r_", 0) == 0)
            name[0] = 'l';
        const auto& t = pose.turns[static_cast<size_t>(FindBone(name))];
        out.turns[b] = {t[0], -t[1], -t[2]};
    }
    return out;
}

const KitPose& PersonKit::GetPose(const std::string& name, const KitLine& where) const
{
    const auto it = m_Poses.find(name);
    if (it == m_Poses.end())
        throw KitError{where.Where("unknown pose " + name)};
    return it->second;
}

const KitGait& PersonKit::GetGait(const std::string& name, const KitLine& where) const
{
    const auto it = m_Gaits.find(name);
    if (it == m_Gaits.end())
        throw KitError{where.Where("unknown gait " + name)};
    return it->second;
}

std::vector<D3DMATRIX> PersonKit::PoseMatrices(const KitPose& pose) const
{
    std::vector<D3DMATRIX> global(m_Bones.size()), keys(m_Bones.size());
    std::vector<D3DVECTOR> position(m_Bones.size());
    for (size_t b = 0; b < m_Bones.size(); ++b) {
        const auto& t = pose.turns[b];
        const D3DMATRIX local = MultiplyMatrices(
            MultiplyMatrices(RotationX(t[0] * kDegree), RotationZ(t[2] * kDegree)), RotationY(t[1] * kDegree));
        const KitBone& bone = m_Bones[b];
        if (bone.parent < 0) {
            global[b] = local;
            position[b] = {bone.joint.x + pose.shiftX, bone.joint.y + pose.lift, bone.joint.z + pose.shiftZ};
        } else {
            const auto p = static_cast<size_t>(bone.parent);
            global[b] = MultiplyMatrices(local, global[p]);
            const D3DVECTOR arm{bone.joint.x - m_Bones[p].joint.x, bone.joint.y - m_Bones[p].joint.y,
                                bone.joint.z - m_Bones[p].joint.z};
            const D3DVECTOR turned = Apply(arm, global[p]);
            position[b] = {position[p].x + turned.x, position[p].y + turned.y, position[p].z + turned.z};
        }
        // Rest vertex v goes to (v - joint) G + position.
        keys[b] = global[b];
        const D3DVECTOR jointTurned = Apply(bone.joint, global[b]);
        keys[b].m[3][0] = position[b].x - jointTurned.x;
        keys[b].m[3][1] = position[b].y - jointTurned.y;
        keys[b].m[3][2] = position[b].z - jointTurned.z;
    }
    return keys;
}

XFileData PersonKit::BuildPerson(const KitLine& line) const
{
    const int nSides = std::max(3, static_cast<int>(line.Number("sides", 6)));
    const int nRings = std::max(2, static_cast<int>(line.Number("rings", 4)));
    XMaterialData material;
    material.faceColour = {1, 1, 1, 1};
    material.textureFilename = line.Text("texture", "");
    std::vector<XFrameData> frames(m_Bones.size());
    for (size_t b = 0; b < m_Bones.size(); ++b) {
        const KitBone& bone = m_Bones[b];
        XFrameData& frame = frames[b];
        frame.name = bone.name;
        frame.hasTransform = true;
        frame.transform = IdentityMatrix();
        const D3DVECTOR parent = bone.parent < 0 ? D3DVECTOR{0, 0, 0} : m_Bones[static_cast<size_t>(bone.parent)].joint;
        frame.transform.m[3][0] = bone.joint.x - parent.x;
        frame.transform.m[3][1] = bone.joint.y - parent.y;
        frame.transform.m[3][2] = bone.joint.z - parent.z;
        if (bone.solid.empty())
            continue;
        XMeshData mesh;
        mesh.name = bone.name + "_mesh";
        mesh.materials = {material};
        KitShapes shapes(mesh);
        const auto& band = m_Bands.at(bone.band);
        shapes.SetUv({0.02f, (band.first + 0.5f) / 64.0f, 0.98f, (band.second + 0.5f) / 64.0f});
        const std::vector<float>& v = bone.values;
        if (bone.solid == "prism")
            shapes.Prism(v[0], v[1], v[2], v[3], v[4], v[5], nSides, v.size() > 6 ? v[6] : 1);
        else if (bone.solid == "sphere")
            shapes.Sphere({v[0], v[1], v[2]}, v[3], nRings, 2 * nRings);
        else
            shapes.Box({v[0], v[1], v[2]}, {v[3], v[4], v[5]});
        frame.meshes.push_back(std::move(mesh));
    }
    // Children into parents from the last bone back, so that the tree keeps the order.
    for (size_t b = m_Bones.size(); b-- > 1;) {
        XFrameData& parent = frames[static_cast<size_t>(m_Bones[b].parent)];
        parent.frames.insert(parent.frames.begin(), std::move(frames[b]));
    }
    XFileData file;
    file.frames.push_back(std::move(frames[0]));
    return file;
}

KitPose PersonKit::Blend(const KitPose& a, const KitPose& b, float t)
{
    KitPose out = a;
    for (size_t i = 0; i < a.turns.size(); ++i)
        for (int k = 0; k < 3; ++k)
            out.turns[i][k] = a.turns[i][k] + (b.turns[i][k] - a.turns[i][k]) * t;
    out.lift = a.lift + (b.lift - a.lift) * t;
    out.shiftX = a.shiftX + (b.shiftX - a.shiftX) * t;
    out.shiftZ = a.shiftZ + (b.shiftZ - a.shiftZ) * t;
    return out;
}

KitPose PersonKit::GaitPose(const KitGait& gait, float fPhase, float fAmount) const
{
    KitPose pose = GetPose("stand", KitLine{});
    const float theta = 2 * kPi * fPhase;
    auto turn = [&](const char* name, int axis, float value) {
        const int b = FindBone(name);
        if (b >= 0)
            pose.turns[static_cast<size_t>(b)][axis] += value * fAmount;
    };
    const float rightScale = gait.uneven ? 0.5f : 1.0f;
    turn("l_thigh", 0, gait.legs * std::sin(theta));
    turn("r_thigh", 0, -gait.legs * rightScale * std::sin(theta));
    turn("l_shin", 0, -gait.knees * (0.1f + 0.9f * std::max(0.0f, std::cos(theta))));
    turn("r_shin", 0, -gait.knees * (gait.uneven ? 0.2f : 1.0f) * (0.1f + 0.9f * std::max(0.0f, -std::cos(theta))));
    turn("l_foot", 0, 0.3f * gait.knees * std::max(0.0f, std::cos(theta)));
    turn("r_foot", 0, 0.3f * gait.knees * std::max(0.0f, -std::cos(theta)));
    turn("l_upperarm", 0, -gait.arms * std::sin(theta));
    turn("r_upperarm", 0, gait.arms * std::sin(theta));
    turn("l_forearm", 0, gait.elbows);
    turn("r_forearm", 0, gait.elbows);
    turn("pelvis", 0, -gait.lean);
    turn("pelvis", 1, 6 * std::sin(theta));
    turn("chest", 1, -10 * std::sin(theta));
    pose.lift += fAmount * (gait.bob * std::cos(2 * theta) - gait.bob - (gait.uneven && std::sin(theta) < 0 ? 3 : 0));
    return pose;
}

D3DVECTOR PersonKit::ContactPoint(const std::vector<D3DMATRIX>& matrices, const std::string& bone,
                                  const KitLine& where) const
{
    auto at = [&](const char* name, D3DVECTOR offset) {
        const int b = FindBone(name);
        if (b < 0)
            throw KitError{where.Where(std::string("the skeleton has no ") + name)};
        const D3DVECTOR joint = m_Bones[static_cast<size_t>(b)].joint;
        return Apply({joint.x + offset.x, joint.y + offset.y, joint.z + offset.z}, matrices[static_cast<size_t>(b)]);
    };
    if (bone == "r_foot" || bone == "l_foot")
        return at(bone.c_str(), {0, 4, -26});
    if (bone == "r_thigh" || bone == "l_thigh")
        return at(bone.c_str(), {0, -34, -20});
    if (bone == "chest")
        return at("chest", {0, 20, -24});
    if (bone == "head")
        return at("head", {0, 14, -22});
    if (bone == "r_forearm" || bone == "l_forearm")
        return at(bone.c_str(), {0, -30, -3});
    if (bone == "hands") {
        const D3DVECTOR l = at("l_forearm", {0, -30, -3}), r = at("r_forearm", {0, -30, -3});
        return {(l.x + r.x) / 2, (l.y + r.y) / 2, (l.z + r.z) / 2};
    }
    throw KitError{where.Where("no contact point on " + bone)};
}

PaFileData PersonKit::BuildAnimation(const KitLine& line) const
{
    if (line.words.size() != 1)
        throw KitError{line.Where("an animation needs one kind")};
    const std::string kind = line.words[0];
    std::vector<Sample> samples;
    const float fTurn = line.Number("turn", 0);
    const KitPose* pArms = line.Has("arms") ? &GetPose(line.Text("arms", ""), line) : nullptr;
    if (kind == "cycle") {
        const KitGait& gait = GetGait(line.Text("gait", ""), line);
        const int nFrames = static_cast<int>(gait.frames);
        for (int f = 0; f <= nFrames; ++f) {
            const float phase = static_cast<float>(f) / nFrames;
            samples.push_back({GaitPose(gait, phase, 1), 0, -gait.stride * phase});
        }
    } else if (kind == "blend") {
        const std::string from = line.Text("from", "stand"), to = line.Text("to", "stand");
        const KitGait still{};
        const KitGait& a = from == "stand" ? still : GetGait(from, line);
        const KitGait& b = to == "stand" ? still : GetGait(to, line);
        const float framesA = from == "stand" ? b.frames : a.frames, framesB = to == "stand" ? a.frames : b.frames;
        const float speedA = from == "stand" ? 0 : a.stride / a.frames, speedB = to == "stand" ? 0 : b.stride / b.frames;
        const int nFrames = static_cast<int>(line.Number("frames", 12));
        if (nFrames < 1)
            throw KitError{line.Where("a blend needs at least one frame")};
        float phase = 0, x = 0, z = 0;
        for (int f = 0; f <= nFrames; ++f) {
            const float t = static_cast<float>(f) / nFrames;
            const KitPose poseA = from == "stand" ? GetPose("stand", line) : GaitPose(a, phase, 1);
            const KitPose poseB = to == "stand" ? GetPose("stand", line) : GaitPose(b, phase, 1);
            KitPose pose = Blend(poseA, poseB, Ease(t));
            const float heading = fTurn * Ease(t) * kDegree;
            pose.turns[0][1] += fTurn * Ease(t);
            samples.push_back({pose, x, z});
            const float speed = speedA + (speedB - speedA) * t;
            x += -std::sin(heading) * speed;
            z += -std::cos(heading) * speed;
            phase += 1.0f / (framesA + (framesB - framesA) * t);
        }
    } else if (kind == "keys") {
        const int nFrames = static_cast<int>(line.Number("frames", 0));
        if (nFrames < 1)
            throw KitError{line.Where("keys need at least one frame")};
        std::vector<std::pair<float, const KitPose*>> keys;
        for (const std::string& item : Split(line.Text("poses", ""), ',')) {
            const size_t at = item.find('@');
            if (at == std::string::npos)
                throw KitError{line.Where("a pose needs a time: " + item)};
            const float t = parseKitNumber(line, item.substr(at + 1));
            if (t < 0 || t > 1 || (!keys.empty() && t < keys.back().first))
                throw KitError{line.Where("pose times run from 0 to 1 in order: " + item)};
            keys.emplace_back(t, &GetPose(item.substr(0, at), line));
        }
        if (keys.empty() || keys.front().first != 0 || keys.back().first != 1)
            throw KitError{line.Where("the poses must start at 0 and end at 1")};
        const float forward = line.Number("forward", 0), side = line.Number("side", 0);
        for (int f = 0; f <= nFrames; ++f) {
            const float t = static_cast<float>(f) / nFrames;
            size_t k = 0;
            while (k + 2 < keys.size() && keys[k + 1].first <= t)
                ++k;
            const float span = keys[k + 1].first - keys[k].first;
            const float local = span > 0 ? std::clamp((t - keys[k].first) / span, 0.0f, 1.0f) : 1.0f;
            KitPose pose = Blend(*keys[k].second, *keys[k + 1].second, Ease(local));
            pose.turns[0][1] += fTurn * Ease(t);
            samples.push_back({pose, side * t, -forward * t});
        }
    } else {
        throw KitError{line.Where("unknown animation kind " + kind)};
    }
    if (pArms) {
        for (Sample& sample : samples)
            for (const char* name : {"l_upperarm", "r_upperarm", "l_forearm", "r_forearm"}) {
                const auto b = static_cast<size_t>(FindBone(name));
                sample.pose.turns[b] = pArms->turns[b];
            }
    }
    return Assemble(samples, line);
}

PaFileData PersonKit::Assemble(const std::vector<Sample>& samples, const KitLine& line) const
{
    PaFileData file;
    file.bones.resize(m_Bones.size());
    for (size_t b = 0; b < m_Bones.size(); ++b) {
        file.bones[b].nameId = static_cast<uint16_t>(b + 1);
        file.bones[b].slot = static_cast<uint8_t>(b);
        if (m_Bones[b].parent >= 0) {
            const D3DVECTOR& parent = m_Bones[static_cast<size_t>(m_Bones[b].parent)].joint;
            file.bones[b].translation[0] = m_Bones[b].joint.x - parent.x;
            file.bones[b].translation[1] = m_Bones[b].joint.y - parent.y;
            file.bones[b].translation[2] = m_Bones[b].joint.z - parent.z;
        }
    }
    std::vector<std::vector<D3DMATRIX>> posed;
    const auto nLast = static_cast<uint16_t>(samples.size() - 1);
    for (uint16_t f = 0; f <= nLast; ++f) {
        posed.push_back(PoseMatrices(samples[f].pose));
        for (size_t b = 0; b < m_Bones.size(); ++b) {
            const PaKey key = KeyOf(f, posed.back()[b]);
            std::vector<PaKey>& keys = file.bones[b].keys;
            // Keys are stepped: a key that repeats the one before is left out, but the last frame keeps one.
            if (keys.empty() || f == nLast || !SameKey(keys.back(), key))
                keys.push_back(key);
        }
        file.bones[0].rootKeys.push_back({f, samples[f].rootX, 0, samples[f].rootZ});
    }
    if (!line.Has("prop"))
        return file;
    // The held object or the ball.
    const std::string prop = line.Text("prop", "");
    const size_t at = prop.find('@');
    const std::string bone = prop.substr(0, at);
    float t0 = 0, t1 = 1;
    bool bContact = false;
    if (at != std::string::npos) {
        const std::vector<std::string> times = Split(prop.substr(at + 1), '-');
        if (times.empty() || times.size() > 2)
            throw KitError{line.Where("prop times are T or T0-T1")};
        t0 = parseKitNumber(line, times[0]);
        t1 = times.size() == 2 ? parseKitNumber(line, times[1]) : t0;
        bContact = times.size() == 1;
    }
    if (t0 < 0 || t1 > 1 || t1 < t0)
        throw KitError{line.Where("prop times lie in 0..1 in order")};
    std::vector<float> fly = line.Numbers("fly");
    if (!fly.empty() && fly.size() != 3)
        throw KitError{line.Where("fly needs three values")};
    const auto f0 = static_cast<uint16_t>(std::lround(t0 * nLast));
    const auto f1 = static_cast<uint16_t>(std::lround(t1 * nLast));
    auto place = [&](uint16_t f) {
        const D3DVECTOR p = ContactPoint(posed[f], bone, line);
        return D3DVECTOR{p.x + samples[f].rootX, p.y, p.z + samples[f].rootZ};
    };
    const int nHand = FindBone(bone == "hands" ? "r_forearm" : bone);
    auto addEntry = [&](uint16_t f, const D3DVECTOR& p) {
        if (!file.propPositions.empty() && file.propPositions.back().frame >= f)
            return;
        file.propPositions.push_back({f, p.x, p.y, p.z});
        D3DMATRIX m = posed[f][static_cast<size_t>(nHand)];
        m.m[3][0] = p.x;
        m.m[3][1] = p.y;
        m.m[3][2] = p.z;
        file.propKeys.push_back(KeyOf(f, m));
    };
    const D3DVECTOR touch = place(f0);
    if (bContact) {
        addEntry(0, touch);
    } else {
        for (uint16_t f = f0; f < f1; f = static_cast<uint16_t>(f + 2))
            addEntry(f, place(f));
    }
    const D3DVECTOR release = place(f1);
    addEntry(f1, release);
    if (!fly.empty()) {
        for (uint16_t f = static_cast<uint16_t>(f1 + 2); f <= nLast; f = static_cast<uint16_t>(f + 2)) {
            const float n = static_cast<float>(f - f1);
            addEntry(f, {release.x + fly[0] * n, std::max(13.0f, release.y + fly[1] * n), release.z + fly[2] * n});
        }
    }
    if (file.propPositions.size() < 2) {
        // A touch at the first frame, or a hold of one frame: the object stays where it was.
        file.propPositions.clear();
        file.propKeys.clear();
        addEntry(0, release);
        addEntry(nLast, release);
    }
    return file;
}

}  // namespace tools
