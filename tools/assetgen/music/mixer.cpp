// mixer.cpp -- the mix of a piece. A looping piece is rendered as exactly its whole bars, and
// whatever rings past the last bar (releases, drum decays, echoes) wraps round onto the first
// bars, where the player hears it when the music loops: no gap, no click, no tail cut off.
#include "mixer.h"

#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

std::size_t toSamples(double seconds, unsigned sampleRate) {
    return static_cast<std::size_t>(std::lround(seconds * sampleRate));
}

std::size_t pieceSamples(const Score& score) {
    const double bars = score.lengthTicks * score.secondsPerTick();
    return toSamples(score.loops ? bars : bars + score.tail, score.sampleRate);
}

void addSound(std::vector<float>& track, std::size_t start, const std::vector<float>& sound,
              float scale, bool wraps) {
    for (std::size_t i = 0; i < sound.size(); ++i) {
        std::size_t at = start + i;
        if (wraps) {
            at %= track.size();
        } else if (at >= track.size()) {
            return;
        }
        track[at] += sound[i] * scale;
    }
}

// wet[n] = send[n - delay] + feedback * wet[n - delay]. Round a loop the recurrence has no start,
// so it runs twice round the circle: by then what the first lap guessed has died away.
std::vector<float> echoOf(const std::vector<float>& send, std::size_t delay, float feedback,
                          bool wraps) {
    const std::size_t length = send.size();
    std::vector<float> wet(length, 0.0f);
    const int laps = wraps ? 2 : 1;
    for (int lap = 0; lap < laps; ++lap) {
        for (std::size_t n = wraps ? 0 : delay; n < length; ++n) {
            const std::size_t from = (n + length - delay) % length;
            wet[n] = send[from] + feedback * wet[from];
        }
    }
    return wet;
}

void fadeOut(std::vector<float>& samples, std::size_t fadeSamples) {
    fadeSamples = std::min(fadeSamples, samples.size());
    const std::size_t first = samples.size() - fadeSamples;
    for (std::size_t i = 0; i < fadeSamples; ++i) {
        const double x = static_cast<double>(i + 1) / fadeSamples;
        samples[first + i] *= static_cast<float>(0.5 * (1.0 + std::cos(kPi * x)));
    }
}

void normalise(std::vector<float>& samples) {
    float peak = 0.0f;
    for (float sample : samples) {
        peak = std::max(peak, std::abs(sample));
    }
    if (peak > 0.0f) {
        const float scale = static_cast<float>(kPeakLevel / peak);
        for (float& sample : samples) {
            sample *= scale;
        }
    }
}

void addEcho(const Score& score, std::vector<float>& mix, const std::vector<float>& send) {
    const double delaySeconds = score.echoBeats * kTicksPerBeat * score.secondsPerTick();
    const std::size_t delay = toSamples(delaySeconds, score.sampleRate);
    if (score.echoBeats <= 0.0f || delay == 0 || delay >= mix.size()) {
        return;
    }
    const std::vector<float> wet = echoOf(send, delay, score.echoFeedback, score.loops);
    for (std::size_t i = 0; i < mix.size(); ++i) {
        mix[i] += wet[i];
    }
}

} // namespace

std::vector<float> mixScore(const Score& score) {
    std::vector<float> mix(pieceSamples(score), 0.0f);
    std::vector<float> send(mix.size(), 0.0f);
    if (mix.empty()) {
        return mix;
    }
    const double secondsPerTick = score.secondsPerTick();
    for (std::size_t i = 0; i < score.notes.size(); ++i) {
        const NoteEvent& event = score.notes[i];
        const Instrument& instrument = score.instruments[event.instrument];
        const NoteSound note{midiToHz(event.midi), event.lengthTicks * secondsPerTick,
                             event.velocity, static_cast<std::uint32_t>(2654435761u * (i + 1))};
        const std::vector<float> sound = renderNote(instrument, note, score.sampleRate);
        const std::size_t start = toSamples(event.startTick * secondsPerTick, score.sampleRate);
        addSound(mix, start, sound, 1.0f, score.loops);
        addSound(send, start, sound, instrument.echo, score.loops);
    }
    addEcho(score, mix, send);
    if (!score.loops) {
        fadeOut(mix, toSamples(score.fade, score.sampleRate));
    }
    normalise(mix);
    return mix;
}

std::vector<std::int16_t> toPcm(const std::vector<float>& samples) {
    std::vector<std::int16_t> pcm(samples.size());
    std::transform(samples.begin(), samples.end(), pcm.begin(), [](float sample) {
        const long value = std::lround(sample * 32767.0f);
        return static_cast<std::int16_t>(std::clamp(value, -32767L, 32767L));
    });
    return pcm;
}
