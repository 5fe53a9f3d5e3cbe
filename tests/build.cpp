// What the linker wrote into the built game's PE header.
#include "kit.h"

// The window's size counts the frame, the caption and the menu as the system metrics give them;
// Windows 10 and 11 add a padded border to the frame of a program marked for subsystem version 6
// or later, which those metrics leave out. Every toolchain's link must keep the game at 5.2.
TEST(Build, TheGameIsAGuiProgramOfSubsystemVersion5Point2) {
    // A module loaded as a data file has its low bits set; the file's bytes start at the rest.
    const auto* file = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(Exe()) & ~3ull);
    ASSERT_NE(file, nullptr) << "the built game did not load";
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(file);
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE) << "the game does not start with MZ";
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(file + dos->e_lfanew);
    ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE) << "no PE signature where the MZ header points";
    const IMAGE_OPTIONAL_HEADER64& optional = nt->OptionalHeader;
    ASSERT_EQ(optional.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC) << "the game is not a PE32+ image";
    EXPECT_EQ(optional.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI) << "the game is not a GUI program";
    EXPECT_EQ(optional.MajorSubsystemVersion, 5)
        << "major subsystem version (from 6 on, a padded border)";
    EXPECT_EQ(optional.MinorSubsystemVersion, 2) << "minor subsystem version";
}

// Run alone by the ctest `crash` with GoogleTest's own catching off: a crash under test must end
// the run at once, not start a debugger that waits for ever.
TEST(Build, DISABLED_ACrashEndsTheRun) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}
