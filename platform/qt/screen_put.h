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

#include "platform/raster/raster.h"

class QWidget;
struct xcb_connection_t;

namespace lunvik::platform {

// True when windows can put straight on the screen: Qt runs on X11, a
// second connection to its server can be made (PutConnection), and the
// server takes shared memory as a file descriptor (MIT-SHM 1.2) and 32-bit
// pixels laid out as ours (0x..RRGGBB, least significant byte first).
bool CanPutOnScreen();

// Makes a widget that is about to be shown paint straight on its own native
// window; its paint events then come without a QPainter target. False, and
// nothing changed, when the screen cannot take it.
bool PaintOnScreen(QWidget* widget);

// The puts of one window. The bitmaps such a window is made to blit have
// their pixels in memory shared with the X server (raster_screen.cpp), so a
// put copies nothing: the server reads the changed rectangle from the bitmap
// itself. A put marks the bitmap being read: drawing into it again first
// waits until the server has read it, so a frame is never torn.
class CScreenPut {
  public:
    explicit CScreenPut(QWidget* widget);
    ~CScreenPut();
    CScreenPut(const CScreenPut&) = delete;
    CScreenPut& operator=(const CScreenPut&) = delete;

    // Puts the rectangle source of bitmap with its top left at to, in device
    // pixels of the window. False when it cannot (the bitmap's memory is not
    // shared with the server, the window's visual is not ours); the caller
    // then paints through Qt.
    bool Put(const HBITMAP__& bitmap, const QRect& source, const QPoint& to);

  private:
    bool Bind(xcb_connection_t* connection);

    QWidget* const m_widget;
    xcb_connection_t* m_connection = nullptr;  // the one m_gc was made on
    std::uint32_t m_window = 0;
    std::uint32_t m_gc = 0;
    std::uint8_t m_depth = 0;
};

// The connection puts go on, a second one to the server Qt runs on, while
// it works and takes puts; null when there is none.
xcb_connection_t* PutConnection();

// raster_screen.cpp. Qt's connection to the X server, when Qt runs on X11; a
// connection while it works (a lost display leaves nothing to put on).
xcb_connection_t* QtConnection();
xcb_connection_t* Working(xcb_connection_t* connection);
// The put connection is closing: no bitmap's memory is shared on it any more.
void ForgetSharedConnection();
// The working connection that bits are shared on, and the server's segment
// that holds them; false when they are not shared (any more).
bool SharedSegment(const std::uint32_t* bits, xcb_connection_t** connection,
                   std::uint32_t* segment);
// A put from bits went out: the server has read them once it has answered
// the request with sequence number readBy.
void HandedToServer(const std::uint32_t* bits, unsigned int readBy);

}  // namespace lunvik::platform
