#pragma once
// The match persons of the mesh kit: the skeleton, the person meshes at each
// level of detail and the animations, from data/meshes/Person.txt and
// Animations.txt. Poses are local turns of the bones; a pose at a frame is
// turned into one whole transform per bone (rest vertex to posed vertex),
// which is what a .pa key holds.
#include "render3d/CPaFile.h"
#include "render3d/RenderTypes.h"
#include "render3d/XFileData.h"
#include "tools/meshkit/KitSource.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace tools {

struct KitBone {
    std::string name;
    int parent = -1;
    D3DVECTOR joint{};  // at rest, in the person's axes
    std::string solid;  // "", "prism", "sphere" or "box"
    std::vector<float> values;
    std::string band;
};

// Local turns in degrees (x, y, z) of every bone and the pelvis's move.
struct KitPose {
    std::vector<std::array<float, 3>> turns;
    float lift = 0;
    float shiftX = 0, shiftZ = 0;
};

struct KitGait {
    float frames = 24, stride = 150, legs = 20, knees = 30, arms = 15, elbows = 15, bob = 2, lean = 2;
    bool uneven = false;
};

class PersonKit {
public:
    // Throws KitError on a malformed source.
    void ReadSkeleton(const std::vector<KitLine>& lines);

    // The mesh file of one "person" line.
    XFileData BuildPerson(const KitLine& line) const;
    // One animation line; throws KitError when it is malformed.
    PaFileData BuildAnimation(const KitLine& line) const;

    const std::vector<KitLine>& GetPersonLines() const { return m_PersonLines; }
    size_t GetBoneCount() const { return m_Bones.size(); }
    // The transform of every bone for a pose (rest vertex to posed vertex).
    std::vector<D3DMATRIX> PoseMatrices(const KitPose& pose) const;
    const KitPose& GetPose(const std::string& name, const KitLine& where) const;
    int FindBone(const std::string& name) const;

private:
    struct Sample {
        KitPose pose;
        float rootX = 0, rootZ = 0;  // displacement of the root
    };
    KitPose ReadPose(const KitLine& line) const;
    KitPose GaitPose(const KitGait& gait, float fPhase, float fAmount) const;
    const KitGait& GetGait(const std::string& name, const KitLine& where) const;
    static KitPose Blend(const KitPose& a, const KitPose& b, float t);
    KitPose Mirror(const KitPose& pose) const;
    // The point of a bone where a ball or a prop touches it, in the posed person.
    D3DVECTOR ContactPoint(const std::vector<D3DMATRIX>& matrices, const std::string& bone, const KitLine& where) const;
    PaFileData Assemble(const std::vector<Sample>& samples, const KitLine& line) const;

    std::vector<KitBone> m_Bones;
    std::map<std::string, std::pair<int, int>> m_Bands;
    std::map<std::string, KitPose> m_Poses;
    std::map<std::string, KitGait> m_Gaits;
    std::vector<KitLine> m_PersonLines;
};

}  // namespace tools
