#include "shell/COptions.h"

#include "common/DebugLog.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace {

constexpr const char* kRegistryRoot = "Software\\TolvaneSystems\\";
constexpr size_t kRegistryBufferSize = 255;

const char* const kTacticsNames[] = {"TacticsNames", "TacticsNumbers", "TacticsGrid", "TacticsOppsition",
                                     "TacticsInterpolate"};
const char* const kHighlightNames[] = {"MatchHighlightsKickoff",       "MatchHighlightsCornerkick",
                                       "MatchHighlightsFreekick",      "MatchHighlightsPenaltykick",
                                       "MatchHighlightsGoal",          "MatchHighlightsAttemptsonTarget",
                                       "MatchHighlightsYellowcard",    "MatchHighlightsRedcard",
                                       "MatchHighlightsSubstitution"};
const char* const kMatchDisplayNames[] = {"MatchNames",         "MatchNumbers",     "MatchLineUps",
                                          "MatchPlayerFitness", "MatchPlayerAnger", "MatchPlayerMorale"};

struct CompetitionName {
    const char* pszKey;
    const char* pszDefault;
};
const CompetitionName kCompetitionNames[COptions::kCompetitionNameCount] = {
    {"EUROPEAN_KAVO", "KAVO Cup"},          {"EUROPEAN_EUROPEAN", "KAVO Champions League"},
    {"EUROPEAN_SUPER", "Super Cup"},        {"ENGLISH_CHARITY", "English Super Cup"},
    {"ENGLISH_FA", "English Cup"},          {"ENGLISH_LEAGUE", "League Cup"},
    {"ENGLISH_LOWER", "Lower Divisional Shield"}, {"SCOTTISH_FA", "Scottish Cup"},
    {"SCOTTISH_LEAGUE", "League Cup"},      {"FRENCH_FA", "French Cup"},
    {"FRENCH_LEAGUE", "League Cup"},        {"ITALIAN_CHARITY", "Italian Super Cup"},
    {"ITALIAN_LEAGUE", "Italian Cup"},      {"GERMAN_LEAGUE", "German Cup"},
    {"SPANISH_LEAGUE", "Spanish Cup"},      {"DUTCH_LEAGUE", "Dutch Cup"},
    {"DUTCH_CHARITY", "Dutch Super Cup"},   {"BELGIAN_LEAGUE", "Belgian Cup"},
    {"PORTUGESE_LEAGUE", "Portugese Cup"},
};

// The stored number of a value, or false when it is missing or not a number
// (then the default is written and taken).
bool ReadNumber(plat::OptionStore& key, const char* pszName, long& nValue)
{
    char szBuffer[kRegistryBufferSize];
    if (!GetRegistryString(key, pszName, szBuffer))
        return false;
    const char* pszEnd = szBuffer + std::strlen(szBuffer);
    const char* pszStart = szBuffer + (*szBuffer == '+' ? 1 : 0);
    const auto [at, problem] = std::from_chars(pszStart, pszEnd, nValue);
    if (pszStart == pszEnd || problem != std::errc() || at != pszEnd) {
        DebugLog(1, "[COptions::LoadOptions] '%s' holds '%s', not a number; the default is used", pszName, szBuffer);
        return false;
    }
    return true;
}

template <typename T>
void LoadValue(plat::OptionStore& key, const char* pszName, long nDefault, long nLowest, long nHighest, T& value)
{
    long nValue = 0;
    if (!ReadNumber(key, pszName, nValue)) {
        SetRegistryString(key, pszName, std::to_string(nDefault).c_str());
        nValue = nDefault;
    } else if (nValue < nLowest || nValue > nHighest) {
        DebugLog(1, "[COptions::LoadOptions] '%s' = %ld is outside %ld-%ld", pszName, nValue, nLowest, nHighest);
        nValue = std::clamp(nValue, nLowest, nHighest);
    }
    value = static_cast<T>(nValue);
}

void LoadFlags(plat::OptionStore& key, const char* const* ppszNames, uint8_t* pFlags, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        long nValue = 0;
        if (ReadNumber(key, ppszNames[i], nValue)) {
            pFlags[i] = nValue == 1;
        } else {
            SetRegistryString(key, ppszNames[i], "1");
            pFlags[i] = 1;
        }
    }
}

std::string UpperCase(const char* pszText)
{
    std::string upper(pszText ? pszText : "");
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// The currency a language name selects, first match in this order.
long CurrencyForLanguage(const char* pszLanguage)
{
    const std::string upper = UpperCase(pszLanguage);
    const std::pair<const char*, long> languages[] = {
        {"ENGLISH", 0}, {"FRENCH", 2}, {"GERMAN", 3}, {"ITALIAN", 1}, {"SPANISH", 4}};
    for (const auto& [pszName, nCurrency] : languages)
        if (upper.find(pszName) != std::string::npos)
            return nCurrency;
    return 0;
}

}  // namespace

std::unique_ptr<plat::OptionStore> GetRegistryKey(const char* pszSubKey)
{
    return std::make_unique<plat::OptionStore>(std::string(kRegistryRoot) + pszSubKey);
}

bool SetRegistryString(plat::OptionStore& key, const char* pszValueName, const char* pszText)
{
    return key.setString(pszValueName, pszText);
}

bool GetRegistryString(const plat::OptionStore& key, const char* pszValueName, char* pszBuffer)
{
    std::string value;
    if (!key.getString(pszValueName, value))
        return false;
    const size_t nLength = std::min(value.size(), kRegistryBufferSize - 1);
    std::memcpy(pszBuffer, value.data(), nLength);
    pszBuffer[nLength] = '\0';
    return true;
}

