// The program's pictures, icons, sounds and animation, each as the bytes of its file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/image.h"
#include "tools/wave.h"

namespace assetgen {

struct Asset {
    std::string fileName;
    std::vector<std::uint8_t> bytes;
};

std::vector<Asset> generateAssets();

// The pieces, for tests and for looking at them one by one.
Canvas teacupIcon(int size, bool steaming);
Canvas layoutBackground(int bitmapId);
Canvas nameBitmap();
Canvas serviceLamp(int bitmapId);
std::vector<Canvas> sendingAnimation();
Sound finishSound();
Sound reminderSound();

} // namespace assetgen
