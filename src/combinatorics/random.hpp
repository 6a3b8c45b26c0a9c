// The program's one pseudo-random generator, shared by every randomised
// search in the process and never seeded, so that each run repeats the same
// sequence. It is the classic generator of the Windows C runtime, so the
// random searches answer the same sets on every platform:
//   state = state * 214013 + 2531011 (mod 2^32), result = (state >> 16) & 0x7FFF,
// starting from state 1; the first three results are 41, 18467, 6334.
#pragma once

#include <cstdint>

namespace zestawy {

// Advances the process-wide state and returns a value in 0..32767.
int rand();

// The raw state, so that tests and tools can repeat a random search from the
// same point of the sequence. The program itself never calls these.
std::uint32_t randomState();
void setRandomState(std::uint32_t state);

}  // namespace zestawy
