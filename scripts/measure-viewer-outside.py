#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop program on a 48-megapixel photo, timed as a user sees it: from outside the process.

Starts a virtual display (Xvfb), launches the program with an 8000 x 6000 JPEG on its command line
and grabs the screen every few milliseconds until the photo shows in the left pane; then clicks the
zoom-out button of the toolbar several times (each held a tenth of a second, as a person clicks) and
times each click from the press to the first screen that shows the smaller photo. The photo is the sample photo enlarged, with a magenta block of 400 x 300 pixels
at its centre: the block's pixels on the screen say whether the photo is there and at which zoom.

Needs Xvfb and Debian's python3-xlib and python3-numpy (apt-get install xvfb python3-xlib
python3-numpy). Usage: scripts/measure-viewer-outside.py [BUILD_DIR] [--runs N] [--clicks N]
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

import numpy as np
from Xlib import X, display
from Xlib.ext import xtest

SCREEN_W, SCREEN_H = 1280, 900
PHOTO_W, PHOTO_H = 8000, 6000
BLOCK_W, BLOCK_H = 400, 300


def read_bmp(path):
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    rows = np.frombuffer(data, np.uint8, stride * abs(height), offset).reshape(abs(height), stride)
    pixels = rows[:, : width * 3].reshape(abs(height), width, 3)
    return data[:offset], (pixels[::-1] if height > 0 else pixels).copy()


def write_bmp(path, header, pixels):
    height, width, _ = pixels.shape
    stride = (width * 3 + 3) & ~3
    rows = np.zeros((height, stride), np.uint8)
    rows[:, : width * 3] = pixels[::-1].reshape(height, width * 3)
    with open(path, "wb") as f:
        f.write(header)
        f.write(rows.tobytes())


def make_photo(cli, sample, folder):
    big_bmp = os.path.join(folder, "big.bmp")
    photo = os.path.join(folder, "photo-8000x6000.jpg")
    subprocess.run([cli, "adjust", "resize", "--size", f"{PHOTO_W}x{PHOTO_H}", sample, big_bmp], check=True)
    header, pixels = read_bmp(big_bmp)
    x0, y0 = (PHOTO_W - BLOCK_W) // 2, (PHOTO_H - BLOCK_H) // 2
    pixels[y0 : y0 + BLOCK_H, x0 : x0 + BLOCK_W] = (255, 0, 255)  # blue, green, red: magenta either way
    write_bmp(big_bmp, header, pixels)
    subprocess.run([cli, "adjust", "resize", "--size", f"{PHOTO_W}x{PHOTO_H}", big_bmp, photo], check=True)
    os.remove(big_bmp)
    return photo


def write_png(cli, shot, path, folder):
    ppm = os.path.join(folder, "screen.ppm")
    with open(ppm, "wb") as f:
        f.write(f"P6 {SCREEN_W} {SCREEN_H} 255\n".encode())
        f.write(np.ascontiguousarray(shot[:, :, 2::-1]).tobytes())
    subprocess.run([cli, "adjust", "resize", "--size", f"{SCREEN_W}x{SCREEN_H}", ppm, path], check=True)


class Screen:
    def __init__(self, name):
        self.d = display.Display(name)
        self.root = self.d.screen().root

    def grab(self, top=0, height=SCREEN_H):
        image = self.root.get_image(0, top, SCREEN_W, height, X.ZPixmap, 0xFFFFFFFF)
        return np.frombuffer(image.data, np.uint8).reshape(height, SCREEN_W, 4)

    def magenta(self):
        # A few rows across both panes through the block's centre: a whole screen takes a tenth of
        # a second to read back, these rows a millisecond.
        shot = self.grab(BAND_TOP, BAND_ROWS)
        b, g, r = shot[:, :, 0], shot[:, :, 1], shot[:, :, 2]
        return int(np.count_nonzero((r > 200) & (b > 200) & (g < 70)))

    def press(self, x, y):
        """Presses the left button at (x, y); the time of the press."""
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()
        time.sleep(0.05)
        start = time.monotonic()
        xtest.fake_input(self.d, X.ButtonPress, 1)
        self.d.sync()
        return start

    def release(self):
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()


