// Values the whole program shares for one run.
#pragma once

#include <string>

namespace augurlex {

// 1 when a network connection was reported while the main frame loaded, else 0.
int& Connected();

// The address of the page the browser pane is to show next; empty at start.
std::string& strURL();

// The program's random numbers: seeded once from the clock at start-up.
void SeedRandomFromClock();
// A whole number from low to high inclusive, each equally likely.
int RandomWholeNumber(int low, int high);

} // namespace augurlex
