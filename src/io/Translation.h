// The player's language: every text a player reads goes through Tr (or TrN where a count is shown), which
// gives the chosen language's translation, or the English text where that language has none.
#pragma once

#include "io/MoCatalog.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// Marks a text for the translators' template where it is translated later (a table of texts).
#define TrNoop(text) text

// The English text's translation in the language in use.
const char* Tr(const char* english);
std::string Tr(const std::string& english);
// The form for count of a text with a plural: English takes singular for 1 and plural for the rest.
std::string TrN(const char* singular, const char* plural, unsigned long count);

class Translation
{
  public:
    Translation() = delete;

    // A language the game ships: its catalogue's code (such as "pt_BR") and its name in itself.
    struct Language
    {
        const char* mCode;
        const char* mName;
    };
    static const std::vector<Language>& Shipped();

    // Where the catalogues live, "<code>.mo" each.
    static constexpr const char* mFolder = "data/lang/";

    // Puts the language's catalogue in use ("" or "en" for English); false (and English) when it is missing
    // or damaged. The next text drawn is in the new language.
    static bool Use(const std::string& code);
    // Puts a catalogue read elsewhere in use (tests); null for English.
    static void Use(std::unique_ptr<MoCatalog> catalogue, const std::string& code);
    // The code of the language in use, "" for English.
    static const std::string& Current();

    // The shipped language for a list of locale names in order of preference (such as "de_AT.UTF-8" or
    // "pt-BR"): the first that names a shipped language, by its whole name, then by its language alone;
    // "" for English (also where "C", "POSIX" or "en" comes first).
    static std::string Match(const std::vector<std::string>& preferences);
    // The preferences of the desktop's environment, in gettext's order: LANGUAGE (a colon-separated list)
    // first, then the first set of LC_ALL, LC_MESSAGES and LANG.
    static std::vector<std::string>
    EnvironmentPreferences(const std::function<const char*(const char*)>& get);

    // Replaces "%1" to "%9" in a translated pattern with the values, so translators can move them.
    static std::string Format(const std::string& pattern, std::initializer_list<std::string> values);
};
