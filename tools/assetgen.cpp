// Writes the program's generated assets into the folder given as the first argument.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/assets.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen OUTDIR\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const assetgen::Asset &asset : assetgen::generateAssets()) {
        const std::string path = folder + "/" + asset.fileName;
        std::FILE *file = std::fopen(path.c_str(), "wb");
        if (!file) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
        bool written = std::fwrite(asset.bytes.data(), 1, asset.bytes.size(), file) == asset.bytes.size();
        if (std::fclose(file) != 0 || !written) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
