#include "configtool/probe/device_probe.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "configtool/probe/render_caps.h"
#include "tests/fakes/fake_direct3d8.h"

namespace {

using configtool::CreateDeviceProbe;
using configtool::DestroyDeviceProbe;
using configtool::DeviceProbe;
using fakes::FakeDirect3D8Runtime;
using platform::D3dDisplayMode;
using platform::kD3dErrNotAvailable;
using platform::kD3dOk;

constexpr platform::WindowId kWindow = 0x1017;
constexpr std::uint32_t X8 = platform::kD3dFmtX8R8G8B8;
constexpr std::uint32_t A8 = platform::kD3dFmtA8R8G8B8;
constexpr std::uint32_t R565 = platform::kD3dFmtR5G6B5;
constexpr std::uint32_t X1 = platform::kD3dFmtX1R5G5B5;
constexpr std::uint32_t A1 = platform::kD3dFmtA1R5G5B5;
constexpr std::uint32_t D24S8 = platform::kD3dFmtD24S8;
constexpr std::uint32_t D16 = platform::kD3dFmtD16;

std::vector<std::pair<std::uint32_t, std::uint32_t>> Sizes(const DeviceProbe& probe) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes;
  for (std::uint32_t i = 0; i < probe.ModeCount(); ++i) sizes.emplace_back(probe.Mode(i).width, probe.Mode(i).height);
  return sizes;
}

std::vector<std::string> CallsStartingWith(const FakeDirect3D8Runtime& runtime, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& call : runtime.calls) {
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  }
  return found;
}

std::string Create(std::uint32_t backBuffer, std::uint32_t depth, std::uint32_t behavior) {
  return "CreateDevice(0,1," + std::to_string(kWindow) + "," + std::to_string(behavior) + "," +
         std::to_string(backBuffer) + "," + std::to_string(depth) + ")";
}

class DeviceProbeTest : public ::testing::Test {
 protected:
  void SetUp() override { runtime.script.modes = {{800, 600, 60, X8}}; }
  bool Run(bool software = false) {
    return CreateDeviceProbe(probe, runtime, kWindow, 640, 480, software);
  }
  FakeDirect3D8Runtime runtime;
  std::unique_ptr<DeviceProbe> probe;
};

TEST(DepthFormatCandidates, ThirtyTwoBitTableInOrderOfTrial) {
  const configtool::DepthFormatPair* pairs = configtool::DepthFormatCandidates(configtool::CandidateTable::k32Bit);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> got;
  for (int i = 0; pairs[i].backBufferFormat != 0 || pairs[i].depthFormat != 0; ++i) {
    got.emplace_back(pairs[i].backBufferFormat, pairs[i].depthFormat);
  }
  EXPECT_EQ(got, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{22, 75}, {21, 75}, {0, 75}}));
}

TEST(DepthFormatCandidates, SixteenBitTableInOrderOfTrial) {
  const configtool::DepthFormatPair* pairs = configtool::DepthFormatCandidates(configtool::CandidateTable::k16Bit);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> got;
  for (int i = 0; pairs[i].backBufferFormat != 0 || pairs[i].depthFormat != 0; ++i) {
    got.emplace_back(pairs[i].backBufferFormat, pairs[i].depthFormat);
  }
  EXPECT_EQ(got, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{24, 80}, {25, 80}, {23, 80}, {0, 80}}));
}

TEST_F(DeviceProbeTest, FirstWorkingPairGivesTheDeviceWithTheDocumentedCallSequence) {
  runtime.script.modes = {{800, 600, 60, X8}, {640, 480, 60, R565}};
  runtime.script.currentMode = {1024, 768, 60, X8};
  ASSERT_TRUE(Run());
  EXPECT_EQ(runtime.calls, (std::vector<std::string>{
                               "Direct3DCreate8(220)",
                               "GetAdapterModeCount(0)",
                               "EnumAdapterModes(0,0)",
                               "EnumAdapterModes(0,1)",
                               "GetAdapterDisplayMode(0)",
                               "CheckDeviceFormat(0,1,22,2,1,75)",
                               "CheckDepthStencilMatch(0,1,22,22,75)",
                               "GetDeviceCaps(0,1)",
                               Create(X8, D24S8, 0x40),
                               "GetAdapterIdentifier(0,2)",
                           }));
  EXPECT_NE(probe->Device(), nullptr);
  EXPECT_NE(probe->Direct3D(), nullptr);
}

