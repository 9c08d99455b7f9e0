"""pointer_flood.py RATE SECONDS X Y WIDTH HEIGHT: RATE XTEST pointer moves a
second to random places in the rectangle on $DISPLAY, written straight to the
server's socket (python-xlib makes only a few thousand a second)."""
import os
import random
import socket
import struct
import sys
import time

from Xlib import display

rate, seconds, left, top, width, height = map(int, sys.argv[1:7])
opcode = display.Display().query_extension("XTEST").major_opcode
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.connect("/tmp/.X11-unix/X" + os.environ["DISPLAY"].lstrip(":").split(".")[0])
server.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))  # no authorisation
head = server.recv(8, socket.MSG_WAITALL)
if head[0] != 1:
    sys.exit("pointer_flood: the X server refused the connection")
server.recv(struct.unpack("<H", head[6:8])[0] * 4, socket.MSG_WAITALL)

random.seed(20)
start = time.monotonic()
sent = 0
while (now := time.monotonic() - start) < seconds:
    due = min(int(now * rate), sent + rate // 50)
    # FakeInput: MotionNotify to an absolute place on the pointer's screen.
    server.sendall(b"".join(
        struct.pack("<BBHBBxxIIxxxxxxxxhhxxxxxxxB", opcode, 2, 9, 6, 0, 0, 0,
                    left + random.randrange(width), top + random.randrange(height), 0)
        for _ in range(due - sent)))
    sent = due
    time.sleep(0.002)
print(f"pointer flood: {sent} moves in {time.monotonic() - start:.1f} s")
