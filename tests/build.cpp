// What the linker and the resource compiler wrote into the built game.
#include "kit.h"

// The window's size counts the frame, the caption and the menu as the system metrics give them;
// Windows 10 and 11 add a padded border to the frame of a program marked for subsystem version 6
// or later, which those metrics leave out. Every toolchain's link must keep the game at 5.2.
TEST(Build, TheGameIsAGuiProgramOfSubsystemVersion5Point2) {
    // A module loaded as a data file has its low bits set; the file's bytes start at the rest.
    const auto* file = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(Exe()) & ~3ull);
    ASSERT_NE(file, nullptr) << "the built game did not load";
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(file);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(file + dos->e_lfanew);
    const IMAGE_OPTIONAL_HEADER64& optional = nt->OptionalHeader;
    EXPECT_EQ(optional.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI) << "the game is not a GUI program";
    EXPECT_EQ(optional.MajorSubsystemVersion, 5)
        << "major subsystem version (from 6 on, a padded border)";
    EXPECT_EQ(optional.MinorSubsystemVersion, 2) << "minor subsystem version";
}

// The manifest declares the game aware of each monitor's scale (and of the system's before
// Windows 10 1703): unaware, Windows stretches its window, blurred. Wine takes every program as
// aware whatever its manifest says, so the manifest itself is what can be read here.
TEST(Build, TheManifestDeclaresTheGameAwareOfTheScale) {
    const HRSRC found = FindResourceW(Exe(), MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr) << "no manifest";
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(Exe(), found))),
                               SizeofResource(Exe(), found));
    EXPECT_NE(manifest.find("WindowsSettings\">PerMonitorV2</dpiAwareness>"), std::string::npos)
        << "per-monitor awareness";
    EXPECT_NE(manifest.find("WindowsSettings\">true</dpiAware>"), std::string::npos)
        << "system awareness";
}
