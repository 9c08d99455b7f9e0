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

#include <cstdint>

#include "platform/win_types.h"

// Steps walked by all lines so far, counted only in the fuzz build, which
// checks that the work follows the visible pixels and not the line's length.
#ifdef LUNVIK_COUNT_RASTER_STEPS
inline std::int64_t g_rasterSteps = 0;
#define LUNVIK_RASTER_STEP() (++g_rasterSteps)
#else
#define LUNVIK_RASTER_STEP() ((void)0)
#endif

class CClippedLine {
  public:
    // The pixels of the line from (x0, y0) up to but not including (x1, y1)
    // that lie in [0, width) x [0, height). Any 32-bit end points are fine;
    // the cost does not depend on the line's length.
    CClippedLine(LONG x0, LONG y0, LONG x1, LONG y1, LONG width, LONG height);

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
    void Fill(std::uint32_t* bits, std::int64_t stride, std::uint32_t pixel) const;

  private:
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
