#include "platform/FlacMetadata.h"
#include <QFile>
#include <FLAC/metadata.h>
#include <memory>

namespace {
QString failureText(FLAC__Metadata_ChainStatus status)
{
    switch (status) {
    case FLAC__METADATA_CHAIN_STATUS_ERROR_OPENING_FILE:
        return QStringLiteral("le fichier ne peut pas être ouvert.");
    case FLAC__METADATA_CHAIN_STATUS_NOT_A_FLAC_FILE:
        return QStringLiteral("ce n'est pas un fichier FLAC.");
    case FLAC__METADATA_CHAIN_STATUS_MEMORY_ALLOCATION_ERROR:
        return QStringLiteral("la mémoire manque pour lire ses métadonnées.");
    default:
        return QStringLiteral("ses blocs de métadonnées sont endommagés et ne peuvent pas être lus.");
    }
}

void readComment(const FLAC__StreamMetadata_VorbisComment& comment, QMap<QString, QStringList>& comments)
{
    for (FLAC__uint32 k = 0; k < comment.num_comments; ++k) {
        const FLAC__StreamMetadata_VorbisComment_Entry& entry = comment.comments[k];
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(entry.entry),
                                               static_cast<qsizetype>(entry.length));
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals > 0)
            comments[text.left(equals).toUpper()] << text.mid(equals + 1);
    }
}
} // namespace

FlacMetadata::FlacMetadata(const QString& path)
{
    const std::unique_ptr<FLAC__Metadata_Chain, void (*)(FLAC__Metadata_Chain*)> chain(
        FLAC__metadata_chain_new(), FLAC__metadata_chain_delete);
    if (!chain) {
        m_failure = failureText(FLAC__METADATA_CHAIN_STATUS_MEMORY_ALLOCATION_ERROR);
        return;
    }
    if (!FLAC__metadata_chain_read(chain.get(), QFile::encodeName(path).constData())) {
        m_failure = failureText(FLAC__metadata_chain_status(chain.get()));
        return;
    }
    readBlocks(chain.get());
}

void FlacMetadata::readBlocks(FLAC__Metadata_Chain* chain)
{
    const std::unique_ptr<FLAC__Metadata_Iterator, void (*)(FLAC__Metadata_Iterator*)> blocks(
        FLAC__metadata_iterator_new(), FLAC__metadata_iterator_delete);
    if (!blocks)
        return;
    FLAC__metadata_iterator_init(blocks.get(), chain);
    do {
        const FLAC__StreamMetadata* block = FLAC__metadata_iterator_get_block(blocks.get());
        if (block->type == FLAC__METADATA_TYPE_VORBIS_COMMENT && !m_hasComment) {
            m_hasComment = true;
            readComment(block->data.vorbis_comment, m_comments);
        } else if (block->type == FLAC__METADATA_TYPE_PICTURE && m_frontCover.isEmpty()
                   && block->data.picture.type == FLAC__STREAM_METADATA_PICTURE_TYPE_FRONT_COVER) {
            const FLAC__StreamMetadata_Picture& picture = block->data.picture;
            m_frontCover = QByteArray(reinterpret_cast<const char*>(picture.data),
                                      static_cast<qsizetype>(picture.data_length));
            m_frontCoverMime = QString::fromLatin1(picture.mime_type);
        }
    } while (FLAC__metadata_iterator_next(blocks.get()));
}
