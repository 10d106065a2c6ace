// meshkit SOURCE_FOLDER GAME_FOLDER
// Makes the match meshes, animations and textures from the readable sources
// in SOURCE_FOLDER (Person.txt, Animations.txt, Scenery.txt, Textures.txt):
// GAME_FOLDER/MatchMeshes/*.x and *.pa, and the textures packed into
// GAME_FOLDER/MatchMeshes/Textures.BFS; the ground view's meshes from
// Ground.txt into GAME_FOLDER/GroundMeshes/, and its textures
// (GroundTextures.txt) with the match's into GAME_FOLDER/GFX/GroundTextures.BFS.
#include "platform/Files.h"
#include "platform/SafeFile.h"
#include "render3d/CXFileWriter.h"
#include "tools/gfxkit/BfsWriter.h"
#include "tools/meshkit/GroundKit.h"
#include "tools/meshkit/PersonKit.h"
#include "tools/meshkit/SceneryKit.h"
#include "tools/meshkit/TextureKit.h"

#include <cstdio>

namespace {

std::vector<tools::KitLine> Read(const std::string& path)
{
    std::vector<tools::KitLine> lines;
    std::string error;
    if (!tools::readKitSource(path, lines, error))
        throw tools::KitError{error};
    return lines;
}

void WriteX(const std::string& folder, const std::string& name, const XFileData& data)
{
    if (!CXFileWriter::WriteFile(folder + "/" + name, data))
        throw tools::KitError{folder + "/" + name + ": cannot be written"};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: meshkit SOURCE_FOLDER GAME_FOLDER\n");
        return 2;
    }
    const std::string source = argv[1];
    const std::string folder = std::string(argv[2]) + "/MatchMeshes";
    try {
        if (!plat::makeDirectories(folder))
            throw tools::KitError{folder + ": cannot be made"};
        tools::PersonKit persons;
        persons.ReadSkeleton(Read(source + "/Person.txt"));
        for (const tools::KitLine& line : persons.GetPersonLines())
            WriteX(folder, line.words[0], persons.BuildPerson(line));
        size_t nAnimations = 0;
        for (const tools::KitLine& line : Read(source + "/Animations.txt")) {
            const std::vector<uint8_t> bytes = CPaFile::Write(persons.BuildAnimation(line));
            const std::string path = folder + "/" + line.command + ".pa";
            if (!plat::writeWholeFile(path, bytes.data(), bytes.size()))
                throw tools::KitError{path + ": cannot be written"};
            ++nAnimations;
        }
        const std::vector<tools::KitFile> scenery = tools::SceneryKit().Build(Read(source + "/Scenery.txt"));
        for (const tools::KitFile& file : scenery)
            WriteX(folder, file.name, file.data);
        std::vector<tools::BfsMember> members;
        for (const tools::KitPicture& picture : tools::TextureKit().Build(Read(source + "/Textures.txt")))
            members.push_back({picture.name, tools::encodeBmp8(picture)});
        std::string error;
        if (!tools::writeBfs(members, folder + "/Textures.BFS", error))
            throw tools::KitError{folder + "/Textures.BFS: " + error};
        // The ground view draws the match's stands, so its archive holds the
        // match textures beside its own.
        const std::string groundFolder = std::string(argv[2]) + "/GroundMeshes";
        const std::string gfxFolder = std::string(argv[2]) + "/GFX";
        if (!plat::makeDirectories(groundFolder) || !plat::makeDirectories(gfxFolder))
            throw tools::KitError{groundFolder + ": cannot be made"};
        const std::vector<tools::KitFile> ground = tools::GroundKit().Build(Read(source + "/Ground.txt"));
        for (const tools::KitFile& file : ground)
            WriteX(groundFolder, file.name, file.data);
        for (const tools::KitPicture& picture : tools::TextureKit().Build(Read(source + "/GroundTextures.txt")))
            members.push_back({picture.name, tools::encodeBmp8(picture)});
        if (!tools::writeBfs(members, gfxFolder + "/GroundTextures.BFS", error))
            throw tools::KitError{gfxFolder + "/GroundTextures.BFS: " + error};
        std::printf("meshkit: %zu person meshes, %zu animations, %zu scenery meshes, %zu ground meshes, %zu textures\n",
                    persons.GetPersonLines().size(), nAnimations, scenery.size(), ground.size(), members.size());
    } catch (const tools::KitError& e) {
        std::fprintf(stderr, "meshkit: %s\n", e.message.c_str());
        return 1;
    }
    return 0;
}
