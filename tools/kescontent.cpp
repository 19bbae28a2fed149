// Command line of the content builder: kescontent <assets folder> <data folder> builds the whole content;
// kescontent --level <assets folder> <level.txt> <folder> compiles one level, listed or not, for --level.
#include "ContentBuilder.h"

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const bool level = argc == 5 && std::string(argv[1]) == "--level";
    if (argc != 3 && !level)
    {
        std::cerr << "usage: kescontent <assets folder> <data folder>\n"
                     "       kescontent --level <assets folder> <level.txt> <folder>\n";
        return 2;
    }
    try
    {
        if (level)
        {
            for (const std::string& name : ContentBuilder(argv[2], "").BuildLevel(argv[3], argv[4]))
                std::cout << argv[4] << "/" << name << "\n";
            return 0;
        }
        ContentBuilder builder(argv[1], argv[2]);
        builder.Build();
        std::cout << "kescontent: wrote " << builder.Written().size() << " files to " << argv[2] << "\n";
    }
    catch (const std::exception& error)
    {
        std::cerr << "kescontent: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
