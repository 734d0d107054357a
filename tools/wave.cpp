#include "tools/wave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/bytes.h"

namespace assetgen {

Sound::Sound(int channelCount, int rate, float seconds)
    : channels(channelCount), sampleRate(rate),
      samples(static_cast<std::size_t>(std::lround(seconds * static_cast<float>(rate))) *
              static_cast<std::size_t>(channelCount))
{
}

void addBell(Sound &sound, const Strike &strike, const std::vector<Partial> &partials)
{
    const double rate = sound.sampleRate;
    const std::size_t frames = sound.frames();
    const std::size_t start = static_cast<std::size_t>(std::lround(strike.atSeconds * rate));
    const double attack = 0.006 * rate;
    // Constant-power panning.
    const double angle = (std::clamp(strike.pan, -1.0f, 1.0f) + 1.0) * std::numbers::pi / 4;
    const double left = sound.channels == 1 ? 1.0 : std::cos(angle) * std::numbers::sqrt2;
    const double right = sound.channels == 1 ? 1.0 : std::sin(angle) * std::numbers::sqrt2;
    const double nyquist = rate / 2;
    for (const Partial &p : partials) {
        double frequency = strike.frequency * p.ratio;
        if (frequency >= nyquist * 0.9)
            continue;
        double omega = 2 * std::numbers::pi * frequency / rate;
        // Level falls by 60 dB (a factor 1000) over ringSeconds.
        double decay = std::log(1000.0) / (p.ringSeconds * rate);
        for (std::size_t i = start; i < frames; ++i) {
            double t = static_cast<double>(i - start);
            double envelope = std::exp(-decay * t);
            if (envelope < 1e-5)
                break;
            if (t < attack)
                envelope *= 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
            double v = strike.gain * p.level * envelope * std::sin(omega * t);
            if (sound.channels == 1) {
                sound.samples[i] += static_cast<float>(v);
            } else {
                sound.samples[2 * i] += static_cast<float>(v * left);
                sound.samples[2 * i + 1] += static_cast<float>(v * right);
            }
        }
    }
}

void finishSound(Sound &sound, float peak, float fadeSeconds)
{
    float highest = 0;
    for (float s : sound.samples)
        highest = std::max(highest, std::abs(s));
    float scale = highest > 0 ? peak / highest : 0.0f;
    const std::size_t frames = sound.frames();
    const std::size_t fade =
        std::min(frames, static_cast<std::size_t>(fadeSeconds * static_cast<float>(sound.sampleRate)));
    for (std::size_t i = 0; i < frames; ++i) {
        float gain = scale;
        std::size_t left = frames - 1 - i;
        if (left < fade)
            gain *= static_cast<float>(
                0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(left) / static_cast<double>(fade)));
        for (int c = 0; c < sound.channels; ++c)
            sound.samples[i * static_cast<std::size_t>(sound.channels) + static_cast<std::size_t>(c)] *= gain;
    }
}

std::vector<std::uint8_t> encodeWav16(const Sound &sound)
{
    const unsigned channels = static_cast<unsigned>(sound.channels);
    const unsigned rate = static_cast<unsigned>(sound.sampleRate);
    const unsigned dataSize = static_cast<unsigned>(sound.samples.size()) * 2;
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataSize);
    putTag(out, "RIFF");
    put32(out, 36 + dataSize);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * channels * 2);
    put16(out, channels * 2);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataSize);
    for (float s : sound.samples) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put16(out, static_cast<unsigned>(static_cast<std::int16_t>(v)) & 0xFFFF);
    }
    return out;
}

} // namespace assetgen
