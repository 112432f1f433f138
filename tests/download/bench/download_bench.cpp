// Download benchmark (prints figures; not a test): a 256 MiB file served on
// 127.0.0.1, fetched once through StartDownload and the completion
// notification, then once by curl on the Linux side. While the launcher side
// waits it polls the daemon the way the updater window does (status batch
// and statistics every 100 ms, the watchdog every second), so the CPU figure
// is what the launcher costs during a real download.
//
//   download_bench.exe [size in MiB, default 256] [threads, default 16]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "daemon_fixture.h"
#include "download/daemon_control.h"
#include "download/daemon_endpoint.h"
#include "download/download_start.h"
#include "download/engine_bindings.h"
#include "download/low_speed_watchdog.h"
#include "download/notifications.h"
#include "download/rpc_request.h"
#include "download/status_queries.h"
#include "utilities/command_line.h"

namespace {

HANDLE completed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
void OnBenchComplete(const std::string&) { SetEvent(completed); }

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return double(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 1e7; };
    return value(kernel) + value(user);
}

bool WriteTestFile(const std::string& path, size_t mib) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string block = TestBytes(1 << 20, 7);
    bool ok = true;
    for (size_t i = 0; i < mib && ok; ++i) {
        block[0] = (char)i;  // no two blocks alike
        DWORD written = 0;
        ok = WriteFile(file, block.data(), (DWORD)block.size(), &written, nullptr) && written == block.size();
    }
    CloseHandle(file);
    return ok;
}

ULONGLONG FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

struct Run {
    double seconds = 0;
    double cpu = 0;
    int ticks = 0;
    bool complete = false;
};

// One download through the engine, timed from StartDownload to the
// completion notification. With poll the waiting thread asks for status
// and statistics every 100 ms and runs the watchdog every second.
Run DownloadThroughEngine(TestProgramFolder& folder, RangeHttpServer& server, const std::string& out, int threads,
                          bool poll) {
    ResetEvent(completed);
    Run run;
    LARGE_INTEGER start, end;
    double cpuStart = ProcessCpuSeconds();
    QueryPerformanceCounter(&start);
    std::string dir = folder.Path();
    StartDownload(server.Url("bench.bin"), dir, out, threads);
    DWORD giveUp = GetTickCount() + 600 * 1000;
    while (WaitForSingleObject(completed, poll ? 100 : 1000) == WAIT_TIMEOUT && GetTickCount() < giveUp) {
        if (!poll) continue;
        std::vector<DownloadStatus> statuses;
        Aria2TellStatusBatch(folder.gids.Snapshot(), statuses);
        Aria2GetGlobalStat();
        if (++run.ticks % 10 == 0) LowSpeedWatchdogTick();
    }
    QueryPerformanceCounter(&end);
    run.cpu = std::max(0.0, ProcessCpuSeconds() - cpuStart);
    run.seconds = Seconds(start, end);
    run.complete = WaitForSingleObject(completed, 0) == WAIT_OBJECT_0;
    return run;
}

// Runs a shell command on the Linux side in the program folder and gives
// its wall time as the shell measured it; 0 when it did not finish.
double TimeLinuxCommand(TestProgramFolder& folder, const std::string& name, const std::string& command) {
    std::string timeFile = name + ".time";
    RunCommandLine("Z:\\bin\\sh -c \"s=$(date +%s.%N); " + command + "; e=$(date +%s.%N); echo $s $e > " + timeFile +
                       ".tmp; mv " + timeFile + ".tmp " + timeFile + "\"",
                   SW_HIDE, false, folder.Path());
    WaitFor([&] { return !testsupport::ReadFileBytes(folder.File(timeFile)).empty(); }, 600 * 1000);
    double s = 0, e = 0;
    sscanf(testsupport::ReadFileBytes(folder.File(timeFile)).c_str(), "%lf %lf", &s, &e);
    return e - s;
}

}  // namespace

