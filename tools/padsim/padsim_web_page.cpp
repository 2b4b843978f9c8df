// The web view's page: one HTML document with its style and script inline, so
// that it needs nothing from anywhere else. The script takes everything from
// the event stream /events and sends keys and fault switches with POST.
namespace padsim {

const char *WebPage() {
    return R"PAGE(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Velumi pad</title>
<style>
:root { --pin: 6px; --bpin: 9px; --up: #111; --down: #d6d6d6; color-scheme: light; }
body { font: 15px/1.4 system-ui, sans-serif; margin: 1em; color: #111; background: #fafafa; }
h1 { font-size: 1.3em; margin: 0 0 .3em; }
h2 { font-size: 1.05em; margin: 1em 0 .3em; }
.facts span { margin-right: 1.2em; }
.badge { padding: 0 .4em; border-radius: .3em; background: #ddd; }
.badge.up { background: #b9e6b9; } .badge.unplugged, .badge.stopped, .badge.lost { background: #f3b7b7; }
#graphics { display: inline-block; padding: 6px; background: #fff; border: 1px solid #bbb; }
.gline { display: flex; }
.cell { display: grid; grid-template-columns: repeat(2, var(--pin)); grid-auto-rows: var(--pin); gap: 1px; padding: 1px; }
.pin { display: block; border-radius: 50%; background: var(--down); }
.pin.up { background: var(--up); }
#bline { display: inline-flex; gap: 6px; padding: 8px; background: #fff; border: 1px solid #bbb; }
#bline .cell { grid-template-columns: repeat(2, var(--bpin)); grid-auto-rows: var(--bpin); gap: 3px; }
.text { font-size: 14px; line-height: 1.05; margin: .4em 0; white-space: pre; }
#braille-text { font-size: 22px; }
.keys button { font: inherit; min-width: 3.2em; margin: 2px; padding: .35em .6em; }
.keys kbd { font-size: .8em; color: #555; }
fieldset { border: 1px solid #ccc; margin: .4em 0; }
.fault { margin: .2em 0; }
.fault input[type=number] { width: 6em; }
#frames-box { max-height: 24em; overflow: auto; border: 1px solid #ccc; background: #fff; }
table { border-collapse: collapse; font-size: 13px; }
th { position: sticky; top: 0; background: #eee; }
td, th { padding: 1px 6px; text-align: left; vertical-align: top; white-space: nowrap; }
td.bytes { white-space: normal; }
td.bytes { font-family: monospace; word-break: break-all; }
tr.rx td { color: #034; } tr.tx td { color: #430; }
.sr { position: absolute; width: 1px; height: 1px; overflow: hidden; clip: rect(0 0 0 0); }
.cols { display: flex; flex-wrap: wrap; gap: 2em; }
</style>
</head>
<body data-events="0">
<h1>Velumi pad <span id="model">…</span></h1>
<p class="facts"><span>Link: <span id="link" class="badge">connecting</span></span>
<span>Page: <span id="stream" class="badge">connecting</span></span>
<span id="geometry"></span> <span id="device"></span></p>
<p id="announce" class="sr" aria-live="polite"></p>

<div class="cols">
<section aria-labelledby="h-graphics" id="graphics-section">
<h2 id="h-graphics">Graphics area</h2>
<div id="graphics" role="img" aria-label="graphics area pins; the same pins follow as braille text"></div>
<pre id="graphics-text" class="text" aria-label="graphics area as braille text, one row per line"></pre>
</section>

<div>
<section aria-labelledby="h-braille" id="braille-section">
<h2 id="h-braille">Braille line</h2>
<div id="bline" role="img" aria-label="braille line pins; the same cells follow as braille text"></div>
<p id="braille-text" class="text" aria-label="braille line as braille text"></p>
</section>

<section aria-labelledby="h-keys" class="keys">
<h2 id="h-keys">Keys</h2>
<fieldset><legend>Page keys</legend>
<button type="button" data-kind="page" data-code="1" aria-keyshortcuts="ArrowLeft">Previous page <kbd>←</kbd></button>
<button type="button" data-kind="page" data-code="2" aria-keyshortcuts="ArrowRight">Next page <kbd>→</kbd></button>
</fieldset>
<fieldset><legend>Function keys</legend>
<button type="button" data-kind="function" data-n="1" aria-keyshortcuts="1">F1 <kbd>1</kbd></button>
<button type="button" data-kind="function" data-n="2" aria-keyshortcuts="2">F2 <kbd>2</kbd></button>
<button type="button" data-kind="function" data-n="3" aria-keyshortcuts="3">F3 <kbd>3</kbd></button>
<button type="button" data-kind="function" data-n="4" aria-keyshortcuts="4">F4 <kbd>4</kbd></button>
</fieldset>
<fieldset id="perkins"><legend>Perkins keys</legend></fieldset>
<p id="key-status" aria-live="polite"></p>
</section>

<section aria-labelledby="h-faults">
<h2 id="h-faults">Faults</h2>
<div id="faults"></div>
<button type="button" id="clear-faults">Switch all faults off</button>
</section>
</div>
</div>

<section aria-labelledby="h-frames">
<h2 id="h-frames">Last frames exchanged</h2>
<p>Frame to page: <span id="latency" data-median="">no display line received yet</span></p>
<div id="frames-box" tabindex="0" aria-label="last frames, newest first">
<table id="frames"><thead><tr><th>time</th><th>direction</th><th>message</th><th>bytes</th></tr></thead><tbody></tbody></table>
</div>
</section>

<script>
"use strict";
const $ = (id) => document.getElementById(id);
const NAMES = {0x0000: "REQ_FW_VER_INFO", 0x0001: "RSP_FW_VER_INFO", 0x0010: "REQ_HW_VER_INFO",
  0x0011: "RSP_HW_VER_INFO", 0x0100: "REQ_DEVICE_NAME", 0x0101: "RSP_DEVICE_NAME_INFO",
  0x0200: "REQ_DISPLAY_LINE", 0x0201: "RSP_DISPLAY_LINE", 0x0202: "NOTI_DISPLAY_LINE",
  0x0206: "NOTI_DISPLAY_LINE", 0x0302: "NOTI_EVENT_KEY", 0x0312: "NOTI_KEY_PERKINS", 0x0332: "NOTI_KEY_FUNCTION"};
// Pins of a cell in reading order, two across and four down: dots 1 4 / 2 5 / 3 6 / 7 8.
const PIN_BITS = [0, 3, 1, 4, 2, 5, 6, 7];
// Perkins keys on the home row, as on a braille keyboard.
const PERKINS_KEYS = ["f", "d", "s", "j", "k", "l", "a", ";"];
const MAX_FRAMES = 40;
let geometry = null, lastSeq = 0, events = 0;
const latencies = [];

function bytesOf(hex) {
  const out = [];
  for (let i = 0; i + 1 < hex.length; i += 2) out.push(parseInt(hex.substr(i, 2), 16));
  return out;
}
function brailleText(cells) { return cells.map((v) => String.fromCharCode(0x2800 + v)).join(""); }
function dotsOf(v) {
  const dots = [];
  for (let d = 0; d < 8; d++) if (v & (1 << d)) dots.push(d + 1);
  return dots.length ? "dots " + dots.join(" ") : "blank";
}
function makeCell() {
  const cell = document.createElement("span");
  cell.className = "cell";
  for (let i = 0; i < 8; i++) {
    const pin = document.createElement("i");
    pin.className = "pin";
    cell.appendChild(pin);
  }
  cell.dataset.v = "00";
  return cell;
}
function paintCell(cell, v) {
  const hex = (v < 16 ? "0" : "") + v.toString(16);
  if (cell.dataset.v === hex) return;
  cell.dataset.v = hex;
  const pins = cell.children;
  for (let i = 0; i < 8; i++) pins[i].classList.toggle("up", (v >> PIN_BITS[i]) & 1);
}
function build(s) {
  geometry = {lines: s.lines, cells: s.cells, braille: s.brailleCells};
  const g = $("graphics");
  g.textContent = "";
  $("graphics-section").hidden = s.lines === 0;
  for (let l = 1; l <= s.lines; l++) {
    const row = document.createElement("div");
    row.className = "gline";
    row.dataset.line = l;
    for (let c = 0; c < s.cells; c++) row.appendChild(makeCell());
    g.appendChild(row);
  }
  const b = $("bline");
  b.textContent = "";
  $("braille-section").hidden = s.brailleCells === 0;
  for (let c = 0; c < s.brailleCells; c++) b.appendChild(makeCell());
  $("graphics").setAttribute("aria-label", "graphics area pins, " + s.lines + " lines of " + s.cells +
    " cells; the same pins follow as braille text");
}
function setLine(line, hex) {
  const cells = bytesOf(hex);
  if (line === 0) {
    const b = $("bline");
    cells.forEach((v, i) => { if (b.children[i]) { paintCell(b.children[i], v); b.children[i].title = "cell " + (i + 1) + ": " + dotsOf(v); } });
    b.dataset.cells = hex;
    $("braille-text").textContent = brailleText(cells);
    $("announce").textContent = "braille line: " + brailleText(cells);
    return;
  }
  const row = $("graphics").children[line - 1];
  if (!row) return;
  cells.forEach((v, i) => { if (row.children[i]) paintCell(row.children[i], v); });
  row.dataset.cells = hex;
  const pre = $("graphics-text");
  const rows = pre.textContent.split("\n");
  while (rows.length < geometry.lines) rows.push("");
  rows[line - 1] = brailleText(cells);
  pre.textContent = rows.slice(0, geometry.lines).join("\n");
}
function setLink(link) {
  const el = $("link");
  el.textContent = link.state;
  el.className = "badge " + link.state;
  $("device").textContent = link.device ? "on " + link.device + (link.links.length ? " as " + link.links.join(", ") : "") : "";
}
function frameName(bytes) {
  if (bytes.length < 9 || bytes[0] !== 0xAA || bytes[1] !== 0x55) return "bytes";
  return NAMES[(bytes[5] << 8) | bytes[6]] || "command 0x" + ((bytes[5] << 8) | bytes[6]).toString(16).padStart(4, "0");
}
function addFrame(f) {
  if (f.seq <= lastSeq) return;
  lastSeq = f.seq;
  const bytes = bytesOf(f.bytes);
  const tr = document.createElement("tr");
  tr.className = f.dir;
  const cols = [new Date(f.t).toISOString().substr(11, 12),
    f.dir === "rx" ? "host → pad" : "pad → host",
    f.raw ? "raw bytes" : frameName(bytes),
    bytes.map((v) => v.toString(16).toUpperCase().padStart(2, "0")).join(" ")];
  cols.forEach((text, i) => {
    const td = document.createElement("td");
    td.textContent = text;
    if (i === 3) td.className = "bytes";
    tr.appendChild(td);
  });
  const body = $("frames").tBodies[0];
  body.insertBefore(tr, body.firstChild);
  while (body.rows.length > MAX_FRAMES) body.deleteRow(body.rows.length - 1);
}
function buildFaults(catalogue) {
  const box = $("faults");
  if (box.dataset.built) return;
  box.dataset.built = "1";
  for (const f of catalogue) {
    const div = document.createElement("div");
    div.className = "fault";
    const id = "fault-" + f.name;
    let html = '<input type="checkbox" id="' + id + '"> <label for="' + id + '"><b></b>: <span></span></label>';
    if (f.number) html += ' <label>n <input type="number" min="0" value="0" class="n"></label>';
    if (f.code) html += ' <label>code <input type="number" min="1" max="255" value="1" class="code"></label>';
    div.innerHTML = html;
    div.querySelector("b").textContent = f.name;
    div.querySelector("label span").textContent = f.summary;
    const n = div.querySelector(".n");
    if (n) n.setAttribute("aria-description", f.number), n.title = f.number;
    const box1 = div.querySelector("input[type=checkbox]");
    const send = () => {
      let q = "name=" + encodeURIComponent(f.name) + "&on=" + (box1.checked ? 1 : 0);
      if (n) q += "&n=" + encodeURIComponent(n.value || "0");
      const code = div.querySelector(".code");
      if (code) q += "&code=" + encodeURIComponent(code.value || "1");
      post("/api/fault?" + q, (box1.checked ? "switched on: " : "switched off: ") + f.name);
    };
    box1.addEventListener("change", send);
    div.querySelectorAll("input[type=number]").forEach((el) => el.addEventListener("change", () => { if (box1.checked) send(); }));
    box.appendChild(div);
  }
}
function setFaults(active) {
  const on = new Map(active.map((f) => [f.name, f]));
  document.querySelectorAll("#faults .fault").forEach((div) => {
    const name = div.querySelector("b").textContent;
    const box = div.querySelector("input[type=checkbox]");
    const f = on.get(name);
    box.checked = !!f;
    if (f && document.activeElement && !div.contains(document.activeElement)) {
      const n = div.querySelector(".n"), code = div.querySelector(".code");
      if (n) n.value = f.n;
      if (code) code.value = f.code;
    }
  });
}
function noteLatency(t) {
  const now = performance.timeOrigin + performance.now();
  latencies.push(now - t);
  if (latencies.length > 1000) latencies.shift();
  const sorted = latencies.slice().sort((a, b) => a - b);
  const median = sorted[sorted.length >> 1];
  const el = $("latency");
  el.dataset.median = median.toFixed(3);
  el.dataset.count = latencies.length;
  el.textContent = "median " + median.toFixed(2) + " ms over the last " + latencies.length + " display lines";
}
function post(url, what) {
  fetch(url, {method: "POST"}).then((r) => {
    $("key-status").textContent = r.ok ? "sent: " + what : "not sent (" + r.status + "): " + what;
  }).catch(() => { $("key-status").textContent = "not sent, the simulator is gone: " + what; });
}
function pressKey(button) {
  const d = button.dataset;
  let q = "kind=" + d.kind;
  if (d.kind === "page") q += "&code=" + d.code;
  if (d.kind === "function") q += "&n=" + d.n;
  if (d.kind === "perkins") q += "&key=" + d.key;
  post("/api/key?" + q, button.getAttribute("aria-label") || button.textContent.trim());
}
function counted() { document.body.dataset.events = ++events; }

for (let k = 1; k <= 8; k++) {
  const b = document.createElement("button");
  b.type = "button";
  b.dataset.kind = "perkins";
  b.dataset.key = k;
  b.setAttribute("aria-keyshortcuts", PERKINS_KEYS[k - 1]);
  b.setAttribute("aria-label", "Perkins key " + k);
  b.innerHTML = "P" + k + " <kbd></kbd>";
  b.querySelector("kbd").textContent = PERKINS_KEYS[k - 1].toUpperCase();
  $("perkins").appendChild(b);
}
document.querySelectorAll(".keys button").forEach((b) => b.addEventListener("click", () => pressKey(b)));
$("clear-faults").addEventListener("click", () => post("/api/faults/clear", "all faults off"));
document.addEventListener("keydown", (e) => {
  if (e.ctrlKey || e.altKey || e.metaKey || e.repeat) return;
  const t = e.target;
  if (t && (t.tagName === "INPUT" || t.tagName === "TEXTAREA" || t.isContentEditable)) return;
  let sel = null;
  if (e.key === "ArrowLeft") sel = '[data-kind=page][data-code="1"]';
  else if (e.key === "ArrowRight") sel = '[data-kind=page][data-code="2"]';
  else if (/^[1-4]$/.test(e.key)) sel = '[data-kind=function][data-n="' + e.key + '"]';
  else if (PERKINS_KEYS.includes(e.key.toLowerCase())) sel = '[data-kind=perkins][data-key="' + (PERKINS_KEYS.indexOf(e.key.toLowerCase()) + 1) + '"]';
  if (!sel) return;
  e.preventDefault();
  pressKey(document.querySelector(sel));
});

const source = new EventSource("/events");
source.addEventListener("open", () => { $("stream").textContent = "live"; $("stream").className = "badge up"; });
source.addEventListener("error", () => { $("stream").textContent = "reconnecting"; $("stream").className = "badge lost"; });
source.addEventListener("state", (e) => {
  const s = JSON.parse(e.data);
  $("model").textContent = s.model;
  document.title = "Velumi pad " + s.model;
  const parts = [];
  parts.push(s.lines ? s.lines + " graphic lines of " + s.cells + " cells (" + s.cells * 2 + " × " + s.lines * 4 + " pins)" : "no graphics area");
  parts.push(s.brailleCells ? "braille line of " + s.brailleCells + " cells" : "no braille line");
  parts.push("firmware " + s.firmware);
  $("geometry").textContent = parts.join(", ");
  if (!geometry || geometry.lines !== s.lines || geometry.cells !== s.cells || geometry.braille !== s.brailleCells) build(s);
  s.graphic.forEach((hex, i) => setLine(i + 1, hex));
  if (s.brailleCells) setLine(0, s.braille);
  setLink(s.link);
  buildFaults(s.catalogue);
  setFaults(s.faults);
  s.frames.forEach(addFrame);
  counted();
});
source.addEventListener("line", (e) => {
  const l = JSON.parse(e.data);
  if (geometry) setLine(l.line, l.cells);
  noteLatency(l.t);
  counted();
});
source.addEventListener("frame", (e) => { addFrame(JSON.parse(e.data)); counted(); });
source.addEventListener("link", (e) => { setLink(JSON.parse(e.data)); counted(); });
source.addEventListener("faults", (e) => { setFaults(JSON.parse(e.data)); counted(); });
</script>
</body>
</html>
)PAGE";
}

}  // namespace padsim
