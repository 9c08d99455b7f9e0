// A window that puts its paint straight on its own X11 window, past Qt's
// backing store. On X11 a repaint through the backing store costs a round
// trip to the server, a copy into the store and a flush with a completion
// event for each frame; the drawing area repaints 40 times a second, and
// that was a third of what the running program cost. Other platforms, and
// servers that cannot share memory with us, keep the backing store.
#pragma once

#include <QRect>
#include <cstddef>
#include <cstdint>

class QWidget;
struct xcb_connection_t;

namespace lunvik::platform {

// True when windows can put straight on the screen: Qt runs on X11, the
// server takes shared memory as a file descriptor (MIT-SHM 1.2) and 32-bit
// pixels laid out as ours (0x..RRGGBB, least significant byte first).
bool CanPutOnScreen();

// Makes a widget that is about to be shown paint straight on its own native
// window; its paint events then come without a QPainter target. False, and
// nothing changed, when the screen cannot take it.
bool PaintOnScreen(QWidget* widget);

// The puts of one window. A shared-memory segment holds one frame's rectangle
// on its way to the server; the next put waits until the server has taken
// the last one, so a frame is never torn.
class CScreenPut {
  public:
    explicit CScreenPut(QWidget* widget);
    ~CScreenPut();
    CScreenPut(const CScreenPut&) = delete;
    CScreenPut& operator=(const CScreenPut&) = delete;

    // Puts the rectangle source of bits (rows of stride pixels) with its top
    // left at to, in device pixels of the window. False when the window cannot
    // be put on (its visual is not ours, the segment cannot be shared); the
    // caller then paints through Qt.
    bool Put(const std::uint32_t* bits, int stride, const QRect& source, const QPoint& to);

  private:
    bool Ready(xcb_connection_t* connection, std::size_t bytes);
    bool Bind(xcb_connection_t* connection);
    bool Attach(xcb_connection_t* connection, std::size_t bytes);
    void WaitForLastPut(xcb_connection_t* connection);
    void Detach(xcb_connection_t* connection);

    QWidget* const m_widget;
    xcb_connection_t* const m_connection;
    std::uint32_t m_window = 0;
    std::uint32_t m_gc = 0;
    std::uint8_t m_depth = 0;
    std::uint32_t m_segment = 0;
    void* m_memory = nullptr;
    std::size_t m_capacity = 0;
    unsigned int m_lastPut = 0;  // sequence of the round trip after the last put
    bool m_putPending = false;
    bool m_broken = false;
};

}  // namespace lunvik::platform
