// Reads the clock values of media overlays (clipBegin, clipEnd) in every form books use:
// "1.5s", "1500ms", "0.5min", "1h", plain "1.5", "0:01.5", "00:00:01.500" and SMIL 1's
// "npt=1.5s". Anything else (negative, "inf", "1e3", minutes past 59) is not a time.
#ifndef PAGLY_TOOLS_IMPORT_SMILCLOCK_H
#define PAGLY_TOOLS_IMPORT_SMILCLOCK_H

#include <string>

namespace pagly::import {

// Digits with an optional fraction ("12", "12.5", ".5"): no sign, no exponent, no "inf".
bool parseUnsignedDecimal(const std::string& text, double& value, bool fractionAllowed = true);

// Seconds, or false when text is not a clock value.
bool parseSmilClock(const std::string& text, double& seconds);

}  // namespace pagly::import

#endif
