#pragma once

#include <QString>

// The maker's web presence that the program points users to. The host can be redirected with
// the environment variable AMPWRIGHT_RELEASE_HOST (for example to a local test server).
namespace maker {

constexpr const char *kSite = "https://www.kestvoltrane.example";
constexpr const char *kSupportPage = "https://www.kestvoltrane.example/support/applications";
constexpr const char *kReleasePath = "/resources/tools/AmpwrightCurrentVersion.txt";
// The one-line invitation of the home page's support link.
constexpr const char *kSupportInvitation = "Get free help with your design";

} // namespace maker
