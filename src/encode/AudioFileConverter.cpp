#include "encode/AudioFileConverter.h"
#include "platform/ConversionTarget.h"
#include "encode/ConvertError.h"
#include "encode/LamePcm.h"
#include "encode/Mp3Source.h"
#include "encode/PcmBytes.h"
#include "encode/SourceDevice.h"
#include "encode/TLameCoder.h"
#include "encode/WavReader.h"
#include "encode/ECDRIPError.h"
#include "encode/Mp3BlockEncoder.h"
#include "encode/RipOutput.h"
#include "platform/FlacDecoder.h"
#include "platform/FlacEncoder.h"
#include "platform/ITagStore.h"
#include <QtEndian>
#include <algorithm>
#include <memory>

namespace {
ConvertError cannotWrite(const QString& target)
{
    return ConvertError(QStringLiteral("Impossible d'écrire le fichier \"%1\".").arg(target));
}

ConvertError refusedFormat(const QString& encoder, const QString& source, int sampleRate, int channels)
{
    return ConvertError(QStringLiteral("L'encodeur %1 n'accepte pas le format du fichier \"%2\" (%3 Hz, %4 canaux).")
                            .arg(encoder, source)
                            .arg(sampleRate)
                            .arg(channels));
}

constexpr int Mp3Bits = 16;
// The largest audio a RIFF header's 32-bit sizes can announce.
constexpr int64_t LargestWavData = 0xFFFFFFFFLL - 64;

// Appends 16-bit samples to buffer at `at`, little-endian.
void putLittleEndian(const std::vector<int32_t>& pcm, std::vector<uint8_t>& buffer, size_t at)
{
    std::vector<uint8_t> bytes;
    PcmBytes::Encode(pcm, Mp3Bits, Mp3Bits, bytes);
    buffer.resize(std::max(buffer.size(), at + bytes.size()));
    std::copy(bytes.begin(), bytes.end(), buffer.begin() + qsizetype(at));
}

void requireSound(const WavReader& wav, const QString& source)
{
    if (wav.DataBytes() == 0)
        throw ConvertError(QStringLiteral("Le fichier \"%1\" ne contient aucun son.").arg(source));
}

} // namespace

AudioFileConverter::AudioFileConverter(TLameCoder& coder, ITagStore& tags) : m_coder(coder), m_tags(tags) {}

void AudioFileConverter::warn(const QString& text) const
{
    if (OnWarning)
        OnWarning(text);
}

void AudioFileConverter::progress(double fraction)
{
    if (OnProgress)
        OnProgress(fraction);
    if (StopRequested && StopRequested())
        throw Stopped{};
}

void AudioFileConverter::pump(IPcmSource& pcm, const QString& source,
                              const std::function<void(const std::vector<int32_t>&)>& encode)
{
    bool any = false;
    std::vector<int32_t> samples;
    while (pcm.Read(samples)) {
        any = any || !samples.empty();
        encode(samples);
        samples.clear();
        progress(pcm.Fraction());
    }
    if (!any)
        throw ConvertError(QStringLiteral("Le fichier \"%1\" ne contient aucune trame audio complète : aucun "
                                          "fichier n'a été écrit.")
                               .arg(source));
}

void AudioFileConverter::toMp3(IPcmSource& source16, const QString& source, const QString& target)
{
    const QString mp3 = QStringLiteral("MP3");
    if (source16.Channels() > 2)
        throw refusedFormat(mp3, source, source16.SampleRate(), source16.Channels());
    LamePcm pcm(source16);
    m_coder.SetMode(pcm.Channels() == 1 ? MONO : STEREO);
    m_coder.SetSampleRate(uint32_t(pcm.SampleRate()));
    // The LAME tag carries the encoder's delay and padding: without it no
    // decoder can give back the source's exact length.
    m_coder.SetWriteVBRHeader(LAME_TRUE);
    ConversionTarget out(target);
    {
        RipOutput file(out.Descriptor(), target);
        std::unique_ptr<Mp3BlockEncoder> encoder;
        try {
            encoder = std::make_unique<Mp3BlockEncoder>(m_coder, file);
        } catch (const ECDRIPError&) {
            throw refusedFormat(mp3, source, pcm.SampleRate(), pcm.Channels());
        }
        try {
            std::vector<uint8_t> buffer(size_t(encoder->BlockSize()));
            pump(pcm, source, [&](const std::vector<int32_t>& samples) {
                putLittleEndian(samples, buffer, size_t(encoder->Leftover()));
                encoder->Consume(buffer.data(), int(samples.size() * 2));
            });
            // The end of the audio goes as a short last chunk, not dropped.
            encoder->Finish(buffer.data());
            file.Close();
        } catch (const ECDRIPError&) {
            throw cannotWrite(target);
        }
        if (file.PayloadBytes() == 0)
            throw ConvertError(QStringLiteral("L'encodeur MP3 n'a rien produit pour le fichier \"%1\" : "
                                              "aucun fichier n'a été écrit.")
                                   .arg(source));
    }
    commit(out, source, target);
}

