#pragma once
#include "CddbServer.h"
#include "FakeCdAudioDevice.h"
#include "disc/DiscToc.h"
#include "platform/CurlHttpClient.h"
#include "platform/PlatformServices.h"
#include "support/FakeDrives.h"
#include <gtest/gtest.h>

// The local CDDB and MusicBrainz server for a whole suite, libcurl, and
// drive d holding the worked example; each suite adds its own discs.
class ServerFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = new CddbServer(); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    void SetUp() override
    {
        drives.sources = {{'d', "/dev/sr0"}, {'e', "/dev/sr1"}, {'f', "/dev/sr2"}};
        device.tocs["/dev/sr0"] = {{150, 14262}, 14262 + 18000 + 1};
        services.drives = &drives;
        services.cdAudio = &device;
        services.http = &http;
        firstRequest = server->Requests().size();
    }
    // The table of contents of the disc in a drive, as its insertion reads it.
    DiscToc tocOf(QChar letter) { return DiscToc::Read(device, drives.source(letter)); }
    // The requests the server got during this test.
    QList<QJsonObject> requests() const { return server->Requests().mid(firstRequest); }

    static inline CddbServer* server = nullptr;
    FakeDrives drives;
    FakeCdAudioDevice device;
    CurlHttpClient http;
    PlatformServices services;
    qsizetype firstRequest = 0;
};