TEST_F(DeviceProbeTest, PresentParametersAreFilledAsDocumented) {
  ASSERT_TRUE(Run());
  const platform::D3dPresentParameters& p = probe->PresentParameters();
  EXPECT_EQ(p.backBufferWidth, 640u);
  EXPECT_EQ(p.backBufferHeight, 480u);
  EXPECT_EQ(p.backBufferFormat, X8);
  EXPECT_EQ(p.backBufferCount, 1u);
  EXPECT_EQ(p.multiSampleType, 0u);
  EXPECT_EQ(p.swapEffect, 1u);
  EXPECT_EQ(p.deviceWindow, kWindow);
  EXPECT_TRUE(p.windowed);
  EXPECT_TRUE(p.enableAutoDepthStencil);
  EXPECT_EQ(p.autoDepthStencilFormat, D24S8);
  EXPECT_EQ(p.flags, 0u);
  EXPECT_EQ(p.fullScreenRefreshRateInHz, 0u);
  EXPECT_EQ(p.fullScreenPresentationInterval, 0u);
}

TEST_F(DeviceProbeTest, SoftwareRunAsksForSoftwareVertexProcessing) {
  ASSERT_TRUE(Run(true));
  EXPECT_EQ(CallsStartingWith(runtime, "CreateDevice"), std::vector<std::string>{Create(X8, D24S8, 0x20)});
}

TEST_F(DeviceProbeTest, ModesOfOneSizeKeepTheFirstInEnumerationOrder) {
  runtime.script.modes = {{800, 600, 60, X8}, {800, 600, 75, X8}, {800, 600, 60, A8}, {1024, 768, 85, A8}};
  ASSERT_TRUE(Run());
  ASSERT_EQ(probe->ModeCount(), 2u);
  EXPECT_EQ(probe->Mode(0).refreshRate, 60u);
  EXPECT_EQ(probe->Mode(0).format, X8);
  EXPECT_EQ(probe->Mode(1).width, 1024u);
  EXPECT_EQ(probe->Mode(1).format, A8);
}

TEST_F(DeviceProbeTest, FilterKeepsFullColourModesFrom640x480To2048x2048) {
  runtime.script.modes = {
      {639, 480, 60, X8},  {640, 479, 60, X8},   {2560, 1600, 60, X8}, {1024, 768, 60, R565},
      {1024, 768, 60, X1}, {1280, 1024, 60, 20}, {2048, 1536, 60, X8}, {640, 480, 60, A8},
      {2048, 2048, 60, X8}, {2049, 2048, 60, X8}, {2048, 2049, 60, X8},
  };
  ASSERT_TRUE(Run());
  EXPECT_EQ(Sizes(*probe), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                               {2048, 1536}, {640, 480}, {2048, 2048}}));
}

TEST_F(DeviceProbeTest, ListKeepsEnumerationOrderUnsorted) {
  runtime.script.modes = {{1280, 1024, 60, X8}, {640, 480, 60, X8}, {1024, 768, 60, X8}, {640, 480, 75, X8}};
  ASSERT_TRUE(Run());
  EXPECT_EQ(Sizes(*probe), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                               {1280, 1024}, {640, 480}, {1024, 768}}));
}

TEST_F(DeviceProbeTest, FailedEnumerationLeavesNoStaleMode) {
  runtime.script.modes = {{800, 600, 60, X8}};
  runtime.script.overrideModeCount = true;
  runtime.script.modeCount = 3;  // indexes 1 and 2 fail
  ASSERT_TRUE(Run());
  EXPECT_EQ(Sizes(*probe), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{800, 600}}));
}

