// The page's resources through the real launcher's cache: the stand-in
// engine fetches the page and every resource it names, the launcher's
// request handlers store and serve them, and the service's request log
// shows what reached the network.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"
#include "launcher/main_window/page_resource_cache.h"
#include "utilities/path_helpers.h"
#include "webview_test_support.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::ReadFileBytes;
using webviewtest::EngineChannel;

const char kPage[] = "/fivem/launcher/";
// Short URLs: the key of a long one makes a path longer than the file
// functions accept, and that resource is simply never cached.
const char kStyle[] = "/c.css";
const char kMissing[] = "/m.js";  // the service answers 404 with a text body

TEST(PageCache, StoresResourcesOnceAndServesThemWithoutTheNetwork) {
    EngineChannel& engine = EngineChannel::Get();  // before the launcher: it names the channel's port
    ProgramFolder folder;
    Service service;
    ASSERT_TRUE(service.Running());
    ASSERT_TRUE(InstallClient(folder, "100"));
    const std::string page = std::string("<html><head><title>Cache test</title><link rel=\"stylesheet\" href=\"") +
                             kStyle + "\"><script src=\"" + kMissing + "\"></script></head><body></body></html>";
    ASSERT_TRUE(service.SetAnswer(kPage, page));
    ASSERT_TRUE(service.SetAnswer(kStyle, "body{color:red}"));
    engine.ClearLog();

    LauncherProcess launcher;
    ASSERT_TRUE(launcher.Start(folder.Path()));
    const std::string pageUrl = service.Url(std::string(kPage) + "?version=1014");
    auto pageLoaded = [&] { return !engine.LogLinesStarting("loaded ").empty(); };
    ASSERT_TRUE(WaitFor(pageLoaded, kStepMs));

    const std::string cache = folder.FiveMFile("launcher_cache\\");
    const std::string styleFile = CacheFilePath(cache, service.Url(kStyle));
    EXPECT_EQ(ReadFileBytes(styleFile), "body{color:red}");
    EXPECT_FALSE(FileExists(CacheFilePath(cache, pageUrl))) << "an HTML page is never stored";
    EXPECT_FALSE(FileExists(CacheFilePath(cache, service.Url(kMissing)))) << "nor an error answer";
    EXPECT_EQ(service.CountRequests(kMissing), 1);

    // The next load takes the style sheet from its file, whatever changed on
    // the server, and asks the network for the rest again.
    ASSERT_TRUE(service.SetAnswer(kStyle, "body{color:blue}"));
    engine.ClearLog();
    ASSERT_EQ(engine.SendFirstLine("navigate " + pageUrl), "OK");
    ASSERT_TRUE(WaitFor(pageLoaded, kStepMs));
    EXPECT_EQ(service.CountRequests(kStyle), 1) << "the stored resource was fetched again";
    EXPECT_EQ(service.CountRequests(std::string(kPage) + "?"), 2);
    EXPECT_EQ(service.CountRequests(kMissing), 2);
    const std::vector<std::string> served = engine.LogLinesStarting("served ");
    ASSERT_EQ(served.size(), 1u);
    EXPECT_NE(served[0].find(" from data, 15 bytes"), std::string::npos) << served[0];
    EXPECT_EQ(ReadFileBytes(styleFile), "body{color:red}") << "a stored file is never replaced";
    EXPECT_FALSE(FileExists(CacheFilePath(cache, service.Url(kMissing))));
}

}  // namespace
