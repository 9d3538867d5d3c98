#pragma once
#include "platform/IShell.h"
#include <QStringList>

class FakeShell : public IShell {
public:
    QString documentsFolder() override { return documents; }
    bool open(const QString& pathOrUrl) override { opened << pathOrUrl; return opens; }
    std::optional<QString> browseFolder(const QString& title, const QString& preselected) override
    {
        browseTitles << title;
        browsePreselected << preselected;
        return nextChoice();
    }
    std::optional<QString> chooseFile(const QString& title, const QString& filter) override
    {
        fileTitles << title;
        fileFilters << filter;
        return nextChoice();
    }
    void beep() override { ++beeps; }
    void minimizeApplication() override { ++minimized; }
    void restoreApplication() override { ++restored; }

    QString documents = "/home/u/Documents";
    QStringList opened, browseTitles, browsePreselected, fileTitles, fileFilters;
    QStringList choices; // answers of the choosers, in order; none left or a null string = cancel
    int beeps = 0, minimized = 0, restored = 0;
    bool opens = true; // false: no application can open anything

private:
    std::optional<QString> nextChoice()
    {
        const QString c = choices.isEmpty() ? QString() : choices.takeFirst();
        if (c.isNull())
            return std::nullopt;
        return c;
    }
};
