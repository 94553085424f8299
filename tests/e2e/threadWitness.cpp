// threadWitness.cpp -- a preload library that notes which threads a program still has at its very
// end: after main() returned and every static destructor ran (theirs are registered with atexit,
// and a library's own destructor runs after them all), it writes the name of each thread left in
// /proc/self/task, one a line, to the file named by KAIVA_THREAD_WITNESS_OUT. A program that joined
// or ended every thread it started leaves its main thread alone.
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string threadName(const std::string& task) {
    std::string name;
    if (std::FILE* comm = std::fopen(("/proc/self/task/" + task + "/comm").c_str(), "r")) {
        char line[64] = {};
        if (std::fgets(line, sizeof line, comm) != nullptr) {
            name = line;
        }
        std::fclose(comm);
    }
    return name.empty() || name.back() != '\n' ? name + '\n' : name;
}

__attribute__((destructor)) void noteThreadsLeft() {
    const char* path = std::getenv("KAIVA_THREAD_WITNESS_OUT");
    DIR* tasks = path != nullptr ? opendir("/proc/self/task") : nullptr;
    if (tasks == nullptr) {
        return;
    }
    std::string names;
    while (const dirent* task = readdir(tasks)) {
        if (task->d_name[0] != '.') {
            names += threadName(task->d_name);
        }
    }
    closedir(tasks);
    if (std::FILE* out = std::fopen(path, "w")) {
        std::fputs(names.c_str(), out);
        std::fclose(out);
    }
}

} // namespace
