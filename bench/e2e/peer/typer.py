#!/usr/bin/python3
"""Types for the start-up measurement, through XTEST on one long-lived
connection (starting xdotool takes tens of milliseconds on a busy machine,
more than the resolution that measurement needs).

One command per line on stdin, "ok" on stdout once the X server has it:
  type DELAY_MS TEXT    the characters of TEXT (letters, digits, space)
  clear                 Ctrl+A, Delete
"""
import sys
import time

from Xlib import XK, display

import xkeys


def main():
    d = display.Display()

    def tap(keysym, delay_s=0.0, ctrl=False):
        ctrl_code = d.keysym_to_keycode(XK.XK_Control_L)
        xkeys.tap(d, d.keysym_to_keycode(keysym), ctrl_code if ctrl else 0)
        d.sync()
        if delay_s:
            time.sleep(delay_s)

    for line in sys.stdin:
        cmd, _, rest = line.rstrip("\n").partition(" ")
        if cmd == "type":
            delay, _, text = rest.partition(" ")
            for ch in text:
                tap(XK.string_to_keysym("space" if ch == " " else ch), int(delay) / 1000)
        elif cmd == "clear":
            tap(XK.XK_a, ctrl=True)
            tap(XK.XK_Delete)
        print("ok", flush=True)


if __name__ == "__main__":
    main()
