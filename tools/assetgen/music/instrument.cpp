// instrument.cpp -- reads the key=value settings of an instrument through one table of limits.
#include "instrument.h"

#include "score.h"

#include <optional>
#include <sstream>
#include <utility>

namespace {

struct NumericParam {
    const char* key;
    float Instrument::*member;
    float low;
    float high;
};

// The ranges keep a typo in a score from turning into a deafening or endless voice.
const NumericParam kNumericParams[] = {
    {"duty", &Instrument::duty, 0.05f, 0.95f},
    {"attack", &Instrument::attack, 0.0f, 5.0f},
    {"decay", &Instrument::decay, 0.0f, 10.0f},
    {"sustain", &Instrument::sustain, 0.0f, 1.0f},
    {"release", &Instrument::release, 0.0f, 5.0f},
    {"gain", &Instrument::gain, 0.0f, 2.0f},
    {"sweep", &Instrument::sweep, -48.0f, 48.0f},
    {"sweeptime", &Instrument::sweepTime, 0.001f, 2.0f},
    {"vibrato", &Instrument::vibratoRate, 0.0f, 20.0f},
    {"depth", &Instrument::vibratoDepth, 0.0f, 2.0f},
    {"vibdelay", &Instrument::vibratoDelay, 0.0f, 5.0f},
    {"noise", &Instrument::noise, 0.0f, 1.0f},
    {"lowpass", &Instrument::lowpass, 0.0f, 20000.0f},
    {"highpass", &Instrument::highpass, 0.0f, 20000.0f},
    {"detune", &Instrument::detune, 0.0f, 100.0f},
    {"echo", &Instrument::echo, 0.0f, 1.0f},
};

const std::pair<const char*, Wave> kWaves[] = {
    {"sine", Wave::Sine}, {"triangle", Wave::Triangle}, {"pulse", Wave::Pulse},
    {"saw", Wave::Saw},   {"noise", Wave::Noise},
};

std::string setWave(Instrument& instrument, const std::string& value) {
    for (const auto& [name, wave] : kWaves) {
        if (value == name) {
            instrument.wave = wave;
            return {};
        }
    }
    return "unknown wave '" + value + "' (sine, triangle, pulse, saw or noise)";
}

std::string setPitch(Instrument& instrument, const std::string& value) {
    const std::optional<int> midi = midiNumber(value);
    if (!midi) {
        return "pitch '" + value + "' is not a note name like D2";
    }
    instrument.pitch = static_cast<float>(*midi);
    return {};
}

std::string setNumber(Instrument& instrument, const NumericParam& param, const std::string& value) {
    const std::optional<float> number = parseNumber(value);
    if (!number) {
        return std::string(param.key) + " needs a number, not '" + value + "'";
    }
    if (*number < param.low || *number > param.high) {
        std::ostringstream what;
        what << param.key << "=" << value << " is outside " << param.low << ".." << param.high;
        return what.str();
    }
    instrument.*param.member = *number;
    return {};
}

} // namespace

std::string setInstrumentParam(Instrument& instrument, const std::string& key,
                               const std::string& value) {
    if (key == "wave") {
        return setWave(instrument, value);
    }
    if (key == "pitch") {
        return setPitch(instrument, value);
    }
    for (const NumericParam& param : kNumericParams) {
        if (key == param.key) {
            return setNumber(instrument, param, value);
        }
    }
    return "unknown instrument setting '" + key + "'";
}
