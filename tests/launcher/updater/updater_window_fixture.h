// The updater window loaded in this process against a temporary program
// folder, its start-up workers not run, so a test can drive its units and
// the package-choice dialog. test_driver.exe runs on a worker thread
// (testsupport::WhileServicing) while this thread keeps the windows
// serviced, as the launcher's UI thread would.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "driver/driver_client.h"
#include "e2e/e2e_texts.h"
#include "launcher/updater/client_type_dialog.h"
#include "launcher/app/globals.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/startup_window.h"
#include "launcher/updater/startup_workers.h"
#include "support/test_support.h"

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
        testsupport::DiscardPendingMessages();
    }

    // The progress fill as test_driver.exe sees it: the child inside the track.
    driver::ChildWindow Fill() {
        std::vector<driver::ChildWindow> children;
        testsupport::WhileServicing([&] { children = driver::ListChildren(pid, e2e::kUpdaterTitle); });
        for (const driver::ChildWindow& child : children)
            if (child.className == "Quillmere.ShapeBox" && child.insideAnotherChild) return child;
        ADD_FAILURE() << "no progress fill among " << children.size() << " children";
        return {};
    }

    testsupport::TempFolder folder;
    DWORD pid = GetCurrentProcessId();
};
