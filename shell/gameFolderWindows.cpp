// gameFolderWindows.cpp -- the Windows side of gameFolder.h: the executable's folder becomes the
// current one, so that ./assets/ is the one beside kaiva.exe.
#include "shell/gameFolder.h"

#include <windows.h>

#include <filesystem>
#include <iostream>
#include <string>

namespace {

// The executable's full path; empty if Windows cannot tell it. Paths may be longer than MAX_PATH,
// so the buffer grows until the name fits.
std::wstring executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

void enterGameFolder() {
    const std::filesystem::path folder = std::filesystem::path(executablePath()).parent_path();
    std::error_code error;
    if (folder.empty()) {
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    } else {
        std::filesystem::current_path(folder, error);
    }
    // The assets are then looked for where the game was started, and their messages say which.
    if (error) {
        std::cerr << "kaiva: the game's own folder could not be entered (" << error.message()
                  << "); assets are read from the current folder" << std::endl;
    }
}
