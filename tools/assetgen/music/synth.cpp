// synth.cpp -- the voices of our music: band-limited pulse and saw, triangle, sine and seeded
// noise, shaped by a smooth ADSR so that no note starts or stops with a click.
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Edges faster than these click, whatever a score asks for.
constexpr double kShortestAttack = 0.002;
constexpr double kShortestRelease = 0.005;

// A fixed-seed generator: the hiss of a drum is the same on every build.
struct NoiseSource {
    std::uint32_t state;
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>((state >> 9) & 0x7FFFu) / 16383.5 - 1.0;
    }
};

// Smooths the jump of a pulse or saw edge over one sample, so high notes do not alias harshly.
double polyBlep(double phase, double step) {
    if (phase < step) {
        const double x = phase / step;
        return x + x - x * x - 1.0;
    }
    if (phase > 1.0 - step) {
        const double x = (phase - 1.0) / step;
        return x * x + x + x + 1.0;
    }
    return 0.0;
}

double pulse(double phase, double step, double duty) {
    const double naive = phase < duty ? 1.0 : -1.0;
    const double fall = std::fmod(phase + 1.0 - duty, 1.0);
    // The offset keeps a narrow pulse centred on zero, so notes do not thump.
    return naive + polyBlep(phase, step) - polyBlep(fall, step) - (2.0 * duty - 1.0);
}

double oscillator(Wave wave, double phase, double step, double duty) {
    switch (wave) {
    case Wave::Sine:
        return std::sin(kTwoPi * phase);
    case Wave::Triangle:
        return 4.0 * std::abs(phase - 0.5) - 1.0;
    case Wave::Pulse:
        return pulse(phase, step, duty);
    case Wave::Saw:
        return 2.0 * phase - 1.0 - polyBlep(phase, step);
    case Wave::Noise:
        break;
    }
    return 0.0;
}

double heldLevel(const Instrument& instrument, double t) {
    const double attack = std::max<double>(instrument.attack, kShortestAttack);
    if (t < attack) {
        return t / attack;
    }
    const double x = instrument.decay > 0.0f ? (t - attack) / instrument.decay : 1.0;
    if (x >= 1.0) {
        return instrument.sustain;
    }
    return instrument.sustain + (1.0 - instrument.sustain) * (1.0 - x) * (1.0 - x);
}

double semitoneOffset(const Instrument& instrument, double t) {
    double semitones =
        instrument.sweep != 0.0f ? instrument.sweep * std::exp(-t / instrument.sweepTime) : 0.0;
    if (instrument.vibratoRate > 0.0f) {
        const double fadeIn =
            instrument.vibratoDelay > 0.0f ? std::min(1.0, t / instrument.vibratoDelay) : 1.0;
        semitones +=
            instrument.vibratoDepth * fadeIn * std::sin(kTwoPi * instrument.vibratoRate * t);
    }
    return semitones;
}

double filterCoefficient(double cutoff, unsigned sampleRate) {
    return 1.0 - std::exp(-kTwoPi * cutoff / sampleRate);
}

// The running state of one sounding note.
class Voice {
public:
    Voice(const Instrument& instrument, const NoteSound& note, unsigned sampleRate)
        : instrument_(instrument), note_(note), rate_(sampleRate), noise_{note.seed},
          lowCoefficient_(filterCoefficient(instrument.lowpass, sampleRate)),
          highCoefficient_(filterCoefficient(instrument.highpass, sampleRate)),
          spread_(std::pow(2.0, instrument.detune / 2400.0)) {}

    double next(double t) {
        const double tone = instrument_.wave == Wave::Noise ? 0.0 : detunedTone(t);
        const double noiseShare = instrument_.wave == Wave::Noise ? 1.0 : instrument_.noise;
        const double mixed = tone * (1.0 - noiseShare) + noise_.next() * noiseShare;
        return filter(mixed);
    }

private:
    double detunedTone(double t) {
        const double offset = semitoneOffset(instrument_, t);
        const double hz = offset == 0.0 ? note_.hz : note_.hz * std::pow(2.0, offset / 12.0);
        if (instrument_.detune <= 0.0f) {
            return advance(phases_[0], hz);
        }
        return 0.5 * (advance(phases_[0], hz / spread_) + advance(phases_[1], hz * spread_));
    }

    double advance(double& phase, double hz) {
        const double step = std::min(0.5, hz / rate_);
        const double value = oscillator(instrument_.wave, phase, step, instrument_.duty);
        phase = std::fmod(phase + step, 1.0);
        return value;
    }

    // Two gentle low-pass poles round off buzzy waves; one high-pass pole thins hats and shakers.
    double filter(double x) {
        if (instrument_.lowpass > 0.0f) {
            low1_ += lowCoefficient_ * (x - low1_);
            low2_ += lowCoefficient_ * (low1_ - low2_);
            x = low2_;
        }
        if (instrument_.highpass > 0.0f) {
            highState_ += highCoefficient_ * (x - highState_);
            x -= highState_;
        }
        return x;
    }

    const Instrument& instrument_;
    const NoteSound& note_;
    double rate_;
    NoiseSource noise_;
    double phases_[2] = {0.0, 0.25};
    double lowCoefficient_;
    double highCoefficient_;
    double spread_; // each detuned copy sits half the detune away from the note
    double low1_ = 0.0;
    double low2_ = 0.0;
    double highState_ = 0.0;
};

} // namespace

double envelopeLevel(const Instrument& instrument, double t, double hold) {
    if (t < 0.0) {
        return 0.0;
    }
    if (t < hold) {
        return heldLevel(instrument, t);
    }
    const double x = (t - hold) / std::max<double>(instrument.release, kShortestRelease);
    return x >= 1.0 ? 0.0 : heldLevel(instrument, hold) * (1.0 - x) * (1.0 - x);
}

double soundingSeconds(const Instrument& instrument, double hold) {
    const double attack = std::max<double>(instrument.attack, kShortestAttack);
    // A voice without sustain (a drum) falls silent after its decay, however long it is held.
    const double held =
        instrument.sustain > 0.0f ? hold : std::min(hold, attack + instrument.decay);
    return held + std::max<double>(instrument.release, kShortestRelease);
}

std::vector<float> renderNote(const Instrument& instrument, const NoteSound& note,
                              unsigned sampleRate) {
    const double seconds = soundingSeconds(instrument, note.holdSeconds);
    std::vector<float> samples(static_cast<std::size_t>(std::ceil(seconds * sampleRate)));
    Voice voice(instrument, note, sampleRate);
    const double loudness = instrument.gain * note.velocity;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double level = envelopeLevel(instrument, t, note.holdSeconds);
        samples[i] = static_cast<float>(voice.next(t) * level * loudness);
    }
    return samples;
}
