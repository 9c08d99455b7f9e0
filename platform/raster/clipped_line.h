// One-pixel line between integer points, clipped to a pixel rectangle before
// it is walked.
//
// The walk is Bresenham's, always from the first point towards the second,
// and leaves the second point out. With a = the longer and b = the shorter
// extent, step i (0 <= i < a) sits at offset i along the major axis and at
// m(i) = floor((2*i*b + a) / (2*a)) along the minor axis: the nearest pixel
// row, and on an exact tie the one further along the walk. Because the rule is
// a closed form of i, a clipped line can start and stop anywhere inside the
// walk and still hit exactly the pixels of the whole line (Kuzmin's technique:
// the first and last visible steps come from the error term of the unclipped
// line). Erase-by-redraw relies on this: the same segment always covers the
// same pixels, whatever part of it is visible.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/win_types.h"

// Steps walked by all lines so far, counted only in the fuzz build, which
// checks that the work follows the visible pixels and not the line's length.
#ifdef LUNVIK_COUNT_RASTER_STEPS
inline std::int64_t g_rasterSteps = 0;
#define LUNVIK_RASTER_STEPS(n) (g_rasterSteps += (n))
#else
#define LUNVIK_RASTER_STEPS(n) ((void)0)
#endif
#define LUNVIK_RASTER_STEP() LUNVIK_RASTER_STEPS(1)

class CClippedLine {
  public:
    // The pixels of the line from (x0, y0) up to but not including (x1, y1)
    // that lie in [0, width) x [0, height). Any 32-bit end points are fine;
    // the cost does not depend on the line's length.
    CClippedLine(LONG x0, LONG y0, LONG x1, LONG y1, LONG width, LONG height) {
        const std::int64_t dx = std::int64_t{x1} - x0;
        const std::int64_t dy = std::int64_t{y1} - y0;
        m_stepX = dx < 0 ? -1 : 1;
        m_stepY = dy < 0 ? -1 : 1;
        const std::int64_t ax = dx < 0 ? -dx : dx;
        const std::int64_t ay = dy < 0 ? -dy : dy;
        m_xMajor = ax >= ay;
        const std::int64_t a = m_xMajor ? ax : ay;  // steps of the walk
        const std::int64_t b = m_xMajor ? ay : ax;
        m_twoMajor = 2 * a;
        m_twoMinor = 2 * b;
        if (a == 0 || width <= 0 || height <= 0) {
            return;  // nothing to walk, or nowhere to draw
        }
        if (x0 >= 0 && x0 < width && y0 >= 0 && y0 < height && x1 >= 0 && x1 < width && y1 >= 0 &&
            y1 < height) {
            // Every pixel lies in the box of the end points: nothing to clip.
            m_x = x0;
            m_y = y0;
            m_rest = a;
            m_count = a;
            return;
        }
        Clip(x0, y0, width, height, a, b);
    }

    // Number of visible pixels, which is also the number of walk steps.
    std::int64_t Count() const { return m_count; }

    // Calls plot(x, y) for each visible pixel, in walk order.
    template <class F>
    void ForEach(F&& plot) const {
        LONG x = m_x;
        LONG y = m_y;
        std::int64_t rest = m_rest;
        if (m_xMajor) {
            for (std::int64_t i = 0; i < m_count; ++i) {
                LUNVIK_RASTER_STEP();
                plot(x, y);
                x += m_stepX;
                rest += m_twoMinor;
                if (rest >= m_twoMajor) {
                    rest -= m_twoMajor;
                    y += m_stepY;
                }
            }
        } else {
            for (std::int64_t i = 0; i < m_count; ++i) {
                LUNVIK_RASTER_STEP();
                plot(x, y);
                y += m_stepY;
                rest += m_twoMinor;
                if (rest >= m_twoMajor) {
                    rest -= m_twoMajor;
                    x += m_stepX;
                }
            }
        }
    }

    // Sets the visible pixels to pixel in rows of stride pixels starting at
    // bits: the walk of ForEach, stepping a pointer.
    void Fill(std::uint32_t* bits, std::int64_t stride, std::uint32_t pixel) const {
        if (m_count <= 0) {
            return;
        }
        std::uint32_t* const first = bits + m_y * stride + m_x;
        const std::int64_t error = m_rest - m_twoMajor;
        if (m_xMajor) {
            FillWalk(first, m_count, error, m_twoMinor, m_twoMajor, m_stepX, m_stepY * stride,
                     pixel);
        } else {
            FillWalk(first, m_count, error, m_twoMinor, m_twoMajor, m_stepY * stride, m_stepX,
                     pixel);
        }
    }

