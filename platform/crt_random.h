// The process-wide C-library-style random generator: integers 0 to 32767
// inclusive, seeded once. glibc's rand() has a far larger range, so the
// program uses its own generator with the range it relies on.
#pragma once

inline constexpr int CRT_RAND_MAX = 32767;

// Seeds the process-wide sequence.
void CrtSrand(unsigned int seed);

// Next value of the process-wide sequence, uniform over 0 to CRT_RAND_MAX.
int CrtRand();
