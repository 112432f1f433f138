// The updater window loaded in this process against a temporary program
// folder, its start-up workers not run, so a test can drive its units and
// the package-choice dialog. test_driver.exe runs on a worker thread while
// this thread keeps the windows serviced, as the launcher's UI thread would.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "launcher/client_type_dialog.h"
#include "launcher/globals.h"
#include "launcher/program_folder.h"
#include "launcher/startup_window.h"
#include "launcher/startup_workers.h"
#include "support/test_support.h"
#include "utilities/busy_delay.h"

class UpdaterWindowTest : public testing::Test {
protected:
    static bool SkipWorker(WorkerRoutine) { return true; }

    void SetUp() override {
        StartStartupWorker = SkipWorker;
        OverrideProgramFolder(folder.Path());
        StartupWindowAlpha = 0;
        CreateGlobals();
        ASSERT_TRUE(LoadStartupWindow());
    }
    void TearDown() override {
        ClientTypeDialog.Destroy();
        StartupWindow.Destroy();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // Runs work on a worker thread and keeps this thread's windows serviced
    // until it is done (at most 60 s).
    static void WhileServicing(const std::function<void()>& work) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            work();
            done = true;
        });
        for (int i = 0; i < 6000 && !done; ++i) BusyDelay(10);
        worker.join();
    }

    // Services the windows until condition holds; false after timeoutMs.
    static bool ServiceUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            if (condition()) return true;
            BusyDelay(10);
        }
        return condition();
    }

    testsupport::TempFolder folder;
    DWORD pid = GetCurrentProcessId();
};
