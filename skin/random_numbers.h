// The program's one pseudo-random generator: values spread evenly over 0 ... 32767, as the grain of
// the button faces and the automatic layout choice expect. Used on the user-interface thread only.
#pragma once

#include <cstdint>

namespace skin {

class RandomGenerator {
public:
    static constexpr int kMax = 32767;

    explicit RandomGenerator(std::uint32_t seed = 1) { Seed(seed); }
    void Seed(std::uint32_t seed);
    // 0 ... kMax.
    int Next();

private:
    std::uint64_t state = 0;
};

// The generator shared by the whole program.
RandomGenerator &ProgramRandom();

} // namespace skin
