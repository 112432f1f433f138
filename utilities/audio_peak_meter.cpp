#include "utilities/audio_peak_meter.h"

#include <cstring>
#include <vector>

#include "utilities/text_codepage.h"
#include "utilities/win_handles.h"

AudioPeakMeter::AudioPeakMeter() : meterIid_(GuidFromText(kIidIAudioMeterInformation)) {}

IAudioMeterInformation* AudioPeakMeter::Activate(IMMDevice* device) const {
    if (!device) return nullptr;
    void* meter = nullptr;
    if (device->Activate(meterIid_, CLSCTX_ALL, nullptr, &meter) != S_OK) return nullptr;
    return static_cast<IAudioMeterInformation*>(meter);
}

float AudioPeakMeter::GetPeakValue(IMMDevice* device, float* peak) const {
    ComRef<IAudioMeterInformation> meter(Activate(device));
    float value = 0;
    if (!meter || meter->GetPeakValue(&value) != S_OK) return -1.0f;
    *peak = value;
    return value;
}

int AudioPeakMeter::GetChannelCount(IMMDevice* device, UINT* count) const {
    ComRef<IAudioMeterInformation> meter(Activate(device));
    UINT n = 0;
    if (!meter || meter->GetMeteringChannelCount(&n) != S_OK) return -1;
    *count = n;
    return 0;
}

int AudioPeakMeter::GetChannelPeak(IMMDevice* device, int channel, uint32_t* bits) const {
    ComRef<IAudioMeterInformation> meter(Activate(device));
    UINT n = 0;
    if (!meter || meter->GetMeteringChannelCount(&n) != S_OK) return -1;
    if (channel < 0 || static_cast<UINT>(channel) >= n) return -1;
    std::vector<float> peaks(n);
    if (meter->GetChannelsPeakValues(n, peaks.data()) != S_OK) return -1;
    std::memcpy(bits, &peaks[channel], sizeof(*bits));
    return 0;
}

int AudioPeakMeter::QueryHardwareSupport(IMMDevice* device, DWORD* mask) const {
    ComRef<IAudioMeterInformation> meter(Activate(device));
    DWORD value = 0;
    if (!meter || meter->QueryHardwareSupport(&value) != S_OK) return -1;
    *mask = value;
    return 0;
}
