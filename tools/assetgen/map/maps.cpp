// maps.cpp -- placeholder maps until the world lands: grass in a ring of trees.
#include "map/maps.h"

#include <fstream>

bool generateMaps(const std::filesystem::path&, const std::filesystem::path& out) {
    std::ofstream ground(out / "mapLv0.txt");
    std::ofstream objects(out / "mapLv1.txt");
    for (int r = 0; r < 250; ++r) {
        for (int c = 0; c < 250; ++c) {
            ground << 1 << ' ';
            objects << ((r == 0 || c == 0 || r == 60 || c == 60) ? 500 : 0) << ' ';
        }
        ground << ";\n";
        objects << ";\n";
    }
    return bool(ground) && bool(objects);
}
