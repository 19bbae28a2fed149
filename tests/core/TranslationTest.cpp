// The player's language: compiled catalogues read (plural rules included) and sound against broken and
// hostile files, the language found from the system's settings or chosen and kept in kesv.lang, and
// English wherever a catalogue has no translation.
#include "io/Translation.h"
#include "io/MoCatalog.h"
#include "player/LanguageChoice.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
// A literal's bytes, NULs included.
template <std::size_t N> std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

const char* const kPolishHeader = "Content-Type: text/plain; charset=UTF-8\n"
                                  "Plural-Forms: nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && "
                                  "(n%100<10 || n%100>=20) ? 1 : 2);\n";

std::string Polish(bool bigEndian = false)
{
    return test::MoBytes({{"", kPolishHeader},
                          {"New Game", "Nowa gra"},
                          {"Quit", ""}, // left untranslated
                          {Bytes("%1 level\0%1 levels"), Bytes("%1 poziom\0%1 poziomy\0%1 poziomów")}},
                         bigEndian);
}

TEST(MoCatalog, ReadsMessagesAndPluralFormsInEitherByteOrder)
{
    for (bool bigEndian : {false, true})
    {
        MoCatalog catalogue;
        ASSERT_TRUE(catalogue.Parse(Polish(bigEndian))) << bigEndian;
        ASSERT_NE(catalogue.Find("New Game"), nullptr);
        EXPECT_EQ(*catalogue.Find("New Game"), "Nowa gra");
        EXPECT_EQ(catalogue.Find("Quit"), nullptr) << "an empty translation is none";
        EXPECT_EQ(catalogue.Find("Options"), nullptr);
        const std::map<unsigned long, std::string> forms = {
            {1, "%1 poziom"},    {2, "%1 poziomy"},  {4, "%1 poziomy"},   {5, "%1 poziomów"},
            {12, "%1 poziomów"}, {22, "%1 poziomy"}, {25, "%1 poziomów"}, {0, "%1 poziomów"}};
        for (const auto& [count, form] : forms)
        {
            const std::string* found = catalogue.FindPlural("%1 level", count);
            ASSERT_NE(found, nullptr) << count;
            EXPECT_EQ(*found, form) << count;
        }
    }
}

TEST(MoCatalog, RefusesBrokenAndHostileFilesWhole)
{
    const std::string good = Polish();
    // Every shortened file is refused, whatever byte it stops at.
    for (std::size_t size = 0; size < good.size(); ++size)
    {
        MoCatalog catalogue;
        EXPECT_FALSE(catalogue.Parse(good.substr(0, size))) << size;
        EXPECT_EQ(catalogue.Size(), 0u);
    }
    const auto patched = [&](std::size_t at, std::string bytes)
    {
        std::string file = good;
        file.replace(at, bytes.size(), bytes);
        return file;
    };
    const std::map<std::string, std::string> hostile = {
        {"not a catalogue", patched(0, "GNU!")},
        {"a later major revision", patched(4, std::string("\0\0\1\0", 4))},
        {"a count beyond any file", patched(8, "\xff\xff\xff\x7f")},
        {"a table past the end", patched(12, "\xf0\xff\xff\x0f")},
        {"a string past the end", patched(28 + 8 + 4, "\xff\xff\xff\x7f")},
        {"a string longer than the file", patched(28 + 8, "\xff\xff\xff\xff")},
        {"a string without its NUL", patched(good.size() - 1, "x")},
        {"a plural rule that is no expression",
         test::MoBytes({{"", "Plural-Forms: nplurals=2; plural=n %;\n"}, {"a", "b"}})},
        {"no forms at all", test::MoBytes({{"", "Plural-Forms: nplurals=0; plural=0;\n"}})},
        {"a rule nested past reason",
         test::MoBytes({{"", "Plural-Forms: nplurals=2; plural=" + std::string(5000, '(') + "n" +
                                 std::string(5000, ')') + ";\n"}})},
    };
    for (const auto& [why, file] : hostile)
    {
        MoCatalog catalogue;
        EXPECT_FALSE(catalogue.Parse(file)) << why;
        EXPECT_EQ(catalogue.Find("New Game"), nullptr) << why;
    }
    // A rule may divide by zero or name a form the catalogue lacks: the last form stands in.
    MoCatalog odd;
    ASSERT_TRUE(odd.Parse(test::MoBytes({{"", "Plural-Forms: nplurals=2; plural=n/0 + (n>5 ? 7 : 0);\n"},
                                         {Bytes("a\0b"), Bytes("one\0many")}})));
    EXPECT_EQ(*odd.FindPlural("a", 3), "one");
    EXPECT_EQ(*odd.FindPlural("a", 9), "many");
    EXPECT_FALSE(odd.Load("no-such-file.mo"));
}

