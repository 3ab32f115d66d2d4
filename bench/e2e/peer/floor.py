#!/usr/bin/python3
"""The floor's typing client: types a trigger at the harness's rhythm and
sends the replacement right behind its last key, all of it written to the X
server at once (XTEST on one connection, one flush): an expander that needed
no time to see the trigger and to send its keys.

  floor.py kb|clip DELAY_MS TRIGGER TEXT

kb: Backspaces for the trigger, then TEXT as keys (printable ASCII; Shift
where the key's first level types something else). clip: Backspaces, Ctrl+V.
"""
import sys
import time

from Xlib import XK, display

import xkeys


def main():
    mode, delay_ms, trigger, text = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    d = display.Display()
    shift = d.keysym_to_keycode(XK.XK_Shift_L)
    ctrl = d.keysym_to_keycode(XK.XK_Control_L)

    def keys_of(ch):
        keysym = XK.XK_space if ch == " " else ord(ch)
        code = d.keysym_to_keycode(keysym)
        if not code:
            sys.exit("no key types %r" % ch)
        return code, d.keycode_to_keysym(code, 0) != keysym

    def tap(code, with_shift=False):
        xkeys.tap(d, code, shift if with_shift else 0)

    for ch in trigger[:-1]:
        tap(*keys_of(ch))
        d.sync()
        time.sleep(delay_ms / 2000)   # xdotool type's rhythm: a key every DELAY/2 ms
    tap(*keys_of(trigger[-1]))
    backspace = d.keysym_to_keycode(XK.XK_BackSpace)
    for _ in trigger:
        tap(backspace)
    if mode == "clip":
        xkeys.tap(d, d.keysym_to_keycode(XK.XK_v), ctrl)
    else:
        for ch in text:
            tap(*keys_of(ch))
    d.sync()


if __name__ == "__main__":
    main()
