// The script driver: what it accepts, and the input it makes of each command.
#include "shell/CScriptDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<plat::Message> g_Posted;

bool Record(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    g_Posted.push_back({message, wParam, lParam});
    return true;
}

class ScriptDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Posted.clear();
        m_driver.m_pfnPost = &Record;
    }
    // Parses and plays the whole script, one frame every 16 ms.
    void Play(const std::string& text)
    {
        std::string error;
        ASSERT_TRUE(m_driver.Parse(text, "t", error)) << error;
        for (uint32_t dwNow = 0; !m_driver.Finished() && dwNow < 100000; dwNow += 16)
            m_driver.OnFrame(dwNow, nullptr);
        ASSERT_TRUE(m_driver.Finished());
    }
    std::vector<uint32_t> Kinds() const
    {
        std::vector<uint32_t> out;
        for (const plat::Message& m : g_Posted)
            out.push_back(m.message);
        return out;
    }
    CScriptDriver m_driver;
};

TEST_F(ScriptDriver, RefusesWhatItCannotPlayWithTheLine)
{
    const struct {
        const char* pszScript;
        const char* pszFault;
    } cases[] = {
        {"click 10 10\nhop 1", "t line 2: unknown command 'hop'"},
        {"click 800 10", "t line 1: the point 800,10 lies outside the 800 x 600 frame"},
        {"drag 1 1 5", "t line 1: drag takes X1 Y1 X2 Y2"},
        {"click 1 2 3", "t line 1: click takes X and Y"},
        {"key F13", "t line 1: key takes one key"},
        {"key Space", "t line 1: key takes one key"},
        {"wait -5", "t line 1: wait takes a number of milliseconds"},
        {"# note\n\nshot", "t line 3: shot takes the name of a PNG file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszScript);
        std::string error;
        EXPECT_FALSE(m_driver.Parse(c.pszScript, "t", error));
        EXPECT_EQ(error.rfind(c.pszFault, 0), 0u) << error;
        EXPECT_TRUE(m_driver.Finished());
    }
    std::string error;
    EXPECT_FALSE(m_driver.Load("/nonexistent/script.txt", error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos);
}

TEST_F(ScriptDriver, MouseCommandsBecomeTheDesktopsMessagesInFrameCoordinates)
{
    Play("dblclick 30 40\r\nrclick 799 599\ndrag 10 20 90 100\n");
    const std::vector<uint32_t> expected = {
        plat::WM_MOUSEMOVE, plat::WM_LBUTTONDOWN, plat::WM_LBUTTONUP, plat::WM_LBUTTONDBLCLK, plat::WM_LBUTTONUP,
        plat::WM_MOUSEMOVE, plat::WM_RBUTTONDOWN, plat::WM_RBUTTONUP,
        plat::WM_MOUSEMOVE, plat::WM_LBUTTONDOWN, plat::WM_MOUSEMOVE, plat::WM_MOUSEMOVE, plat::WM_MOUSEMOVE,
        plat::WM_MOUSEMOVE, plat::WM_MOUSEMOVE, plat::WM_MOUSEMOVE, plat::WM_MOUSEMOVE, plat::WM_MOUSEMOVE,
        plat::WM_LBUTTONUP};
    ASSERT_EQ(Kinds(), expected);
    EXPECT_EQ(g_Posted[3].lParam, plat::makeLParam(30, 40));
    EXPECT_EQ(g_Posted[6].lParam, plat::makeLParam(799, 599));
    // The drag holds the button on its way and ends on the target.
    EXPECT_EQ(g_Posted[10].wParam, plat::MK_LBUTTON);
    EXPECT_EQ(g_Posted[17].lParam, plat::makeLParam(90, 100));
    EXPECT_EQ(g_Posted[18].lParam, plat::makeLParam(90, 100));
}

TEST_F(ScriptDriver, KeysAndTypedTextBecomeKeyAndCharacterMessages)
{
    Play("key a\nkey Escape\nkey F10\nkey up\ntype Zé!\n");
    const std::vector<uint32_t> expected = {
        plat::WM_KEYDOWN,    plat::WM_CHAR,     plat::WM_KEYUP,   plat::WM_KEYDOWN, plat::WM_CHAR,
        plat::WM_KEYUP,      plat::WM_SYSKEYDOWN, plat::WM_SYSKEYUP, plat::WM_KEYDOWN, plat::WM_KEYUP,
        plat::WM_CHAR,       plat::WM_CHAR,     plat::WM_CHAR};
    ASSERT_EQ(Kinds(), expected);
    EXPECT_EQ(g_Posted[0].wParam, 'A');
    EXPECT_EQ(g_Posted[1].wParam, 'a');
    EXPECT_EQ(g_Posted[4].wParam, 27u);
    EXPECT_EQ(g_Posted[6].wParam, plat::VK_F10);
    EXPECT_EQ(g_Posted[8].wParam, plat::VK_UP);
    EXPECT_EQ(g_Posted[10].wParam, 'Z');
    EXPECT_EQ(g_Posted[11].wParam, 0xE9u);
    EXPECT_EQ(g_Posted[12].wParam, '!');
}

TEST_F(ScriptDriver, ACommandWaitsForItsTimeAndForTwoFramesAfterTheLastInput)
{
    std::string error;
    ASSERT_TRUE(m_driver.Parse("click 1 1\nwait 100\nclick 2 2\n", "t", error));
    m_driver.OnFrame(0, nullptr);
    EXPECT_EQ(g_Posted.size(), 3u);
    // The wait starts only after two frames have followed the click.
    m_driver.OnFrame(16, nullptr);
    m_driver.OnFrame(32, nullptr);
    m_driver.OnFrame(120, nullptr);
    EXPECT_EQ(g_Posted.size(), 3u);
    m_driver.OnFrame(132, nullptr);
    EXPECT_EQ(g_Posted.size(), 6u);
    EXPECT_TRUE(m_driver.Finished());
}

}  // namespace
