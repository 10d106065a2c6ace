#pragma once
// BFS archives as the game reads them: an 8-byte header (an unused u32, the
// u16 entry count, the u16 name form), the directory sorted by name without
// regard to case (24-byte entries when every name fits 15 characters, else
// 48-byte entries), then the members in directory order.
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

struct BfsMember {
    std::string name;
    std::vector<uint8_t> bytes;
};

// False (with a reason) for names that are empty, too long for the long form,
// or present twice without regard to case, and for too many members.
bool encodeBfs(std::vector<BfsMember> members, std::vector<uint8_t>& out, std::string& error);
bool writeBfs(const std::vector<BfsMember>& members, const std::string& path, std::string& error);

}  // namespace tools
