#pragma once

// libcdio prints its warnings on stderr by default; the program routes them
// nowhere, its own errors carry the French texts the user sees.
class CdioLog {
public:
    // Installs the silent handler; safe to call any number of times.
    static void Silence();
};
