#include "sim/board_dir.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace sim {

namespace fs = std::filesystem;

bool isNewBoardDir(const std::string& root) { return !fs::exists(root + "/nv"); }

void prepareBoardDir(const std::string& root, bool isNew) {
    fs::create_directories(root + "/nv");
    fs::create_directories(root + "/dev");
    fs::create_directories(root + "/printer");
    if (!isNew) return;

    const fs::path eeprom = root + kEepromPath;
    if (!fs::exists(eeprom)) {
        fs::create_directories(eeprom.parent_path());
        std::ofstream out(eeprom, std::ios::binary);
        out << std::string(kEepromSize, '\xFF');
    }
    std::ofstream(root + "/dev/mmcblk0p1", std::ios::binary | std::ios::app);
    fs::create_directories(root + "/mnt/sd");
}

}  // namespace sim
