#pragma once

// While one lives, on any thread, Qt's image readers say nothing: their
// warnings ("Corrupt JPEG data", "Rejecting image") are English, and the
// caller tells in French what went wrong. The last one gone restores the
// logging filter found.
class MutedImageWarnings {
public:
    MutedImageWarnings();
    ~MutedImageWarnings();
    MutedImageWarnings(const MutedImageWarnings&) = delete;
    MutedImageWarnings& operator=(const MutedImageWarnings&) = delete;
};
