#!/usr/bin/python3
"""close_window.py WINDOW: asks the window manager to close an X window, as
its close box does (_NET_CLOSE_WINDOW); the window's program decides."""
import sys

from Xlib import X, display, protocol

d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1], 0))
message = protocol.event.ClientMessage(
    window=window, client_type=d.intern_atom("_NET_CLOSE_WINDOW"), data=(32, [0, 2, 0, 0, 0]))
d.screen().root.send_event(message, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
d.flush()
