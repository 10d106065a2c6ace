#include "tools/scriptkit/ScriptCompiler.h"

#include "platform/SafeFile.h"
#include "platform/Font.h"
#include "shell/CFormScript.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace tools {

namespace {

// The value names of the sources and the code bytes they compile to.
const std::map<std::string, uint8_t>& ValueNames()
{
    static const std::map<std::string, uint8_t> names = {
        {"player", 1},         {"player2", 4},          {"date2", 10},        {"ground", 11},
        {"capacity", 13},      {"rating", 14},          {"money", 16},        {"date", 18},
        {"value", 20},         {"manager", 26},         {"club short", 28},   {"country of value", 30},
        {"club", 33},          {"other club", 34},      {"score", 37},        {"club country", 41},
        {"other club country", 42}, {"nationality", 45}, {"hundredths", 47}, {"staff role", 58},
        {"staff", 59},         {"country", 60},         {"amount2", 63},      {"decimal1", 64},
        {"amount3", 66},       {"amount4", 67},         {"decimal2", 69},     {"decimal3", 70},
    };
    return names;
}

struct Variant {
    std::string body;
    std::string headline;
};

struct SourceEntry {
    std::array<uint16_t, FORMSCRIPT_CONDITIONS> conditions{};
    std::array<uint8_t, FORMSCRIPT_PICTURES> pictures{};
    uint16_t wTarget = 0;
    std::vector<Variant> variants;
};

// Words to the game's bytes: braces become the mark and the code byte.
bool CompileWords(const std::string& words, std::string& out, std::string& reason)
{
    std::string plain;
    out.clear();
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == '@') {
            reason = "a bare at sign; values are written in braces";
            return false;
        }
        if (words[i] == '}') {
            reason = "a closing brace without its opening one";
            return false;
        }
        if (words[i] != '{') {
            plain += words[i];
            continue;
        }
        const size_t nEnd = words.find('}', i);
        if (nEnd == std::string::npos) {
            reason = "a brace left open";
            return false;
        }
        const std::string name = words.substr(i + 1, nEnd - i - 1);
        const auto found = ValueNames().find(name);
        if (found == ValueNames().end()) {
            reason = "no value is named {" + name + "}";
            return false;
        }
        const std::string encoded = plat::utf8ToAnsi(plain.c_str());
        if (std::count(encoded.begin(), encoded.end(), '?') != std::count(plain.begin(), plain.end(), '?')) {
            reason = "a character the game cannot show";
            return false;
        }
        out += encoded;
        plain.clear();
        out += static_cast<char>(FORMSCRIPT_TOKEN_MARK);
        out += static_cast<char>(found->second);
        i = nEnd;
    }
    const std::string encoded = plat::utf8ToAnsi(plain.c_str());
    if (std::count(encoded.begin(), encoded.end(), '?') != std::count(plain.begin(), plain.end(), '?')) {
        reason = "a character the game cannot show";
        return false;
    }
    out += encoded;
    return true;
}

bool ParseNumbers(std::istringstream& in, size_t nMax, long nLimit, std::vector<long>& numbers)
{
    numbers.clear();
    std::string word;
    while (in >> word) {
        char* pEnd = nullptr;
        const long nValue = std::strtol(word.c_str(), &pEnd, 10);
        if (*pEnd || word.empty() || nValue < 0 || nValue > nLimit || numbers.size() == nMax)
            return false;
        numbers.push_back(nValue);
    }
    return true;
}

}  // namespace

