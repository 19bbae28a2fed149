// Reading compiled gettext catalogues: the header, the two string tables and the plural rule. Every offset
// and length is checked against the file's size, since a catalogue is data from outside.
#include "io/MoCatalog.h"

#include <cstdint>
#include <fstream>
#include <sstream>

namespace
{
constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kSwappedMagic = 0xde120495;
// Far more than the game has texts: a count beyond it is a damaged file, not a big one.
constexpr std::uint32_t kMostMessages = 100000;

class Reader
{
  public:
    explicit Reader(const std::string& bytes) : mBytes(bytes) {}

    bool Word(std::size_t at, std::uint32_t& value) const
    {
        if (at > mBytes.size() || mBytes.size() - at < 4)
            return false;
        const auto byte = [&](std::size_t i)
        { return static_cast<std::uint32_t>(static_cast<unsigned char>(mBytes[at + i])); };
        value = mSwapped ? byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3)
                         : byte(3) << 24 | byte(2) << 16 | byte(1) << 8 | byte(0);
        return true;
    }
    // The table entry's string: a length, an offset, and the string must end in a NUL inside the file.
    bool String(std::uint32_t table, std::uint32_t index, std::string& text) const
    {
        std::uint32_t length = 0;
        std::uint32_t offset = 0;
        const std::size_t entry = static_cast<std::size_t>(table) + static_cast<std::size_t>(index) * 8;
        if (!Word(entry, length) || !Word(entry + 4, offset))
            return false;
        if (offset > mBytes.size() || mBytes.size() - offset <= length || mBytes[offset + length] != '\0')
            return false;
        text.assign(mBytes, offset, length);
        return true;
    }

    bool mSwapped = false;

  private:
    const std::string& mBytes;
};

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t end = text.find('\0', start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}
} // namespace

bool MoCatalog::Parse(const std::string& bytes)
{
    mMessages.clear();
    mRule = PluralRule();
    Reader reader(bytes);
    std::uint32_t magic = 0;
    if (!reader.Word(0, magic) || (magic != kMagic && magic != kSwappedMagic))
        return false;
    reader.mSwapped = magic == kSwappedMagic;
    std::uint32_t revision = 0, count = 0, originals = 0, translations = 0;
    // Only major revision 0 is a format this reader knows.
    if (!reader.Word(4, revision) || revision >> 16 != 0 || !reader.Word(8, count) ||
        !reader.Word(12, originals) || !reader.Word(16, translations) || count > kMostMessages)
        return false;
    std::map<std::string, std::vector<std::string>> messages;
    std::string header;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::string original;
        std::string translation;
        if (!reader.String(originals, i, original) || !reader.String(translations, i, translation))
            return false;
        if (original.empty())
        {
            header = translation;
            continue;
        }
        // The singular names a plural message; an empty translation means none.
        const std::string key = original.substr(0, original.find('\0'));
        std::vector<std::string> forms = Split(translation);
        if (!translation.empty())
            messages[key] = std::move(forms);
    }
    std::istringstream lines(header);
    std::string line;
    while (std::getline(lines, line))
        if (line.compare(0, 13, "Plural-Forms:") == 0 && !mRule.Parse(line.substr(13)))
            return false;
    mMessages = std::move(messages);
    return true;
}

bool MoCatalog::Load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        Parse("");
        return false;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return Parse(bytes.str());
}

const std::string* MoCatalog::Find(const std::string& message) const
{
    const auto found = mMessages.find(message);
    return found == mMessages.end() || found->second[0].empty() ? nullptr : &found->second[0];
}

const std::string* MoCatalog::FindPlural(const std::string& singular, unsigned long count) const
{
    const auto found = mMessages.find(singular);
    if (found == mMessages.end())
        return nullptr;
    const unsigned long form = mRule.Form(count);
    if (form >= found->second.size() || found->second[form].empty())
        return nullptr;
    return &found->second[form];
}
