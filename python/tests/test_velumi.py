"""The Python module against the simulated pad (velumi-padsim) and without a pad."""
import os
import struct
import subprocess
import tempfile
import threading
import time
import zlib

import pytest

import velumi


def png_bytes(width, height, pixel):
    """A greyscale PNG; pixel(x, y) gives 0..255."""
    raw = b"".join(b"\0" + bytes(pixel(x, y) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


class SimulatedPad:
    """velumi-padsim on port 7 of a folder, printing what it shows and pressing keys read from its input."""

    def __init__(self, model="TARN"):
        self.folder = tempfile.mkdtemp(prefix="velumi-pytest-")
        self.link = os.path.join(self.folder, "com7")
        self.process = subprocess.Popen(
            [os.environ.get("VELUMI_PADSIM", "velumi-padsim"), "--model", model, "--port-dir", self.folder,
             "--com", "7", "--show", "--keys"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.output = []
        first = self.process.stdout.readline()
        assert "as " + self.link in first, first
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.output.append(line)

    def press(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()

    def shown(self):
        return "".join(self.output)

    def stop(self):
        self.process.terminate()
        self.process.wait(10)
        for name in os.listdir(self.folder):
            os.unlink(os.path.join(self.folder, name))
        os.rmdir(self.folder)


@pytest.fixture
def sim():
    pad = SimulatedPad()
    yield pad
    pad.stop()


@pytest.fixture(autouse=True)
def trace_folder(tmp_path, monkeypatch):
    monkeypatch.setenv("VELUMI_LOG_DIR", str(tmp_path / "log"))
    monkeypatch.setenv("VELUMI_QUIET", "1")


def test_translate_without_a_pad():
    assert velumi.translate("abc") == b"\x01\x03\x09"
    assert velumi.translate("knowledge", grade=2) == b"\x05"
    assert velumi.to_unicode(b"\x01\x03") == "\u2801\u2803"
    wrapped = velumi.translate("aa bb cc dd", width=6)
    assert len(wrapped) == 12 and wrapped[:6] == b"\x01\x01\x00\x03\x03\x00"
    assert velumi.translate("x", language="fr") == velumi.translate("x", language=6)
    assert velumi.translate("the", tables="en-ueb-g2.ctb") == b"\x2e"
    with pytest.raises(velumi.VelumiError) as error:
        velumi.translate("x", tables="no-such-table.ctb")
    assert error.value.code == 64
    with pytest.raises(ValueError):
        velumi.translate("x", language="klingon")


def test_pad_by_path_shows_text_and_pages(sim):
    with velumi.Pad(sim.link) as pad:
        assert (pad.cells_per_line, pad.lines, pad.braille_cells) == (40, 20, 32)
        assert pad.device_name == "TARN"
        long_text = " ".join("word%d" % i for i in range(30))
        assert pad.show_text(long_text, "english", grade=1)
        assert pad.next_page()
        assert pad.previous_page()
        assert not pad.previous_page()
        text = "one two three four five six seven eight nine ten eleven twelve"
        windows = list(pad.page_text(text))
        assert len(windows) == len(velumi.translate(text, grade=1, width=32)) // 32 > 1
    assert "braille line shown" in sim.shown()


def test_pad_by_number_shows_pictures_from_bytes_and_files(sim, tmp_path, monkeypatch):
    monkeypatch.setenv("VELUMI_PORT_DIR", sim.folder)
    # A thin cross on a large picture: kept by the tool's default conversion.
    png = png_bytes(400, 400, lambda x, y: 0 if x == 200 or y == 200 else 255)
    with velumi.Pad(7) as pad:
        message = pad.show_image(png)
        assert "pins raised" in message
        cells, _ = velumi.convert_png(png, 40, 20)
        assert sum(bin(c).count("1") for c in cells) >= 150
        assert pad.show_cells(cells) is False  # already shown
        path = tmp_path / "white.png"
        path.write_bytes(png_bytes(50, 50, lambda x, y: 255))
        assert "raises no pins" in pad.show_image(path)
        pad.reset()
    assert "graphic line" in sim.shown()


def test_keys_reach_python_callbacks(sim):
    got = []
    arrived = threading.Event()

    def on_key(key):
        got.append(key)
        if len(got) == 3:
            arrived.set()

    with velumi.Pad(sim.link, model="TARN") as pad:
        pad.on_key(on_key)
        sim.press("function 0x90")
        sim.press("perkins 4")
        assert arrived.wait(10), got
    assert got == [0, 3, 100]


def test_no_second_pad_and_clear_errors(sim):
    with velumi.Pad(sim.link):
        with pytest.raises(velumi.VelumiError):
            velumi.Pad(sim.link)
    with pytest.raises(velumi.VelumiError) as error:
        velumi.Pad("/dev/ttyUSB-velumi-absent")
    assert error.value.code == 16
    assert velumi.sdk_version().count(".") == 2
