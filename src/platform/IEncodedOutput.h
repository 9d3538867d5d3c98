#pragma once
#include <cstdint>

// Where an encoder's bytes go: appended at the end, or written over bytes
// already there (headers completed once the audio is known). Failures raise.
class IEncodedOutput {
public:
    virtual ~IEncodedOutput() = default;
    virtual void Write(const uint8_t* data, int64_t length) = 0;
    virtual void WriteAt(int64_t offset, const uint8_t* data, int64_t length) = 0;
};
