#include "tools/textkit/TextCompiler.h"

#include "common/CBinaryFile.h"
#include "platform/Font.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace tools {

namespace {

// The description commands kept in a record's x field.
constexpr int kCentreCommand = 9993;
constexpr int kRightCommand = 9997;
constexpr int kLeftCommand = 9999;
constexpr int kLargestPosition = 9990;
constexpr int kLargestItem = 4095;
constexpr int kLargestDescription = 9999;
constexpr int kDescriptionLines = 6;

struct SourceLine {
    int number = 0;
    std::vector<std::string> fields;
};

class SourceReader {
public:
    explicit SourceReader(std::string path) : m_path(std::move(path)) {}

    // Every entry line of the file, split into trimmed, unescaped fields.
    bool read(std::vector<SourceLine>& lines, std::string& error)
    {
        std::ifstream in(m_path, std::ios::binary);
        if (!in)
            return fail(0, "cannot be opened", error);
        std::string raw;
        int number = 0;
        while (std::getline(in, raw)) {
            ++number;
            if (!raw.empty() && raw.back() == '\r')
                raw.pop_back();
            const size_t first = raw.find_first_not_of(' ');
            if (first == std::string::npos || raw[first] == '#')
                continue;
            SourceLine line;
            line.number = number;
            if (!split(raw, line, error))
                return false;
            lines.push_back(std::move(line));
        }
        return true;
    }

    bool fail(int line, const std::string& reason, std::string& error) const
    {
        error = m_path + ":" + std::to_string(line) + ": " + reason;
        return false;
    }

    bool number(const SourceLine& line, const std::string& field, int lowest, int highest, const char* what,
                int& value, std::string& error) const
    {
        const char* end = field.data() + field.size();
        const auto [at, problem] = std::from_chars(field.data(), end, value);
        if (field.empty() || problem != std::errc() || at != end)
            return fail(line.number, std::string(what) + " \"" + field + "\" is not a number", error);
        if (value < lowest || value > highest)
            return fail(line.number,
                        std::string(what) + " " + field + " is outside " + std::to_string(lowest) + "-" +
                            std::to_string(highest),
                        error);
        return true;
    }

private:
    static std::string trim(const std::string& text)
    {
        const size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos)
            return {};
        // An escaped blank or bar at the end stays: the last backslash pair is kept whole.
        size_t last = text.find_last_not_of(' ');
        if (last + 1 < text.size() && text[last] == '\\')
            ++last;
        return text.substr(first, last - first + 1);
    }

