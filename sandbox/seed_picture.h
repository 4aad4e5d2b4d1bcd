#pragma once

#include <string>

namespace prunko::sandbox {

// The bytes of a small real JPEG picture.
const std::string& SeedPicture();

}  // namespace prunko::sandbox
