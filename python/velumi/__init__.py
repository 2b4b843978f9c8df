"""The Velumi tactile pad from Python, through the SDK's C library (ctypes).

    import velumi
    with velumi.Pad("/dev/ttyUSB0") as pad:         # or Pad(3): the SDK's port 3
        pad.show_text("Hello", language="english", grade=2)
        pad.show_image("drawing.png")               # converted as `velumi image2tgx` does
        pad.on_key(lambda key: print("key", key))
    cells = velumi.translate("Hello", grade=2)      # no pad needed
    print(velumi.to_unicode(cells))

The libraries are found beside an installed module, else through
VELUMI_LIBRARY_DIR, else the system's library search. Pictures in PNG form are
converted by the `velumi` tool (found beside the libraries' prefix, through
VELUMI_TOOL, or on PATH), so they come out exactly as the tool shows them.
"""

import ctypes
import ctypes.util
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

__all__ = ["Pad", "VelumiError", "translate", "to_unicode", "language_code", "sdk_version",
           "TRANSLATOR_DEFAULT", "TRANSLATOR_ENGINE", "TRANSLATOR_LIBLOUIS"]

TRANSLATOR_DEFAULT, TRANSLATOR_ENGINE, TRANSLATOR_LIBLOUIS = 0, 1, 2
_DISPLAY_IN_PROGRESS = 129
_NO_CHANGE = -0x7FFFFFFB  # VELUMI_ERROR_DISPLAY_NO_CHANGE as a signed int

try:
    from . import _install_paths  # written by cmake --install
except ImportError:  # the source tree
    _install_paths = None

_HERE = os.path.dirname(os.path.abspath(__file__))


def _install_dir(attribute):
    value = getattr(_install_paths, attribute, None) if _install_paths else None
    return os.path.normpath(os.path.join(_HERE, value)) if value else None


def _load_sdk():
    names = ["libVelumiSDK.so.0", "libVelumiSDK.so"]
    folders = [os.environ.get("VELUMI_LIBRARY_DIR"), _install_dir("LIBDIR")]
    for folder in folders:
        for name in names:
            if folder and os.path.exists(os.path.join(folder, name)):
                return ctypes.CDLL(os.path.join(folder, name))
    found = ctypes.util.find_library("VelumiSDK")
    for name in ([found] if found else []) + names:
        try:
            return ctypes.CDLL(name)
        except OSError:
            pass
    raise ImportError("libVelumiSDK.so not found: install Velumi, or set VELUMI_LIBRARY_DIR to its folder")


_sdk = _load_sdk()


class _TranslateOptions(ctypes.Structure):
    _fields_ = [("language", ctypes.c_int), ("option", ctypes.c_int), ("width", ctypes.c_int),
                ("translator", ctypes.c_int), ("tables", ctypes.c_char_p)]


_KEY_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_int)
_DISPLAY_CALLBACK = ctypes.CFUNCTYPE(None)
_TEXT_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_char_p)

for _name, _args in {
        "VELUMI_INIT": [ctypes.c_int], "VELUMI_INIT_WITH_DEVICE_TYPE": [ctypes.c_int, ctypes.c_int],
        "VELUMI_DEINIT": [], "VELUMI_DISPLAY": [ctypes.c_char_p],
        "VELUMI_DISPLAY_DATA": [ctypes.c_char_p, ctypes.c_int, ctypes.c_int], "VELUMI_RESET_DISPLAY": [],
        "VELUMI_BRAILLE_DISPLAY": [ctypes.c_wchar_p, ctypes.c_int],
        "VELUMI_SET_BRAILLE_LANGUAGE": [ctypes.c_int, ctypes.c_int],
        "VELUMI_BRAILLE_ASCII_DISPLAY": [ctypes.c_char_p], "VELUMI_RESET_BRAILLE_DISPLAY": [],
        "VELUMI_SEND_KEY": [ctypes.c_int], "VELUMI_GET_FW_VERSION": [_TEXT_CALLBACK],
        "VELUMI_GET_DEVICE_NAME": [_TEXT_CALLBACK],
        "VELUMI_GET_DISPLAY_INFO": [ctypes.POINTER(ctypes.c_int)] * 3,
        "VELUMI_REGISTER_KEY_CALLBACK": [_KEY_CALLBACK], "VELUMI_REGISTER_DISPLAY_CALLBACK": [_DISPLAY_CALLBACK],
        "VELUMI_TRANSLATE": [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(_TranslateOptions), ctypes.c_char_p,
                             ctypes.c_int, ctypes.POINTER(ctypes.c_int)]}.items():
    getattr(_sdk, _name).argtypes = _args
    getattr(_sdk, _name).restype = ctypes.c_int