int main(int argc, char** argv) {
    size_t mib = argc > 1 ? (size_t)atoi(argv[1]) : 256;
    int threads = argc > 2 ? atoi(argv[2]) : 16;
    if (PortAccepts(kDaemonPort)) {
        printf("port %d is taken; stop the other daemon first\n", kDaemonPort);
        return 1;
    }
    TestProgramFolder folder;
    if (!WriteTestFile(folder.FilesFolder() + "\\bench.bin", mib)) {
        printf("cannot write the test file\n");
        return 1;
    }
    RangeHttpServer server(folder.FilesFolder());
    if (server.port() == 0) {
        printf("the file server did not start (QM_SOURCE_DIR set?)\n");
        return 1;
    }
    DownloadEngineBindings bindings = DownloadEngine();
    bindings.onDownloadComplete = OnBenchComplete;
    int32_t limit = 0;
    bindings.lowSpeedLimitKB = &limit;
    BindDownloadEngine(bindings);

    // Daemon start-up and the WebSocket handshake are not part of the download.
    EnsureDownloadDaemon();
    NotificationSubscribe("aria2.onDownloadComplete", OnBenchComplete);

    for (int i = 0; i < 5; ++i) Aria2GetGlobalStat();  // warm up WinInet
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    for (int i = 0; i < 20; ++i) Aria2GetGlobalStat();
    QueryPerformanceCounter(&after);
    double requestMs = Seconds(before, after) * 1000.0 / 20;

    // The first download after the daemon's start runs slower whatever is
    // measured; it is left out.
    DownloadThroughEngine(folder, server, "warmup.bin", threads, false);
    DeleteFileA(folder.File("warmup.bin").c_str());
    Run quiet = DownloadThroughEngine(folder, server, "quiet.bin", threads, false);
    Run polled = DownloadThroughEngine(folder, server, "bench.bin", threads, true);
    double curlSeconds = TimeLinuxCommand(folder, "curl", "curl -s -o curl.bin " + server.Url("bench.bin"));
    double nativeSeconds =
        TimeLinuxCommand(folder, "native",
                         "/usr/bin/aria2c -q --file-allocation=none -s " + std::to_string(threads == 0 ? 8 : threads) +
                             " -x 16 -d . -o native.bin " + server.Url("bench.bin"));
    const ULONGLONG expected = (ULONGLONG)mib << 20;
    bool ok = polled.complete && quiet.complete && FileSize(folder.File("bench.bin")) == expected &&
              FileSize(folder.File("quiet.bin")) == expected && FileSize(folder.File("curl.bin")) == expected &&
              FileSize(folder.File("native.bin")) == expected;

    printf("file: %zu MiB from 127.0.0.1, %d threads%s\n", mib, threads, ok ? "" : "  (SOME DOWNLOAD FAILED)");
    printf("StartDownload + notification, polled like the updater window: %.3f s\n", polled.seconds);
    printf("StartDownload + notification, waiting only:                   %.3f s\n", quiet.seconds);
    printf("curl (Linux side):                                            %.3f s\n", curlSeconds);
    printf("aria2c alone (Linux side, same split):                        %.3f s\n", nativeSeconds);
    printf("ratio StartDownload / curl:    %.2f (polled), %.2f (waiting only)\n", polled.seconds / curlSeconds,
           quiet.seconds / curlSeconds);
    printf("ratio StartDownload / aria2c:  %.2f (polled), %.2f (waiting only)\n", polled.seconds / nativeSeconds,
           quiet.seconds / nativeSeconds);
    printf(
        "launcher CPU while waiting: %.3f s = %.2f%% of wall time (polled, %d ticks); %.3f s = %.2f%% (waiting only)\n",
        polled.cpu, 100.0 * polled.cpu / polled.seconds, polled.ticks, quiet.cpu, 100.0 * quiet.cpu / quiet.seconds);
    printf("one JSON-RPC request over WinInet: %.1f ms on average\n", requestMs);
    fflush(stdout);
    return ok ? 0 : 2;
}
