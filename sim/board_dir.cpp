#include "sim/board_dir.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace sim {

namespace fs = std::filesystem;

void prepareBoardDir(const std::string& root) {
    // A directory without the record directory has never run a register.
    const bool fresh = !fs::exists(root + "/nv");
    fs::create_directories(root + "/nv");
    fs::create_directories(root + "/dev");
    fs::create_directories(root + "/mnt");
    fs::create_directories(root + "/printer");

    const fs::path eeprom = root + kEepromPath;
    if (!fs::exists(eeprom)) {
        fs::create_directories(eeprom.parent_path());
        std::ofstream out(eeprom, std::ios::binary);
        out << std::string(kEepromSize, '\xFF');
    }
    if (fresh) {
        std::ofstream(root + "/dev/mmcblk0p1", std::ios::binary);
        fs::create_directories(root + "/mnt/sd");
    }
}

}  // namespace sim
