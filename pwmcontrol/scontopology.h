#pragma once

#include "pwmcontrol/scontypes.h"

#include <QString>

// What the wizard says about each topology: its description (step 1) and the captions of the
// output range (step 2), which name a voltage or a current depending on what the loop regulates.
namespace scon {

// Title, advantages and disadvantages, as shown in the description box.
QString topologyDescription(Topology t);

struct OutputCaptions
{
    QString maxLabel, minLabel, unit, note1, note2;
};

OutputCaptions outputCaptions(Topology t);

} // namespace scon
