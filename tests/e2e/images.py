"""Pictures read back from the screen: screenshots through ImageMagick's
`import`, pictures from files through `convert`, PNG output for the artefacts,
and the pixel comparisons the checks are made of."""

import struct
import subprocess
import zlib

from common import check, scaled


class Image:
    """An RGB image: width, height and 3 bytes per pixel, top row first."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, bytes(data)

    @staticmethod
    def from_ppm(blob):
        fields, pos = [], 0
        while len(fields) < 4:
            while blob[pos : pos + 1].isspace():
                pos += 1
            if blob[pos : pos + 1] == b"#":
                pos = blob.index(b"\n", pos) + 1
                continue
            end = pos
            while not blob[end : end + 1].isspace():
                end += 1
            fields.append(blob[pos:end])
            pos = end
        check(fields[0] == b"P6" and fields[3] == b"255", "unexpected image format")
        width, height = int(fields[1]), int(fields[2])
        pos += 1
        return Image(width, height, blob[pos : pos + width * height * 3])

    @staticmethod
    def load(path):
        blob = subprocess.run(
            ["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True, timeout=30
        ).stdout
        return Image.from_ppm(blob)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i : i + 3])

    def crop(self, x, y, w, h):
        rows = []
        for row in range(y, y + h):
            start = (row * self.width + x) * 3
            rows.append(self.data[start : start + w * 3])
        return Image(w, h, b"".join(rows))

    def mirrored(self):
        rows = []
        for y in range(self.height):
            row = self.data[y * self.width * 3 : (y + 1) * self.width * 3]
            px = [row[i : i + 3] for i in range(0, len(row), 3)]
            rows.append(b"".join(reversed(px)))
        return Image(self.width, self.height, b"".join(rows))

    def without_stars(self):
        """Stars are single pixels on black: any lit pixel whose eight
        neighbours are all black is turned black. Text and the disk, which are
        never single pixels, stay."""
        out = bytearray(self.data)
        w, h = self.width, self.height

        def dark(x, y):
            if x < 0 or y < 0 or x >= w or y >= h:
                return True
            i = (y * w + x) * 3
            return max(self.data[i : i + 3]) < 24

        for y in range(h):
            for x in range(w):
                if dark(x, y):
                    continue
                if all(dark(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1) if dx or dy):
                    i = (y * w + x) * 3
                    out[i : i + 3] = b"\0\0\0"
        return Image(w, h, out)

    def save_png(self, path):
        raw = b"".join(
            b"\0" + self.data[y * self.width * 3 : (y + 1) * self.width * 3]
            for y in range(self.height)
        )

        def chunk(kind, body):
            return (
                struct.pack(">I", len(body))
                + kind
                + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
            )

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", header))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))


def luminance(rgb):
    r, g, b = rgb
    return (r * 299 + g * 587 + b * 114) // 1000


def differing_pixels(a, b, threshold=48):
    check(a.width == b.width and a.height == b.height, "compared images differ in size")
    count = 0
    for i in range(0, len(a.data), 3):
        if max(abs(a.data[i + k] - b.data[i + k]) for k in range(3)) > threshold:
            count += 1
    return count



def uniform(image):
    first = image.data[:3]
    return all(image.data[i : i + 3] == first for i in range(0, len(image.data), 3))


def grab_window(display, window="root", path=None, frame=False):
    """A screenshot of one window of an X display ("root": the whole screen;
    with `frame`, the window manager's frame around the window) through
    ImageMagick's `import`: written to `path` (its type from the name) or,
    without one, returned as an Image."""
    argv = ["import", "-display", display, "-window", window]
    if frame:
        argv.append("-frame")
    if path is not None:
        subprocess.run(argv + [path], timeout=scaled(20), check=True)
        return None
    blob = subprocess.run(
        argv + ["-depth", "8", "ppm:-"], capture_output=True, timeout=scaled(20), check=True,
    ).stdout
    return Image.from_ppm(blob)


def screenshot(display):
    """The whole screen of an X display."""
    return grab_window(display)
