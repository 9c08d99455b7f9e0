// One whole page-two tick after START (timer message to repainted frame,
// headless), and in the same run the same segments drawn three more ways:
// by our raster, by QPainter into a QImage of the same size (1-pixel pen, no
// antialiasing), and as a floor, a plain loop storing as many pixels. The
// ratios come out as counters; machine load affects all four alike.
//
//   build/<dir>/bench/tick_bench [--benchmark_out=tick.json --benchmark_out_format=json]
//
// The argument is the grid's lines per wall (10 as the program has it).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <ctime>
#include <vector>

#include "bench/page_two_scene.h"
#include "platform/raster/raster.h"

namespace {

using lunvik::bench::CPageTwoScene;
using lunvik::bench::SSegment;

// Thread CPU time rather than wall time: the machine may be busy with others.
template <class F>
double Seconds(F&& f) {
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    f();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
}

// Our raster on a bitmap of its own; the first `erased` segments in black.
class CRasterLines {
  public:
    CRasterLines(int width, int height)
        : m_dc(CreateCompatibleDC(GetDC(nullptr))),
          m_bitmap(CreateCompatibleBitmap(m_dc, width, height)),
          m_ink(CreatePen(PS_SOLID, 1, RGB(0, 255, 0))),
          m_erase(CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) {
        SelectObject(m_dc, m_bitmap);
    }
    ~CRasterLines() {
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
        DeleteObject(m_ink);
        DeleteObject(m_erase);
    }
    void Draw(const std::vector<SSegment>& segments, std::size_t erased) {
        SelectObject(m_dc, m_erase);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            if (i == erased) {
                SelectObject(m_dc, m_ink);
            }
            MoveToEx(m_dc, segments[i].x0, segments[i].y0, nullptr);
            LineTo(m_dc, segments[i].x1, segments[i].y1);
        }
        benchmark::DoNotOptimize(m_bitmap->m_bits);
    }
    std::uint32_t* Bits() { return m_bitmap->m_bits; }

  private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HPEN m_ink;
    HPEN m_erase;
};

class CQPainterLines {
  public:
    CQPainterLines(int width, int height) : m_image(width, height, QImage::Format_RGB32) {
        m_image.fill(Qt::black);
    }
    void Draw(const std::vector<SSegment>& segments, std::size_t erased) {
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(0, 0, 0), 1));
        for (std::size_t i = 0; i < segments.size(); ++i) {
            if (i == erased) {
                painter.setPen(QPen(QColor(0, 255, 0), 1));
            }
            painter.drawLine(segments[i].x0, segments[i].y0, segments[i].x1, segments[i].y1);
        }
    }

  private:
    QImage m_image;
};

// The floor: for each segment, as many pixels as it covers stored one by
// one from its first end along its row (wrapping round the buffer), by a
// loop the compiler may not turn into block stores.
void Floor(std::uint32_t* bits, int width, int height, const std::vector<SSegment>& segments) {
    const std::int64_t size = std::int64_t{width} * height;
    for (const SSegment& s : segments) {
        std::int64_t n = CClippedLine(s.x0, s.y0, s.x1, s.y1, width, height).Count();
        std::int64_t at =
            std::int64_t{std::clamp(s.y0, 0, height - 1)} * width + std::clamp(s.x0, 0, width - 1);
        for (; n > 0; --n) {
            bits[at] = 0xFF00FF00u;
            benchmark::ClobberMemory();
            at = at + 1 == size ? 0 : at + 1;
        }
    }
}

void BM_PageTwoTick(benchmark::State& state) {
    CPageTwoScene scene(static_cast<int>(state.range(0)));
    const int width = scene.Width();
    const int height = scene.Height();
    CRasterLines raster(width, height);
    CQPainterLines qpainter(width, height);
    std::vector<SSegment> segments;
    segments.reserve(8192);
    double tick = 0;
    double lines = 0;
    double qt = 0;
    double floor = 0;
    std::int64_t pixels = 0;
    std::int64_t drawn = 0;
    for (auto _ : state) {
        segments.clear();
        scene.AppendSegments(segments);  // what the tick erases
        const std::size_t erased = segments.size();
        tick += Seconds([&] { scene.Tick(); });
        scene.AppendSegments(segments);  // and what it draws
        lines += Seconds([&] { raster.Draw(segments, erased); });
        qt += Seconds([&] { qpainter.Draw(segments, erased); });
        floor += Seconds([&] { Floor(raster.Bits(), width, height, segments); });
        pixels += scene.Pixels(segments);
        drawn += static_cast<std::int64_t>(segments.size());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["segments"] = static_cast<double>(drawn) / n;
    state.counters["pixels"] = static_cast<double>(pixels) / n;
    state.counters["tick_us"] = tick / n * 1e6;
    state.counters["lines_us"] = lines / n * 1e6;
    state.counters["qpainter_us"] = qt / n * 1e6;
    state.counters["floor_us"] = floor / n * 1e6;
    state.counters["qpainter_over_lines"] = qt / lines;
    state.counters["lines_over_floor"] = lines / floor;
    state.counters["tick_over_floor"] = tick / floor;
}
BENCHMARK(BM_PageTwoTick)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    auto app = lunvik::bench::MakeApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
