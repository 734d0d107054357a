// PCM sounds: bell synthesis and RIFF/WAVE files.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

struct Sound {
    int channels = 1;
    int sampleRate = 22050;
    std::vector<float> samples; // interleaved, -1..1

    Sound(int channelCount, int rate, float seconds);
    std::size_t frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

// One partial of a bell: frequency as a multiple of the struck note, level, and the time in
// seconds in which it fades by 60 dB.
struct Partial {
    float ratio;
    float level;
    float ringSeconds;
};

struct Strike {
    float atSeconds;
    float frequency;
    float gain;
    float pan; // -1 left .. +1 right; ignored for mono
};

// Adds a struck bell; the attack rises over a few milliseconds, so it does not click.
void addBell(Sound &sound, const Strike &strike, const std::vector<Partial> &partials);
// Scales the sound to the given peak and fades out its last part to exact silence.
void finishSound(Sound &sound, float peak, float fadeSeconds);

std::vector<std::uint8_t> encodeWav16(const Sound &sound);

} // namespace assetgen
