#pragma once
// A click on a shown button of a screen or popup, as the mouse gives it.
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"

#include <gtest/gtest.h>

#include <cstdint>

inline void PressButton(const CXClient& owner, uint32_t dwID)
{
    auto* pButton = dynamic_cast<CXButton*>(owner.FindControl(dwID));
    ASSERT_NE(pButton, nullptr) << dwID;
    ASSERT_TRUE(pButton->m_bVisible) << dwID;
    pButton->OnLButtonDown(0, 2, 2);
    pButton->OnLButtonUp(0, 2, 2);
}
