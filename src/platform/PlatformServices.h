#pragma once

class IDrives;
class ICdRipLibrary;
class IDialogService;
class IShell;
class IInternet;
class IEncoderLibrary;
class IHttpClient;
class ICdAudioDevice;
class IAudioOutput;
class ITagStore;
class Settings;

// The platform services handed to windows and components. Not owned here:
// the program's main (or a test) owns the real ones or the fakes.
struct PlatformServices {
    IDrives* drives = nullptr;
    ICdRipLibrary* cdRip = nullptr;
    IDialogService* dialogs = nullptr;
    IShell* shell = nullptr;
    IInternet* internet = nullptr;
    IEncoderLibrary* encoder = nullptr;
    IHttpClient* http = nullptr;
    ICdAudioDevice* cdAudio = nullptr;
    IAudioOutput* audioOutput = nullptr;
    Settings* settings = nullptr;
    ITagStore* tags = nullptr;
};