COptions::COptions()
{
    for (int i = 0; i < kCompetitionNameCount; ++i)
        m_CompetitionNames[i] = kCompetitionNames[i].pszDefault;
}

COptions::~COptions() = default;

void COptions::LoadLanguageConfig()
{
    m_pLanguageConfig = std::make_unique<CConfigFile>("Data\\Configs\\Language.cfg");
    m_pszLanguage = m_pLanguageConfig->GetValue("LANGUAGE", "English");
}

void COptions::LoadGeneralConfig()
{
    m_pGeneralConfig = std::make_unique<CConfigFile>("Data\\Configs\\General.cfg");
    for (int i = 0; i < kCompetitionNameCount; ++i)
        m_CompetitionNames[i] = m_pGeneralConfig->GetValue(kCompetitionNames[i].pszKey, kCompetitionNames[i].pszDefault);
}

const char* COptions::GetCompetitionName(int nSlot) const
{
    return nSlot >= 0 && nSlot < kCompetitionNameCount ? m_CompetitionNames[nSlot] : "";
}

void COptions::LoadOptions(bool b3DAvailable)
{
    std::unique_ptr<plat::OptionStore> key = GetRegistryKey(kOptionsKey);
    LoadFlags(*key, kTacticsNames, m_TacticsFlags, 5);
    LoadFlags(*key, kHighlightNames, m_MatchHighlightFlags, 9);
    LoadFlags(*key, kMatchDisplayNames, m_MatchDisplayFlags, 6);

    const bool bSpanish = UpperCase(m_pszLanguage).find("SPANISH") != std::string::npos;
    LoadValue(*key, "MssVolMusic", 127, 0, 127, m_wMusicVolume);
    LoadValue(*key, "MssVolSFX", 127, 0, 127, m_wSFXVolume);
    LoadValue(*key, "MssVolCommentary", bSpanish ? 127 : 96, 0, 127, m_wCommentaryVolume);
    LoadValue(*key, "MssVolAmbient", 73, 0, 127, m_wAmbientVolume);

    LoadValue(*key, "Currency", CurrencyForLanguage(m_pszLanguage), 0, kCurrencyCount - 1, m_nCurrency);
    LoadValue(*key, "Date", 0, 0, 2, m_nDate);
    LoadValue(*key, "ContractsSalaries", 1, 0, 255, m_nContractsSalaries);
    LoadValue(*key, "MatchType", 1, 0, 255, m_nMatchType);
    LoadValue(*key, "Ratings", 0, 0, 2, m_nRatings);
    LoadValue(*key, "ProcessGame", 1, 0, 255, m_nProcessGame);
    LoadValue(*key, "ToolTipsDelay", 2, 0, 255, m_nToolTipsDelay);
    LoadValue(*key, "AutoHelp", 1, 0, 255, m_nAutoHelp);
    LoadValue(*key, "3DSettings", 0, 0, 2, m_n3DSettings);
    SetNumberSeparatorOption(m_nCurrency);
    if (!b3DAvailable && m_n3DSettings == 0)
        m_n3DSettings = 2;
}

bool COptions::SaveOptions() const
{
    std::unique_ptr<plat::OptionStore> key = GetRegistryKey(kOptionsKey);
    bool bOk = true;
    auto number = [&](const char* pszName, int nValue) {
        bOk = SetRegistryString(*key, pszName, std::to_string(nValue).c_str()) && bOk;
    };
    auto flags = [&](const char* const* ppszNames, const uint8_t* pFlags, int nCount) {
        for (int i = 0; i < nCount; ++i)
            bOk = SetRegistryString(*key, ppszNames[i], pFlags[i] ? "1" : "0") && bOk;
    };
    number("MssVolMusic", m_wMusicVolume);
    number("MssVolSFX", m_wSFXVolume);
    number("MssVolCommentary", m_wCommentaryVolume);
    number("MssVolAmbient", m_wAmbientVolume);
    flags(kTacticsNames, m_TacticsFlags, 5);
    flags(kHighlightNames, m_MatchHighlightFlags, 9);
    flags(kMatchDisplayNames, m_MatchDisplayFlags, 6);
    number("Currency", m_nCurrency);
    number("Date", m_nDate);
    number("ContractsSalaries", m_nContractsSalaries);
    number("MatchType", m_nMatchType);
    number("Ratings", m_nRatings);
    number("ProcessGame", m_nProcessGame);
    number("ToolTipsDelay", m_nToolTipsDelay);
    number("AutoHelp", m_nAutoHelp);
    number("3DSettings", m_n3DSettings);
    return bOk;
}

float GetCurrencyFactor(int nCurrency)
{
    static const float kFactors[COptions::kCurrencyCount] = {
        1.0f, 2780.0f, 9.4f, 2.8f, 240.0f, 1.43f};
    return kFactors[nCurrency >= 0 && nCurrency < COptions::kCurrencyCount ? nCurrency : 0];
}

CURRENCYRULES GetCurrencyRules(int nCurrency, bool bHundredths, bool bDecimals)
{
    const int nDecimals = bHundredths && bDecimals ? 2 : 0;
    switch (nCurrency) {
    case 1:
    case 4:
        return {nDecimals, true, 'k', 1000.0};
    case 2:
    case 3:
        return {0, false, '\0', 1.0};
    default:  // 0, 5 (the Euro shows cents like the pound)
        return {nDecimals, false, '\0', 1.0};
    }
}