def wait_for(screen, condition, timeout):
    start = time.monotonic()
    while time.monotonic() - start < timeout:
        count = screen.magenta()
        if condition(count):
            return time.monotonic(), count
        time.sleep(0.005)
    return None, screen.magenta()


# The rows through the panes' centres, where the block shows at every zoom.
BAND_TOP, BAND_ROWS = 466, 11
# The toolbar's zoom-out and actual-size buttons on a 1280 x 900 screen, read off a screenshot
# (--screenshot); the window starts where the program puts it on a screen of that size.
ZOOM_OUT_AT = (1130, 78)
ACTUAL_SIZE_AT = (1171, 78)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=os.path.join(root, "build"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--clicks", type=int, default=6)
    parser.add_argument("--screenshot", default="", help="write the screen of the first run, photo shown, to this PNG")
    args = parser.parse_args()
    app = os.path.join(args.build, "mainwindow", "graphitello")
    cli = os.path.join(args.build, "cli", "graphitello-cli")
    sample = os.path.join(root, "assets", "data", "sample_photo.jpg")

    folder = tempfile.mkdtemp(prefix="gt-outside-")
    number = 97
    xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        photo = make_photo(cli, sample, folder)
        time.sleep(1.0)
        screen = Screen(f":{number}")
        launches, clicks = [], []
        for run in range(args.runs):
            home = os.path.join(folder, f"home{run}")
            os.makedirs(home)
            env = dict(os.environ, DISPLAY=f":{number}", QT_QPA_PLATFORM="xcb", HOME=home,
                       XDG_CONFIG_HOME=os.path.join(home, ".config"))
            subprocess.run(["sync"])
            start = time.monotonic()
            program = subprocess.Popen([app, photo], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                shown, count = wait_for(screen, lambda n: n >= 2 * BAND_ROWS * BLOCK_W * 0.9, 30)
                if shown is None:
                    print(f"run {run + 1}: the photo never showed ({count} magenta pixels)")
                    continue
                launches.append(shown - start)
                print(f"run {run + 1}: photo on screen {shown - start:.2f} s after launch ({count} pixels of the block)")
                time.sleep(1.5)
                if args.screenshot and run == 0:
                    write_png(cli, screen.grab(), args.screenshot, folder)
                full = screen.magenta()
                for _ in range(args.clicks):
                    # A person's click holds the button about a tenth of a second; the held
                    # button zooms on from its first timer tick.
                    pressed = screen.press(*ZOOM_OUT_AT)
                    seen, after = wait_for(screen, lambda n: abs(n - full) > full * 0.05, 5)
                    time.sleep(max(0.0, pressed + 0.1 - time.monotonic()))
                    screen.release()
                    if seen is None:
                        print(f"  zoom-out click: nothing changed on the screen in 5 s ({after} pixels)")
                        break
                    zoomed = seen - pressed
                    clicks.append(zoomed)
                    time.sleep(0.6)  # the view settles, the button's hop ends
                    # The actual-size button brings back 100 %, timed the same way.
                    pressed = screen.press(*ACTUAL_SIZE_AT)
                    screen.release()
                    back, _ = wait_for(screen, lambda n: n == full, 5)
                    if back is None:
                        print("  actual-size click: 100 % did not come back in 5 s")
                        break
                    clicks.append(back - pressed)
                    print(f"  zoom-out click seen after {1000 * zoomed:.0f} ms,"
                          f" actual size after {1000 * (back - pressed):.0f} ms")
                    time.sleep(0.6)
            finally:
                program.terminate()
                program.wait(10)
        if launches:
            print(f"launch to photo: {', '.join(f'{t:.2f}' for t in launches)} s")
        if clicks:
            print(f"zoom click to view (zoom out and actual size): max {1000 * max(clicks):.0f} ms, mean {1000 * sum(clicks) / len(clicks):.0f} ms"
                  f" over {len(clicks)} clicks")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