_sdk.VELUMI_GET_SDK_VERSION.restype = ctypes.c_char_p
_sdk.VELUMI_GET_SDK_VERSION.argtypes = []
if hasattr(_sdk, "VELUMI_ERROR_TEXT"):
    _sdk.VELUMI_ERROR_TEXT.restype = ctypes.c_char_p
    _sdk.VELUMI_ERROR_TEXT.argtypes = [ctypes.c_int]

# VELUMI_BRAILLE_DISPLAY takes UTF-16; ctypes' wchar_t is 32 bits here, so text goes as a UTF-16 buffer.
_sdk.VELUMI_BRAILLE_DISPLAY.argtypes = [ctypes.c_char_p, ctypes.c_int]


class VelumiError(Exception):
    """An SDK call failed: `code` is its VELUMI_ERROR_ value."""

    def __init__(self, code, what):
        self.code = code
        text = None
        if hasattr(_sdk, "VELUMI_ERROR_TEXT"):
            raw = _sdk.VELUMI_ERROR_TEXT(code)
            text = raw.decode() if raw else None
        super().__init__("%s: %s (error %d)" % (what, text or "SDK error", code))


_LANGUAGES = {
    "arabic": (1, "ar"), "chinese_traditional": (2, "zh-tw"), "chinese_simplified": (3, "zh"), "dutch": (4, "nl"),
    "english": (5, "en"), "french": (6, "fr"), "german": (7, "de"), "italian": (8, "it"), "japanese": (9, "ja"),
    "korean": (10, "ko"), "russian": (11, "ru"), "spanish": (12, "es"), "vietnamese": (13, "vi"),
    "bulgarian": (14, "bg"), "portuguese": (15, "pt"), "czech": (16, "cs"), "polish": (17, "pl"),
    "norwegian": (18, "no"), "kazakh": (19, "kk"), "danish": (20, "da"), "greek": (21, "el"),
    "swedish": (22, "sv"), "finnish": (23, "fi"), "thai": (24, "th"), "uzbek": (25, "uz"),
}


def language_code(language):
    """The SDK's language code for a name ('english'), an ISO code ('en') or a number."""
    if isinstance(language, int):
        if 1 <= language <= 25:
            return language
    else:
        key = str(language).strip().lower().replace("-", "_")
        for name, (code, iso) in _LANGUAGES.items():
            if key in (name, iso.replace("-", "_")):
                return code
    raise ValueError("unknown language %r; use a name such as 'english', an ISO code such as 'en', or 1-25"
                     % (language,))


def sdk_version():
    return _sdk.VELUMI_GET_SDK_VERSION().decode()


def translate(text, language="english", grade=0, width=0, translator=TRANSLATOR_DEFAULT, tables=None):
    """Braille cells (bytes, dot n in bit n-1) of `text`, as the braille line translates it.

    grade: the language's option (English 1 or 2); 0 keeps the SDK's setting.
    width: cells per line (whole lines, words kept whole); 0 for one unbroken line.
    tables: a liblouis table list to use instead of the language's table.
    Lines of the text are translated one by one and joined (each starting a new line with a width)."""
    options = _TranslateOptions(language_code(language), int(grade), int(width), int(translator),
                                tables.encode() if tables else None)
    out = bytearray()
    for line in str(text).split("\n"):
        data = line.encode("utf-8")
        count = ctypes.c_int(0)
        r = _sdk.VELUMI_TRANSLATE(data, len(data), ctypes.byref(options), None, 0, ctypes.byref(count))
        if r != 0:
            raise VelumiError(r, "translation failed")
        buffer = ctypes.create_string_buffer(max(count.value, 1))
        r = _sdk.VELUMI_TRANSLATE(data, len(data), ctypes.byref(options), buffer, count.value, ctypes.byref(count))
        if r != 0:
            raise VelumiError(r, "translation failed")
        if out and not width:
            out.append(0)  # lines apart by a blank cell when nothing wraps
        out += buffer.raw[:count.value]
    return bytes(out)


def to_unicode(cells):
    """Unicode braille (U+2800 + cell) for cell bytes."""
    return "".join(chr(0x2800 + c) for c in bytes(cells))


def _tool():
    for candidate in (os.environ.get("VELUMI_TOOL"), _install_dir("TOOL"), shutil.which("velumi")):
        if candidate and os.access(candidate, os.X_OK):
            return candidate
    raise VelumiError(8, "the velumi tool is needed to convert PNG pictures; set VELUMI_TOOL")


_MODELS = {(15, 20): "ORIEL_WIDE", (30, 10): "LINNET", (40, 20): "TARN", (20, 7): "WREN"}
_MODEL_TYPES = ["ORIEL_WIDE", "ORIEL", "LINNET", "TARN", "WREN", "QX-LINE", "QX-SHORT", "QY-SHORT"]


