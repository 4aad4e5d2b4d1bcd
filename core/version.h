#pragma once

namespace prunko {

// The program version: written into config.cfg, the log, the updater's
// parameters and the frame title.
inline constexpr char16_t kProgramVersion[] = u"1.59";

}  // namespace prunko
