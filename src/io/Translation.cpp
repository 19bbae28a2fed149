// The language in use and the one way texts reach it; the catalogues are read by MoCatalog, the same on the
// desktop and in the browser.
#include "io/Translation.h"

#include <algorithm>
#include <cctype>

namespace
{
struct Active
{
    std::unique_ptr<MoCatalog> mCatalogue;
    std::string mCode;
};

Active& InUse()
{
    static Active active;
    return active;
}

// "de_AT.UTF-8@euro" and "de-at" both become "de_AT"; the language part in lower case.
std::string Normalise(const std::string& name)
{
    std::string text = name.substr(0, name.find_first_of(".@"));
    std::replace(text.begin(), text.end(), '-', '_');
    const std::size_t underscore = text.find('_');
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const auto c = static_cast<unsigned char>(text[i]);
        text[i] = static_cast<char>(underscore != std::string::npos && i > underscore ? std::toupper(c)
                                                                                      : std::tolower(c));
    }
    return text;
}
} // namespace

const char* Tr(const char* english)
{
    const Active& active = InUse();
    const std::string* found = active.mCatalogue ? active.mCatalogue->Find(english) : nullptr;
    return found ? found->c_str() : english;
}

std::string Tr(const std::string& english)
{
    const Active& active = InUse();
    const std::string* found = active.mCatalogue ? active.mCatalogue->Find(english) : nullptr;
    return found ? *found : english;
}

std::string TrN(const char* singular, const char* plural, unsigned long count)
{
    const Active& active = InUse();
    const std::string* found = active.mCatalogue ? active.mCatalogue->FindPlural(singular, count) : nullptr;
    return found ? *found : count == 1 ? singular : plural;
}

const std::vector<Translation::Language>& Translation::Shipped()
{
    static const std::vector<Language> languages = {
        {"de", "Deutsch"},  {"fr", "Français"}, {"es", "Español"}, {"pt_BR", "Português (Brasil)"},
        {"it", "Italiano"}, {"pl", "Polski"},   {"ru", "Русский"}};
    return languages;
}

bool Translation::Use(const std::string& code)
{
    if (code.empty() || code == "en")
    {
        Use(nullptr, "");
        return true;
    }
    auto catalogue = std::make_unique<MoCatalog>();
    // Only shipped codes name a file, so a preference can never point outside the folder.
    const auto& shipped = Shipped();
    const bool known = std::any_of(shipped.begin(), shipped.end(),
                                   [&](const Language& language) { return code == language.mCode; });
    if (!known || !catalogue->Load(mFolder + code + ".mo"))
    {
        Use(nullptr, "");
        return false;
    }
    Use(std::move(catalogue), code);
    return true;
}

void Translation::Use(std::unique_ptr<MoCatalog> catalogue, const std::string& code)
{
    Active& active = InUse();
    active.mCatalogue = std::move(catalogue);
    active.mCode = active.mCatalogue ? code : "";
}

const std::string& Translation::Current()
{
    return InUse().mCode;
}

std::string Translation::Match(const std::vector<std::string>& preferences)
{
    for (const std::string& preference : preferences)
    {
        const std::string name = Normalise(preference);
        const std::string language = name.substr(0, name.find('_'));
        if (name.empty())
            continue;
        if (name == "c" || name == "posix" || language == "en")
            return "";
        for (const Language& shipped : Shipped())
            if (name == shipped.mCode)
                return shipped.mCode;
        // "de_AT" takes German; "pt" takes the one Portuguese there is.
        for (const Language& shipped : Shipped())
        {
            const std::string code = shipped.mCode;
            if (code == language || code.substr(0, code.find('_')) == language)
                return code;
        }
    }
    return "";
}

std::vector<std::string>
Translation::EnvironmentPreferences(const std::function<const char*(const char*)>& get)
{
    std::vector<std::string> preferences;
    const char* list = get("LANGUAGE");
    if (list && *list)
    {
        std::string all = list;
        std::size_t start = 0;
        for (;;)
        {
            const std::size_t colon = all.find(':', start);
            preferences.push_back(all.substr(start, colon == std::string::npos ? colon : colon - start));
            if (colon == std::string::npos)
                break;
            start = colon + 1;
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
    {
        const char* value = get(name);
        if (value && *value)
        {
            preferences.push_back(value);
            break;
        }
    }
    return preferences;
}

std::string Translation::Format(const std::string& pattern, std::initializer_list<std::string> values)
{
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i)
    {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < values.size())
        {
            text += *(values.begin() + index);
            ++i;
        }
        else
        {
            text += pattern[i];
        }
    }
    return text;
}
