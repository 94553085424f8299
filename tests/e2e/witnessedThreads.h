// witnessedThreads.h -- the threads the real game still had at its very end, as the preload library
// of threadWitness.cpp noted them.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Noted after main() returned and every static destructor ran: the main thread alone ("kaiva")
// when every thread the game started was joined or ended.
class ThreadWitness {
public:
    ThreadWitness();
    // What to start the game with: the library preloaded (after `otherPreload`, when given) and
    // the file it writes to.
    std::map<std::string, std::string> environment(const std::string& otherPreload = {}) const;
    // One name a thread; empty when the game never got to its end (it crashed or was killed).
    std::vector<std::string> threadsLeft() const;
    // What threadsLeft() is for a game that ended everything it started: its main thread, and in
    // a ThreadSanitizer build also the sanitizer's own background thread, which it starts with the
    // program's first thread and keeps to the end (it has the program's name too).
    static std::vector<std::string> mainThreadAlone();

private:
    std::filesystem::path file_;
};
