// The program's random numbers: seeded once from the clock at start-up.
#pragma once

namespace app {

void seedRandomFromClock();
// A whole number from low to high inclusive, each equally likely.
int randomWholeNumber(int low, int high);

} // namespace app
