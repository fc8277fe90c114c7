// Dice, chances and computer choices. All draw from the calling thread's
// rand() sequence (platform/rand.h).
#pragma once

// lo + trunc(rand()/32767 * (hi - lo)): lo .. hi-1 about evenly, hi only
// when rand() gives 32767; with hi < lo the results run downward from lo.
int RandomRange(int lo, int hi);
// The sum of n draws of the RandomRange rule; 0 when n < 1.
int RandomSum(int n, int lo, int hi);
// rand()/32767 as a float in 0..1.
float RandomFraction();
// An even pick of one index among n (0 .. n-1), each with the same odds; 0
// when n < 2. Used where one item of a list is chosen by chance.
int RandomIndex(int n);
