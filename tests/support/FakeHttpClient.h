#pragma once
#include "platform/CalvenorError.h"
#include "platform/HttpCancelled.h"
#include "platform/HttpStatusError.h"
#include "platform/IHttpClient.h"
#include <QMap>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <atomic>
#include <chrono>
#include <thread>

// Answers CDDB requests by their command ("cddb query 0c01ac02 ..." with
// blanks) from a table, MusicBrainz requests by disc identifier and CTDB
// lookups by table of contents from others (404 for one missing there), any
// other address listed in files with its bytes; records every URL. A command missing
// from the table raises as a refused connection would. A silent server
// answers nothing: every request waits until it is cancelled.
class FakeHttpClient : public IHttpClient {
public:
    QByteArray Get(const QString& url, const HttpSettings& settings) override
    {
        urls << url;
        if (silent)
            waitUntilCancelled(settings);
        const qsizetype discId = url.indexOf(QLatin1String("/ws/2/discid/"));
        if (discId >= 0) {
            const QString id = url.mid(discId + 13).section('?', 0, 0);
            if (!musicBrainz.contains(id))
                throw HttpStatusError(QStringLiteral("Le serveur « test » a répondu par l'erreur HTTP 404."), 404);
            return musicBrainz.value(id);
        }
        if (url.contains(QLatin1String("/lookup2.php?"))) {
            const QString toc = QUrlQuery(QUrl(url).query()).queryItemValue(QStringLiteral("toc"));
            if (!ctdb.contains(toc))
                throw HttpStatusError(QStringLiteral("Le serveur « test » a répondu par l'erreur HTTP 404."), 404);
            return ctdb.value(toc);
        }
        if (files.contains(url))
            return files.value(url);
        const QString command = Command(url);
        commands << command;
        for (auto it = answers.cbegin(); it != answers.cend(); ++it)
            if (command.startsWith(it.key()))
                return it.value();
        throw CalvenorError(QStringLiteral("Connexion impossible au serveur « test »."));
    }
    // Bounded, so that a request nobody cancels ends the test instead of hanging it.
    void waitUntilCancelled(const HttpSettings& settings)
    {
        waiting = true;
        for (int waited = 0; waited < 10000; waited += 2) {
            if (settings.cancel && *settings.cancel)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        throw HttpCancelled();
    }
    // The cmd value of a request URL, its "+" read as blanks.
    static QString Command(const QString& url)
    {
        QString query = url.mid(url.indexOf('?') + 1);
        query.replace('+', ' ');
        return QUrlQuery(query).queryItemValue(QStringLiteral("cmd"), QUrl::FullyDecoded);
    }

    bool silent = false;
    // Set once a silent request waits.
    std::atomic<bool> waiting{false};
    QMap<QString, QByteArray> answers; // command prefix -> body
    QMap<QString, QByteArray> musicBrainz; // disc identifier -> JSON
    QMap<QString, QByteArray> ctdb;        // lookup table of contents -> XML
    QMap<QString, QByteArray> files;       // address -> body
    QStringList urls;
    QStringList commands;
};
