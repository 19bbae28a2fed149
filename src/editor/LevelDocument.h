// A level as the editor holds it: its two layers of tile colours, its placed entities, its description and
// the names of its files; read from and written to the game's own level files.
#pragma once

#include "editor/PlacedEntity.h"
#include "io/PlayerFile.h"

#include <cstdint>
#include <string>
#include <vector>

class LevelDocument
{
  public:
    enum Layer
    {
        Backdrop = 0,
        Foreground = 1 // the layer that collides
    };

    // The sizes the game plays well: smaller levels leave the view outside them, larger ones are refused.
    static constexpr int mMinWidth = 20;
    static constexpr int mMinHeight = 15;
    static constexpr int mMaxSide = 1024;
    static constexpr long long mMaxCells = 1024LL * 1024LL;

    // An empty level of the given size (both layers colour 0, no entity).
    LevelDocument(int width = mMinWidth, int height = mMinHeight);

    // Reads a level description and the layer pictures and placement file it names beside it. Throws
    // std::runtime_error naming the file at fault.
    void Load(const std::string& path);
    // Writes the description at path and its pictures and placement file beside it, all four or none (see
    // WriteFiles). A level without file names takes them from the description's name ("name_bg.png",
    // "name_col.png", "name.ent").
    void Save(const std::string& path);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < mWidth && y < mHeight; }
    std::uint32_t Cell(int layer, int x, int y) const;
    void SetCell(int layer, int x, int y, std::uint32_t color);
    // Cuts or extends the level at its right and bottom edges; new cells are colour 0. Entities stay.
    void Resize(int width, int height);
    const std::vector<std::uint32_t>& Layer(int layer) const { return mLayers[layer]; }

    // The first entity on the cell, or -1.
    int EntityAt(int x, int y) const;
    // The description as the "// " comment lines that open a level's files.
    std::string DescriptionComments() const;
    // The tune the level names with a "music <name>" line of its description, as the game reads it; "" for
    // the usual one.
    std::string Music() const;

    // A colour as six uppercase hex digits, as the status line and the grids' legends say it.
    static std::string Hex(std::uint32_t color);
    // Writes the text as the file's whole content; throws std::runtime_error when it cannot.
    static void WriteText(const std::string& file, const std::string& text);
    // Writes the files all or nothing (PlayerFile::WriteAll); throws std::runtime_error saying which file
    // failed and why, said on standard error too, when they cannot be written.
    static void WriteFiles(const PlayerFile::Contents& files);

    std::vector<PlacedEntity> mEntities;
    // Lines of the placement file after its last entity line.
    std::vector<std::string> mPlacementTail;
    // The level's own words, kept as the comment lines that open its description file.
    std::string mDescription;
    std::string mBackgroundName;
    std::string mCollisionName;
    std::string mEntitiesName;

  private:
    void ReadDescription(const std::string& path);
    void ReadLayers(const std::string& folder);
    void ReadPlacement(const std::string& file);
    std::string DescriptionText() const;
    std::string PlacementText() const;

    int mWidth;
    int mHeight;
    std::vector<std::uint32_t> mLayers[2];
    // The description file's lines after its opening comments; the one naming the files is rewritten.
    std::vector<std::string> mDescriptionRest;
    int mNamesLine = -1; // index in mDescriptionRest of the line naming the files, -1 for none
};
