// The launcher page played through the stand-in engine's control channel:
// an installed client of the service's version goes straight to the main
// window; the channel then writes the page's console messages and reads
// back every script the launcher ran in it. A message is handled on the
// launcher's UI thread before the engine answers the channel, so the
// scripts logged by then are all of that action's answers; an action that
// hands its work to a worker answers later.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/e2e_support.h"
#include "webview_test_support.h"

namespace e2e {

using Scripts_ = std::vector<std::string>;

class PageSession : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Running());
        // The client the service offers is installed, so there is nothing to update.
        ASSERT_TRUE(InstallClient(folder, "100"));
        engine.ClearLog();
        ASSERT_TRUE(launcher.Start(folder.Path()));
        ASSERT_TRUE(FlowFinishes(launcher.Pid(), kStepMs));
        ASSERT_TRUE(WaitFor([&] { return !engine.LogLinesStarting("wkeLoadURL ").empty(); }, kStepMs));
    }

    // Every script run in the page so far, as UTF-8.
    Scripts_ Scripts() { return engine.Scripts(); }

    // Writes message (UTF-8) as the page's console line; the scripts the
    // launcher ran in answer. An action that answers from a worker is
    // waited for until count scripts have come (fewer when they do not come
    // in time).
    Scripts_ Act(const std::string& message, size_t count = 0) {
        size_t before = Scripts().size();
        EXPECT_EQ(engine.SendFirstLine("console 1 " + message), "OK") << message;
        Scripts_ scripts;
        WaitFor(
            [&] {
                scripts = Scripts();
                return scripts.size() >= before + count;
            },
            kStepMs);
        return Scripts_(scripts.begin() + (std::min)(before, scripts.size()), scripts.end());
    }

    webviewtest::EngineChannel& engine =
        webviewtest::EngineChannel::Get();  // before the launcher: it names the channel's port
    ProgramFolder folder;
    Service service;
    driver::LauncherProcess launcher;
};

}  // namespace e2e