    bool split(const std::string& raw, SourceLine& line, std::string& error) const
    {
        std::vector<std::string> rawFields(1);
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\t')
                return fail(line.number, "a raw TAB; write \\t", error);
            if (raw[i] == '\\' && i + 1 < raw.size()) {
                rawFields.back() += raw.substr(i, 2);
                ++i;
            } else if (raw[i] == '|') {
                rawFields.emplace_back();
            } else {
                rawFields.back() += raw[i];
            }
        }
        for (const std::string& rawField : rawFields) {
            std::string text;
            if (!unescape(trim(rawField), line.number, text, error))
                return false;
            line.fields.push_back(std::move(text));
        }
        return true;
    }

    bool unescape(const std::string& field, int number, std::string& text, std::string& error) const
    {
        std::string utf8;
        for (size_t i = 0; i < field.size(); ++i) {
            if (field[i] != '\\') {
                utf8 += field[i];
                continue;
            }
            const char next = i + 1 < field.size() ? field[i + 1] : '\0';
            if (next == 't')
                utf8 += '\t';
            else if (next == '\\' || next == '|')
                utf8 += next;
            else
                return fail(number, "unknown escape \\" + std::string(next ? 1 : 0, next), error);
            ++i;
        }
        text = plat::utf8ToAnsi(utf8.c_str());
        if (std::count(text.begin(), text.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
            return fail(number, "a character outside the game's character set", error);
        for (char c : text)
            if (static_cast<unsigned char>(c) < 32 && c != '\t')
                return fail(number, "a control character in a text", error);
        return true;
    }

    std::string m_path;
};

// NUL-terminated strings behind a pad byte, so that offset 0 means "no text";
// equal texts share one copy.
class StringBlock {
public:
    StringBlock() : m_bytes(1, '\0') {}

    uint32_t add(const std::string& text)
    {
        const auto [found, inserted] = m_offsets.emplace(text, static_cast<uint32_t>(m_bytes.size()));
        if (inserted) {
            m_bytes += text;
            m_bytes += '\0';
        }
        return found->second;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
    std::map<std::string, uint32_t> m_offsets;
};

// Written whole under a temporary name and renamed into place.
template <typename WriteBody>
bool writeCompiled(const std::string& outputPath, std::string& error, WriteBody body)
{
    std::error_code code;
    const fs::path parent = fs::path(outputPath).parent_path();
    if (!parent.empty())
        fs::create_directories(parent, code);
    const bool written = plat::writeFileSafely(outputPath, [&](FILE* file) {
        CBinaryWriter writer(file);
        body(writer);
        return !writer.Failed();
    });
    if (!written)
        error = outputPath + ": cannot be written";
    return written;
}

void writeBlock(CBinaryWriter& writer, const std::string& bytes)
{
    writer.WriteBytes(bytes.data(), bytes.size());
}

}  // namespace

bool compileControlScript(const std::string& sourcePath, const std::string& outputPath, std::string& error)
{
    SourceReader reader(sourcePath);
    std::vector<SourceLine> lines;
    if (!reader.read(lines, error))
        return false;
    std::vector<std::pair<uint32_t, uint32_t>> index(kControlTextCount, {0, 0});
    std::vector<int> definedAt(kControlTextCount, 0);
    StringBlock strings;
    for (const SourceLine& line : lines) {
        if (line.fields.size() < 2 || line.fields.size() > 3)
            return reader.fail(line.number, "expected \"id | caption | tooltip\"", error);
        int id = 0;
        if (!reader.number(line, line.fields[0], 0, kControlTextCount - 1, "control id", id, error))
            return false;
        if (definedAt[id])
            return reader.fail(line.number,
                               "control id " + std::to_string(id) + " already given on line " +
                                   std::to_string(definedAt[id]),
                               error);
        const std::string& caption = line.fields[1];
        const std::string tooltip = line.fields.size() == 3 ? line.fields[2] : std::string();
        if (caption.empty() && tooltip.empty())
            return reader.fail(line.number, "neither caption nor tooltip", error);
        if (std::count(caption.begin(), caption.end(), '\t') > 1)
            return reader.fail(line.number, "a caption has at most two lines", error);
        if (tooltip.find('\t') != std::string::npos)
            return reader.fail(line.number, "a tooltip has one line", error);
        definedAt[id] = line.number;
        index[id] = {caption.empty() ? 0 : strings.add(caption), tooltip.empty() ? 0 : strings.add(tooltip)};
    }
    return writeCompiled(outputPath, error, [&](CBinaryWriter& writer) {
        writer.WriteU16(0);
        writer.WriteU16(kControlTextCount);
        writer.WriteU32(static_cast<uint32_t>(strings.bytes().size()));
        for (const auto& [text, tooltip] : index) {
            writer.WriteU32(text);
            writer.WriteU32(tooltip);
        }
        writeBlock(writer, strings.bytes());
    });
}

bool compileTableTextScript(const std::string& sourcePath, const std::string& outputPath, std::string& error)
{
    SourceReader reader(sourcePath);
    std::vector<SourceLine> lines;
    if (!reader.read(lines, error))
        return false;
    std::vector<std::map<int, std::pair<std::string, int>>> sets(kTableTextSetCount);
    for (const SourceLine& line : lines) {
        if (line.fields.size() != 2)
            return reader.fail(line.number, "expected \"set.item | text\"", error);
        const std::string& key = line.fields[0];
        const size_t dot = key.find('.');
        if (dot == std::string::npos)
            return reader.fail(line.number, "the key \"" + key + "\" is not set.item", error);
        int set = 0;
        int item = 0;
        if (!reader.number(line, key.substr(0, dot), 0, kTableTextSetCount - 1, "set", set, error) ||
            !reader.number(line, key.substr(dot + 1), 0, kLargestItem, "item", item, error))
            return false;
        if (line.fields[1].empty())
            return reader.fail(line.number, "an empty text; leave the item out", error);
        const auto [found, inserted] = sets[set].emplace(item, std::make_pair(line.fields[1], line.number));
        if (!inserted)
            return reader.fail(line.number, key + " already given on line " + std::to_string(found->second.second),
                               error);
    }
    StringBlock strings;
    std::vector<uint32_t> setTable;
    std::vector<uint32_t> itemTable;
    for (const auto& items : sets) {
        setTable.push_back(static_cast<uint32_t>(itemTable.size() * 4));
        const int count = items.empty() ? 0 : items.rbegin()->first + 1;
        for (int item = 0; item < count; ++item) {
            const auto found = items.find(item);
            itemTable.push_back(found == items.end() ? 0 : strings.add(found->second.first));
        }
        itemTable.push_back(0);  // the set's end
    }
    return writeCompiled(outputPath, error, [&](CBinaryWriter& writer) {
        writer.WriteU32(0);
        writer.WriteU32(kTableTextSetCount);
        writer.WriteU32(static_cast<uint32_t>(strings.bytes().size()));
        writer.WriteU32(static_cast<uint32_t>(itemTable.size() * 4));
        writer.WriteU32(static_cast<uint32_t>(setTable.size() * 4));
        for (uint32_t offset : setTable)
            writer.WriteU32(offset);
        for (uint32_t offset : itemTable)
            writer.WriteU32(offset);
        writeBlock(writer, strings.bytes());
    });
}

bool compileTextDescriptionScript(const std::string& sourcePath, const std::string& outputPath, std::string& error)
{
    SourceReader reader(sourcePath);
    std::vector<SourceLine> lines;
    if (!reader.read(lines, error))
        return false;
    struct Record {
        int16_t x;
        int16_t y;
        std::string text;
    };
    std::map<int, std::vector<Record>> descriptions;
    int previousId = -1;
    for (const SourceLine& line : lines) {
        if (line.fields.size() != 2 && line.fields.size() != 4)
            return reader.fail(line.number, "expected \"id | x | y | text\" or \"id | left|center|right\"", error);
        int id = 0;
        if (!reader.number(line, line.fields[0], 0, kLargestDescription, "description id", id, error))
            return false;
        if (id != previousId && descriptions.count(id))
            return reader.fail(line.number, "description " + std::to_string(id) + " is split; keep its lines together",
                               error);
        previousId = id;
        std::vector<Record>& records = descriptions[id];
        if (line.fields.size() == 2) {
            static const std::map<std::string, int> commands = {
                {"left", kLeftCommand}, {"center", kCentreCommand}, {"right", kRightCommand}};
            const auto command = commands.find(line.fields[1]);
            if (command == commands.end())
                return reader.fail(line.number, "unknown alignment \"" + line.fields[1] + "\"", error);
            records.push_back({static_cast<int16_t>(command->second), 0, {}});
            continue;
        }
        int x = 0;
        int y = 0;
        if (!reader.number(line, line.fields[1], 0, kLargestPosition, "x", x, error) ||
            !reader.number(line, line.fields[2], 0, kLargestPosition, "y", y, error))
            return false;
        const std::string& text = line.fields[3];
        if (text.empty())
            return reader.fail(line.number, "an empty text", error);
        if (std::count(text.begin(), text.end(), '\t') >= kDescriptionLines)
            return reader.fail(line.number, "a text has at most 6 lines", error);
        records.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y), text});
    }
    const uint32_t indexCount = descriptions.empty() ? 0 : static_cast<uint32_t>(descriptions.rbegin()->first + 1);
    std::vector<uint32_t> index(indexCount, 0xFFFFFFFF);
    StringBlock strings;
    std::vector<std::pair<Record, uint32_t>> records;
    for (const auto& [id, run] : descriptions) {
        index[id] = static_cast<uint32_t>(records.size() * 4);
        for (const Record& record : run)
            records.push_back({record, record.text.empty() ? 0 : strings.add(record.text)});
        records.push_back({{-1, -1, {}}, 0});  // the run's end
    }
    return writeCompiled(outputPath, error, [&](CBinaryWriter& writer) {
        writer.WriteU32(0);
        writer.WriteU32(indexCount);
        writer.WriteU32(static_cast<uint32_t>(strings.bytes().size()));
        writer.WriteU32(static_cast<uint32_t>(records.size()));
        writer.WriteU32(indexCount);
        for (uint32_t entry : index)
            writer.WriteU32(entry);
        for (const auto& [record, offset] : records) {
            writer.WriteI16(record.x);
            writer.WriteI16(record.y);
            writer.WriteU32(offset);
        }
        writeBlock(writer, strings.bytes());
    });
}

bool compileLanguage(const std::string& sourceFolder, const std::string& gameFolder, const std::string& language,
                     std::string& error)
{
    const fs::path source(sourceFolder);
    const fs::path game(gameFolder);
    return compileControlScript((source / "ControlScript.txt").string(),
                                (game / "ControlsScripts" / language / "ControlScript.csc").string(), error) &&
           compileTableTextScript((source / "TableTextScript.txt").string(),
                                  (game / "TableTextScript" / language / "TableTextScript.ttc").string(), error) &&
           compileTextDescriptionScript(
               (source / "TextDescriptionScript.txt").string(),
               (game / "TextDescriptionScript" / language / "TextDescriptionScript.tdc").string(), error);
}

}  // namespace tools
