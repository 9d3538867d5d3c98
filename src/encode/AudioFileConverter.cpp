#include "encode/AudioFileConverter.h"
#include "encode/ConversionTarget.h"
#include "encode/ConvertError.h"
#include "encode/TLameCoder.h"
#include "encode/WavReader.h"
#include "platform/FileError.h"
#include "platform/Mp3Decoder.h"
#include "encode/ECDRIPError.h"
#include "encode/Mp3BlockEncoder.h"
#include "encode/RipOutput.h"
#include <QFile>
#include <QtEndian>
#include <memory>

namespace {
// Bytes read from the source between two looks at the window.
constexpr int PieceBytes = 64 * 1024;

ConvertError cannotWrite(const QString& target)
{
    return ConvertError(QStringLiteral("Impossible d'écrire le fichier \"%1\".").arg(target));
}

ConvertError notReadableMp3(const QString& source)
{
    return ConvertError(QStringLiteral("Le fichier \"%1\" n'est pas un fichier MP3 lisible.").arg(source));
}

void writePcm(RipOutput& file, const std::vector<int16_t>& pcm)
{
    if (pcm.empty())
        return;
    std::vector<uint8_t> bytes(pcm.size() * 2);
    qToLittleEndian<int16_t>(pcm.data(), qsizetype(pcm.size()), bytes.data());
    file.Write(bytes.data(), int64_t(bytes.size()));
}

// Reads the next piece of an MP3 file; 0 at the end.
int64_t readPiece(QFile& in, std::vector<uint8_t>& piece, const QString& source)
{
    const int64_t n = in.read(reinterpret_cast<char*>(piece.data()), int64_t(piece.size()));
    if (n < 0)
        throw ConvertError(QStringLiteral("Le fichier \"%1\" n'a pas pu être lu jusqu'au bout.").arg(source));
    return n;
}
} // namespace

AudioFileConverter::AudioFileConverter(TLameCoder& coder) : m_coder(coder) {}

void AudioFileConverter::progress(int64_t done, int64_t total)
{
    if (OnProgress)
        OnProgress(total > 0 ? double(done) / double(total) : 1.0);
    if (StopRequested && StopRequested())
        throw Stopped{};
}

bool AudioFileConverter::WavToMp3(const QString& source, const QString& target)
{
    WavReader wav(source);
    if (!mayWrite(target))
        return false;
    m_coder.SetMode(wav.Channels() == 1 ? MONO : STEREO);
    m_coder.SetSampleRate(uint32_t(wav.SampleRate()));
    ConversionTarget out(target);
    {
        RipOutput file(out.TemporaryPath());
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
                progress(wav.BytesRead(), wav.DataBytes());
            }
            // The end of the audio is padded to a whole block, not dropped.
            encoder->Finish(buffer.data());
            file.Close();
        } catch (const ECDRIPError&) {
            throw cannotWrite(target);
        }
    }
    out.Commit();
    return true;
}

bool AudioFileConverter::Mp3ToWav(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw FileError::CannotOpen(source, in.errorString());
    Mp3Decoder decoder;
    std::vector<uint8_t> piece(PieceBytes);
    std::vector<int16_t> pcm;
    // Decode up to the first audio before creating anything.
    while (pcm.empty()) {
        const int64_t n = readPiece(in, piece, source);
        if (!decoder.Decode(piece.data(), size_t(n), pcm))
            throw notReadableMp3(source);
        if (n == 0)
            break;
    }
    if (pcm.empty() || !decoder.HeaderParsed())
        throw notReadableMp3(source);
    if (!mayWrite(target))
        return false;
    const int channels = decoder.Channels(), rate = decoder.SampleRate();
    ConversionTarget out(target);
    {
        RipOutput file(out.TemporaryPath());
        try {
            file.WriteWavHeader(channels, rate, 0);
            for (bool atEnd = false;;) {
                writePcm(file, pcm);
                pcm.clear();
                if (atEnd)
                    break;
                const int64_t n = readPiece(in, piece, source);
                atEnd = n == 0; // an empty piece empties the decoder
                if (!decoder.Decode(piece.data(), size_t(n), pcm) || decoder.Channels() != channels
                    || decoder.SampleRate() != rate)
                    throw ConvertError(
                        QStringLiteral("Le fichier \"%1\" est endommagé : son décodage a échoué.").arg(source));
                progress(in.pos(), in.size());
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
