#include "launcher/app/worker_thread.h"

#include <windows.h>

#include <memory>

#include "utilities/guarded_call.h"
#include "utilities/win_handles.h"

namespace {
DWORD WINAPI WorkerEntry(void* parameter) {
    auto routine = reinterpret_cast<WorkerRoutine>(parameter);
    GuardedCall(routine);
    return 0;
}

DWORD WINAPI OwnedWorkEntry(void* parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    GuardedCall(*work);
    return 0;
}
}  // namespace

bool StartWorkerThread(WorkerRoutine routine) {
    if (!routine) return false;
    UniqueHandle thread(CreateThread(nullptr, 0, WorkerEntry, reinterpret_cast<void*>(routine), 0, nullptr));
    return thread.Valid();
}

bool StartWorkerThread(std::function<void()> work) {
    if (!work) return false;
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    UniqueHandle thread(CreateThread(nullptr, 0, OwnedWorkEntry, owned.get(), 0, nullptr));
    if (!thread.Valid()) return false;
    owned.release();  // the thread's now
    return true;
}

void StartWorkerOrEnd(WorkerRoutine routine) {
    if (!StartWorkerThread(routine)) EndAfterRuntimeError();
}
