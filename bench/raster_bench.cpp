// Our raster's lines against QPainter drawing the same lines into a QImage of
// Format_RGB32 (1-pixel cosmetic pen, no antialiasing), with a memset of the
// same buffer as the floor. The comparison runs all three in one benchmark and
// reports ratios as counters, so that machine load affects them alike.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <chrono>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "platform/raster/raster.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Segment {
    int x0, y0, x1, y1;
};

// Mostly segments inside the buffer, a quarter reaching far outside it.
std::vector<Segment> MakeSegments(int count) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> x(0, kWidth - 1);
    std::uniform_int_distribution<int> y(0, kHeight - 1);
    std::uniform_int_distribution<int> far(-2000, 2000);
    std::vector<Segment> out;
    for (int i = 0; i < count; ++i) {
        if (i % 4 == 3) {
            out.push_back({far(rng), far(rng), far(rng), far(rng)});
        } else {
            out.push_back({x(rng), y(rng), x(rng), y(rng)});
        }
    }
    return out;
}

class CRasterTarget {
  public:
    CRasterTarget()
        : m_dc(CreateCompatibleDC(GetDC(nullptr))),
          m_bitmap(CreateCompatibleBitmap(m_dc, kWidth, kHeight)),
          m_pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0))) {
        SelectObject(m_dc, m_bitmap);
        SelectObject(m_dc, m_pen);
    }
    ~CRasterTarget() {
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
        DeleteObject(m_pen);
    }
    void Draw(const std::vector<Segment>& segments) {
        for (const Segment& s : segments) {
            MoveToEx(m_dc, s.x0, s.y0, nullptr);
            LineTo(m_dc, s.x1, s.y1);
        }
        benchmark::DoNotOptimize(m_bitmap->m_bits);
    }
    void Clear() {
        std::memset(m_bitmap->m_bits, 0, sizeof(std::uint32_t) * kWidth * kHeight);
        benchmark::DoNotOptimize(m_bitmap->m_bits);
    }

  private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HPEN m_pen;
};

class CQtTarget {
  public:
    CQtTarget() : m_image(kWidth, kHeight, QImage::Format_RGB32) {
        m_image.fill(Qt::black);
        m_pen.setCosmetic(true);
    }
    void Draw(const std::vector<Segment>& segments) {
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(m_pen);
        for (const Segment& s : segments) {
            painter.drawLine(s.x0, s.y0, s.x1, s.y1);
        }
    }

  private:
    QImage m_image;
    QPen m_pen{QColor(255, 0, 0), 0};
};

template <class F>
double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_LinesRasterVsQPainter(benchmark::State& state) {
    const auto segments = MakeSegments(static_cast<int>(state.range(0)));
    CRasterTarget raster;
    CQtTarget qt;
    double rasterTime = 0;
    double qtTime = 0;
    double memsetTime = 0;
    for (auto _ : state) {
        rasterTime += Seconds([&] { raster.Draw(segments); });
        qtTime += Seconds([&] { qt.Draw(segments); });
        memsetTime += Seconds([&] { raster.Clear(); });
    }
    const double lines = static_cast<double>(state.iterations()) * segments.size();
    const double frames = static_cast<double>(state.iterations());
    state.counters["raster_ns_per_line"] = rasterTime / lines * 1e9;
    state.counters["qpainter_ns_per_line"] = qtTime / lines * 1e9;
    state.counters["memset_us_per_buffer"] = memsetTime / frames * 1e6;
    state.counters["qpainter_over_raster"] = qtTime / rasterTime;
    state.counters["raster_batch_over_memset"] = rasterTime / memsetTime;
}
BENCHMARK(BM_LinesRasterVsQPainter)->Arg(64)->Arg(4096);

void BM_RasterLines(benchmark::State& state) {
    const auto segments = MakeSegments(4096);
    CRasterTarget raster;
    for (auto _ : state) {
        raster.Draw(segments);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(segments.size()));
}
BENCHMARK(BM_RasterLines);

void BM_QPainterLines(benchmark::State& state) {
    const auto segments = MakeSegments(4096);
    CQtTarget qt;
    for (auto _ : state) {
        qt.Draw(segments);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(segments.size()));
}
BENCHMARK(BM_QPainterLines);

void BM_MemsetBuffer(benchmark::State& state) {
    CRasterTarget raster;
    for (auto _ : state) {
        raster.Clear();
    }
}
BENCHMARK(BM_MemsetBuffer);

// End points anywhere in the 32-bit range: the cost stays that of the
// visible pixels. QPainter is left out; it is not built for such coordinates.
void BM_RasterLinesAtThe32BitLimits(benchmark::State& state) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> any(std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max());
    std::vector<Segment> segments;
    for (int i = 0; i < 4096; ++i) {
        // Through a random point of the buffer, so that most of them are visible.
        const std::int64_t cx = rng() % kWidth;
        const std::int64_t cy = rng() % kHeight;
        const int x0 = any(rng);
        const int y0 = any(rng);
        auto mirror = [](std::int64_t c, int v) {
            const std::int64_t m = 2 * c - v;
            return static_cast<int>(std::clamp<std::int64_t>(m, std::numeric_limits<int>::min(),
                                                             std::numeric_limits<int>::max()));
        };
        segments.push_back({x0, y0, mirror(cx, x0), mirror(cy, y0)});
    }
    CRasterTarget raster;
    for (auto _ : state) {
        raster.Draw(segments);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(segments.size()));
}
BENCHMARK(BM_RasterLinesAtThe32BitLimits);

}  // namespace

BENCHMARK_MAIN();
