// The Core Audio COM interfaces the peak meter uses, declared here in the
// order of their methods, which is the binary contract with the platform's
// objects. Only the identifiers the program asks for are given (as texts,
// parsed with GuidFromText); interfaces reached only through a method of
// another need none.
#pragma once

#include <windows.h>
#include <propidl.h>
#include <unknwn.h>

constexpr const char* kClsidMMDeviceEnumerator = "{BCDE0395-E52F-467C-8E3D-C4579291692E}";
constexpr const char* kIidIMMDeviceEnumerator = "{A95664D2-9614-4F35-A746-DE8DB63617E6}";
constexpr const char* kIidIAudioMeterInformation = "{C02216F6-8C67-4B5B-9D00-D008E73E0064}";

// Data flows and device states of the enumeration.
enum AudioDataFlow { kRender = 0, kCapture = 1, kAllFlows = 2 };
constexpr DWORD kAllDeviceStates = 0xF;  // active, disabled, not present, unplugged

struct IMMNotificationClient;  // passed through to the platform only

struct IMMDevice : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD context, PROPVARIANT* parameters, void** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD access, IUnknown** properties) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetState(DWORD* state) = 0;
};

struct IMMDeviceCollection : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Item(UINT index, IMMDevice** device) = 0;
};

struct IMMDeviceEnumerator : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(int dataFlow, DWORD stateMask,
                                                         IMMDeviceCollection** devices) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(int dataFlow, int role, IMMDevice** endpoint) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR id, IMMDevice** device) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* client) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* client) = 0;
};

struct IAudioMeterInformation : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetPeakValue(float* peak) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMeteringChannelCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChannelsPeakValues(UINT count, float* peaks) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD* mask) = 0;
};
