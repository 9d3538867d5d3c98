#include "platform/MutedImageWarnings.h"
#include <QLoggingCategory>
#include <cstring>
#include <mutex>

namespace {
// The categories of QImageReader and of its format plugins.
constexpr char ImageCategories[] = "qt.gui.imageio";

std::mutex guard;
int living = 0;
QLoggingCategory::CategoryFilter previous = nullptr;

void muteImageCategories(QLoggingCategory* category)
{
    if (previous)
        previous(category);
    if (std::strncmp(category->categoryName(), ImageCategories, sizeof ImageCategories - 1) != 0)
        return;
    for (const QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
        category->setEnabled(type, false);
}
} // namespace

// Counted, so that scopes overlapping on several threads restore the filter once.
MutedImageWarnings::MutedImageWarnings()
{
    const std::lock_guard<std::mutex> lock(guard);
    if (living++ > 0)
        return;
    // Known before ours applies: it asks the one found first.
    previous = QLoggingCategory::installFilter(nullptr);
    QLoggingCategory::installFilter(muteImageCategories);
}

MutedImageWarnings::~MutedImageWarnings()
{
    const std::lock_guard<std::mutex> lock(guard);
    if (--living == 0)
        QLoggingCategory::installFilter(previous);
}
