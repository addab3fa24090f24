#pragma once

#include <filesystem>

#include "flight/IgcHeader.h"

namespace quorvanta::test {

// Header details that pass every check, saving into `directory`.
IgcHeaderValues plausibleHeader(const std::filesystem::path& directory);

}  // namespace quorvanta::test