TEST_F(DeviceProbeTest, NoModeThatPassesStillPassesTheProbe) {
  runtime.script.modes = {{320, 240, 60, X8}, {1024, 768, 60, R565}};
  ASSERT_TRUE(Run());
  EXPECT_TRUE(probe->HasModeList());
  EXPECT_EQ(probe->ModeCount(), 0u);
}

TEST_F(DeviceProbeTest, NoAdapterModesFailsAndReleasesTheDirect3DObject) {
  runtime.script.modes.clear();
  EXPECT_FALSE(Run());
  EXPECT_EQ(runtime.liveObjects, 0);
  EXPECT_TRUE(CallsStartingWith(runtime, "GetAdapterDisplayMode").empty());
  ASSERT_NE(probe, nullptr) << "a failed probe stays current";
}

TEST_F(DeviceProbeTest, ImplausibleModeCountFailsWithoutEnumerating) {
  runtime.script.overrideModeCount = true;
  runtime.script.modeCount = configtool::kMaxAdapterModes + 1;
  EXPECT_FALSE(Run());
  EXPECT_TRUE(CallsStartingWith(runtime, "EnumAdapterModes").empty());
  EXPECT_EQ(probe->ModeCount(), 0u);
}

TEST_F(DeviceProbeTest, MissingRuntimeFailsAtOnce) {
  runtime.script.createSucceeds = false;
  EXPECT_FALSE(Run());
  EXPECT_EQ(runtime.calls, std::vector<std::string>{"Direct3DCreate8(220)"});
  EXPECT_NE(probe, nullptr);
}

TEST_F(DeviceProbeTest, SixteenBitTableIsTriedFromItsFirstPairWhenNoThirtyTwoBitPairWorks) {
  runtime.script.currentMode = {1024, 768, 60, R565};
  runtime.script.createDevice = [](std::uint32_t backBuffer, std::uint32_t depth, std::uint32_t) {
    return backBuffer == R565 && depth == D16 ? kD3dOk : kD3dErrNotAvailable;
  };
  ASSERT_TRUE(Run());
  EXPECT_EQ(CallsStartingWith(runtime, "CreateDevice"),
            (std::vector<std::string>{Create(X8, D24S8, 0x40), Create(A8, D24S8, 0x40), Create(R565, D24S8, 0x40),
                                      Create(X1, D16, 0x40), Create(A1, D16, 0x40), Create(R565, D16, 0x40)}));
  EXPECT_EQ(CallsStartingWith(runtime, "GetAdapterDisplayMode").size(), 2u);
  EXPECT_EQ(probe->PresentParameters().autoDepthStencilFormat, D16);
  EXPECT_EQ(probe->PresentParameters().backBufferFormat, R565);
}

TEST_F(DeviceProbeTest, CurrentDisplayFormatStandsInForTheZeroBackBuffer) {
  runtime.script.currentMode = {1024, 768, 60, 20};  // R8G8B8
  runtime.script.createDevice = [](std::uint32_t backBuffer, std::uint32_t depth, std::uint32_t) {
    return backBuffer == 20 && depth == D16 ? kD3dOk : kD3dErrNotAvailable;
  };
  ASSERT_TRUE(Run());
  EXPECT_EQ(CallsStartingWith(runtime, "CreateDevice").back(), Create(20, D16, 0x40));
  EXPECT_EQ(CallsStartingWith(runtime, "CheckDepthStencilMatch").back(), "CheckDepthStencilMatch(0,1,20,20,80)");
}

TEST_F(DeviceProbeTest, PairFailingAFormatCheckIsSkippedWithoutCaps) {
  runtime.script.checkDeviceFormat = [](std::uint32_t, std::uint32_t depth) {
    return depth == D24S8 ? kD3dErrNotAvailable : kD3dOk;
  };
  runtime.script.checkDepthStencilMatch = [](std::uint32_t, std::uint32_t backBuffer, std::uint32_t) {
    return backBuffer == X1 ? kD3dErrNotAvailable : kD3dOk;
  };
  ASSERT_TRUE(Run());
  EXPECT_TRUE(CallsStartingWith(runtime, "CheckDepthStencilMatch(0,1,22,22,75)").empty())
      << "the match is only checked after the format check passed";
  EXPECT_EQ(CallsStartingWith(runtime, "CheckDeviceFormat").size(), 5u);
  EXPECT_EQ(CallsStartingWith(runtime, "GetDeviceCaps").size(), 1u);
  EXPECT_EQ(CallsStartingWith(runtime, "CreateDevice"), std::vector<std::string>{Create(A1, D16, 0x40)});
}

