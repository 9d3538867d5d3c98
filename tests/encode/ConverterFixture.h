#pragma once
#include "encode/AudioFileConverter.h"
#include "encode/TLameCoder.h"
#include "platform/CalvenorError.h"
#include "platform/LameEncoderLibrary.h"
#include "tags/FileTagStore.h"
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

// The converter with the real encoder and tags, over a scratch folder.
class ConverterFixture : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    // The French text action raised; empty when it raised none.
    static QString errorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const CalvenorError& e) {
            return e.message();
        }
        return QString();
    }

    QTemporaryDir dir;
    LameEncoderLibrary lame;
    TLameCoder coder{lame};
    FileTagStore tags;
    AudioFileConverter converter{coder, tags};
};
