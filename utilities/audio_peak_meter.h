// Reads the current peak level of an audio endpoint through its
// IAudioMeterInformation. Each call activates a fresh meter on the device
// and releases it before returning, so the object holds no reference.
//
// Methods return 0 on success and -1 on failure (an empty device, a failed
// activation or query); outputs are written only on success. Use from the
// thread that owns the device reference.
#pragma once

#include <windows.h>

#include <cstdint>

#include "utilities/core_audio_interfaces.h"

class AudioPeakMeter {
public:
    AudioPeakMeter();

    // The peak of all channels, 0.0 to 1.0, also written to *peak; -1.0 on
    // failure, *peak then left as it was.
    float GetPeakValue(IMMDevice* device, float* peak) const;
    int GetChannelCount(IMMDevice* device, UINT* count) const;
    // *bits receives the 32-bit pattern of the channel's float peak. A
    // channel outside 0 .. count - 1 fails.
    int GetChannelPeak(IMMDevice* device, int channel, uint32_t* bits) const;
    int QueryHardwareSupport(IMMDevice* device, DWORD* mask) const;

private:
    // A new meter on device, or null.
    IAudioMeterInformation* Activate(IMMDevice* device) const;

    GUID meterIid_;
};
