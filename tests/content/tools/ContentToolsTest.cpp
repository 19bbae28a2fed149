// The content tools: pictures painted from grids, levels compiled from character maps, strict tables.
#include "ArtCompiler.h"
#include "LevelCompiler.h"
#include "TextSource.h"
#include "TypeTables.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>

namespace fs = std::filesystem;

namespace
{
// A scratch folder of source files, removed at the end of the test.
class Sources
{
  public:
    Sources()
        : mPath(fs::temp_directory_path() /
                ("kes-tools-" + std::to_string(reinterpret_cast<std::uintptr_t>(this))))
    {
        fs::create_directories(mPath);
        Write("palette.txt", "_ key 128 0 128\nr red 255 0 0\ng green 0 255 0\nb blue 0 0 255\n");
    }
    ~Sources() { fs::remove_all(mPath); }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(mPath / name, std::ios::binary) << text;
        return (mPath / name).string();
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(mPath / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    const fs::path& Path() const { return mPath; }

  private:
    fs::path mPath;
};

std::string ErrorOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const std::exception& error)
    {
        return error.what();
    }
    return "";
}

const char* kTileTypes = "// test tiles\n000000 0 0 0 0 0 0 0\n808890 tiles 0 0 0 0 1 0\n";
const char* kEntityTypes = "Player Player 0 0 0 1 0 -10\nEnemy Blob1 0 1 0 1 0 -1\n";
} // namespace

TEST(ArtCompiler, DrawsGridsWithSwapFlipAndScale)
{
    Sources sources;
    const std::string art = sources.Write("a.art", "palette palette.txt\nsize 8 4 _\ngrid g\nrg.\n"
                                                   "draw g 0 0\ndraw g 0 1 flip\ndraw g 0 2 swap=r:b\n"
                                                   "draw g 4 0 scale=2\n");
    ArtCompiler compiler;
    compiler.Compile(art);
    const Picture& picture = compiler.GetPicture();
    EXPECT_EQ(0xFF0000u, picture.Get(0, 0));
    EXPECT_EQ(0x00FF00u, picture.Get(1, 0));
    EXPECT_EQ(0x800080u, picture.Get(2, 0)) << "'.' leaves the fill";
    EXPECT_EQ(0x800080u, picture.Get(0, 1)) << "flipped: the clear pixel comes first";
    EXPECT_EQ(0x00FF00u, picture.Get(1, 1));
    EXPECT_EQ(0xFF0000u, picture.Get(2, 1));
    EXPECT_EQ(0x0000FFu, picture.Get(0, 2));
    for (int y : {0, 1})
    {
        EXPECT_EQ(0xFF0000u, picture.Get(5, y)) << "scaled pixels cover two by two";
        EXPECT_EQ(0x00FF00u, picture.Get(6, y));
    }
}

TEST(ArtCompiler, GlyphsLandInTheirCellAndOutlinesStayInTheirCell)
{
    Sources sources;
    const std::string art = sources.Write("f.art", "palette palette.txt\nsize 8 4 _\ncell 2 2 4\n"
                                                   "glyph #\nrr\nrr\n\noutline b 2 2\n");
    ArtCompiler compiler;
    compiler.Compile(art);
    const Picture& picture = compiler.GetPicture();
    // '#' is character 35, glyph 3: column 3 of the first row of 2x2 cells.
    EXPECT_EQ(0xFF0000u, picture.Get(6, 0));
    EXPECT_EQ(0xFF0000u, picture.Get(7, 1));
    // Its neighbour cell and the row below get no outline from it.
    EXPECT_EQ(0x800080u, picture.Get(5, 0));
    EXPECT_EQ(0x800080u, picture.Get(6, 2));
}

TEST(ArtCompiler, FaultsNameTheirFileAndLine)
{
    Sources sources;
    const std::string ragged = sources.Write("r.art", "palette palette.txt\nsize 4 4 _\ngrid g\nrr\nrrr\n");
    EXPECT_NE(std::string::npos, ErrorOf([&] { ArtCompiler().Compile(ragged); }).find("r.art:5:"));
    const std::string unknown = sources.Write("u.art", "palette palette.txt\nsize 4 4 _\ngrid g\nrz\n");
    EXPECT_NE(std::string::npos, ErrorOf([&] { ArtCompiler().Compile(unknown); }).find("u.art:4:"));
    const std::string missing = sources.Write("m.art", "palette palette.txt\nsize 4 4 _\ndraw nothing 0 0\n");
    EXPECT_NE(std::string::npos, ErrorOf([&] { ArtCompiler().Compile(missing); }).find("unknown grid"));
}

