#pragma once

// When a changed document gets its recovery copy: this long after the last change, and never
// later than this long after the first change not yet in a copy.
struct RecoveryDelays
{
    int afterLastChange = 5000; // milliseconds
    int longest = 30000;
};