  private:
    // The first visible step and the number of them, for a line that may
    // leave the buffer.
    void Clip(LONG x0, LONG y0, LONG width, LONG height, std::int64_t a, std::int64_t b);

    // Sets the n pixels of the walk from p on, in runs where the line is
    // flatter than one in two, else step by step: a step of major each, and
    // of minor too whenever the error term, kept below zero between steps,
    // reaches zero. All in locals, so that the stores cannot make the
    // compiler reload anything.
    static void FillWalk(std::uint32_t* p, std::int64_t n, std::int64_t error, std::int64_t up,
                         std::int64_t down, std::ptrdiff_t major, std::ptrdiff_t minor,
                         std::uint32_t pixel) {
        if (2 * up <= down) {
            if (major == 1 || major == -1) {
                FillRuns<true>(p, n, error, up, down, major, minor, pixel);
            } else {
                FillRuns<false>(p, n, error, up, down, major, minor, pixel);
            }
            return;
        }
        // Steeper than one in two: runs of one or two pixels, so step by step.
        const auto step = [&] {
            LUNVIK_RASTER_STEP();
            *p = pixel;
            p += major;
            error += up;
            if (error >= 0) {
                error -= down;
                p += minor;
            }
        };
        // Four pixels a round, counted down to zero: the loop's own cost is
        // half an instruction per pixel.
        for (std::int64_t rounds = n >> 2; rounds != 0; --rounds) {
            step();
            step();
            step();
            step();
        }
        for (std::int64_t rest = n & 3; rest != 0; --rest) {
            step();
        }
    }

    // Sets the same pixels in runs along the major axis. Between two minor steps
    // the error term grows by up a pixel, so a run's length follows from the
    // error at its start: the first takes a division, and every later one is
    // whole or whole + 1 pixels long, whichever brings the error to zero.
    template <bool kAlongRow>
    static void FillRuns(std::uint32_t* p, std::int64_t n, std::int64_t error, std::int64_t up,
                         std::int64_t down, std::ptrdiff_t major, std::ptrdiff_t minor,
                         std::uint32_t pixel) {
        if (up == 0) {
            Run<kAlongRow>(p, n, major, pixel);  // flat or upright: one run
            return;
        }
        const std::int64_t whole = down / up;
        std::int64_t length = (up - 1 - error) / up;  // error < 0: ceil(-error / up)
        while (length < n) {
            Run<kAlongRow>(p, length, major, pixel);
            n -= length;
            p += length * major + minor;
            error += length * up - down;
            length = error + whole * up < 0 ? whole + 1 : whole;
        }
        Run<kAlongRow>(p, n, major, pixel);
    }

    // n pixels from p on, a step apart. Along a row (a step of one pixel
    // either way) they are one block, stored four pixels at a time, the last
    // four overlapping the others.
    template <bool kAlongRow>
    static void Run(std::uint32_t* p, std::int64_t n, std::ptrdiff_t step, std::uint32_t pixel) {
        LUNVIK_RASTER_STEPS(n);
        if (kAlongRow && n >= 4) {
            const std::uint32_t four[4] = {pixel, pixel, pixel, pixel};
            p = step > 0 ? p : p - (n - 1);
            std::uint32_t* const last = p + n - 4;
            for (; p < last; p += 4) {
                std::memcpy(p, four, sizeof four);
            }
            std::memcpy(last, four, sizeof four);
            return;
        }
        for (; n >= 4; n -= 4) {
            p[0] = pixel;
            p[step] = pixel;
            p[2 * step] = pixel;
            p[3 * step] = pixel;
            p += 4 * step;
        }
        for (; n > 0; --n) {
            *p = pixel;
            p += step;
        }
    }

    std::int64_t m_count = 0;
    LONG m_x = 0;  // first visible pixel
    LONG m_y = 0;
    LONG m_stepX = 1;
    LONG m_stepY = 1;
    bool m_xMajor = true;
    std::int64_t m_rest = 0;  // error term at the first visible pixel, in [0, 2a)
    std::int64_t m_twoMinor = 0;
    std::int64_t m_twoMajor = 0;
};
