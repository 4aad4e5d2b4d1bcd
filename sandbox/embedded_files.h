#pragma once

#include <string>

namespace prunko::sandbox {

// Files compiled into the stand-ins (sandbox/data/).
// A small real JPEG, served as every goods item's picture.
const std::string& SeedPicture();
// A real order report (.xls, BIFF8) as Alimama exports it.
const std::string& SeedOrderReport();

}  // namespace prunko::sandbox
