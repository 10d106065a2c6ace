#include "tools/soundkit/Synth.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

namespace tools {

namespace {

constexpr uint32_t kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// A small fixed noise source.
class Noise {
public:
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<double>(m_state >> 11) / static_cast<double>(1ull << 53) * 2.0 - 1.0;
    }

private:
    uint64_t m_state = 0x9E3779B97F4A7C15ull;
};

bool number(const SynthSettings& settings, const std::string& key, double fallback, double low, double high,
            double& value, std::string& error)
{
    auto it = settings.find(key);
    if (it == settings.end()) {
        value = fallback;
        return true;
    }
    char* end = nullptr;
    value = std::strtod(it->second.c_str(), &end);
    if (end == it->second.c_str() || *end != '\0' || value < low || value > high) {
        error = "setting " + key + "=" + it->second + " is not a number from " + std::to_string(low) + " to " +
                std::to_string(high);
        return false;
    }
    return true;
}

int16_t clip(double v)
{
    return static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
}

}  // namespace

double noteFrequency(const std::string& name)
{
    static const int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
    if (name.size() < 2 || name.size() > 3)
        return 0;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (letter < 'A' || letter > 'G')
        return 0;
    int semitone = kSemitones[letter - 'A'];
    size_t at = 1;
    if (name[at] == '#' || name[at] == 'b') {
        semitone += name[at] == '#' ? 1 : -1;
        ++at;
    }
    if (at + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[at])))
        return 0;
    const int octave = name[at] - '0';
    const int fromA4 = (octave - 4) * 12 + semitone - 9;
    return 440.0 * std::pow(2.0, fromA4 / 12.0);
}

bool synthesiseEffect(const std::string& kind, uint32_t milliseconds, const SynthSettings& settings, Pcm& out,
                      std::string& error)
{
    out.channels = 1;
    out.rate = kRate;
    const size_t count = static_cast<size_t>(kRate) * milliseconds / 1000;
    out.samples.assign(count, 0);
    double level = 0;
    if (!number(settings, "level", 0.7, 0, 1, level, error))
        return false;
    Noise noise;
    if (kind == "click") {
        // A short tone burst with a noisy edge, gone within a few milliseconds.
        double pitch = 0;
        if (!number(settings, "pitch", 2000, 50, 8000, pitch, error))
            return false;
        for (size_t i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double envelope = std::exp(-t * 180.0);
            const double v = 0.7 * std::sin(2 * kPi * pitch * t) + 0.3 * noise.next();
            out.samples[i] = clip(level * envelope * v);
        }
        return true;
    }
    if (kind == "chime") {
        // Notes one after another, each a bell with two partials.
        auto it = settings.find("notes");
        std::vector<double> notes;
        for (size_t start = 0; it != settings.end() && start <= it->second.size();) {
            const size_t comma = std::min(it->second.find(',', start), it->second.size());
            const double f = noteFrequency(it->second.substr(start, comma - start));
            if (f == 0) {
                error = "notes=" + it->second + " holds something that is no note";
                return false;
            }
            notes.push_back(f);
            start = comma + 1;
        }
        if (notes.empty()) {
            error = "a chime needs notes=";
            return false;
        }
        const size_t each = count / notes.size();
        for (size_t i = 0; i < count; ++i) {
            const size_t n = std::min(i / std::max<size_t>(each, 1), notes.size() - 1);
            const double t = static_cast<double>(i - n * each) / kRate;
            const double envelope = std::exp(-t * 9.0) * std::min(1.0, t * 400.0);
            const double v = std::sin(2 * kPi * notes[n] * t) + 0.3 * std::sin(2 * kPi * notes[n] * 2.76 * t);
            out.samples[i] = clip(level * envelope * v / 1.3);
        }
        return true;
    }
    if (kind == "crowd") {
        // Many voices as noise through a resonance that slides down (a groan),
        // swelling in and dying away from the `from` level to the `to` level.
        double from = 0, to = 0, groan = 0;
        if (!number(settings, "from", 0.9, 0, 1, from, error) || !number(settings, "to", 0.2, 0, 1, to, error) ||
            !number(settings, "groan", 1, 0, 1, groan, error))
            return false;
        double low = 0, band = 0;
        for (size_t i = 0; i < count; ++i) {
            const double progress = count > 1 ? static_cast<double>(i) / static_cast<double>(count - 1) : 0;
            const double centre = 700.0 - groan * 450.0 * progress;
            // A state-variable filter tuned to the sliding centre.
            const double f = 2 * std::sin(kPi * centre / kRate);
            const double high = noise.next() - low - 0.5 * band;
            band += f * high;
            low += f * band;
            const double swell = std::min(1.0, progress * 8.0);
            const double envelope = swell * (from + (to - from) * progress);
            out.samples[i] = clip(level * envelope * (0.8 * band + 0.2 * low) * 0.6);
        }
        return true;
    }
    if (kind == "whistle") {
        // A pea whistle: a high tone with the pea's fast warble, blown in and
        // cut off sharply.
        double pitch = 0, warble = 0;
        if (!number(settings, "pitch", 2900, 500, 8000, pitch, error) ||
            !number(settings, "warble", 28, 0, 100, warble, error))
            return false;
        double phase = 0;
        for (size_t i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double rest = static_cast<double>(count - i) / kRate;
            const double envelope = std::min({1.0, t * 60.0, rest * 80.0});
            const double pea = 0.5 + 0.5 * std::sin(2 * kPi * warble * t);
            phase += 2 * kPi * pitch * (1.0 + 0.02 * pea) / kRate;
            const double v = std::sin(phase) * (0.75 + 0.25 * pea) + 0.05 * noise.next();
            out.samples[i] = clip(level * envelope * v);
        }
        return true;
    }
    error = "unknown kind of sound '" + kind + "' (click, chime, crowd or whistle)";
    return false;
}

