#pragma once
// The player's options, loaded once at start from the per-user option store
// (the game's registry key "KAVO\Options"), with every missing value written
// with its default; the language name from Data\Configs\Language.cfg and the
// competitions' display names from Data\Configs\General.cfg. A stored value
// that is not a number counts as missing; a number outside its option's range
// is brought to the nearest end of the range, so no reader of an option ever
// indexes past its tables.
#include "shell/CConfigFile.h"
#include "platform/OptionStore.h"

#include <cstdint>
#include <memory>
#include <string>

// The per-user key "Software\TolvaneSystems\<subkey>"; null is never answered.
std::unique_ptr<plat::OptionStore> GetRegistryKey(const char* pszSubKey);
bool SetRegistryString(plat::OptionStore& key, const char* pszValueName, const char* pszText);
// At most 254 characters and the NUL into the 255-byte buffer; false when missing.
bool GetRegistryString(const plat::OptionStore& key, const char* pszValueName, char* pszBuffer);

// The option values themselves: popups edit a copy and hand it back on
// confirmation.
struct OptionValues {
    uint16_t m_wMusicVolume = 127;
    uint16_t m_wSFXVolume = 127;
    uint16_t m_wCommentaryVolume = 96;
    uint16_t m_wAmbientVolume = 73;
    uint8_t m_TacticsFlags[5] = {1, 1, 1, 1, 1};
    uint8_t m_MatchHighlightFlags[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    uint8_t m_MatchDisplayFlags[6] = {1, 1, 1, 1, 1, 1};
    uint8_t m_nRatings = 0;
    uint8_t m_nMatchType = 1;
    uint8_t m_nCurrency = 0;
    uint8_t m_nDate = 0;
    uint8_t m_nContractsSalaries = 1;
    uint8_t m_nProcessGame = 1;
    uint8_t m_nToolTipsDelay = 2;
    uint8_t m_nAutoHelp = 1;
    uint8_t m_n3DSettings = 0;
};

class COptions : public OptionValues {
public:
    static constexpr const char* kOptionsKey = "KAVO\\Options";
    static constexpr int kCompetitionNameCount = 19;
    // Currencies: 0 English, 1 Italian, 2 French, 3 German, 4 Spanish, 5 Euro.
    static constexpr int kCurrencyCount = 6;

    COptions();
    ~COptions();
    COptions(const COptions&) = delete;
    COptions& operator=(const COptions&) = delete;

    // The option values; b3DAvailable says whether the machine can draw 3-D.
    void LoadOptions(bool b3DAvailable);
    void LoadLanguageConfig();
    void LoadGeneralConfig();

    const char* GetLanguage() const { return m_pszLanguage; }
    const char* GetCompetitionName(int nSlot) const;

    // Every value into the option store, numbers as "%d" and flags as "0"
    // or "1"; false when a value could not be written.
    bool SaveOptions() const;
    const OptionValues& Values() const { return *this; }
    void SetValues(const OptionValues& values) { static_cast<OptionValues&>(*this) = values; }

private:
    std::unique_ptr<CConfigFile> m_pLanguageConfig;
    std::unique_ptr<CConfigFile> m_pGeneralConfig;
    const char* m_pszLanguage = "English";
    const char* m_CompetitionNames[kCompetitionNameCount];
};

// The currency table that money texts follow: the factor from the stored
// amount, and how a currency shows it.
struct CURRENCYRULES {
    int nDecimals;
    bool bSuffix;
    char cSuffix;
    double dDivisor;
};
float GetCurrencyFactor(int nCurrency);
// nCurrency outside the table is read as currency 0.
CURRENCYRULES GetCurrencyRules(int nCurrency, bool bHundredths, bool bDecimals);
