#include "utilities/audio_device_enumerator.h"

#include <objbase.h>

#include "utilities/text_codepage.h"
#include "utilities/win_handles.h"

AudioDeviceEnumerator::AudioDeviceEnumerator() {
    if (securityInitialised_ == 0) {
        // Fails harmlessly when the process has set its security already.
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                             nullptr, EOAC_NONE, nullptr);
        securityInitialised_ = 1;
    }
}

AudioDeviceEnumerator::AudioDeviceEnumerator(IMMDeviceEnumerator* enumerator) : asked_(true), enumerator_(enumerator) {
    if (enumerator_) enumerator_->AddRef();
}

IMMDeviceEnumerator* AudioDeviceEnumerator::Enumerator() {
    if (!asked_) {
        asked_ = true;
        GUID clsid = GuidFromText(kClsidMMDeviceEnumerator);
        GUID iid = GuidFromText(kIidIMMDeviceEnumerator);
        if (CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&enumerator_)) != S_OK)
            enumerator_ = nullptr;
    }
    return enumerator_;
}

AudioDeviceEnumerator::~AudioDeviceEnumerator() {
    if (enumerator_) enumerator_->Release();
}

int AudioDeviceEnumerator::EnumerateEndpoints(std::optional<int> dataFlow, std::optional<DWORD> stateMask, UINT* count,
                                              std::vector<IMMDevice*>* devices) {
    IMMDeviceEnumerator* enumerator = Enumerator();
    if (!enumerator) return -1;
    ComRef<IMMDeviceCollection> collection;
    if (enumerator->EnumAudioEndpoints(dataFlow.value_or(kAllFlows), stateMask.value_or(kAllDeviceStates),
                                       collection.Out()) != S_OK ||
        !collection)
        return -1;
    UINT n = 0;
    if (collection->GetCount(&n) != S_OK) return -1;
    *count = n;
    std::vector<IMMDevice*> fetched;
    fetched.reserve(n);
    for (UINT i = 0; i < n; ++i) {
        IMMDevice* device = nullptr;
        if (collection->Item(i, &device) != S_OK) {
            // The caller gets nothing, so nothing fetched so far may stay counted.
            for (IMMDevice* d : fetched) d->Release();
            return -1;
        }
        fetched.push_back(device);
    }
    *devices = std::move(fetched);
    return 0;
}

int AudioDeviceEnumerator::GetDefaultEndpoint(int dataFlow, int role, IMMDevice** device) {
    IMMDeviceEnumerator* enumerator = Enumerator();
    if (!enumerator) return -1;
    IMMDevice* found = nullptr;
    if (enumerator->GetDefaultAudioEndpoint(dataFlow, role, &found) != S_OK) return -1;
    *device = found;
    return 0;
}

int AudioDeviceEnumerator::GetDevice(const wchar_t* id, IMMDevice** device) {
    IMMDeviceEnumerator* enumerator = Enumerator();
    if (!enumerator) return -1;
    IMMDevice* found = nullptr;
    if (enumerator->GetDevice(id, &found) != S_OK) return -1;
    *device = found;
    return 0;
}

int AudioDeviceEnumerator::RegisterNotificationCallback(IMMNotificationClient* client) {
    IMMDeviceEnumerator* enumerator = Enumerator();
    if (!enumerator) return -1;
    return enumerator->RegisterEndpointNotificationCallback(client) == S_OK ? 0 : -1;
}

int AudioDeviceEnumerator::UnregisterNotificationCallback(IMMNotificationClient* client) {
    IMMDeviceEnumerator* enumerator = Enumerator();
    if (!enumerator) return -1;
    return enumerator->UnregisterEndpointNotificationCallback(client) == S_OK ? 0 : -1;
}
