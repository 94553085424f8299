// audio.cpp -- the sound device test and the silent-when-deviceless music object.
#include "shell/audio.h"

#include "shell/assetFiles.h"

#include <AL/alc.h>

#include <iostream>

namespace {

enum class DeviceState { Unknown, Present, Absent };
DeviceState deviceState = DeviceState::Unknown; // main thread only

bool probeDevice() {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr) {
        return false;
    }
    alcCloseDevice(device);
    return true;
}

} // namespace

bool audioDeviceAvailable() {
    if (deviceState == DeviceState::Unknown) {
        deviceState = probeDevice() ? DeviceState::Present : DeviceState::Absent;
        if (deviceState == DeviceState::Absent) {
            std::cerr << "kaiva: no audio device could be opened, music is off" << std::endl;
        }
    }
    return deviceState == DeviceState::Present;
}

GameMusic::GameMusic() = default;
GameMusic::~GameMusic() = default;

bool GameMusic::openFromFile(const std::string& path) {
    if (!audioDeviceAvailable()) {
        return false;
    }
    if (!music_) {
        music_ = std::make_unique<sf::Music>();
    }
    // A folder or a pipe fails as a file that does not open fails; SFML's own open stops the music
    // first, and so does this.
    if (!assetMayBeOpened(path)) {
        music_->stop();
        openedFile_.clear();
        return false;
    }
    if (!music_->openFromFile(path)) {
        openedFile_.clear();
        return false;
    }
    openedFile_ = path;
    return true;
}

// Playing a music whose file did not open would only make SFML complain on every call.
void GameMusic::play() {
    if (music_ && !openedFile_.empty()) {
        music_->play();
    }
}

void GameMusic::stop() {
    if (music_) {
        music_->stop();
    }
}

void GameMusic::pause() {
    if (music_) {
        music_->pause();
    }
}

void GameMusic::setLoop(bool loop) {
    if (music_) {
        music_->setLoop(loop);
    }
}

void GameMusic::setVolume(float volume) {
    if (music_) {
        music_->setVolume(volume);
    }
}

void GameMusic::reset() {
    music_.reset();
    openedFile_.clear();
}

bool GameMusic::isPlaying() const {
    return music_ && music_->getStatus() == sf::SoundSource::Playing;
}

bool GameMusic::isLooping() const {
    return music_ && music_->getLoop();
}

float GameMusic::volume() const {
    return music_ ? music_->getVolume() : 0.0f;
}
