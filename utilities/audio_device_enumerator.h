// Finds audio endpoints through the platform's MMDeviceEnumerator.
//
// Methods return 0 on success and -1 when the platform call fails (or when
// the enumerator could not be made); outputs are written only on success.
// Device references handed out belong to the caller, who releases them.
// Use from the thread that made the object.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "utilities/com_apartment.h"
#include "utilities/core_audio_interfaces.h"

class AudioDeviceEnumerator {
public:
    // Joins the calling thread to COM if it is not in an apartment yet (a
    // thread already in one stays in it: the audio objects serve both kinds).
    // The platform's enumerator is made at the first method call, since
    // loading the audio system costs memory and time a launcher without the
    // coloured bar never needs; when it cannot be made every method fails.
    AudioDeviceEnumerator();
    // Uses the given enumerator (a reference is taken) instead of the platform's.
    explicit AudioDeviceEnumerator(IMMDeviceEnumerator* enumerator);
    ~AudioDeviceEnumerator();
    AudioDeviceEnumerator(const AudioDeviceEnumerator&) = delete;
    AudioDeviceEnumerator& operator=(const AudioDeviceEnumerator&) = delete;

    // Devices of dataFlow (all flows when not given) in the states of
    // stateMask (all states when not given). count is written as soon as it is
    // known; devices only when every device was fetched.
    int EnumerateEndpoints(std::optional<int> dataFlow, std::optional<DWORD> stateMask, UINT* count,
                           std::vector<IMMDevice*>* devices);
    int GetDefaultEndpoint(int dataFlow, int role, IMMDevice** device);
    int GetDevice(const wchar_t* id, IMMDevice** device);
    int RegisterNotificationCallback(IMMNotificationClient* client);
    int UnregisterNotificationCallback(IMMNotificationClient* client);

private:
    // The enumerator, made on first use; null when it cannot be made.
    IMMDeviceEnumerator* Enumerator();

    ComApartment apartment_;
    int securityInitialised_ = 0;
    bool asked_ = false;  // the platform was asked for its enumerator
    IMMDeviceEnumerator* enumerator_ = nullptr;
};