bool synthesisePiece(const Piece& piece, Pcm& out, std::string& error)
{
    out.channels = 2;
    out.rate = kRate;
    if (piece.tempo < 30 || piece.tempo > 300) {
        error = piece.file + ": tempo must be from 30 to 300";
        return false;
    }
    const size_t stepFrames = static_cast<size_t>(kRate * 30.0 / piece.tempo);  // an eighth note
    size_t steps = 0;
    for (const Voice& voice : piece.voices)
        steps = std::max(steps, voice.steps.size());
    if (steps == 0) {
        error = piece.file + ": no notes";
        return false;
    }
    const size_t frames = steps * stepFrames + kRate / 2;  // a half-second tail
    std::vector<double> left(frames, 0), right(frames, 0);
    for (const Voice& voice : piece.voices) {
        double pan = 0.5, gain = 0.25;
        if (voice.instrument == "bass") {
            pan = 0.45;
            gain = 0.3;
        } else if (voice.instrument == "pad") {
            pan = 0.6;
            gain = 0.12;
        } else if (voice.instrument != "lead") {
            error = piece.file + ": unknown instrument '" + voice.instrument + "' (lead, bass or pad)";
            return false;
        }
        for (size_t s = 0; s < voice.steps.size(); ++s) {
            const std::string& step = voice.steps[s];
            if (step == "-" || step == ".")
                continue;
            const double f = noteFrequency(step);
            if (f == 0) {
                error = piece.file + ": '" + step + "' is no note";
                return false;
            }
            size_t held = 1;
            while (s + held < voice.steps.size() && voice.steps[s + held] == ".")
                ++held;
            const size_t length = held * stepFrames;
            const size_t release = kRate / 20;
            for (size_t i = 0; i < length + release && s * stepFrames + i < frames; ++i) {
                const double t = static_cast<double>(i) / kRate;
                double envelope = std::min(1.0, t * 200.0);
                if (i >= length)
                    envelope *= 1.0 - static_cast<double>(i - length) / release;
                double v = 0;
                const double phase = std::fmod(f * t, 1.0);
                if (voice.instrument == "lead") {
                    envelope *= 0.6 + 0.4 * std::exp(-t * 6.0);
                    v = 0.6 * std::sin(2 * kPi * phase) + 0.25 * std::sin(4 * kPi * phase) +
                        0.15 * std::sin(6 * kPi * phase);
                } else if (voice.instrument == "bass") {
                    v = 1.0 - 4.0 * std::abs(phase - 0.5);  // triangle
                } else {
                    v = std::sin(2 * kPi * phase) + 0.5 * std::sin(2 * kPi * std::fmod(f * 1.005 * t, 1.0));
                }
                const size_t at = s * stepFrames + i;
                left[at] += gain * envelope * v * (1.0 - pan) * 2.0;
                right[at] += gain * envelope * v * pan * 2.0;
            }
        }
    }
    out.samples.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        out.samples[2 * i] = clip(left[i]);
        out.samples[2 * i + 1] = clip(right[i]);
    }
    return true;
}

}  // namespace tools
