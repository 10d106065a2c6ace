#pragma once
// A match between two clubs of the starting world with a 3-D device, so
// that every person is given his model and kit and moves by his animations.
#include "RestartsFixture.h"
#include "platform/Surface.h"
#include "render3d/C3DEngine.h"

#include <memory>

class AnimatedMatchFixture : public RestartsFixture {
protected:
    void SetUp() override
    {
        m_pTarget = std::make_unique<plat::Surface>(64, 64, plat::PixelFormat::Rgb565);
        ASSERT_TRUE(C3DEngine::SetupStatics(m_pTarget.get(), C3DEngine::DEVICE_ZBUFFER)) << "3-D not available";
    }
    void TearDown() override
    {
        m_Engine.EndGame();
        C3DEngine::DestroyStatics();
    }
    std::unique_ptr<plat::Surface> m_pTarget;
};
