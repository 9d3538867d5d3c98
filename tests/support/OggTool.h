#pragma once
#include <QString>

// The reference decoders of Opus and Ogg Vorbis files (Debian opus-tools,
// vorbis-tools), independent of our encoders.
class OggTool {
public:
    // Sample frames of the file as opusdec (at sampleRate) or oggdec decodes it; -1 on failure.
    static int DecodedFrames(const QString& path, int sampleRate, int channels);
};
