// COM objects of the tests' own that stand in for an audio output and its
// peak meter (Wine has no output whose meter can be activated). They count
// their references, so a test sees a reference its caller kept.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <utility>
#include <vector>

#include "utilities/core_audio_interfaces.h"

namespace testsupport {

// Reference counting shared by the fakes; References() tells whether a caller
// kept a reference it should have released.
template <typename Interface>
class Counted : public Interface {
public:
    virtual ~Counted() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown) return *out = nullptr, E_NOINTERFACE;
        AddRef();
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // owned by the test, never deleted
    long References() const { return references_; }

private:
    long references_ = 1;
};

struct MeterReadings {
    float peak;
    std::vector<float> channels;
    DWORD hardware;
};

class FakeMeter : public Counted<IAudioMeterInformation> {
public:
    explicit FakeMeter(const MeterReadings& r) : r_(r) {}
    HRESULT STDMETHODCALLTYPE GetPeakValue(float* peak) override { return *peak = r_.peak, S_OK; }
    HRESULT STDMETHODCALLTYPE GetMeteringChannelCount(UINT* count) override {
        return *count = UINT(r_.channels.size()), S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetChannelsPeakValues(UINT count, float* peaks) override {
        if (count != r_.channels.size()) return E_INVALIDARG;
        std::memcpy(peaks, r_.channels.data(), count * sizeof(float));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD* mask) override { return *mask = r_.hardware, S_OK; }

private:
    MeterReadings r_;
};

class FakeDevice : public Counted<IMMDevice> {
public:
    explicit FakeDevice(const MeterReadings& r, bool activationFails = false) : readings_(r), fails_(activationFails) {}
    ~FakeDevice() override {
        for (FakeMeter* m : meters_) delete m;
    }
    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD context, PROPVARIANT* parameters, void** result) override {
        lastIid_ = iid;
        lastContext_ = context;
        if (fails_ || parameters) return kDeviceInvalidated;
        meters_.push_back(new FakeMeter(readings_));
        *result = static_cast<IAudioMeterInformation*>(meters_.back());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD*) override { return E_NOTIMPL; }

    // Every meter handed out has been released again.
    bool MetersReleased() const {
        for (FakeMeter* m : meters_)
            if (m->References() != 0) return false;
        return true;
    }
    size_t Activations() const { return meters_.size(); }
    GUID lastIid_{};
    DWORD lastContext_ = 0;

private:
    static constexpr HRESULT kDeviceInvalidated = HRESULT(0x88890004);  // AUDCLNT_E_DEVICE_INVALIDATED
    MeterReadings readings_;
    bool fails_;
    std::vector<FakeMeter*> meters_;
};

// A device list whose item failingItem cannot be fetched.
class FakeCollection : public Counted<IMMDeviceCollection> {
public:
    FakeCollection(std::vector<FakeDevice*> devices, int failingItem) : devices_(devices), failing_(failingItem) {}
    HRESULT STDMETHODCALLTYPE GetCount(UINT* count) override { return *count = UINT(devices_.size()), S_OK; }
    HRESULT STDMETHODCALLTYPE Item(UINT index, IMMDevice** device) override {
        if (int(index) == failing_ || index >= devices_.size()) return E_FAIL;
        devices_[index]->AddRef();
        *device = devices_[index];
        return S_OK;
    }

private:
    std::vector<FakeDevice*> devices_;
    int failing_;
};

// The system's device enumerator: lists collection, answers defaultDevice.
class FakeEnumerator : public Counted<IMMDeviceEnumerator> {
public:
    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(int flow, DWORD mask, IMMDeviceCollection** devices) override {
        askedFlow = flow;
        askedMask = mask;
        collection.AddRef();
        *devices = &collection;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(int flow, int role, IMMDevice** device) override {
        askedDefault = {flow, role};
        if (!defaultDevice) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        defaultDevice->AddRef();
        *device = defaultDevice;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient*) override {
        return E_NOTIMPL;
    }

    explicit FakeEnumerator(FakeCollection& c) : collection(c) {}
    FakeCollection& collection;
    int askedFlow = -1;
    DWORD askedMask = 0;
    FakeDevice* defaultDevice = nullptr;  // none: the system has no output
    std::pair<int, int> askedDefault{-1, -1};  // data flow and role
};

}  // namespace testsupport
