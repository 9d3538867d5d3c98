#include "platform/CalvenorError.h"
#include "platform/IHttpClient.h"
#include "rip/CtdbDatabase.h"
#include "rip/CtdbParityFetch.h"
#include "rip/CtdbWindow.h"
#include "support/DotNetRandom.h"
#include <QByteArray>
#include <gtest/gtest.h>

namespace {
constexpr qsizetype RowBytes = CtdbWindow::RowBytes;

// A parity file of 16 rows served whole or by ranges, a range answered with
// as many bytes as the server chooses; records each request's length.
class ParityServer : public IHttpClient {
public:
    QByteArray Get(const QString&, const HttpSettings&) override { return file; }
    HttpPart GetFirstBytes(const QString& url, qsizetype bytes, const HttpSettings&) override
    {
        asked << bytes;
        urls << url;
        if (whole)
            return HttpPart{file, true};
        return HttpPart{file.left(partLength >= 0 ? partLength : bytes), false};
    }

    QByteArray file = rows(16);
    bool whole = false;
    qsizetype partLength = -1; // the server's own length for every part; −1: the one asked for
    QList<qsizetype> asked;
    QStringList urls;

    static QByteArray rows(int count)
    {
        QByteArray bytes(RowBytes * count, '\0');
        DotNetRandom(7).NextBytes(reinterpret_cast<uint8_t*>(bytes.data()), static_cast<size_t>(bytes.size()));
        return bytes;
    }
};

// The entry's syndrome: column 0's 16 syndromes.
CtdbDatabase::Entry entryFor(const QByteArray& file)
{
    CtdbDatabase::Entry entry;
    entry.Npar = 16;
    entry.Stride = 5880;
    entry.ParityAddress = QStringLiteral("http://p.test/42");
    for (int i = 0; i < 16; ++i)
        entry.Syndrome += file.mid(i * RowBytes, 2);
    return entry;
}
} // namespace

// A real answer of the database (bmwalters/python-cuetoolsdb, api.org), its
// parity at an absolute address; a path is on the lookup's host.
TEST(CtdbEntry, AnswerTellsItsParity)
{
    const QByteArray real = "<ctdb xmlns=\"http://db.cuetools.net/ns/mmd-1.0#\" "
                            "xmlns:ext=\"http://db.cuetools.net/ns/ext-1.0#\"><entry confidence=\"8\" crc32=\"5457b143\" "
                            "hasparity=\"http://p.cuetools.net/3117474\" id=\"3117474\" npar=\"8\" stride=\"5880\" "
                            "syndrome=\"tSkrv39Oah9FufT3Z+uMHQ==\" toc=\"0:16032:32072:47282:62810\" "
                            "trackcrcs=\"97217ee6 dc8a2af2 338369b1 2eac339c\" /></ctdb>";
    const QList<CtdbDatabase::Entry> entries = CtdbDatabase::Parse(real, "http://127.0.0.1:8080/ctdb");
    ASSERT_EQ(entries.size(), 1);
    const CtdbDatabase::Entry& e = entries.first();
    EXPECT_EQ(e.Crc, 0x5457b143u);
    EXPECT_EQ(e.ParityAddress, "http://p.cuetools.net/3117474");
    EXPECT_EQ(e.Npar, 8);
    EXPECT_EQ(e.Syndrome.size(), 16);
    EXPECT_TRUE(e.HasParity());
    QByteArray path = real;
    path.replace("http://p.cuetools.net/3117474", "/parity/3117474");
    EXPECT_EQ(CtdbDatabase::Parse(path, "http://127.0.0.1:8080/ctdb").first().ParityAddress,
              "http://127.0.0.1:8080/parity/3117474");
    QByteArray none = real;
    none.replace(" hasparity=\"http://p.cuetools.net/3117474\"", "");
    EXPECT_FALSE(CtdbDatabase::Parse(none).first().HasParity());
}

TEST(CtdbParityFetch, StepsGoFromFourRowsToTheEntrys)
{
    EXPECT_EQ(CtdbParityFetch::Steps(16), (QList<int>{4, 8, 16}));
    EXPECT_EQ(CtdbParityFetch::Steps(8), (QList<int>{4, 8}));
    EXPECT_EQ(CtdbParityFetch::Steps(2), (QList<int>{2}));
}

TEST(CtdbParityFetch, AsksForTheRowsNeededAndChecksTheAnswer)
{
    const struct {
        const char* name;
        bool whole;
        qsizetype partLength;
        bool otherSyndrome;
        QList<qsizetype> asked; // by Rows(4) then Rows(8)
        bool taken;
    } cases[] = {
        {"parts", false, -1, false, {4 * RowBytes, 8 * RowBytes}, true},
        {"whole file once", true, -1, false, {4 * RowBytes}, true},
        {"short part", false, 4 * RowBytes - 2, false, {4 * RowBytes}, false},
        {"long part", false, 16 * RowBytes, false, {4 * RowBytes}, false},
        {"another entry's rows", false, -1, true, {4 * RowBytes}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ParityServer server;
        server.whole = c.whole;
        server.partLength = c.partLength;
        CtdbDatabase::Entry entry = entryFor(server.file);
        if (c.otherSyndrome)
            entry.Syndrome[3] = char(entry.Syndrome[3] ^ 1);
        CtdbParityFetch fetch(server, entry);
        try {
            const CtdbParity four = fetch.Rows(4);
            const CtdbParity eight = fetch.Rows(8);
            EXPECT_TRUE(c.taken);
            EXPECT_EQ(four.Npar(), 4);
            EXPECT_EQ(eight.Npar(), 8);
            EXPECT_EQ(eight.Column(1)[7], uint16_t(uint8_t(server.file[7 * RowBytes + 2])
                                                   | uint8_t(server.file[7 * RowBytes + 3]) << 8));
        } catch (const CalvenorError& e) {
            EXPECT_FALSE(c.taken) << e.message().toStdString();
            EXPECT_TRUE(e.message().startsWith("La parité CTDB reçue est refusée : ")) << e.message().toStdString();
        }
        EXPECT_EQ(server.asked, c.asked);
        EXPECT_EQ(server.urls.value(0), "http://p.test/42");
    }
}