TEST_F(DeviceProbeTest, FailingAdapterCapsSkipsThePair) {
  runtime.script.adapterCapsResult = kD3dErrNotAvailable;
  EXPECT_FALSE(Run());
  EXPECT_EQ(CallsStartingWith(runtime, "GetDeviceCaps").size(), 7u);
  EXPECT_TRUE(CallsStartingWith(runtime, "CreateDevice").empty());
}

TEST_F(DeviceProbeTest, DisplayModeFailureFailsBothTablesAndTheProbe) {
  runtime.script.displayModeResult = kD3dErrNotAvailable;
  runtime.script.modes = {{800, 600, 60, X8}};
  EXPECT_FALSE(Run());
  EXPECT_EQ(CallsStartingWith(runtime, "GetAdapterDisplayMode").size(), 2u);
  EXPECT_TRUE(CallsStartingWith(runtime, "CheckDeviceFormat").empty());
  EXPECT_EQ(runtime.liveObjects, 0) << "the Direct3D object is released";
  EXPECT_EQ(probe->Direct3D(), nullptr);
  EXPECT_EQ(Sizes(*probe), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{800, 600}}))
      << "the mode list stays with the failed probe";
  EXPECT_TRUE(CallsStartingWith(runtime, "GetAdapterIdentifier").empty());
}

TEST_F(DeviceProbeTest, NoDeviceFromAnyPairFailsAfterSevenAttempts) {
  runtime.script.createDevice = [](std::uint32_t, std::uint32_t, std::uint32_t) { return kD3dErrNotAvailable; };
  EXPECT_FALSE(Run());
  EXPECT_EQ(CallsStartingWith(runtime, "CreateDevice").size(), 7u);
  EXPECT_EQ(runtime.liveObjects, 0);
}

struct AcceptanceCase {
  bool software;
  std::uint32_t vendor;
  std::uint32_t device;
  bool accepted;
};

class SoftwareAcceptance : public ::testing::TestWithParam<AcceptanceCase> {};