def convert_png(png, cells_per_line, lines, conversion="lines", threshold=None, invert=False):
    """Cell bytes of a PNG picture (a path or the file's bytes) for a graphics area, converted
    exactly as `velumi image2tgx` converts it. Returns (cells, message printed by the tool)."""
    model = _MODELS.get((cells_per_line, lines))
    if not model:
        raise ValueError("no pad model has a graphics area of %d x %d cells" % (cells_per_line, lines))
    with tempfile.TemporaryDirectory(prefix="velumi-py-") as folder:
        if isinstance(png, (bytes, bytearray, memoryview)):
            path = os.path.join(folder, "in.png")
            with open(path, "wb") as f:
                f.write(png)
        else:
            path = os.fspath(png)
        out = os.path.join(folder, "out.tgx")
        command = [_tool(), "image2tgx", "--model", model, "--conversion", conversion]
        if threshold is not None:
            command += ["--threshold", str(threshold)]
        if invert:
            command.append("--invert")
        done = subprocess.run(command + ["--", path, out], capture_output=True, text=True)
        if done.returncode != 0:
            raise ValueError(done.stderr.strip() or "the picture could not be converted")
        with open(out, "rb") as f:
            data = f.read()
    return data[30:30 + lines * cells_per_line], (done.stdout + done.stderr).strip()


def _deliver_display():
    pad = Pad._open
    if pad is not None:
        pad._on_display()


def _deliver_key(key):
    pad = Pad._open
    if pad is not None:
        pad._on_key(key)


_texts = []


def _deliver_text(text):
    _texts.append(text.decode(errors="replace") if text else "")


# Module-level and kept for the life of the process: the SDK keeps the last
# callback it was given and may call it later (a device name answered late).
_display_callback = _DISPLAY_CALLBACK(_deliver_display)
_key_callback = _KEY_CALLBACK(_deliver_key)
_text_callback = _TEXT_CALLBACK(_deliver_text)


