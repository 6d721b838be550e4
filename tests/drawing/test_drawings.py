"""Renders the drawings of `gearfile draw` to PNG with rsvg-convert and checks from the pixels what a reader
sees: the ball rests in its tooth space between two flanks without entering the material, the material of an
internal gear lies outside its teeth, and the tolerance zone of a K-chart encloses the nominal line.

Run from the source tree with the tool in GEARFILE (ctest does both)."""

import os
import re
import subprocess
import xml.etree.ElementTree as ET

import pytest

from png_pixels import read_png

GEARFILE = os.environ.get("GEARFILE", "build/dev/tools/gearfile/gearfile")
SVG = "{http://www.w3.org/2000/svg}"

# The colours the tool gives the shapes that are checked (tools/gearfile/drawing/palette.h).
BALL = "#d62728"
MATERIAL = "#c8d4e3"
ZONE = "#fde9b0"
BACKGROUND = "#ffffff"

# Every gear file the tool draws: the examples and the other gear kinds of the test data.
SECTIONS = sorted(
    ["examples/" + name for name in os.listdir("examples") if name.endswith(".xml")]
    + ["tests/data/gear/beveloid.xml", "tests/data/gear/asymmetrical_syt.xml"]
)

# (gear file, chart, flanks with a chart, the share of the positions from the first on which the zone
# encloses the nominal line): the both-side chart of tests/data/tools serves either flank, and its lower limit
# 0.004 - 0.008 / 2 at position 12 touches the line at the end.
KCHARTS = [
    ("examples/full_gear.xml", "MAIN", ["left"], 1.0),
    ("examples/standard_gear.xml", "profile:0", ["left"], 1.0),
    ("examples/standard_gear.xml", "kopf", ["right"], 1.0),
    ("tests/data/tools/standard_gear.xml", "profile", ["left", "right"], 0.9),
]


def run_draw(tmp_path, name, *args):
    svg = tmp_path / (name + ".svg")
    png = tmp_path / (name + ".png")
    subprocess.run([GEARFILE, "draw", *args, "-o", str(svg)], check=True)
    subprocess.run(["rsvg-convert", str(svg), "-o", str(png)], check=True)
    return ET.parse(svg).getroot(), read_png(png)


class Frame:
    """Maps the SVG's user units onto the pixels of its rendering."""

    def __init__(self, root, image):
        x, y, width, height = (float(v) for v in root.get("viewBox").split())
        self.x, self.y = x, y
        self.scale = image.width / width
        assert abs(image.height / height - self.scale) < 0.01 * self.scale

    def pixel(self, x, y):
        return round((x - self.x) * self.scale), round((y - self.y) * self.scale)


def element(root, tag, ident):
    for e in root.iter(SVG + tag):
        if e.get("id") == ident:
            return e
    return None


def is_internal(path):
    text = open(path, encoding="utf-8").read()
    return float(re.search(r"<number_of_teeth[^>]*>([^<]+)<", text).group(1)) < 0


def count(image, colour, xs, ys):
    return sum(1 for y in ys for x in xs if 0 <= x < image.width and 0 <= y < image.height
               and image.colour(x, y) == colour)


def name_of(path):
    return os.path.splitext(os.path.basename(path))[0]


@pytest.mark.parametrize("path", SECTIONS)
def test_section(tmp_path, path):
    root, image = run_draw(tmp_path, name_of(path), path)
    frame = Frame(root, image)

    # Not empty: a good share of the picture is drawn.
    drawn = count(image, MATERIAL, range(0, image.width, 4), range(0, image.height, 4))
    assert drawn > image.width * image.height / 16 / 20

    ball = element(root, "circle", "ball")
    assert ball is not None, "no ball drawn"
    cx, cy = frame.pixel(float(ball.get("cx")), float(ball.get("cy")))
    r = float(ball.get("r")) * frame.scale
    assert r > 5
    inner = int(r)
    disc = [(x, y) for y in range(cy - inner, cy + inner + 1) for x in range(cx - inner, cx + inner + 1)
            if (x - cx) ** 2 + (y - cy) ** 2 <= inner ** 2]

    # The ball shows (the circles cross it in thin lines), and no material lies inside it: the material is
    # drawn over the ball, so a ball entering a tooth would be covered there.
    ball_pixels = sum(1 for x, y in disc if image.colour(x, y) == BALL)
    assert ball_pixels > 0.6 * len(disc)
    assert not [p for p in disc if image.colour(*p) == MATERIAL]

    # Between two flanks: material close beside the ball on both sides, around the height of its centre.
    rows = range(cy - int(r / 2), cy + int(r / 2) + 1)
    beside = int(0.6 * r) + 3
    assert count(image, MATERIAL, range(cx - int(r) - beside, cx - int(r)), rows) > 0, "no flank left of the ball"
    assert count(image, MATERIAL, range(cx + int(r) + 1, cx + int(r) + beside + 1), rows) > 0, \
        "no flank right of the ball"

    # The section is turned with the gear's centre down: an external gear has its material below the ball,
    # an internal one above it.
    above = count(image, MATERIAL, [cx], range(0, cy - int(r) - 2))
    below = count(image, MATERIAL, [cx], range(cy + int(r) + 3, image.height))
    if is_internal(path):
        assert above > 0 and below == 0
    else:
        assert below > 0 and above == 0