void AudioFileConverter::toWav(IPcmSource& pcm, const QString& source, const QString& target)
{
    const int bits = pcm.BitsPerSample();
    const int container = PcmBytes::ContainerBits(bits);
    ConversionTarget out(target);
    {
        RipOutput file(out.Descriptor(), target);
        try {
            file.WriteWavHeader(pcm.Channels(), pcm.SampleRate(), 0, bits);
            pump(pcm, source, [&](const std::vector<int32_t>& samples) {
                std::vector<uint8_t> bytes;
                PcmBytes::Encode(samples, container, bits, bytes);
                file.Write(bytes.data(), int64_t(bytes.size()));
                if (file.PayloadBytes() > LargestWavData)
                    throw ConvertError(QStringLiteral("Le son du fichier \"%1\" dépasse les 4 Go qu'un fichier "
                                                      "WAV peut annoncer : convertissez-le en FLAC.")
                                           .arg(source));
            });
            file.FixWavSizes();
            file.Close();
        } catch (const ECDRIPError&) {
            throw cannotWrite(target);
        }
    }
    commit(out, source, target);
}

void AudioFileConverter::toFlac(IPcmSource& pcm, const QString& source, const QString& target)
{
    ConversionTarget out(target);
    {
        RipOutput file(out.Descriptor(), target);
        std::unique_ptr<FlacEncoder> flac;
        try {
            flac = std::make_unique<FlacEncoder>(file, pcm.Channels(), pcm.SampleRate(), FlacEncoder::DefaultLevel,
                                                 pcm.Frames(), pcm.BitsPerSample());
        } catch (const ECDRIPError&) {
            throw cannotWrite(target);
        } catch (const CalvenorError&) {
            throw refusedFormat(QStringLiteral("FLAC"), source, pcm.SampleRate(), pcm.Channels());
        }
        try {
            pump(pcm, source, [&](const std::vector<int32_t>& samples) {
                flac->Encode(samples.data(), int64_t(samples.size()) / pcm.Channels());
            });
            flac->Finish();
            file.Close();
        } catch (const ECDRIPError&) {
            throw cannotWrite(target);
        }
    }
    commit(out, source, target);
}

void AudioFileConverter::commit(ConversionTarget& out, const QString& source, const QString& target)
{
    // The tags go in before the data takes its name: a tag that cannot be
    // written leaves no target.
    TagFields tags;
    if (m_tags.Read(source, tags))
        m_tags.Write(out.DataPath(), target, tags);
    out.Commit();
}

void AudioFileConverter::warnIfTruncated(const WavReader& wav, const QString& source) const
{
    if (wav.Truncated())
        warn(QStringLiteral("L'en-tête du fichier \"%1\" annonce plus de son que le fichier n'en contient : "
                            "seule la partie présente a été convertie.")
                 .arg(source));
}

bool AudioFileConverter::WavToMp3(const QString& source, const QString& target)
{
    return fromWav(source, target, [&](WavReader& wav) { toMp3(wav, source, target); });
}

bool AudioFileConverter::WavToFlac(const QString& source, const QString& target)
{
    return fromWav(source, target, [&](WavReader& wav) { toFlac(wav, source, target); });
}

bool AudioFileConverter::fromWav(const QString& source, const QString& target,
                                 const std::function<void(WavReader&)>& encode)
{
    WavReader wav(source);
    requireSound(wav, source);
    if (!mayWrite(target))
        return false;
    encode(wav);
    warnIfTruncated(wav, source);
    return true;
}

bool AudioFileConverter::Mp3ToWav(const QString& source, const QString& target)
{
    Mp3Source mp3(source);
    if (!mayWrite(target))
        return false;
    toWav(mp3, source, target);
    return true;
}

bool AudioFileConverter::Mp3ToFlac(const QString& source, const QString& target)
{
    Mp3Source mp3(source);
    if (!mayWrite(target))
        return false;
    toFlac(mp3, source, target);
    return true;
}

bool AudioFileConverter::FlacToWav(const QString& source, const QString& target)
{
    FlacDecoder flac(SourceDevice::Open(source), source);
    if (!mayWrite(target))
        return false;
    toWav(flac, source, target);
    return true;
}

bool AudioFileConverter::FlacToMp3(const QString& source, const QString& target)
{
    FlacDecoder flac(SourceDevice::Open(source), source);
    if (!mayWrite(target))
        return false;
    toMp3(flac, source, target);
    return true;
}
