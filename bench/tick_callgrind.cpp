// Runs page-two ticks with callgrind's instrumentation on only around them:
//
//   valgrind --tool=callgrind --instr-atstart=no build/<dir>/bench/tick_callgrind [ticks]
//
// It prints the pixels and segments the ticks drew, counted in a first,
// uninstrumented run of the same frames, so that the instruction count
// divides into instructions per tick and per pixel (bench/callgrind-tick does it).
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>

#include "bench/page_two_scene.h"

using lunvik::bench::CPageTwoScene;
using lunvik::bench::SSegment;

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 200;
    const int linesPerWall = argc > 2 ? std::atoi(argv[2]) : 10;
    auto app = lunvik::bench::MakeApplication(argc, argv);

    std::int64_t pixels = 0;
    std::int64_t segments = 0;
    {
        CPageTwoScene scene(linesPerWall);
        std::vector<SSegment> drawn;
        for (int i = 0; i < ticks; ++i) {
            drawn.clear();
            scene.AppendSegments(drawn);  // erased by the tick
            scene.Tick();
            scene.AppendSegments(drawn);  // drawn by it
            pixels += scene.Pixels(drawn);
            segments += static_cast<std::int64_t>(drawn.size());
        }
    }

    CPageTwoScene scene(linesPerWall);
    CALLGRIND_ZERO_STATS;
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < ticks; ++i) {
        scene.Tick();
    }
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("ticks %d\nsegments %lld\npixels %lld\n", ticks, static_cast<long long>(segments),
                static_cast<long long>(pixels));
    return 0;
}
