// The audio enumerator and peak meter against COM objects of the test's own
// (Wine has no audio output whose meter can be activated), and the
// platform's enumerator for its failure behaviour.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/fake_core_audio.h"
#include "support/test_support.h"
#include "utilities/audio_device_enumerator.h"
#include "utilities/audio_peak_meter.h"
#include "utilities/text_codepage.h"

namespace {

using namespace testsupport;

uint32_t Bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

struct MeterCase {
    const char* name;
    MeterReadings readings;
};

TEST(AudioPeakMeter, ReadsPeaksAndEveryChannelAndReleasesEachMeter) {
    const MeterCase cases[] = {
        {"silent", {0.0f, {0.0f, 0.0f}, 0}},
        {"loud", {1.0f, {1.0f, 0.98f}, 1}},
        {"stereo", {0.75f, {0.25f, 0.75f}, 7}},
        {"six channels", {0.6f, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}, 3}},
    };
    AudioPeakMeter meter;
    for (const MeterCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDevice device(c.readings);
        float peak = -5;
        EXPECT_EQ(meter.GetPeakValue(&device, &peak), c.readings.peak);
        EXPECT_EQ(peak, c.readings.peak);
        UINT count = 0;
        EXPECT_EQ(meter.GetChannelCount(&device, &count), 0);
        EXPECT_EQ(count, c.readings.channels.size());
        for (size_t i = 0; i < c.readings.channels.size(); ++i) {
            uint32_t bits = 0;
            EXPECT_EQ(meter.GetChannelPeak(&device, int(i), &bits), 0) << "channel " << i;
            EXPECT_EQ(bits, Bits(c.readings.channels[i])) << "channel " << i;
        }
        // Channels outside the count fail and leave the output alone.
        for (int channel : {int(c.readings.channels.size()), int(c.readings.channels.size()) + 5, -1}) {
            uint32_t bits = 0xDEADBEEF;
            EXPECT_EQ(meter.GetChannelPeak(&device, channel, &bits), -1) << "channel " << channel;
            EXPECT_EQ(bits, 0xDEADBEEFu);
        }
        DWORD mask = 99;
        EXPECT_EQ(meter.QueryHardwareSupport(&device, &mask), 0);
        EXPECT_EQ(mask, c.readings.hardware);

        EXPECT_TRUE(device.MetersReleased());
        EXPECT_EQ(device.Activations(), 6 + c.readings.channels.size());  // a fresh meter each call
        EXPECT_EQ(device.lastIid_, GuidFromText("{C02216F6-8C67-4B5B-9D00-D008E73E0064}"));
        EXPECT_EQ(device.lastContext_, DWORD(CLSCTX_ALL));
        EXPECT_EQ(device.References(), 1);
    }
}

TEST(AudioPeakMeter, NoDeviceOrAFailedActivationFailsWithoutWriting) {
    AudioPeakMeter meter;
    FakeDevice refusing({0.5f, {0.5f}, 1}, true);
    for (IMMDevice* device : {static_cast<IMMDevice*>(nullptr), static_cast<IMMDevice*>(&refusing)}) {
        float peak = 0.125f;
        EXPECT_EQ(meter.GetPeakValue(device, &peak), -1.0f);
        EXPECT_EQ(peak, 0.125f);
        UINT count = 77;
        EXPECT_EQ(meter.GetChannelCount(device, &count), -1);
        EXPECT_EQ(count, 77u);
        uint32_t bits = 5;
        EXPECT_EQ(meter.GetChannelPeak(device, 0, &bits), -1);
        EXPECT_EQ(bits, 5u);
        DWORD mask = 9;
        EXPECT_EQ(meter.QueryHardwareSupport(device, &mask), -1);
        EXPECT_EQ(mask, 9u);
    }
}

TEST(AudioDeviceEnumerator, EnumeratesAllDevicesOrReleasesWhatItFetchedBeforeAFailure) {
    FakeDevice a({0, {0}, 0}), b({0, {0}, 0}), c({0, {0}, 0});
    const struct {
        int failingItem;
        std::optional<int> flow;
        std::optional<DWORD> mask;
        int result;
        int expectedFlow;
        DWORD expectedMask;
    } cases[] = {
        {-1, std::nullopt, std::nullopt, 0, 2, 0xF},  // both flows, every state
        {-1, 0, 1, 0, 0, 1},
        {2, std::nullopt, std::nullopt, -1, 2, 0xF},  // the third fetch fails
        {0, 1, 0xF, -1, 1, 0xF},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE("failing item " + std::to_string(t.failingItem));
        FakeCollection collection({&a, &b, &c}, t.failingItem);
        FakeEnumerator fake(collection);
        {
            AudioDeviceEnumerator enumerator(&fake);
            UINT count = 0;
            std::vector<IMMDevice*> devices;
            EXPECT_EQ(enumerator.EnumerateEndpoints(t.flow, t.mask, &count, &devices), t.result);
            EXPECT_EQ(fake.askedFlow, t.expectedFlow);
            EXPECT_EQ(fake.askedMask, t.expectedMask);
            EXPECT_EQ(count, 3u);  // known before the items are fetched
            if (t.result == 0) {
                ASSERT_EQ(devices, (std::vector<IMMDevice*>{&a, &b, &c}));
                for (IMMDevice* d : devices) d->Release();
            } else {
                EXPECT_TRUE(devices.empty());
            }
            EXPECT_EQ(collection.References(), 1) << "collection released";
        }
        for (FakeDevice* d : {&a, &b, &c}) EXPECT_EQ(d->References(), 1);
        EXPECT_EQ(fake.References(), 1) << "enumerator released";
    }
}

// The platform's enumerator from a thread in a single-threaded apartment,
// as the launcher's UI thread is: the thread stays in its apartment, and a
// computer without an audio output gives no default device.
TEST(AudioDeviceEnumerator, PlatformEnumeratorKeepsTheThreadsApartment) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    {
        AudioDeviceEnumerator enumerator;
        IMMDevice* device = nullptr;
        int result = enumerator.GetDefaultEndpoint(0, 0, &device);
        if (testsupport::RunningUnderWine()) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(device, nullptr);
        } else if (device) {
            device->Release();
        }
        UINT count = 12345;
        std::vector<IMMDevice*> devices;
        EXPECT_EQ(enumerator.EnumerateEndpoints(std::nullopt, std::nullopt, &count, &devices), 0)
            << "the platform enumerator answers from a single-threaded apartment";
        for (IMMDevice* d : devices) d->Release();
        EXPECT_EQ(count, devices.size());
    }
    // Still single-threaded: joining again as such is only counted.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
}

}  // namespace
