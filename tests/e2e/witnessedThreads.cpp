// witnessedThreads.cpp -- starting the game with the thread witness preloaded, and reading it.
#include "e2e/witnessedThreads.h"

#include "testSupport.h"

#include <sstream>

ThreadWitness::ThreadWitness() : file_(makeTempDir("threads") / "left.txt") {}

std::map<std::string, std::string>
ThreadWitness::environment(const std::string& otherPreload) const {
    const std::string preload = otherPreload.empty() ? std::string(KAIVA_THREAD_WITNESS)
                                                     : otherPreload + ":" + KAIVA_THREAD_WITNESS;
    return {{"LD_PRELOAD", preload}, {"KAIVA_THREAD_WITNESS_OUT", file_.string()}};
}

std::vector<std::string> ThreadWitness::threadsLeft() const {
    std::vector<std::string> names;
    std::istringstream lines(readTextFile(file_));
    std::string name;
    while (std::getline(lines, name)) {
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> ThreadWitness::mainThreadAlone() {
    if (KAIVA_THREAD_SANITIZED) {
        return {"kaiva", "kaiva"};
    }
    return {"kaiva"};
}
