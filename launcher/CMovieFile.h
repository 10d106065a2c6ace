#pragma once
// The intro movie's file: an uncompressed video-only RIFF "AVI " file whose
// frames are 16-bit 5-5-5 pixel rows stored bottom-up, one "00db" chunk per
// frame. The launcher reads exactly this kind and refuses any other (a
// compressed stream, sound, a damaged or short file), so that a movie it
// cannot show is skipped rather than misread. Writing lives here too, for
// the data kit that makes the movie.
#include <cstdint>
#include <string>
#include <vector>

namespace plat {
class Surface;
}

class CMovieFile {
public:
    // False (and why in error) for a missing file or one of another kind.
    bool Load(const std::string& gamePath, std::string& error);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetFrameCount() const { return static_cast<int>(m_FrameOffsets.size()); }
    uint32_t GetMicrosecondsPerFrame() const { return m_dwMicrosecondsPerFrame; }
    // Draws frame nFrame into the surface, scaled to its size; false outside
    // the frames.
    bool DrawFrame(int nFrame, plat::Surface& target) const;

    // Frames are width x height pixels of 5-5-5 colour, row by row from the
    // top; false when the file cannot be written whole.
    static bool Write(const std::string& gamePath, int nWidth, int nHeight, uint32_t dwMicrosecondsPerFrame,
                      const std::vector<std::vector<uint16_t>>& frames);

private:
    std::vector<uint8_t> m_Bytes;
    std::vector<size_t> m_FrameOffsets;
    int m_nWidth = 0;
    int m_nHeight = 0;
    uint32_t m_dwMicrosecondsPerFrame = 0;
};