TEST(ArtCompiler, SavedPicturesReadBackWithTheSameColours)
{
    Sources sources;
    const std::string art =
        sources.Write("s.art", "palette palette.txt\nsize 3 1 _\ngrid g\nrgb\ndraw g 0 0\n");
    ArtCompiler compiler;
    compiler.Compile(art);
    const std::string png = (sources.Path() / "s.png").string();
    compiler.GetPicture().Save(png);
    SDL_Surface* loaded = IMG_Load(png.c_str());
    ASSERT_NE(nullptr, loaded);
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    const auto* pixels = static_cast<const Uint32*>(argb->pixels);
    EXPECT_EQ(0xFF0000u, pixels[0] & 0xFFFFFF);
    EXPECT_EQ(0x00FF00u, pixels[1] & 0xFFFFFF);
    EXPECT_EQ(0x0000FFu, pixels[2] & 0xFFFFFF);
    SDL_FreeSurface(argb);
    SDL_FreeSurface(loaded);
}

TEST(TypeTables, RefuseLinesTheGameWouldSkipOrMisread)
{
    EXPECT_EQ((std::vector<std::string>{"a", "", "b"}), TypeTables::GameFields("a  b"));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), TypeTables::GameFields("a b "));
    Sources sources;
    const std::string entities = sources.Write("e.cfg", kEntityTypes);
    const std::string doubleSpace = sources.Write("t1.cfg", "808890  tiles 0 0 0 0 1 0\n");
    EXPECT_THROW(TypeTables().Load(doubleSpace, entities), std::runtime_error);
    const std::string repeated =
        sources.Write("t2.cfg", "808890 tiles 0 0 0 0 1 0\n808890 tiles 1 0 0 0 1 0\n");
    EXPECT_THROW(TypeTables().Load(repeated, entities), std::runtime_error);
    const std::string badFlag = sources.Write("t3.cfg", "808890 tiles 0 0 0 2 1 0\n");
    EXPECT_THROW(TypeTables().Load(badFlag, entities), std::runtime_error);
    // A ninth field makes a vent of one of the two phases; only tile types take one.
    const std::string badPhase = sources.Write("t5.cfg", "90D0E0 tiles 5 2 0 1 1 0 3\n");
    EXPECT_THROW(TypeTables().Load(badPhase, entities), std::runtime_error);
    const std::string vents =
        sources.Write("t6.cfg", "90D0E0 tiles 5 2 0 1 1 0 1\n90D0E1 tiles 5 2 0 1 1 0 2\n");
    EXPECT_THROW(TypeTables().Load(vents, sources.Write("e2.cfg", "Lift Lift 14 2 0 0 0 2 9\n")),
                 std::runtime_error);
    TypeTables tables;
    tables.Load(sources.Write("t4.cfg", std::string(kTileTypes) + "90D0E0 tiles 5 2 0 1 1 0 1\n"),
                sources.Write("e3.cfg", std::string(kEntityTypes) + "Lift Lift 14 2 0 0 0 2\n"));
    EXPECT_TRUE(tables.HasTileColor(0x90D0E0));
    EXPECT_EQ("Lift", tables.EntityBase("Lift"));
    EXPECT_TRUE(tables.HasTileColor(0x808890));
    EXPECT_FALSE(tables.HasTileColor(0x808891));
    EXPECT_EQ("Enemy", tables.EntityBase("Blob1"));
}

