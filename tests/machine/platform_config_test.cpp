#include "machine/platform_config.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace quorvex {
namespace {

TEST(PlatformConfig, DefaultsWithoutAFile) {
    const PlatformConfigResult result = ParsePlatformConfig("");
    const PlatformConfig& c = result.config;
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(c.Daq, Driver::Vendor);
    EXPECT_EQ(c.Relay, Driver::Vendor);
    EXPECT_EQ(c.Encoder, Driver::Absent);
    EXPECT_EQ(c.Controller, Driver::Vendor);
    EXPECT_EQ(c.DaskLibrary, "libpci_dask.so");
    EXPECT_EQ(c.Ik220Library, "libik220.so");
    EXPECT_EQ(c.ComDevice[1], "/dev/ttyS0");
    EXPECT_EQ(c.ComDevice[16], "/dev/ttyS15");
}

TEST(PlatformConfig, KeysValuesAndWarnings) {
    const PlatformConfigResult result = ParsePlatformConfig(
        "# the machine in hall 2\n"
        "DAQ = absent\r\n"
        "relay=simulated\n"
        "  encoder = Vendor  \n"
        "controller = simulated\n"
        "dask.library = /opt/adlink/lib/libpci_dask.so\n"
        "ik220.library = C:\\Program Files\\IK220DLL.dll\n"
        "com3 = /dev/ttyUSB0\n"
        "COM4 = none\n"
        "; older comment style\n"
        "com17 = /dev/ttyS16\n"
        "com03 = /dev/x\n"
        "daq = maybe\n"
        "controller = absent\n"
        "just some words\n"
        "speed = 9600\n"
        "alias.driver = postgresql\n"  // the results store reads these itself
        "ALIAS.Password-File = /etc/quorvex/alias.pw\n");
    const PlatformConfig& c = result.config;
    EXPECT_EQ(c.Daq, Driver::Absent);
    EXPECT_EQ(c.Relay, Driver::Simulated);
    EXPECT_EQ(c.Encoder, Driver::Vendor);
    EXPECT_EQ(c.Controller, Driver::Simulated);
    EXPECT_EQ(c.DaskLibrary, "/opt/adlink/lib/libpci_dask.so");
    EXPECT_EQ(c.Ik220Library, "C:\\Program Files\\IK220DLL.dll");
    EXPECT_EQ(c.ComDevice[3], "/dev/ttyUSB0");
    EXPECT_EQ(c.ComDevice[4], "");
    EXPECT_EQ(c.ComDevice[5], "/dev/ttyS4");
    ASSERT_EQ(result.warnings.size(), 6u);
    EXPECT_EQ(result.warnings[0], "Quorvex.platform, line 11: unknown key \"com17\"");
    EXPECT_EQ(result.warnings[2], "Quorvex.platform, line 13: \"maybe\" is no driver for daq");
    EXPECT_EQ(result.warnings[3],
              "Quorvex.platform, line 14: \"absent\" is no driver for controller");
    EXPECT_EQ(result.warnings[4],
              "Quorvex.platform, line 15: \"just some words\" is not of the form key = value");
}

TEST(PlatformConfig, TheInputsOfATransverseGaugeAndOfTheProbes) {
    EXPECT_FALSE(ParsePlatformConfig("").config.Extra.HasTransverse());
    const PlatformConfigResult wired =
        ParsePlatformConfig("daq.transverse-input = 5\ndaq.probe-inputs = 1, 3,6\n");
    EXPECT_TRUE(wired.warnings.empty());
    EXPECT_EQ(wired.config.Extra.Transverse, 5);
    EXPECT_EQ(wired.config.Extra.Probes, (std::array<int, 3>{1, 3, 6}));
    EXPECT_TRUE(wired.config.Extra.HasProbes());
    const PlatformConfigResult refused = ParsePlatformConfig(
        "daq.transverse-input = 8\ndaq.probe-inputs = 1, 3\ndaq.probe-inputs = 1,2,3,4\n"
        "daq.probe-inputs = none\n");
    ASSERT_EQ(refused.warnings.size(), 3u);
    EXPECT_NE(refused.warnings[0].find("0 ... 7 or none"), std::string::npos);
    EXPECT_NE(refused.warnings[1].find("three inputs 0 ... 7"), std::string::npos);
    EXPECT_FALSE(refused.config.Extra.HasTransverse());
    EXPECT_FALSE(refused.config.Extra.HasProbes());
}

TEST(PlatformConfig, FileNameMatchesWithoutRegardToCase) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "platform_case";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    EXPECT_EQ(LoadPlatformConfig(dir).config.Daq, Driver::Vendor);  // missing: defaults
    std::ofstream(dir / "quorvex.PLATFORM") << "daq = simulated\n";
    EXPECT_EQ(LoadPlatformConfig(dir).config.Daq, Driver::Simulated);
    std::filesystem::remove_all(dir);
}

TEST(PlatformConfig, AFifoADeviceLinkAndAHugeFileAreRefusedAtOnce) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "platform_hostile";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto file = dir / "Quorvex.platform";
    const auto refused = [&](const char* what) {
        const auto start = std::chrono::steady_clock::now();
        const PlatformConfigResult result = LoadPlatformConfig(dir);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << what;
        EXPECT_EQ(result.config.Daq, Driver::Vendor) << what;  // the defaults
        ASSERT_FALSE(result.warnings.empty()) << what;
        EXPECT_NE(result.warnings.front().find(file.string()), std::string::npos) << what;
        std::filesystem::remove(file);
    };
    ASSERT_EQ(mkfifo(file.c_str(), 0644), 0);
    refused("a FIFO");
    std::filesystem::create_symlink("/dev/zero", file);
    refused("a link to a device");
    std::ofstream(file) << "daq = simulated\n";
    std::filesystem::resize_file(file, 2ull << 30);
    refused("a file of 2 GB");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quorvex