class Pad:
    """A pad opened through the SDK; one at a time per process (the SDK has one device).

    port: the SDK's port number (int), or a device path such as '/dev/ttyUSB0'.
    model: a model name ('TARN', ...) to take the pad to be, instead of asking it."""

    _open = None

    def __init__(self, port, model=None, path_port=1):
        if Pad._open is not None:
            raise VelumiError(3, "a pad is already open in this process")
        if isinstance(port, int):
            self.port = port
        else:
            # A device path: the SDK opens port N at $VELUMI_PORT_N.
            self.port = int(path_port)
            os.environ["VELUMI_PORT_%d" % self.port] = os.fspath(port)
        self._shown = 0
        self._cv = threading.Condition()
        self._key_handler = None
        Pad._open = self  # the module's callbacks deliver to this pad
        _sdk.VELUMI_REGISTER_DISPLAY_CALLBACK(_display_callback)
        _sdk.VELUMI_REGISTER_KEY_CALLBACK(_key_callback)
        before = self._shown
        if model is None:
            r = _sdk.VELUMI_INIT(self.port)
        else:
            squash = str(model).upper().replace("_", "").replace("-", "")
            types = [m.replace("_", "").replace("-", "") for m in _MODEL_TYPES]
            if squash not in types:
                Pad._open = None
                raise ValueError("unknown model %r; use one of %s" % (model, ", ".join(_MODEL_TYPES)))
            r = _sdk.VELUMI_INIT_WITH_DEVICE_TYPE(self.port, types.index(squash))
        if r != 0:
            Pad._open = None
            raise VelumiError(r, "cannot open the pad on port %s" % (port,))
        a, b, c = ctypes.c_int(0), ctypes.c_int(0), ctypes.c_int(0)
        _sdk.VELUMI_GET_DISPLAY_INFO(ctypes.byref(a), ctypes.byref(b), ctypes.byref(c))
        self.cells_per_line, self.lines, self.braille_cells = a.value, b.value, c.value
        # Init clears the braille line and the graphics area. The graphics area is
        # sent only when it changed since the last pad of this process, so wait for
        # one of them, and briefly for the other.
        expected = (1 if self.braille_cells else 0) + (1 if self.lines else 0)
        if expected and self._wait(before + 1, 10):
            self._wait(before + expected, 0.5)
        elif expected:
            self.close()
            raise VelumiError(34, "no pad answers on port %s" % (port,))
        self.device_name = self._text(_sdk.VELUMI_GET_DEVICE_NAME)
        self.firmware_version = self._text(_sdk.VELUMI_GET_FW_VERSION)

    # Callbacks run on the SDK's threads: keep them short.
    def _on_display(self):
        with self._cv:
            self._shown += 1
            self._cv.notify_all()

    def _on_key(self, key):
        handler = self._key_handler
        if handler:
            try:
                handler(key)
            except Exception:  # an exception must not reach the SDK's thread
                import traceback
                traceback.print_exc()

    def _wait(self, count, timeout):
        with self._cv:
            return self._cv.wait_for(lambda: self._shown >= count, timeout)

    @staticmethod
    def _text(function):
        del _texts[:]
        function(_text_callback)
        return _texts[-1] if _texts else ""

    def _run(self, operation, what, wait=True):
        """Runs a display operation, retrying while a transfer runs, and waits until it is shown."""
        deadline = time.monotonic() + 15
        while True:
            before = self._shown
            r = operation()
            if r == _DISPLAY_IN_PROGRESS and time.monotonic() < deadline:
                time.sleep(0.01)
                continue
            if r == _NO_CHANGE:
                return False
            if r != 0:
                raise VelumiError(r, what)
            if wait and not self._wait(before + 1, 15):
                raise VelumiError(34, what + ": the pad did not report it shown")
            return True

    def on_key(self, handler):
        """Calls handler(key) for each key: function keys 0..3, Perkins keys 100 and 200.
        It runs on the SDK's receive thread; None stops it."""
        self._key_handler = handler

    def show_cells(self, cells, send_all=False):
        """Shows graphic cell bytes (line after line; bit n-1 = dot n). False when nothing changed."""
        data = bytes(cells)
        return self._run(lambda: _sdk.VELUMI_DISPLAY_DATA(data, len(data), 1 if send_all else 0),
                         "the picture was not shown")

    def show_image(self, png, conversion="lines", threshold=None, invert=False):
        """Shows a PNG picture (a path or the file's bytes) converted as the velumi tool converts it.
        Returns the tool's summary line (pins raised, and any warning)."""
        cells, message = convert_png(png, self.cells_per_line, self.lines, conversion, threshold, invert)
        self.show_cells(cells)
        return message

    def show_tgx(self, path):
        return self._run(lambda: _sdk.VELUMI_DISPLAY(os.fspath(path).encode()), "the _tgx_ file was not shown")

    def show_text(self, text, language="english", grade=None):
        """Translates text and shows its first braille line; page through it with next_page()."""
        code = language_code(language)
        if grade is not None:
            _sdk.VELUMI_SET_BRAILLE_LANGUAGE(code, int(grade))
        data = (str(text) + "\0").encode("utf-16-le")
        return self._run(lambda: _sdk.VELUMI_BRAILLE_DISPLAY(data, code), "the text was not shown")

    def show_ascii(self, text):
        return self._run(lambda: _sdk.VELUMI_BRAILLE_ASCII_DISPLAY(str(text).encode("ascii", "replace")),
                         "the braille ASCII text was not shown")

    def _page(self, key):
        before = self._shown
        r = _sdk.VELUMI_SEND_KEY(key)
        while r == _DISPLAY_IN_PROGRESS:
            time.sleep(0.01)
            r = _sdk.VELUMI_SEND_KEY(key)
        if r != 0:
            raise VelumiError(r, "paging failed")
        # A move past the first or last line is refused without a word: silence means no move.
        return self._wait(before + 1, 1.0)

    def next_page(self):
        """Moves the braille line one line on; False at the last line."""
        return self._page(0x2)

    def previous_page(self):
        return self._page(0x1)

    def page_text(self, text, language="english", grade=None):
        """Yields each braille line window of a text of any length (shown in turn on the pad)."""
        pieces, current = [], ""
        for word in str(text).split():
            if current and len((current + " " + word).encode("utf-16-le")) // 2 > 2047:
                pieces.append(current)
                current = ""
            current = (current + " " + word) if current else word
        if current:
            pieces.append(current)
        for piece in pieces:
            self.show_text(piece, language, grade)
            grade = None
            yield piece
            while self.next_page():
                yield piece

    def reset(self):
        if self.braille_cells:
            self._run(_sdk.VELUMI_RESET_BRAILLE_DISPLAY, "the braille line was not cleared")
        if self.lines:
            self._run(_sdk.VELUMI_RESET_DISPLAY, "the graphics area was not cleared")

    def close(self):
        if Pad._open is not self and Pad._open is not None:
            return
        deadline = time.monotonic() + 15
        r = _sdk.VELUMI_DEINIT()
        while r == _DISPLAY_IN_PROGRESS and time.monotonic() < deadline:
            time.sleep(0.01)
            r = _sdk.VELUMI_DEINIT()
        Pad._open = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False
