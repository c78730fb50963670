// Writes the example grid files into a directory (default "Grids").
#include "io/example_grids.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: make_example_grids [DIRECTORY]\n");
        return 2;
    }
    const std::string dir = argc == 2 ? argv[1] : "Grids";
    for (const ExampleGrid& e : exampleGrids()) {
        const std::string path = dir + "/" + e.fileName;
        if (!saveGridFile(path, e.grid, e.settings)) {
            std::fprintf(stderr, "make_example_grids: cannot write '%s'\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