TEST_P(SoftwareAcceptance, IntelDevicesOtherThanThreeAreAcceptedInSoftwareRunsOnly) {
  const AcceptanceCase& c = GetParam();
  FakeDirect3D8Runtime runtime;
  runtime.script.modes = {{800, 600, 60, X8}};
  runtime.script.identifier = {c.vendor, c.device};
  std::unique_ptr<DeviceProbe> probe;
  ASSERT_TRUE(CreateDeviceProbe(probe, runtime, kWindow, 640, 480, c.software));
  EXPECT_EQ(probe->SoftwareVPAccepted(), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(Table, SoftwareAcceptance,
                         ::testing::Values(AcceptanceCase{true, 0x8086, 0x2582, true},
                                           AcceptanceCase{true, 0x8086, 0x2562, false},
                                           AcceptanceCase{true, 0x8086, 0x3577, false},
                                           AcceptanceCase{true, 0x8086, 0x3582, false},
                                           AcceptanceCase{true, 0x1002, 0x2582, false},
                                           AcceptanceCase{true, 0x10DE, 0x0641, false},
                                           AcceptanceCase{false, 0x8086, 0x2582, false}));

TEST_F(DeviceProbeTest, FailedIdentifierCallLeavesTheAdapterUnaccepted) {
  runtime.script.identifier = {0x8086, 0x2582};
  runtime.script.identifierResult = kD3dErrNotAvailable;
  ASSERT_TRUE(Run(true));
  EXPECT_FALSE(probe->SoftwareVPAccepted());
  EXPECT_EQ(probe->AdapterIdentifier().vendorId, 0u);
}

TEST_F(DeviceProbeTest, DestroyReleasesTheDeviceBeforeTheDirect3DObject) {
  ASSERT_TRUE(Run());
  runtime.calls.clear();
  DestroyDeviceProbe(probe);
  EXPECT_EQ(probe, nullptr);
  EXPECT_EQ(runtime.calls, (std::vector<std::string>{"Device::Release", "Release"}));
  EXPECT_EQ(runtime.liveDevices, 0);
  EXPECT_EQ(runtime.liveObjects, 0);
  DestroyDeviceProbe(probe);  // no probe: nothing happens
  EXPECT_EQ(runtime.calls.size(), 2u);
}

TEST_F(DeviceProbeTest, NewProbeReplacesTheCurrentOne) {
  ASSERT_TRUE(Run());
  ASSERT_TRUE(Run(true));
  EXPECT_EQ(runtime.liveObjects, 1);
  EXPECT_EQ(runtime.liveDevices, 1);
}

struct CapsCase {
  const char* name;
  platform::D3dCaps caps;
  bool vs11, ps11, pow2, equal;
};

TEST(RenderCaps, SixRulesFromTheDeviceCaps) {
  const std::vector<CapsCase> cases = {
      {"shader 1.1 both", {0, 2048, 1024, 0xFFFE0101, 0xFFFF0101}, true, true, false, false},
      {"vertex shader 1.0", {0, 2048, 2048, 0xFFFE0100, 0xFFFF0104}, false, true, false, false},
      {"pixel shader 1.0", {0, 2048, 2048, 0xFFFE0200, 0xFFFF0100}, true, false, false, false},
      {"no shaders", {0, 256, 256, 0, 0}, false, false, false, false},
      {"pow2 only", {0x2, 2048, 2048, 0xFFFE0101, 0xFFFF0101}, true, true, true, false},
      {"square only", {0x20, 2048, 2048, 0xFFFE0101, 0xFFFF0101}, true, true, false, true},
      {"both limits and other bits", {0x22 | 0x1 | 0x4, 512, 512, 0xFFFE0300, 0xFFFF0300}, true, true, true, true},
  };
  for (const CapsCase& c : cases) {
    FakeDirect3D8Runtime runtime;
    runtime.script.modes = {{800, 600, 60, X8}};
    runtime.script.deviceCaps = c.caps;
    std::unique_ptr<DeviceProbe> probe;
    ASSERT_TRUE(CreateDeviceProbe(probe, runtime, kWindow, 640, 480, false));
    configtool::RenderCaps caps(probe->Device());
    EXPECT_EQ(caps.VertexShader11(), c.vs11) << c.name;
    EXPECT_EQ(caps.PixelShader11(), c.ps11) << c.name;
    EXPECT_EQ(caps.TexturePow2(), c.pow2) << c.name;
    EXPECT_EQ(caps.TextureSidesEqual(), c.equal) << c.name;
    EXPECT_EQ(caps.MaxTextureWidth(), c.caps.maxTextureWidth) << c.name;
    EXPECT_EQ(caps.MaxTextureHeight(), c.caps.maxTextureHeight) << c.name;
  }
}

TEST(RenderCaps, StaysEmptyWhenTheDeviceCapsFail) {
  FakeDirect3D8Runtime runtime;
  runtime.script.modes = {{800, 600, 60, X8}};
  runtime.script.deviceCaps = {0x22, 2048, 2048, 0xFFFE0101, 0xFFFF0101};
  runtime.script.deviceCapsResult = kD3dErrNotAvailable;
  std::unique_ptr<DeviceProbe> probe;
  ASSERT_TRUE(CreateDeviceProbe(probe, runtime, kWindow, 640, 480, false));
  configtool::RenderCaps caps(probe->Device());
  EXPECT_FALSE(caps.VertexShader11());
  EXPECT_FALSE(caps.TexturePow2());
  EXPECT_EQ(caps.MaxTextureWidth(), 0u);
  configtool::RenderCaps none(nullptr);
  EXPECT_FALSE(none.PixelShader11());
}

}  // namespace