@pytest.mark.parametrize("path", ["examples/full_gear.xml", "examples/evaluated_gear.xml"])
def test_ranges_are_marked(tmp_path, path):
    root, image = run_draw(tmp_path, name_of(path) + "_ranges", path, "--ranges")
    marks = [e for e in root.iter(SVG + "polyline") if e.get("stroke") in ("#e377c2", "#b8860b", "#17becf")]
    assert len(marks) >= 6  # root, main and tip of both flanks, each with its extended interval
    # The marks lie off the material, beside the flanks.
    frame = Frame(root, image)
    for mark in marks:
        for pair in mark.get("points").split():
            x, y = frame.pixel(*(float(v) for v in pair.split(",")))
            assert image.colour(x, y) != MATERIAL


@pytest.mark.parametrize("path,chart,flanks,enclosed", KCHARTS)
def test_kchart(tmp_path, path, chart, flanks, enclosed):
    root, image = run_draw(tmp_path, name_of(path) + "_kchart", path, "--kchart", chart)
    frame = Frame(root, image)
    for flank in ("left", "right"):
        zone = element(root, "polygon", "zone-" + flank)
        nominal = element(root, "line", "nominal-" + flank)
        if flank not in flanks:
            assert zone is None and nominal is None
            continue
        points = [frame.pixel(*(float(v) for v in pair.split(","))) for pair in zone.get("points").split()]
        left = min(x for x, _ in points) + 4
        right = left + int((max(x for x, _ in points) - 4 - left) * enclosed)
        _, row = frame.pixel(float(nominal.get("x1")), float(nominal.get("y1")))
        # The line is there (antialiased across a pixel boundary it is dark rather than black).
        assert any(sum(image.pixel((left + right) // 2, y)) < 3 * 110 for y in (row - 1, row, row + 1))
        # At every column the zone reaches above and below the nominal line.
        for x in range(left, right, max(1, (right - left) // 12)):
            assert count(image, ZONE, [x], range(row - 12, row - 1)) > 0, "zone not above the line at %d" % x
            assert count(image, ZONE, [x], range(row + 2, row + 13)) > 0, "zone not below the line at %d" % x


@pytest.mark.parametrize("args", [[p] for p in SECTIONS] + [[p, "--kchart", c] for p, c, _, _ in KCHARTS])
def test_svg_document(tmp_path, args):
    svg = subprocess.run([GEARFILE, "draw", *args], check=True, capture_output=True).stdout
    root = ET.fromstring(svg)
    assert root.tag == SVG + "svg" and root.get("version") == "1.1"
    x, y, width, height = (float(v) for v in root.get("viewBox").split())
    assert width > 0 and height > 0
    assert float(root.get("width")) > 0 and float(root.get("height")) > 0
    assert svg.startswith(b"<?xml")
    # Every coordinate has at most three decimals.
    for e in root.iter():
        for name in ("points", "x", "y", "x1", "y1", "x2", "y2", "cx", "cy", "r", "stroke-width", "d"):
            for number in re.findall(r"[-\d.]+", e.get(name, "")):
                assert re.fullmatch(r"-?\d+(\.\d{1,3})?", number), "%s=%s" % (name, number)


def test_texts_are_escaped(tmp_path):
    # The file's name heads the legend; XML's special characters in it must come out as they are.
    path = tmp_path / "a&b<'c'>\".xml"
    path.write_bytes(open("examples/spur_gear.xml", "rb").read())
    svg = subprocess.run([GEARFILE, "draw", str(path)], check=True, capture_output=True).stdout
    texts = [e.text for e in ET.fromstring(svg).iter(SVG + "text")]
    assert str(path) in texts
