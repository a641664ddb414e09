// The master volume through winmm, with the core's 32-bit records, on Wine's
// PulseAudio driver (a null sink) and with no sound server at all.
#include "platform/win32/win32_memory.h"
#include "platform/win32/win32_mixer.h"
#include "win32/wine_support.h"

#include <cstring>

namespace lumatone {
namespace {

class Win32MixerSpeakers : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GE(mixer.GetNumDevs(), 1u);
        ASSERT_EQ(mixer.Open(handle, 0, 0), kMmSysErrNoError);
        ASSERT_NE(handle, 0u);
        line.cbStruct = sizeof(line);
        line.dwComponentType = kMixerLineComponentTypeDstSpeakers;
        ASSERT_EQ(mixer.GetLineInfo(handle, line, kMixerGetLineInfoComponentType),
                  kMmSysErrNoError);
    }
    void TearDown() override {
        if (handle != 0) {
            EXPECT_EQ(mixer.Close(handle), kMmSysErrNoError);
        }
    }

    // The volume control through a transfer buffer of 152-byte records.
    std::uint32_t VolumeControl(MixerControl& control, std::uint32_t recordSize = 152) {
        TransferBuffer buffer(memory, recordSize);
        MixerLineControls request;
        request.cbStruct = sizeof(request);
        request.dwLineID = line.dwLineID;
        request.dwControlType = kMixerControlTypeVolume;
        request.cControls = 1;
        request.cbmxctrl = recordSize;
        request.pamxctrl = buffer.data();
        std::uint32_t result =
            mixer.GetLineControls(handle, request, kMixerGetLineControlsOneByType);
        std::memcpy(&control, buffer.data(), std::min<std::size_t>(recordSize, sizeof(control)));
        return result;
    }

    std::uint32_t Details(std::uint32_t controlId, std::uint32_t& value, bool write) {
        TransferBuffer buffer(memory, 4);
        MixerControlDetails details;
        details.cbStruct = sizeof(details);
        details.dwControlID = controlId;
        details.cChannels = 1;
        details.cbDetails = 4;
        details.paDetails = buffer.data();
        if (write) {
            std::memcpy(buffer.data(), &value, 4);
            return mixer.SetControlDetails(handle, details, kMixerSetControlDetailsValue);
        }
        std::uint32_t result =
            mixer.GetControlDetails(handle, details, kMixerGetControlDetailsValue);
        std::memcpy(&value, buffer.data(), 4);
        return result;
    }

    Win32Mixer mixer;
    Win32Memory memory;
    MixerHandle handle = 0;
    MixerLine line;
};

TEST_F(Win32MixerSpeakers, FindsTheVolumeControlAndKeepsAWrittenLevel) {
    EXPECT_EQ(line.dwComponentType, kMixerLineComponentTypeDstSpeakers);
    EXPECT_GE(line.cControls, 1u);
    EXPECT_NE(line.szName[0], '\0');

    MixerControl control;
    ASSERT_EQ(VolumeControl(control), kMmSysErrNoError);
    EXPECT_EQ(control.cbStruct, 152u);
    EXPECT_EQ(control.dwControlType, kMixerControlTypeVolume);
    EXPECT_EQ(control.lMinimum, 0);
    EXPECT_EQ(control.lMaximum, 65535);
    EXPECT_EQ(control.reserved[10], 0u); // the word beyond the published record

    std::uint32_t levels[] = {0, 21000, 65535, 32768};
    for (std::uint32_t level : levels) {
        SCOPED_TRACE(level);
        std::uint32_t value = level;
        ASSERT_EQ(Details(control.dwControlID, value, true), kMmSysErrNoError);
        value = 12345;
        ASSERT_EQ(Details(control.dwControlID, value, false), kMmSysErrNoError);
        EXPECT_NEAR(double(value), double(level), 2.0);
    }
}

