// Command line of the icon builder: kesicons <icon source> <icon theme folder> <icon name>.
#include "IconSheet.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: kesicons <icon source> <icon theme folder> <icon name>\n";
        return 2;
    }
    try
    {
        IconSheet sheet;
        sheet.Load(argv[1]);
        for (int size : sheet.Sizes())
        {
            // The layout of a freedesktop icon theme: <size>x<size>/apps/<name>.png.
            std::filesystem::path folder =
                std::filesystem::path(argv[2]) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
            std::filesystem::create_directories(folder);
            IconSheet::SaveWithAlpha(sheet.Render(size), (folder / (std::string(argv[3]) + ".png")).string());
        }
        std::cout << "kesicons: wrote " << sheet.Sizes().size() << " icon sizes to " << argv[2] << "\n";
    }
    catch (const std::exception& error)
    {
        std::cerr << "kesicons: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
