#pragma once

// Raises a signal at a named step of a run when the environment asks for it:
// CALVENOR_SIGNAL_AT=step or step:n (n: a track number) and CALVENOR_SIGNAL
// (15 when unset). Tests use it to stop or kill the program at an exact step
// of its work rather than at a moment they guess; unset, it does nothing.
class SignalHook {
public:
    static void Reach(const char* step, int n = 0);
};
