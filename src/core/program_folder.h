#pragma once

#include <filesystem>

namespace trimora {

// The folder holding Config, Lang, Projects and Help: TRIMORA_HOME when set, otherwise the
// executable's own folder.
std::filesystem::path ResolveProgramFolder(const std::filesystem::path& executableDir);

}  // namespace trimora
