"""The image files of the image benches, and Pillow's times on them.

  bench_images.py make FOLDER              writes the photographs and sprites into FOLDER
  bench_images.py compare FOLDER JSON      times Pillow's decode of FOLDER's files and prints, per
                                           file, the decode bench's times (JSON: its
                                           --benchmark_out) beside Pillow's, with the ratios
  bench_images.py pillow FOLDER OUT        times Pillow's open and convert('RGBA') of every file
                                           of FOLDER, from its path, into OUT (JSON)
  bench_images.py loads FOLDER ROUNDS...   prints the texture-load bench against Pillow: each
                                           ROUND is a pair BENCH_JSON:PILLOW_JSON of one
                                           alternation; per file the medians over the rounds and
                                           the ratio, then each format's set

The photographs are synthetic but photo-like, and the same on every run: soft gradients of
colour, a few hundred overlapping shapes, a blur, then grain; eight sizes from 640 x 480 to
2048 x 1536, each saved as JPEG at quality 90 and as PNG. The sprites are 24 small pictures
(16 to 256 pixels a side, three of each side) with alpha (PNG) and without (JPEG).
"""
import json
import os
import random
import statistics
import sys
import time
from io import BytesIO

from PIL import Image, ImageChops, ImageDraw, ImageFilter

PHOTO_SIZES = [(640, 480), (800, 600), (1024, 768), (1280, 960), (1440, 1080), (1600, 1200),
               (1920, 1440), (2048, 1536)]
SPRITE_SIDES = [16, 24, 32, 48, 64, 96, 128, 256]
SPRITES_A_SIDE = 3


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
        picture.save(f"{folder}/photo_{w}x{h}.jpg", quality=90)
        picture.save(f"{folder}/photo_{w}x{h}.png")
    for side in SPRITE_SIDES:
        for n in range(SPRITES_A_SIDE):
            picture = sprite(side, side * 10 + n)
            picture.save(f"{folder}/sprite_{side}_{n}.png")
            picture.convert("RGB").save(f"{folder}/sprite_{side}_{n}.jpg", quality=90)


# Every time is the processor time of this process (the benches' "CPU" column likewise), so
# that other work on a shared machine does not count.
def least_time(run, least_seconds=0.3, least_runs=5):
    times = []
    started = time.process_time()
    while len(times) < least_runs or time.process_time() - started < least_seconds:
        t = time.process_time()
        run()
        times.append(time.process_time() - t)
    return statistics.median(times)


# Pillow's decode into R, G, B, A pixels, as the decoders give them: open, decode, convert.
def pillow_decode_seconds(data):
    def run():
        picture = Image.open(BytesIO(data))
        picture.load()
        picture.convert("RGBA")
    return least_time(run)


# Pillow's whole call from a file's path to R, G, B, A pixels.
def pillow_load_seconds(path):
    return least_time(lambda: Image.open(path).convert("RGBA"))


# A bench's times by benchmark name, one per repetition.
def bench_times(results):
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    runs = {}
    for run in json.load(open(results))["benchmarks"]:
        if run.get("run_type", "iteration") == "iteration" and "error_occurred" not in run:
            runs.setdefault(run["run_name"], []).append(run["cpu_time"] * scale[run["time_unit"]])
    return runs


def compare(folder, results):
    ours = {name: statistics.median(times) for name, times in bench_times(results).items()}
    print(f"{'file':28} {'new ms':>8} {'stb ms':>8} {'Pillow ms':>9} {'stb/new':>8} "
          f"{'Pillow/new':>10}")
    stb_ratios, pillow_ratios = [], []
    for name in sorted(os.listdir(folder)):
        new, stb = ours.get("new/" + name), ours.get("stb/" + name)
        pillow = pillow_decode_seconds(open(os.path.join(folder, name), "rb").read())
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


def pillow(folder, out):
    times = {name: pillow_load_seconds(os.path.join(folder, name))
             for name in sorted(os.listdir(folder))}
    json.dump(times, open(out, "w"))


# Per file, the median over the rounds of the bench's time and of Pillow's; per format, the
# geometric mean of the files' ratios and the ratio of the summed times (which the photographs
# rule). Above 1: the texture load is faster than Pillow.
def loads(folder, rounds):
    ours, theirs = {}, {}
    for pair in rounds:
        bench_json, pillow_json = pair.split(":")
        for name, times in bench_times(bench_json).items():
            name = name[len("load/"):].removesuffix("/process_time")
            ours.setdefault(name, []).append(statistics.median(times))
        for name, seconds in json.load(open(pillow_json)).items():
            theirs.setdefault(name, []).append(seconds)
    print(f"{'file':28} {'load ms':>9} {'Pillow ms':>9} {'Pillow/load':>11}")
    sets = {}
    for name in sorted(os.listdir(folder)):
        if name not in ours or name not in theirs:
            print(f"{name:28} missing from the results")
            continue
        load, pil = statistics.median(ours[name]), statistics.median(theirs[name])
        sets.setdefault(os.path.splitext(name)[1], []).append((load, pil))
        print(f"{name:28} {load * 1e3:9.3f} {pil * 1e3:9.3f} {pil / load:11.2f}")
    print(f"medians of {len(rounds)} alternations")
    for extension, pairs in sorted(sets.items()):
        mean = statistics.geometric_mean([pil / load for load, pil in pairs])
        total = sum(pil for _, pil in pairs) / sum(load for load, _ in pairs)
        smallest = min(pil / load for load, pil in pairs)
        print(f"{extension} set ({len(pairs)} files): Pillow/load geometric mean {mean:.2f}, "
              f"summed times {total:.2f}, smallest {smallest:.2f}")


if __name__ == "__main__":
    command = sys.argv[1]
    if command == "make":
        make(sys.argv[2])
    elif command == "compare":
        compare(sys.argv[2], sys.argv[3])
    elif command == "pillow":
        pillow(sys.argv[2], sys.argv[3])
    else:
        loads(sys.argv[2], sys.argv[3:])
