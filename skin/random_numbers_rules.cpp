#include "skin/random_numbers.h"

namespace skin {

void RandomGenerator::Seed(std::uint32_t seed)
{
    // Neighbouring seeds (milliseconds apart) must give unrelated sequences: splitmix64 scrambles
    // every step, so the state itself can simply start at the seed.
    state = seed;
}

int RandomGenerator::Next()
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<int>(z >> 49); // the top 15 bits
}

RandomGenerator &ProgramRandom()
{
    static RandomGenerator generator;
    return generator;
}

} // namespace skin
