#include "core/program_folder.h"

#include <cstdlib>

namespace trimora {

std::filesystem::path ResolveProgramFolder(const std::filesystem::path& executableDir) {
    if (const char* home = std::getenv("TRIMORA_HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home);
    return executableDir;
}

}  // namespace trimora
