// Common entry point of every test executable. It pins the global state the
// launcher depends on, so a run means the same on every machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <clocale>

int main(int argc, char** argv) {
    // A crash must end the test process, not wait for a click on Wine's dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    setlocale(LC_ALL, "C");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
