"""The image files of the decode bench, and Pillow's times on them.

  bench_images.py make FOLDER           writes the photographs and sprites into FOLDER
  bench_images.py compare FOLDER JSON   times Pillow on FOLDER's files and prints, per file, the
                                        bench's times (JSON: its --benchmark_out) beside
                                        Pillow's, with the ratios

The photographs are synthetic but photo-like, and the same on every run: soft gradients of
colour, a few hundred overlapping shapes, a blur, then grain, saved as JPEG at quality 90 and 85
and as PNG, from 640 x 480 to 2048 x 1536. The sprites are small pictures with alpha (PNG) and
without (JPEG).
"""
import json
import os
import random
import statistics
import sys
import time
from io import BytesIO

from PIL import Image, ImageChops, ImageDraw, ImageFilter

PHOTO_SIZES = [(640, 480), (1024, 768), (1600, 1200), (2048, 1536)]
SPRITE_SIDES = [32, 64, 128]


def photograph(w, h, seed):
    rng = random.Random(seed)
    bands = [Image.linear_gradient("L").rotate(rng.randrange(360)).resize((w, h))
             for _ in range(3)]
    picture = Image.merge("RGB", bands)
    draw = ImageDraw.Draw(picture)
    for _ in range(300):
        x, y = rng.randrange(w), rng.randrange(h)
        r = rng.randrange(4, max(w, h) // 6)
        colour = tuple(rng.randrange(256) for _ in range(3))
        if rng.random() < 0.5:
            draw.ellipse((x - r, y - r, x + r, y + r), fill=colour)
        else:
            points = [(x + rng.randrange(-r, r), y + rng.randrange(-r, r)) for _ in range(5)]
            draw.polygon(points, fill=colour)
    picture = picture.filter(ImageFilter.GaussianBlur(2))
    grain = Image.effect_noise((w, h), 24).convert("RGB")
    return ImageChops.add(ImageChops.multiply(picture, Image.new("RGB", (w, h), (230,) * 3)),
                          grain, scale=1.0, offset=-100)


def sprite(side, seed):
    rng = random.Random(seed)
    picture = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    draw = ImageDraw.Draw(picture)
    for _ in range(12):
        x0, y0 = rng.randrange(side), rng.randrange(side)
        x1, y1 = x0 + rng.randrange(side // 2), y0 + rng.randrange(side // 2)
        draw.ellipse((x0, y0, x1, y1), fill=tuple(rng.randrange(256) for _ in range(4)))
    return picture


def make(folder):
    os.makedirs(folder, exist_ok=True)
    for w, h in PHOTO_SIZES:
        picture = photograph(w, h, w * h)
        picture.save(f"{folder}/photo_{w}x{h}_q90.jpg", quality=90)
        picture.save(f"{folder}/photo_{w}x{h}_q85.jpg", quality=85)
        picture.save(f"{folder}/photo_{w}x{h}.png")
    for side in SPRITE_SIDES:
        picture = sprite(side, side)
        picture.save(f"{folder}/sprite_{side}.png")
        picture.convert("RGB").save(f"{folder}/sprite_{side}.jpg", quality=90)


# Pillow's decode into R, G, B, A pixels, as the others give them: open, decode, convert. Every
# time is the processor time of this process (the bench's "CPU" column likewise), so that other
# work on a shared machine does not count; all three decode on one thread.
def pillow_seconds(data, least_seconds=0.3, least_runs=5):
    times = []
    started = time.process_time()
    while len(times) < least_runs or time.process_time() - started < least_seconds:
        t = time.process_time()
        picture = Image.open(BytesIO(data))
        picture.load()
        picture.convert("RGBA")
        times.append(time.process_time() - t)
    return statistics.median(times)


def compare(folder, results):
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    runs = {}  # a bench's times, one per repetition
    for run in json.load(open(results))["benchmarks"]:
        if run.get("run_type", "iteration") == "iteration" and "error_occurred" not in run:
            runs.setdefault(run["run_name"], []).append(run["cpu_time"] * scale[run["time_unit"]])
    ours = {name: statistics.median(times) for name, times in runs.items()}
    print(f"{'file':28} {'new ms':>8} {'stb ms':>8} {'Pillow ms':>9} {'stb/new':>8} "
          f"{'Pillow/new':>10}")
    stb_ratios, pillow_ratios = [], []
    for name in sorted(os.listdir(folder)):
        new, stb = ours.get("new/" + name), ours.get("stb/" + name)
        pillow = pillow_seconds(open(os.path.join(folder, name), "rb").read())
        if new is None or stb is None:
            print(f"{name:28} missing from the bench's results")
            continue
        stb_ratios.append(stb / new)
        pillow_ratios.append(pillow / new)
        print(f"{name:28} {new * 1e3:8.3f} {stb * 1e3:8.3f} {pillow * 1e3:9.3f} "
              f"{stb / new:8.2f} {pillow / new:10.2f}")
    print(f"geometric means: stb/new {statistics.geometric_mean(stb_ratios):.2f}, "
          f"Pillow/new {statistics.geometric_mean(pillow_ratios):.2f}; "
          f"smallest: stb/new {min(stb_ratios):.2f}, Pillow/new {min(pillow_ratios):.2f}")


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2])
    else:
        compare(sys.argv[2], sys.argv[3])
