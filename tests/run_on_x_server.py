#!/usr/bin/env python3
"""Runs a test program on an X server of its own (Xvfb) through SDL's X11 driver.

The in-process tests run on SDL's offscreen driver, whose windows keep their buffers whatever
the GL context does. A real window system's driver may not: a window's back buffer can lose its
contents when the context moves to another window. Suites that depend on what a window's own
buffers keep run here a second time, on a real X server.

Usage: run_on_x_server.py PROGRAM [ARGUMENTS...]; the program's exit code is the result.
"""

import os
import select
import subprocess
import sys
import time


def start_server(size=(1024, 768)):
    """Starts Xvfb with a screen of that size on a display it chooses itself; returns the process
    and the display name. Raises RuntimeError when the server does not start."""
    read_end, write_end = os.pipe()
    # The server does not reset when its last client leaves: a short-lived client (xdotool
    # asking whether a window is there yet) may be that client while the program is still
    # starting, and a program that connects while the server resets cannot open the display.
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size[0]}x{size[1]}x24",
         "-nolisten", "tcp", "-noreset"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    busy = os.getloadavg()[0] / (os.cpu_count() or 1)
    deadline = time.monotonic() + 10 * max(1.0, busy)
    while not number.endswith(b"\n"):
        if not select.select([read_end], [], [], max(0, deadline - time.monotonic()))[0]:
            break
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    if not number.endswith(b"\n"):
        server.kill()
        server.wait()
        raise RuntimeError("Xvfb did not start")
    return server, ":" + number.decode().strip()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    try:
        server, display = start_server()
    except RuntimeError as error:
        sys.exit(f"run_on_x_server: {error}")
    env = dict(os.environ, DISPLAY=display, SDL_VIDEODRIVER="x11")
    env.pop("WAYLAND_DISPLAY", None)
    try:
        result = subprocess.run(sys.argv[1:], env=env)
    finally:
        server.terminate()
        server.wait()
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
