// A race the thread build must report, suppressions and all: a job on our pool writes the bytes
// of a QByteArray while this thread has Qt copy them, with nothing ordering the two. The copy
// reads inside Qt, the job writes in our code; hiding what Qt's libraries do hides this race
// too. The job's end is handed over where the sanitizer sees it, so this race is the only one.
#include "motor/runpool.h"

#include <QByteArray>
#include <QCoreApplication>

#include <atomic>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QByteArray shared(4096, '\0');
    char *const bytes = shared.data();
    // 1: written; 2: copied. Relaxed, so that they order nothing for the sanitizer.
    std::atomic<int> stage{0};
    motor::detail::Workers::Group job;
    motor::detail::Workers::pool().start(&job, [bytes, &stage] {
        for (int i = 0; i < 4096; ++i)
            bytes[i] = char(i);
        stage.store(1, std::memory_order_relaxed);
        while (stage.load(std::memory_order_relaxed) != 2) {
        }
    });
    while (stage.load(std::memory_order_relaxed) != 1) {
    }
    const QByteArray copy(shared.constData(), shared.size());
    stage.store(2, std::memory_order_relaxed);
    job.wait();
    std::printf("copied %d bytes\n", int(copy.size()));
    return 0;
}
