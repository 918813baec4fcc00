#!/usr/bin/env python3
"""Asks an X window to close, as a window manager's close button does: a WM_DELETE_WINDOW
client message. (xdotool here can only destroy a window, which no user can do.)
Usage: close-window.py WINDOW_ID"""

import ctypes
import sys

CLIENT_MESSAGE = 33


class ClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
        ("pad", ctypes.c_long * 24),  # an XEvent is 24 longs; XSendEvent copies that much
    ]


def main():
    window = int(sys.argv[1], 0)
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("close-window: cannot open the display")
    protocols = x11.XInternAtom(display, b"WM_PROTOCOLS", False)
    delete = x11.XInternAtom(display, b"WM_DELETE_WINDOW", False)
    event = ClientMessage(type=CLIENT_MESSAGE, send_event=1, display=display, window=window,
                          message_type=protocols, format=32)
    event.data[0] = delete
    x11.XSendEvent(display, window, False, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
