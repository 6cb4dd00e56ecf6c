#pragma once

// The release number shown on the splash screen and the version label, written into design
// files and compared with the maker's current release.
constexpr const char *kAmpwrightVersion = "9.0.2";
