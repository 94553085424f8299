// assetFiles.cpp -- which asset paths the game hands to the graphics and audio library at all.
#include "shell/assetFiles.h"

#include <filesystem>

bool assetMayBeOpened(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_type type = std::filesystem::status(path, error).type();
    // A path that cannot even be looked at (a loop of links, a folder we may not enter) is left
    // to the library too: its open fails at once and says why.
    return error || type == std::filesystem::file_type::regular ||
           type == std::filesystem::file_type::not_found;
}