TEST(Translation, TextsFallBackToEnglishMessageByMessage)
{
    auto catalogue = std::make_unique<MoCatalog>();
    ASSERT_TRUE(catalogue->Parse(Polish()));
    Translation::Use(std::move(catalogue), "pl");
    EXPECT_EQ(Translation::Current(), "pl");
    EXPECT_STREQ(Tr("New Game"), "Nowa gra");
    EXPECT_STREQ(Tr("Quit"), "Quit");
    EXPECT_EQ(Translation::Format(TrN("%1 level", "%1 levels", 3), {"3"}), "3 poziomy");
    Translation::Use("");
    EXPECT_EQ(Translation::Current(), "");
    EXPECT_STREQ(Tr("New Game"), "New Game");
    EXPECT_EQ(TrN("%1 level", "%1 levels", 1), "%1 level");
    EXPECT_EQ(TrN("%1 level", "%1 levels", 0), "%1 levels");
    // Values may change places; a percent sign that names no value stays.
    EXPECT_EQ(Translation::Format("%2 x %1: 100%", {"a", "b"}), "b x a: 100%");
    EXPECT_EQ(Translation::Format("%3%", {"a"}), "%3%");

    // Only a shipped language's file is ever opened; a missing one leaves English.
    test::TempDir dir;
    dir.WriteFile("data/lang/pl.mo", Polish());
    dir.WriteFile("data/lang/../x.mo", Polish());
    EXPECT_TRUE(Translation::Use("pl"));
    EXPECT_STREQ(Tr("New Game"), "Nowa gra");
    EXPECT_FALSE(Translation::Use("../x"));
    EXPECT_FALSE(Translation::Use("de"));
    EXPECT_EQ(Translation::Current(), "");
    EXPECT_STREQ(Tr("New Game"), "New Game");
}

TEST(Translation, TheSystemsLanguageIsFoundInGettextsOrder)
{
    const std::map<std::string, std::string> environment = {
        {"LANGUAGE", "xx:fr_CA"}, {"LC_ALL", ""}, {"LC_MESSAGES", "ru_RU.UTF-8"}, {"LANG", "pl_PL.UTF-8"}};
    const auto get = [&](const std::map<std::string, std::string>& values)
    {
        return Translation::EnvironmentPreferences(
            [&](const char* name) -> const char*
            {
                const auto found = values.find(name);
                return found == values.end() ? nullptr : found->second.c_str();
            });
    };
    EXPECT_EQ(get(environment), (std::vector<std::string>{"xx", "fr_CA", "ru_RU.UTF-8"}));
    EXPECT_EQ(get({{"LANG", "de_DE.UTF-8"}}), std::vector<std::string>{"de_DE.UTF-8"});
    EXPECT_EQ(get({{"LC_ALL", "it_IT"}, {"LANG", "de_DE"}}), std::vector<std::string>{"it_IT"});
    EXPECT_TRUE(get({}).empty());

    const std::vector<std::pair<std::vector<std::string>, std::string>> matches = {
        {{"xx", "fr_CA", "ru_RU.UTF-8"}, "fr"},
        {{"de_AT.UTF-8@euro"}, "de"},
        {{"pt-BR"}, "pt_BR"},
        {{"pt_PT"}, "pt_BR"}, // the one Portuguese there is
        {{"RU"}, "ru"},
        {{"en_GB", "de"}, ""}, // English first
        {{"C"}, ""},
        {{"POSIX", "de"}, ""},
        {{"", "zh_CN", "es-419"}, "es"},
        {{}, ""},
    };
    for (const auto& [preferences, code] : matches)
    {
        EXPECT_EQ(Translation::Match(preferences), code) << ::testing::PrintToString(preferences);
    }
}

TEST(LanguageFile, KeptApartFromTheSettingsAndReadBackOrLeftAtAuto)
{
    test::TempDir dir;
    LanguageChoice choice;
    choice.Load();
    EXPECT_EQ(choice.mCode, "");
    EXPECT_EQ(choice.Resolve({"de_CH"}), "de");
    EXPECT_EQ(choice.Name(), "Auto");
    // Auto, then every language by its own name, round to Auto again.
    std::vector<std::string> names;
    for (std::size_t i = 0; i <= Translation::Shipped().size(); ++i)
    {
        choice.Step(1);
        names.push_back(choice.Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch", "Français", "Español", "Português (Brasil)",
                                               "Italiano", "Polski", "Русский", "Auto"}));
    choice.Step(-1);
    EXPECT_EQ(choice.mCode, "ru");
    EXPECT_EQ(choice.Resolve({"de"}), "ru");
    ASSERT_TRUE(choice.Save());
    EXPECT_FALSE(dir.Exists("kesv.cfg"));
    LanguageChoice read;
    read.Load();
    EXPECT_EQ(read.mCode, "ru");

    for (const char* garbled : {"language xx\n", "language\n", "tongue de\n", "language de extra\n"})
    {
        dir.WriteFile(LanguageChoice::mFileName, garbled);
        read.Load();
        EXPECT_EQ(read.mCode, "") << garbled;
    }
}
} // namespace
