// Command line of the content builder: kescontent <assets folder> <data folder>.
#include "ContentBuilder.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: kescontent <assets folder> <data folder>\n";
        return 2;
    }
    try
    {
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
