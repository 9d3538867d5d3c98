#include "encode/AudioFileConverter.h"
#include "encode/ConversionTarget.h"
#include "encode/ConvertError.h"
#include "encode/Mp3Source.h"
#include "encode/TLameCoder.h"
#include "encode/WavReader.h"
#include "encode/ECDRIPError.h"
#include "encode/Mp3BlockEncoder.h"
#include "encode/RipOutput.h"
#include <QtEndian>
#include <memory>

namespace {
// Bytes read from the source between two looks at the window.
constexpr int PieceBytes = 64 * 1024;

ConvertError cannotWrite(const QString& target)
{
    return ConvertError(QStringLiteral("Impossible d'écrire le fichier \"%1\".").arg(target));
}

void writePcm(RipOutput& file, const std::vector<int16_t>& pcm)
{
    if (pcm.empty())
        return;
    std::vector<uint8_t> bytes(pcm.size() * 2);
    qToLittleEndian<int16_t>(pcm.data(), qsizetype(pcm.size()), bytes.data());
    file.Write(bytes.data(), int64_t(bytes.size()));
}

} // namespace

AudioFileConverter::AudioFileConverter(TLameCoder& coder) : m_coder(coder) {}

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

bool AudioFileConverter::WavToMp3(const QString& source, const QString& target)
{
    WavReader wav(source);
    if (wav.DataBytes() == 0)
        throw ConvertError(QStringLiteral("Le fichier \"%1\" ne contient aucun son.").arg(source));
    if (!mayWrite(target))
        return false;
    m_coder.SetMode(wav.Channels() == 1 ? MONO : STEREO);
    m_coder.SetSampleRate(uint32_t(wav.SampleRate()));
    // The LAME tag carries the encoder's delay and padding: without it no
    // decoder can give back the WAV's exact length.
    m_coder.SetWriteVBRHeader(LAME_TRUE);
    ConversionTarget out(target);
    {
        RipOutput file(out.Descriptor(), target);
        std::unique_ptr<Mp3BlockEncoder> encoder;
        try {
            encoder = std::make_unique<Mp3BlockEncoder>(m_coder, file);
        } catch (const ECDRIPError&) {
            throw ConvertError(QStringLiteral("L'encodeur MP3 n'accepte pas le format du fichier \"%1\" "
                                              "(%2 Hz, %3 canaux).")
                                   .arg(source)
                                   .arg(wav.SampleRate())
                                   .arg(wav.Channels()));
        }
        try {
            std::vector<uint8_t> buffer(size_t(PieceBytes + encoder->BlockSize()));
            while (const int64_t n = wav.Read(buffer.data() + encoder->Leftover(), PieceBytes)) {
                encoder->Consume(buffer.data(), int(n));
                progress(wav.DataBytes() > 0 ? double(wav.BytesRead()) / double(wav.DataBytes()) : 1.0);
            }
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
    out.Commit();
    if (wav.Truncated())
        warn(QStringLiteral("L'en-tête du fichier \"%1\" annonce plus de son que le fichier n'en contient : "
                            "seule la partie présente a été convertie.")
                 .arg(source));
    return true;
}

bool AudioFileConverter::Mp3ToWav(const QString& source, const QString& target)
{
    Mp3Source mp3(source);
    if (!mayWrite(target))
        return false;
    ConversionTarget out(target);
    {
        RipOutput file(out.Descriptor(), target);
        try {
            file.WriteWavHeader(mp3.Channels(), mp3.SampleRate(), 0);
            std::vector<int16_t> pcm;
            while (mp3.Read(pcm)) {
                writePcm(file, pcm);
                pcm.clear();
                progress(mp3.Fraction());
            }
            file.FixWavSizes();
            file.Close();
        } catch (const ECDRIPError&) {
            throw cannotWrite(target);
        }
    }
    out.Commit();
    return true;
}
