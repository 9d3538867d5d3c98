#pragma once
#include "platform/CalvenorError.h"
#include "platform/IHttpClient.h"
#include <QMap>
#include <QStringList>
#include <QUrlQuery>

// Answers CDDB requests by their command ("cddb query 0c01ac02 ..." with
// blanks) from a table; records every URL. A command missing from the
// table raises as a refused connection would.
class FakeHttpClient : public IHttpClient {
public:
    QByteArray Get(const QString& url, const HttpSettings&) override
    {
        urls << url;
        const QString command = Command(url);
        commands << command;
        for (auto it = answers.cbegin(); it != answers.cend(); ++it)
            if (command.startsWith(it.key()))
                return it.value();
        throw CalvenorError(QStringLiteral("Connexion impossible au serveur « test »."));
    }
    // The cmd value of a request URL, its "+" read as blanks.
    static QString Command(const QString& url)
    {
        QString query = url.mid(url.indexOf('?') + 1);
        query.replace('+', ' ');
        return QUrlQuery(query).queryItemValue(QStringLiteral("cmd"), QUrl::FullyDecoded);
    }

    QMap<QString, QByteArray> answers; // command prefix -> body
    QStringList urls;
    QStringList commands;
};