TEST(LevelCompiler, WritesLayersPlacementAndDescription)
{
    Sources sources;
    TypeTables tables;
    tables.Load(sources.Write("t.cfg", kTileTypes), sources.Write("e.cfg", kEntityTypes));
    const std::string legend =
        sources.Write("legend.txt", "back . 000000\nfore . 000000\nfore = 808890\n"
                                    "fore P entity Player 1 Player\nfore B entity Blob1 0 b1\n");
    std::string back, fore;
    for (int y = 0; y < 15; ++y)
    {
        back += std::string(20, '.') + "\n";
        fore += (y == 12   ? std::string("P..B") + std::string(16, '.')
                 : y == 13 ? std::string(20, '=')
                           : std::string(20, '.')) +
                "\n";
    }
    const std::string level =
        sources.Write("level.txt", "music homeward.ogg\nbackdrop\n" + back + "\nforeground\n" + fore);
    LevelCompiler compiler(tables);
    compiler.LoadLegend(legend);
    compiler.Compile(level);
    compiler.Write(sources.Path().string(), "one");
    EXPECT_NE(std::string::npos,
              sources.Read("one.map").find("one_bg.png one_col.png one.ent\nmusic homeward.ogg\n"));
    LevelCompiler badTune(tables);
    const std::string noTune = sources.Write("level2.txt", "music Homeward.wav\n");
    EXPECT_NE(std::string::npos, ErrorOf([&] { badTune.Compile(noTune); }).find("music <name>.ogg"));
    const std::string placement = sources.Read("one.ent");
    EXPECT_NE(std::string::npos, placement.find("\nPlayer 1 0 12\n"));
    EXPECT_NE(std::string::npos, placement.find("\nBlob1 0 3 12 b1\n"));
    SDL_Surface* collision = IMG_Load((sources.Path() / "one_col.png").string().c_str());
    ASSERT_NE(nullptr, collision);
    EXPECT_EQ(20, collision->w);
    EXPECT_EQ(15, collision->h);
    SDL_FreeSurface(collision);
}

TEST(LevelCompiler, RefusesLevelsTheGameCouldNotPlay)
{
    Sources sources;
    TypeTables tables;
    tables.Load(sources.Write("t.cfg", kTileTypes), sources.Write("e.cfg", kEntityTypes));
    LevelCompiler legendCheck(tables);
    EXPECT_NE(std::string::npos,
              ErrorOf([&] { legendCheck.LoadLegend(sources.Write("l1.txt", "fore # 123456\n")); })
                  .find("tiletypes"));
    const std::string legend =
        sources.Write("legend.txt", "back . 000000\nfore . 000000\nfore P entity Player 1 Player\n");
    auto level = [&](int width, int height, int players)
    {
        std::string back, fore;
        for (int y = 0; y < height; ++y)
        {
            back += std::string(width, '.') + "\n";
            fore += (y < players ? "P" + std::string(width - 1, '.') : std::string(width, '.')) + "\n";
        }
        return sources.Write("level.txt", "backdrop\n" + back + "\nforeground\n" + fore);
    };
    for (auto [width, height, players, fault] :
         {std::tuple{20, 15, 0, "exactly one player"}, std::tuple{20, 15, 2, "exactly one player"},
          std::tuple{19, 15, 1, "at least 20 x 15"}})
    {
        LevelCompiler compiler(tables);
        compiler.LoadLegend(legend);
        const std::string path = level(width, height, players);
        EXPECT_NE(std::string::npos, ErrorOf([&] { compiler.Compile(path); }).find(fault)) << fault;
    }
}

TEST(TextSource, AByteOrderMarkBeforeTheFirstLineIsIgnored)
{
    // Common editors save UTF-8 with EF BB BF in front; every tool reads through the one reader.
    Sources sources;
    TypeTables tables;
    tables.Load(sources.Write("t.cfg", "\xEF\xBB\xBF"
                                       "808890 tiles 0 0 0 0 1 0\n"),
                sources.Write("e.cfg", kEntityTypes));
    EXPECT_TRUE(tables.HasTileColor(0x808890));
    LevelCompiler compiler(tables);
    EXPECT_NO_THROW(compiler.LoadLegend(sources.Write("legend.txt", "\xEF\xBB\xBF"
                                                                    "back . 808890\n")));
    // Sources copied into the game's data, which knows no such mark, lose it.
    EXPECT_EQ("// story\n", TextSource::ReadBytes(sources.Write("story.txt", "\xEF\xBB\xBF// story\n")));
}

TEST(TextSource, ACommentMayFollowTheWordsOfADirective)
{
    Sources sources;
    const std::string art = sources.Write("c.art", "palette palette.txt // shared\nsize 2 1 _\n"
                                                   "grid g   // rows follow\nrg\n\ndraw g 0 0 // top-left\n");
    ArtCompiler compiler;
    compiler.Compile(art);
    EXPECT_EQ(0x00FF00u, compiler.GetPicture().Get(1, 0));
}
