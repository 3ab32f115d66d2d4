"""Keys through XTEST, for the harness's typing clients."""
from Xlib import X
from Xlib.ext import xtest


def tap(d, code, modifier=0):
    """Press and release the key, within a press of the modifier key if one
    is given; written to the connection's buffer, not flushed."""
    if modifier:
        xtest.fake_input(d, X.KeyPress, modifier)
    xtest.fake_input(d, X.KeyPress, code)
    xtest.fake_input(d, X.KeyRelease, code)
    if modifier:
        xtest.fake_input(d, X.KeyRelease, modifier)
