#include "launcher/app/worker_thread.h"

#include <windows.h>

#include "utilities/guarded_call.h"
#include "utilities/win_handles.h"

namespace {
DWORD WINAPI WorkerEntry(void* parameter) {
    auto routine = reinterpret_cast<WorkerRoutine>(parameter);
    GuardedCall(routine);
    return 0;
}
}  // namespace

bool StartWorkerThread(WorkerRoutine routine) {
    if (!routine) return false;
    UniqueHandle thread(CreateThread(nullptr, 0, WorkerEntry, reinterpret_cast<void*>(routine), 0, nullptr));
    return thread.Valid();
}

void StartWorkerOrEnd(WorkerRoutine routine) {
    if (!StartWorkerThread(routine)) EndAfterRuntimeError();
}
