#include "platform/CueSheetCopy.h"
#include "platform/CalvenorError.h"
#include "platform/CueSheet.h"
#include "platform/CueSheetLayout.h"
#include <QFile>
#include <QFileInfo>

namespace {
const QString CopyName = QStringLiteral("disc.cue");
}

CueSheetCopy::CueSheetCopy(const QString& sheet, const CueSheetLayout& layout)
{
    QFile copy(Path());
    const bool made = m_dir.isValid() && copy.open(QIODevice::WriteOnly)
                      && copy.write(layout.LibcdioText()) == layout.LibcdioText().size() && copy.flush()
                      && QFile::link(QFileInfo(CueSheet::BinBeside(sheet)).absoluteFilePath(),
                                     CueSheet::BinBeside(Path()));
    if (!made)
        throw CalvenorError(QStringLiteral("Impossible de lire la feuille CUE « %1 » : le dossier temporaire "
                                           "n'a pas pu recevoir sa copie.")
                                .arg(sheet));
}

QString CueSheetCopy::Path() const
{
    return m_dir.filePath(CopyName);
}
