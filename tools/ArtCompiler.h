// Paints one picture from a text source: character grids in the shared palette plus a few drawing directives.
#pragma once

#include "Palette.h"
#include "Picture.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TextSource;

class ArtCompiler
{
  public:
    // Reads the source and paints the picture; throws with file and line on any fault.
    void Compile(const std::string& sourcePath);
    const Picture& GetPicture() const;

  private:
    using Grid = std::vector<std::string>;
    using Fields = std::vector<std::string>;

    // What a directive line may hold (the keyword counted) and the member that carries it out.
    struct Directive
    {
        std::size_t mFewestFields;
        std::size_t mMostFields;
        bool mNeedsPicture;
        void (ArtCompiler::*mHandle)(TextSource& source, const Fields& fields);
    };
    static const std::map<std::string, Directive>& Directives();

    void Process(TextSource& source);
    void IncludeDirective(TextSource& source, const Fields& fields);
    void PaletteDirective(TextSource& source, const Fields& fields);
    void SizeDirective(TextSource& source, const Fields& fields);
    void GridDirective(TextSource& source, const Fields& fields);
    void DrawDirective(TextSource& source, const Fields& fields);
    void CellDirective(TextSource& source, const Fields& fields);
    void GlyphDirective(TextSource& source, const Fields& fields);
    void ComposeDirective(TextSource& source, const Fields& fields);
    // The character a glyph field names: one UTF-8 character, "space", or U+XXXX.
    char32_t GlyphCode(TextSource& source, const std::string& field) const;
    // Paints a glyph grid into its font cell and keeps it for composing.
    void PlaceGlyph(TextSource& source, char32_t code, const Grid& grid);
    void RectDirective(TextSource& source, const Fields& fields);
    void GradientDirective(TextSource& source, const Fields& fields);
    void StarsDirective(TextSource& source, const Fields& fields);
    void DiscDirective(TextSource& source, const Fields& fields);
    void OutlineDirective(TextSource& source, const Fields& fields);
    void ShadowDirective(TextSource& source, const Fields& fields);

    // A grid whose characters must all be in the palette (or leave pixels unpainted).
    Grid ReadPaletteGrid(TextSource& source, const std::string& name);
    void Paint(int x, int y, char symbol);
    void DrawGrid(const Grid& grid, int x, int y, bool flip, const std::map<char, char>& swaps, int scale);
    void DrawWord(TextSource& source, const Fields& fields);
    void Gradient(int x, int y, int width, int height, const std::string& symbols);
    void Stars(unsigned seed, int count, int x, int y, int width, int height, const std::string& symbols);
    void Outline(char symbol, int cellWidth, int cellHeight);
    void Shadow(char symbol, int dx, int dy);
    void RequirePicture(const TextSource& source) const;

    Palette mPalette;
    std::unique_ptr<Picture> mPicture;
    std::vector<bool> mPainted; // pixels covered by anything but the initial fill
    std::map<std::string, Grid> mGrids;
    std::map<char32_t, Grid> mGlyphs; // the font glyphs painted so far, by character
    int mCellWidth = 8;
    int mCellHeight = 8;
    int mCellColumns = 12;
    int mIncludeDepth = 0; // of the file being read: 0 for the picture's own source
};
