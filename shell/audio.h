// audio.h -- is there a sound device? A music object that plays when there is one and stays
// silent, cheaply, when there is none.
#pragma once

#include <SFML/Audio/Music.hpp>

#include <memory>
#include <string>

// Whether an audio device can be opened. Asked of OpenAL once, on the first call; when no device
// exists, one line on standard error says that music is off.
bool audioDeviceAvailable();

// Without a device, SFML 2.5's streaming thread spins a whole core and floods the console with
// OpenAL errors as soon as a music plays. GameMusic therefore creates its sf::Music only when a
// device exists; otherwise every call is a silent no-op and openFromFile reports failure.
class GameMusic {
public:
    GameMusic();
    ~GameMusic();
    GameMusic(const GameMusic&) = delete;
    GameMusic& operator=(const GameMusic&) = delete;

    bool openFromFile(const std::string& path);
    void play(); // from where a pause left it, else from the start
    void stop();
    void pause();
    void setLoop(bool loop);
    void setVolume(float volume);

    // Back to a music object that never opened a file.
    void reset();

    bool isPlaying() const;
    bool isLooping() const;
    float volume() const;
    // The file last opened successfully; empty when none (or when there is no device).
    const std::string& openedFile() const { return openedFile_; }

private:
    std::unique_ptr<sf::Music> music_;
    std::string openedFile_;
};
