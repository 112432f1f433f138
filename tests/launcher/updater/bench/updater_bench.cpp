// Updater benchmark: the CPU time of the real launcher.exe over 30 s while
// the package-choice dialog waits for a click, over 30 s while a download
// runs (the daemon limited to a steady rate so that the download lasts), and
// over 30 s while the main window idles with the page shown, against the
// local service and the real daemon. Prints figures; not a test.
//
//   updater_bench.exe [seconds per phase] [download limit, e.g. 4M]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "download/rpc_request.h"
#include "e2e/e2e_support.h"
#include "e2e/e2e_texts.h"
#include "support/page_host_client.h"
#include "utilities/path_helpers.h"

#include <memory>

namespace {

using e2e::kDialogTitle;

// The pause button shows once a download has started.
bool DownloadStarted(DWORD pid) {
    for (const driver::ChildWindow& child : driver::ListChildren(pid, e2e::kUpdaterTitle, 2000))
        if (child.text == e2e::kPauseCaption && child.visible && child.enabled) return true;
    return false;
}
const double kBigFileBytes = 2.0 * 1024 * 1024 * 1024;

// Wine's process times of another process stay at zero, so the figures come
// from the Linux side: every Wine process is a Linux process, and Z: maps "/".
// procfs files report no size; ReadFileBytes reads until nothing comes.
using testsupport::ReadFileBytes;

// The Linux process whose command line and environment pass the test; 0 when none.
template <typename Test>
int FindUnixProcess(Test test) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int found = 0;
    do {
        int pid = atoi(entry.cFileName);
        if (pid <= 0) continue;
        std::string base = "Z:\\proc\\" + std::to_string(pid) + "\\";
        if (test(ReadFileBytes(base + "cmdline"), ReadFileBytes(base + "environ"))) found = pid;
    } while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// User and system time of a Linux process, all its threads; -1 when it is gone.
double CpuSeconds(int pid) {
    std::string stat = ReadFileBytes("Z:\\proc\\" + std::to_string(pid) + "\\stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    // After the name: state (field 3) ... utime (field 14), stime (field 15).
    const char* at = stat.c_str() + close + 2;
    double ticks = 0;
    for (int field = 3; field <= 15 && *at; ++field) {
        if (field >= 14) ticks += strtod(at, nullptr);
        at = strchr(at, ' ');
        if (!at) break;
        ++at;
    }
    return ticks / 100.0;  // USER_HZ
}

// Resident memory of a Linux process in KB (the working set of the Windows
// program running in it); -1 when it is gone.
long ResidentKb(int pid) {
    std::string status = ReadFileBytes("Z:\\proc\\" + std::to_string(pid) + "\\status");
    size_t at = status.find("VmRSS:");
    return at == std::string::npos ? -1 : strtol(status.c_str() + at + 6, nullptr, 10);
}

struct Phase {
    double cpu = 0, wall = 0, server = 0;
};

Phase Measure(int pid, int serverPid, int seconds) {
    double cpuStart = CpuSeconds(pid), serverStart = serverPid ? CpuSeconds(serverPid) : 0;
    DWORD start = GetTickCount();
    Sleep(seconds * 1000);
    Phase phase;
    phase.wall = (GetTickCount() - start) / 1000.0;
    phase.cpu = CpuSeconds(pid) - cpuStart;
    phase.server = serverPid ? CpuSeconds(serverPid) - serverStart : -1;
    return phase;
}

void Print(const char* what, const Phase& phase) {
    printf("%-36s launcher %6.2f s CPU over %5.1f s = %5.2f%% of a core", what, phase.cpu, phase.wall,
           100.0 * phase.cpu / phase.wall);
    if (phase.server >= 0) printf("; wineserver %5.2f%%", 100.0 * phase.server / phase.wall);
    printf("\n");
}

// A file the service serves without keeping it on disk: the folder's file
// system leaves the unwritten length sparse.
bool MakeBigFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    size.QuadPart = (LONGLONG)kBigFileBytes;
    bool ok = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

// The daemon the launcher started answers its own secret, which this program
// shares through the launcher's globals.
void LimitDaemon(const std::string& programFolder, const std::string& rate) {
    e2e::BindToLaunchersDaemon(programFolder);
    JSON options;
    options.SetProperty("max-overall-download-limit", rate);
    JSON request = NewRpcRequest("aria2.changeGlobalOption");
    RpcParams(request).AddItem(options);
    Aria2PostRequest(request.toString());
}

int LauncherUnixProcess(const std::string& folder) {
    const std::string exe = folder + "\\launcher.exe";
    return FindUnixProcess([&](const std::string& cmdline, const std::string&) { return cmdline.find(exe) == 0; });
}

int Alpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    return GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) ? alpha : -1;
}

