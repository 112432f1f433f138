// Common entry point of every test executable. It pins the global state the
// launcher depends on, so a run means the same on every machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "support/test_support.h"

namespace {

// A case that hangs (a peer that never answers, a window that never comes)
// is named and ended here, instead of the whole program being killed by
// ctest many minutes later with no word of where it stood.
class TestCaseWatch : public testing::EmptyTestEventListener {
public:
    explicit TestCaseWatch(DWORD limitMs) : limitMs_(limitMs) {
        std::thread([this] { Watch(); }).detach();
    }

    void OnTestStart(const testing::TestInfo& info) override {
        std::lock_guard<std::mutex> lock(mutex_);
        name_ = std::string(info.test_suite_name()) + "." + info.name();
        started_ = GetTickCount();
        running_ = true;
    }
    void OnTestEnd(const testing::TestInfo&) override {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
    }

private:
    void Watch() {
        for (;;) {
            Sleep(1000);
            std::string name;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (!running_ || GetTickCount() - started_ < limitMs_) continue;
                name = name_;
            }
            fprintf(stderr, "\n%s has run longer than %lu s: ending the test program\n", name.c_str(), limitMs_ / 1000);
            fflush(stderr);
            testsupport::RunTestProgramAbortActions();
            fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 124);
        }
    }

    const DWORD limitMs_;
    std::mutex mutex_;
    std::string name_;
    DWORD started_ = 0;
    bool running_ = false;
};

DWORD CaseLimitMs() {
    const char* text = getenv("QM_TEST_CASE_SECONDS");
    int seconds = text ? atoi(text) : 0;
    return (DWORD)(seconds > 0 ? seconds : 240) * 1000;
}

}  // namespace

int main(int argc, char** argv) {
    // A crash must end the test process, not wait for a click on Wine's dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    setlocale(LC_ALL, "C");
    testing::InitGoogleTest(&argc, argv);
    // Fixed-port test programs hold the ports from their first case to their
    // last, against test runs of other build folders.
    std::unique_ptr<testsupport::PortsLock> ports;
    if (getenv("QM_HOLDS_FIXED_PORTS")) ports = std::make_unique<testsupport::PortsLock>();
    testing::UnitTest::GetInstance()->listeners().Append(new TestCaseWatch(CaseLimitMs()));
    return RUN_ALL_TESTS();
}
