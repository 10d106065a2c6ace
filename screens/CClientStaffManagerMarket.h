#pragma once
// The managers' job market (screen 23): every club whose manager's post is
// open, and below it the human manager's own applications with their state.
// A double click opens the club's general screen; nothing here changes the
// world.
#include "shell/CGameClient.h"

#include <cstdint>

class CXListBox;

class CClientStaffManagerMarket : public CGameClient {
public:
    enum : uint32_t { ID_JOB_MARKET = 256, ID_APPLICATIONS = 257, ID_MARKET_BAR = 901, ID_APPLICATIONS_BAR = 902 };
    // The message shown when a club's screen cannot be opened.
    static constexpr int kClubDetailsMessage = 66;

    CClientStaffManagerMarket();

    bool OnInitDialog() override;
    void OnDoubleClicked(uint32_t dwID) override;
    void ConstructScreen() override;
    void OnPrint() override;

    void FillJobMarket();
    void FillJobApplications();
    CXListBox* GetJobMarket() const { return m_pMarket; }
    CXListBox* GetApplications() const { return m_pApplications; }

private:
    CXListBox* m_pMarket = nullptr;
    CXListBox* m_pApplications = nullptr;
};

CClientStaffManagerMarket& GetStaffManagerMarketScreen();