TEST_F(Win32MixerSpeakers, ListsEveryControlAtTheCallersRecordSize) {
    ASSERT_GE(line.cControls, 1u);
    MixerControl byType;
    ASSERT_EQ(VolumeControl(byType), kMmSysErrNoError);

    // One spare record past the end shows that nothing is written beyond the list.
    std::size_t count = line.cControls;
    TransferBuffer buffer(memory, (count + 1) * 152);
    std::memset(buffer.data() + count * 152, 0xAB, 152);
    MixerLineControls request;
    request.cbStruct = sizeof(request);
    request.dwLineID = line.dwLineID;
    request.cControls = line.cControls;
    request.cbmxctrl = 152;
    request.pamxctrl = buffer.data();
    ASSERT_EQ(mixer.GetLineControls(handle, request, 0 /* all */), kMmSysErrNoError);

    bool found = false;
    for (std::size_t i = 0; i < count; ++i) {
        MixerControl control;
        std::memcpy(&control, buffer.data() + i * 152, sizeof(control));
        EXPECT_EQ(control.cbStruct, 152u);
        if (control.dwControlID == byType.dwControlID) {
            found = true;
            EXPECT_EQ(control.dwControlType, byType.dwControlType);
            EXPECT_STREQ(control.szName, byType.szName);
            EXPECT_EQ(control.lMaximum, byType.lMaximum);
        }
    }
    EXPECT_TRUE(found);
    for (std::size_t i = count * 152; i < (count + 1) * 152; ++i)
        ASSERT_EQ(buffer.data()[i], 0xAB) << "byte " << i;
}

TEST_F(Win32MixerSpeakers, RefusesRequestsItCannotCarryOut) {
    MixerControl control;
    // A record smaller than the published one cannot hold a control.
    EXPECT_EQ(VolumeControl(control, 100), kMmSysErrInvalParam);

    MixerLineControls none;
    none.cbStruct = sizeof(none);
    none.dwLineID = line.dwLineID;
    none.dwControlType = kMixerControlTypeVolume;
    none.cControls = 1;
    none.cbmxctrl = 152;
    EXPECT_NE(mixer.GetLineControls(handle, none, kMixerGetLineControlsOneByType),
              kMmSysErrNoError);
}

// The window reaches winmm: a real one is taken, one that is none refused.
TEST_F(Win32MixerSpeakers, OpensWithNoticesToAWindow) {
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    MixerHandle noticed = 0;
    EXPECT_EQ(mixer.Open(noticed, 0, reinterpret_cast<WindowHandle>(window), kMixerCallbackWindow),
              kMmSysErrNoError);
    EXPECT_NE(noticed, 0u);
    MixerLine again;
    again.cbStruct = sizeof(again);
    again.dwComponentType = kMixerLineComponentTypeDstSpeakers;
    EXPECT_EQ(mixer.GetLineInfo(noticed, again, kMixerGetLineInfoComponentType), kMmSysErrNoError);
    EXPECT_EQ(mixer.Close(noticed), kMmSysErrNoError);
    DestroyWindow(window);

    MixerHandle refused = 0;
    EXPECT_EQ(mixer.Open(refused, 0, reinterpret_cast<WindowHandle>(window), kMixerCallbackWindow),
              kMmSysErrInvalParam);
    EXPECT_EQ(refused, 0u);
}

TEST(WithoutSoundMixer, OpeningFailsCleanly) {
    Win32Mixer mixer;
    EXPECT_EQ(mixer.GetNumDevs(), 0u);
    MixerHandle handle = 12345;
    EXPECT_NE(mixer.Open(handle, 0, 0), kMmSysErrNoError);
    EXPECT_EQ(handle, 0u);
    MixerLine line;
    line.cbStruct = sizeof(line);
    line.dwComponentType = kMixerLineComponentTypeDstSpeakers;
    EXPECT_NE(mixer.GetLineInfo(handle, line, kMixerGetLineInfoComponentType), kMmSysErrNoError);
    EXPECT_NE(mixer.Close(handle), kMmSysErrNoError);
}

} // namespace
} // namespace lumatone
