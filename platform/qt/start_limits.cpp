#include "platform/qt/start_limits.h"

#include <fcntl.h>
#include <malloc.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QSemaphore>
#include <QThreadPool>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace lunvik::platform {
namespace {

// The main thread's deepest use, fontconfig parsing its configuration, is
// about 130 KB; 64 KB overflowed in it.
constexpr rlim_t kStackNeeded = 512 * 1024;
// A run takes about 135 MB of address space with one malloc arena; the rest
// is room for a maximised window's buffers on a large screen.
constexpr rlim_t kAddressSpaceNeeded = 256 * 1024 * 1024;
// Qt's helper threads get this, not the main thread's limit (ulimit -s), which
// glibc would give them: too little at 64 KB, and 8 MB of address space each.
constexpr std::size_t kHelperStack = 1024 * 1024;
// X11's event reader, the session bus (the menu bar and accessibility ask
// for it, and Qt 6.4 cannot go on without it), and one for painting: Qt's
// raster engine hands large fills to its thread pool and waits for them.
constexpr int kHelpersNeeded = 3;

std::string Kilobytes(rlim_t bytes) {
    return std::to_string(bytes / 1024) + " KB";
}

// Raises a soft limit below need as far as the hard one allows.
bool Raised(int resource, rlim_t need, rlim_t* had) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur >= need) {
        return true;
    }
    *had = limit.rlim_cur;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? need : std::min(limit.rlim_max, need);
    if (limit.rlim_cur >= need && setrlimit(resource, &limit) == 0) {
        return true;
    }
    // Root may raise the hard limit too.
    limit.rlim_cur = limit.rlim_max = need;
    return setrlimit(resource, &limit) == 0;
}

// Blocks until the other end of the pipe is closed.
void* WaitForRelease(void* pipe) {
    char byte = 0;
    while (read(*static_cast<int*>(pipe), &byte, 1) == -1 && errno == EINTR) {
    }
    return nullptr;
}

int ThreadCount() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    char line[128];
    int threads = -1;
    while (std::fgets(line, sizeof line, status) != nullptr &&
           std::sscanf(line, "Threads: %d", &threads) != 1) {
    }
    std::fclose(status);
    return threads;
}

// Threads are counted against the limit until the kernel has released them,
// a moment after they are joined. Waited for at most a second: a thread that
// some library started meanwhile must not keep the start waiting.
void UntilReleased(int before) {
    for (int tries = 0; tries < 1000 && ThreadCount() > before; ++tries) {
        usleep(1000);
    }
}

}  // namespace

bool EnoughStack(std::string* why) {
    rlim_t had = 0;
    if (Raised(RLIMIT_STACK, kStackNeeded, &had)) {
        return true;
    }
    *why = "the stack is limited to " + Kilobytes(had) + ": raise the limit to " +
           Kilobytes(kStackNeeded) + " or more (ulimit -s)";
    return false;
}

bool EnoughAddressSpace(std::string* why) {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        // Each thread's own malloc arena would reserve 64 MB of it.
        mallopt(M_ARENA_MAX, 1);
    }
    rlim_t had = 0;
    if (Raised(RLIMIT_AS, kAddressSpaceNeeded, &had)) {
        return true;
    }
    *why = "the address space is limited to " + Kilobytes(had) + ": raise the limit to " +
           Kilobytes(kAddressSpaceNeeded) + " or more (ulimit -v)";
    return false;
}

// Made, all alive at once, and joined: the only sure way to know, whatever
// counts against the process (ulimit -u, a control group's limit of tasks,
// the address space for their stacks).
bool EnoughThreads(int* helpers, std::string* why) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kHelperStack);
    pthread_setattr_default_np(&attributes);
    // As many as Qt's thread pool would start, and the two others.
    const long cores = std::clamp(sysconf(_SC_NPROCESSORS_ONLN), 1L, 16L);
    const auto wanted = static_cast<std::size_t>(kHelpersNeeded - 1 + cores);
    int gate[2];
    if (pipe2(gate, O_CLOEXEC) != 0) {
        gate[0] = gate[1] = -1;
    }
    const int before = ThreadCount();
    std::vector<pthread_t> made;
    pthread_t thread{};
    while (gate[0] != -1 && made.size() < wanted &&
           pthread_create(&thread, &attributes, WaitForRelease, &gate[0]) == 0) {
        made.push_back(thread);
    }
    pthread_attr_destroy(&attributes);
    close(gate[1]);
    for (pthread_t& each : made) {
        pthread_join(each, nullptr);
    }
    close(gate[0]);
    UntilReleased(before);
    *helpers = static_cast<int>(made.size());
    if (*helpers >= kHelpersNeeded) {
        return true;
    }
    *why = "only " + std::to_string(*helpers) + " of the " + std::to_string(kHelpersNeeded) +
           " threads the window system needs could be started: raise the limit of processes "
           "(ulimit -u)";
    return false;
}

bool KeepPaintHelpers(int helpers) {
    QThreadPool* pool = QThreadPool::globalInstance();
    const int painters = std::max(helpers - (kHelpersNeeded - 1), 1);
    pool->setMaxThreadCount(std::min(pool->maxThreadCount(), painters));
    // Started now and never retired: one that failed to start later would
    // leave the painting waiting for it for ever.
    pool->setExpiryTimeout(-1);
    const int count = pool->maxThreadCount();
    // Each waits until all have started, so that each has a thread of its own.
    static QSemaphore started;
    static QSemaphore go;
    for (int i = 0; i < count; ++i) {
        pool->start([] {
            started.release();
            go.acquire();
        });
    }
    // Failed to start, a thread would keep the program waiting for it for ever.
    const bool all = started.tryAcquire(count, 10000);
    go.release(count);
    return all;
}

}  // namespace lunvik::platform