bool compileFormScript(const std::string& sourcePath, std::string& outputName, std::vector<uint8_t>& bytes,
                       std::string& error)
{
    std::ifstream in(sourcePath);
    if (!in) {
        error = sourcePath + ": cannot be read";
        return false;
    }
    bool bHeadlines = false, bPictures = false;
    std::vector<SourceEntry> entries;
    outputName.clear();
    int nLine = 0;
    auto fail = [&](const std::string& reason) {
        error = sourcePath + ":" + std::to_string(nLine) + ": " + reason;
        return false;
    };
    for (std::string line; std::getline(in, line);) {
        ++nLine;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const size_t nSpace = line.find(' ');
        const std::string keyword = line.substr(0, nSpace);
        const std::string rest = nSpace == std::string::npos ? "" : line.substr(nSpace + 1);
        std::istringstream args(rest);
        std::vector<long> numbers;
        if (outputName.empty() && keyword != "script")
            return fail("the first statement names the script");
        if (keyword == "script") {
            if (!outputName.empty() || rest.empty() || rest.find_first_of("/\\ ") != std::string::npos ||
                rest.size() < 5 || rest.substr(rest.size() - 4) != ".fmc")
                return fail("script takes one file name ending in .fmc, once");
            outputName = rest;
        } else if (keyword == "headlines" && entries.empty() && rest.empty()) {
            bHeadlines = true;
        } else if (keyword == "pictures" && entries.empty() && rest.empty()) {
            bPictures = true;
        } else if (keyword == "entry") {
            if (!ParseNumbers(args, FORMSCRIPT_CONDITIONS, 0xFFFF, numbers) || numbers.empty() ||
                std::count(numbers.begin(), numbers.end(), 0))
                return fail("entry takes one to six condition tokens from 1 to 65535");
            if (entries.size() == 0xFFFF)
                return fail("too many entries");
            SourceEntry entry;
            std::copy(numbers.begin(), numbers.end(), entry.conditions.begin());
            entries.push_back(entry);
        } else if (keyword == "pictures") {
            if (!bPictures || entries.empty())
                return fail("picture numbers belong to an entry of a script with pictures");
            if (!ParseNumbers(args, FORMSCRIPT_PICTURES, 255, numbers) || numbers.size() != FORMSCRIPT_PICTURES)
                return fail("pictures takes six numbers from 0 to 255");
            std::copy(numbers.begin(), numbers.end(), entries.back().pictures.begin());
        } else if (keyword == "target") {
            if (entries.empty())
                return fail("a target belongs to an entry");
            if (!ParseNumbers(args, 1, FORMSCRIPT_LAST_TARGET, numbers) || numbers.size() != 1)
                return fail("target takes one number from 0 to " + std::to_string(FORMSCRIPT_LAST_TARGET));
            entries.back().wTarget = static_cast<uint16_t>(numbers[0]);
        } else if (keyword == "text") {
            if (entries.empty())
                return fail("a text belongs to an entry");
            Variant variant;
            std::string reason;
            if (!CompileWords(rest, variant.body, reason))
                return fail(reason);
            entries.back().variants.push_back(variant);
        } else if (keyword == "headline") {
            if (!bHeadlines || entries.empty() || entries.back().variants.empty())
                return fail("a headline follows the text of its variant, in a script with headlines");
            std::string reason;
            if (!CompileWords(rest, entries.back().variants.back().headline, reason))
                return fail(reason);
        } else {
            return fail("unknown statement '" + keyword + "'");
        }
    }
    if (outputName.empty())
        return fail("the source names no script");

    // The text block: every text once, each ended by a 0.
    std::string text;
    std::map<std::string, uint32_t> offsets;
    auto place = [&](const std::string& words) {
        const auto found = offsets.find(words);
        if (found != offsets.end())
            return found->second;
        const auto dwOffset = static_cast<uint32_t>(text.size());
        text += words;
        text += '\0';
        offsets.emplace(words, dwOffset);
        return dwOffset;
    };
    bytes.clear();
    std::vector<uint8_t> body;
    for (const SourceEntry& entry : entries)
        for (const Variant& variant : entry.variants) {
            place(variant.body);
            place(variant.headline);
        }
    auto put16 = [&bytes](uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    put32(FORMSCRIPT_MARK);
    put16(static_cast<uint32_t>(entries.size()));
    put16(0);
    put32(static_cast<uint32_t>(text.size()));
    bytes.push_back(bHeadlines ? 1 : 0);
    bytes.push_back(bPictures ? 1 : 0);
    put16(0);
    for (const SourceEntry& entry : entries) {
        for (uint16_t wToken : entry.conditions)
            put16(wToken);
        put16(entry.wTarget);
        put16(static_cast<uint32_t>(entry.variants.size()));
        if (bPictures)
            bytes.insert(bytes.end(), entry.pictures.begin(), entry.pictures.end());
        for (const Variant& variant : entry.variants)
            put32(place(variant.body));
        if (bHeadlines)
            for (const Variant& variant : entry.variants)
                put32(place(variant.headline));
    }
    bytes.insert(bytes.end(), text.begin(), text.end());
    return true;
}

bool compileFormScripts(const std::string& sourceFolder, const std::string& gameFolder, const std::string& language,
                        std::string& error)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> sources;
    std::error_code code;
    for (const auto& entry : fs::directory_iterator(sourceFolder, code))
        if (entry.path().extension() == ".txt")
            sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    if (code || sources.empty()) {
        error = sourceFolder + ": no script sources";
        return false;
    }
    const fs::path output = fs::path(gameFolder) / "Scripts" / language;
    fs::create_directories(output, code);
    std::map<std::string, std::string> written;
    for (const fs::path& source : sources) {
        std::string name;
        std::vector<uint8_t> bytes;
        if (!compileFormScript(source.string(), name, bytes, error))
            return false;
        if (written.count(name)) {
            error = source.string() + ": " + name + " is compiled from " + written[name] + " already";
            return false;
        }
        written[name] = source.string();
        if (!plat::writeWholeFile((output / name).string(), bytes.data(), bytes.size())) {
            error = (output / name).string() + ": cannot be written";
            return false;
        }
    }
    return true;
}

}  // namespace tools
