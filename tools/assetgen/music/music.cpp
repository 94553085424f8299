// music.cpp -- the generator's music: each piece's score is read from scores/<name>.txt, rendered
// and written as <name>.wav. A malformed score stops the build with its file and line.
#include "music.h"

#include "mixer.h"
#include "score.h"
#include "wavWriter.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace {

// worldHost: roaming the world. introMusic: the camera flight over the world under the credits.
// changeChapter: the jingle of a new chapter or quest.
const char* const kPieces[] = {"worldHost", "introMusic", "changeChapter"};

std::optional<std::string> readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool generatePiece(const std::filesystem::path& scoreFile, const std::filesystem::path& wavFile) {
    const std::optional<std::string> text = readText(scoreFile);
    if (!text) {
        std::cerr << "assetgen: cannot read the score " << scoreFile.string() << std::endl;
        return false;
    }
    const ScoreResult result = parseScore(*text, scoreFile.string());
    if (!result.ok()) {
        std::cerr << "assetgen: " << result.error << std::endl;
        return false;
    }
    return writeWav(wavFile, toPcm(mixScore(result.score)), result.score.sampleRate);
}

} // namespace

bool generateMusic(const std::filesystem::path& dataDir, const std::filesystem::path& outDir) {
    for (const char* piece : kPieces) {
        const std::string name = piece;
        if (!generatePiece(dataDir / "scores" / (name + ".txt"), outDir / (name + ".wav"))) {
            return false;
        }
    }
    return true;
}