// A launcher with the service's client installed goes straight to the main
// window; measured once it has faded in and the page has answered its
// loadVersion. With the page host the page is Chromium's, and the stand-in
// engine's decoding of its frames counts in the launcher's figure; without it
// the stand-in engine draws a still picture and the figure is the launcher's own.
bool MeasureMainWindow(e2e::Service& service, int serverPid, int seconds, bool inBrowser, Phase* phase,
                       long* residentKb) {
    std::unique_ptr<testsupport::PageHost> host;
    if (inBrowser) {
        host = std::make_unique<testsupport::PageHost>();
        if (!host->Running()) return false;
    }
    e2e::ProgramFolder folder;
    driver::LauncherProcess launcher;
    const int pageRequests = service.CountRequests(e2e::kPagePath);
    if (!e2e::InstallClient(folder, "100") || !launcher.Start(folder.Path()) ||
        !e2e::FlowFinishes(launcher.Pid(), 60000))
        return false;
    HWND window = e2e::WindowOfSize(launcher.Pid(), 1280, 720, true);
    bool shown = window && e2e::WaitFor([&] { return Alpha(window) == 255; }, 30000) &&
                 (inBrowser ? host->WaitForText("#gameversion", "0", 60000)
                            : service.WaitForRequests(e2e::kPagePath, pageRequests + 1, 60000));
    int pid = LauncherUnixProcess(folder.Path());
    if (!shown || !pid) return false;
    Sleep(2000);  // the page's own start-up animations end
    *phase = Measure(pid, serverPid, seconds);
    *residentKb = ResidentKb(pid);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = argc > 1 ? atoi(argv[1]) : 30;
    std::string rate = argc > 2 ? argv[2] : "4M";
    if (seconds <= 0) seconds = 30;

    e2e::Service service;
    if (!service.Running()) {
        fprintf(stderr, "the local service did not start\n");
        return 1;
    }
    e2e::ProgramFolder folder;
    driver::LauncherProcess launcher;
    if (!launcher.Start(folder.Path()) || !driver::WaitForWindow(launcher.Pid(), kDialogTitle, 60000)) {
        fprintf(stderr, "the package-choice dialog did not open\n");
        return 1;
    }
    int pid = LauncherUnixProcess(folder.Path());
    if (!pid || CpuSeconds(pid) < 0) {
        fprintf(stderr, "cannot find the launcher's Linux process\n");
        return 1;
    }
    // The Wine server of this prefix does the timers' and messages' work for
    // every Wine process here; its figure is shown beside the launcher's.
    const char* prefix = getenv("WINEPREFIX");
    int serverPid = prefix ? FindUnixProcess([&](const std::string& cmdline, const std::string& environment) {
        return cmdline.find("wineserver") != std::string::npos &&
               environment.find(std::string("WINEPREFIX=") + prefix + '\0') != std::string::npos;
    })
                           : 0;
    printf("launcher CPU at the dialog: %.2f s since its start\n", CpuSeconds(pid));
    Phase dialog = Measure(pid, serverPid, seconds);
    long residentAtDialog = ResidentKb(pid);

    if (!MakeBigFile(service.FilesFolder() + "\\big.bin")) {
        fprintf(stderr, "cannot make the file to download\n");
        return 1;
    }
    service.SetAnswer("/v1/fivemclient/download/nocache", service.Url("/files/big.bin"));
    LimitDaemon(folder.Path(), rate);
    // The full client option, then the confirm button.
    if (!e2e::ClickDialogUnit(launcher.Pid(), e2e::kFullClientOption) ||
        !e2e::ClickDialogUnit(launcher.Pid(), e2e::kConfirm)) {
        fprintf(stderr, "cannot choose the full client\n");
        return 1;
    }
    if (!e2e::WaitFor([&] { return DownloadStarted(launcher.Pid()); }, 60000)) {
        fprintf(stderr, "the download did not start: %s\n", e2e::StatusLine(launcher.Pid()).c_str());
        return 1;
    }
    // Again: the download may have started a daemon of its own.
    LimitDaemon(folder.Path(), rate);
    Phase download = Measure(pid, serverPid, seconds);
    std::string status = e2e::StatusLine(launcher.Pid());
    bool stillRunning = DownloadStarted(launcher.Pid()) && !FileExists(folder.FiveMFile("FiveM.exe"));

    launcher.Kill();

    Phase idle, idleInBrowser;
    long residentIdle = -1, residentInBrowser = -1;
    bool measured = MeasureMainWindow(service, serverPid, seconds, false, &idle, &residentIdle);
    bool measuredInBrowser = MeasureMainWindow(service, serverPid, seconds, true, &idleInBrowser, &residentInBrowser);

    Print("dialog waiting for a click:", dialog);
    Print(("download running (limit " + rate + "/s):").c_str(), download);
    if (measured) Print("main window idle, still page:", idle);
    if (measuredInBrowser) Print("main window idle, Chromium's page:", idleInBrowser);
    printf("launcher working set at the dialog: %.1f MB, main window %.1f MB (with Chromium's page %.1f MB)\n",
           residentAtDialog / 1024.0, residentIdle / 1024.0, residentInBrowser / 1024.0);
    printf("status line at the end: %s (%s)\n", status.c_str(), stillRunning ? "still downloading" : "NOT downloading");
    if (!measured || !measuredInBrowser) printf("the main window could not be measured%s\n",
                                                measured ? " with Chromium's page" : "");
    printf("goal: about 0%% while the dialog waits, under 2%% of a core while downloading and at the idle main window\n");
    return stillRunning && measured && measuredInBrowser ? 0 : 1;
}
