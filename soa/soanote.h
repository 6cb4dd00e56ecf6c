#pragma once

#include <QString>

namespace soa {

// One line for the page's notes box. Red lines are the violations framed by "!!!"; black
// lines are advice.
struct SoaNote
{
    QString text;
    bool red = false;
};

} // namespace soa
