// The program's random numbers: seeded once from the clock at start-up.
#pragma once

namespace app {

void SeedRandomFromClock();
// A whole number from low to high inclusive, each equally likely.
int RandomWholeNumber(int low, int high);

} // namespace app
