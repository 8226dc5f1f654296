#include "print/WebPage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

#include "model/Numbers.h"
#include "model/Text.h"
#include "print/PageDrawing.h"
#include "program/LetterCase.h"

namespace kivrel {

namespace {

// The grid is drawn in units of a tenth of a cell; the letters stand 7 units high, and
// a ring's half width is 4.1 units: half a "W" across a cell as tall as the font's
// line, as the answer key rings words on paper.
constexpr int kCell = 10;
constexpr double kLetterSize = 7;
constexpr double kBaselineDrop = 2.5;  // from a cell's middle to the baseline of its capitals
constexpr double kLetterShare = kLetterSize / kCell;
// The page on screen is as wide as the paper's room between the margins, so it lays out
// as the paper does; never narrower than the least room the margins may leave.
constexpr double kNarrowestSheetInches = 2;

std::string Number(double value) {
  std::array<char, 32> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  return std::string(text.data(), end);
}

// The text without what a page may not hold: malformed UTF-8 and control characters are
// taken out, and tabs and line breaks count as blanks.
std::string PageText(std::string_view text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t ch = DecodeUtf8(text, pos);
    if (ch == '\t' || ch == '\r' || ch == '\n') {
      out += ' ';
    } else if ((ch == 0xFFFD && text.substr(start, pos - start) != "\xEF\xBF\xBD") || ch < 0x20 ||
               (ch >= 0x7F && ch < 0xA0)) {
      continue;  // a malformed byte, or a control character
    } else {
      out += text.substr(start, pos - start);
    }
  }
  return out;
}

// Text for an HTML element or attribute, its markup characters escaped.
std::string Html(std::string_view text) {
  std::string out;
  for (const char ch : PageText(text)) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += ch;
    }
  }
  return out;
}

// A font family for a style sheet: the name as a quoted string, then the generic
// family of its kind, which the browser takes where it lacks the face.
std::string FontFamily(const std::string& name) {
  // A style sheet takes no entities: quotes and backslashes are escaped the CSS way, and
  // "<" too, so that no name can end the style element.
  std::string quoted = "\"";
  for (const char ch : PageText(name)) {
    if (ch == '"' || ch == '\\') quoted += '\\';
    if (ch == '<') {
      quoted += "\\3c ";
    } else {
      quoted += ch;
    }
  }
  quoted += '"';
  const std::string lower = ToLower(name);
  auto has = [&](std::string_view part) { return lower.find(part) != std::string::npos; };
  std::string generic = "sans-serif";
  if (has("courier") || has("mono") || has("consol") || has("typewriter")) {
    generic = "monospace";
  } else if ((has("serif") && !has("sans")) || has("times") || has("roman") || has("georgia") || has("garamond") ||
             has("palatino") || has("bookman")) {
    generic = "serif";
  }
  return (name.empty() ? std::string() : quoted + ", ") + generic;
}

std::string FontRules(const FontRecord& font, bool bold) {
  return "font-family:" + FontFamily(font.FontName) + ";font-size:" + Number(std::max<int>(font.Size, 1)) +
         "pt;font-weight:" + (bold ? "bold" : "normal") + ";font-style:" + (font.Italic ? "italic" : "normal") + ";";
}

// The key of a page's scrambled places, taken from its letters (FNV-1a), so that the
// same puzzle gives the same page. Never 0, where the generator would stand still.
std::uint32_t PageKey(const LetterGrid& grid) {
  std::uint32_t hash = 2166136261u;
  for (int r = 1; r <= grid.Height(); ++r) {
    for (int c = 1; c <= grid.Width(); ++c) {
      for (const char byte : grid.At(r, c).Letter) hash = (hash ^ static_cast<unsigned char>(byte)) * 16777619u;
    }
  }
  return hash == 0 ? 1 : hash;
}

// Each byte xored with the next value of a xorshift generator started from the key, then
// base64: the page's script does the same backwards.
std::string Scramble(const std::vector<std::uint8_t>& bytes, std::uint32_t key) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<std::uint8_t> mixed;
  std::uint32_t x = key;
  for (const std::uint8_t byte : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    mixed.push_back(static_cast<std::uint8_t>(byte ^ (x & 0xFF)));
  }
  std::string out;
  for (std::size_t i = 0; i < mixed.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, mixed.size() - i);
    std::uint32_t group = static_cast<std::uint32_t>(mixed[i]) << 16;
    if (n > 1) group |= static_cast<std::uint32_t>(mixed[i + 1]) << 8;
    if (n > 2) group |= mixed[i + 2];
    for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

// The placed words, in the order the printed list shows them (word table order).
std::vector<const WordRecord*> PlacedWords(const PuzzleState& s) {
  std::vector<const WordRecord*> words;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Status == kStatusPlaced && word.Direction >= 1 && word.Direction <= kDirectionCount && word.Length > 0) {
      words.push_back(&word);
    }
  }
  return words;
}

// How wide the instructions' band is and where it stands, as on paper: the grid's
// width, or from a margin to the grid's far edge, or to its middle when the grid stands
// on the other side. --grid is the grid's width.
std::string InstructionBand(const PrintOptions& o) {
  const std::string to_far_edge = "calc((100% + var(--grid)) / 2)";
  const std::string to_middle = "calc(100% - var(--grid) / 2)";
  std::string width = "var(--grid)";
  std::string place = "margin-left:auto;margin-right:auto;";
  if (o.InstructionsAlign == Align::Left) {
    place = "margin-right:auto;";
    if (o.PuzzleHorizontal == Align::Right) width = to_middle;
    if (o.PuzzleHorizontal == Align::Center) width = to_far_edge;
  } else if (o.InstructionsAlign == Align::Right) {
    place = "margin-left:auto;";
    if (o.PuzzleHorizontal == Align::Left) width = to_middle;
    if (o.PuzzleHorizontal == Align::Center) width = to_far_edge;
  }
  return "width:" + width + ";" + place;
}

// Paragraphs of the instructions: a line break or a tab is a blank, and an empty line
// starts a new paragraph.
std::vector<std::string> Paragraphs(std::string_view text) {
  std::vector<std::string> paragraphs{""};
  std::string normalised;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 >= text.size() || text[i + 1] != '\n') normalised += '\n';
    } else {
      normalised += text[i];
    }
  }
  std::size_t pos = 0;
  while (pos <= normalised.size()) {
    std::size_t end = normalised.find('\n', pos);
    if (end == std::string::npos) end = normalised.size();
    const std::string line = normalised.substr(pos, end - pos);
    if (line.find_first_not_of(" \t") == std::string::npos) {
      if (!paragraphs.back().empty()) paragraphs.emplace_back();
    } else {
      paragraphs.back() += (paragraphs.back().empty() ? "" : " ") + line;
    }
    pos = end + 1;
  }
  if (paragraphs.back().empty()) paragraphs.pop_back();
  return paragraphs;
}

// A list entry: the word in bold, its notes in square brackets in the regular weight and
// without their brackets, as the printed list shows it.
std::string ListEntry(std::string_view text) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find('[', pos);
    out += Html(text.substr(pos, open == std::string_view::npos ? std::string_view::npos : open - pos));
    if (open == std::string_view::npos) break;
    std::size_t close = text.find(']', open + 1);
    if (close == std::string_view::npos) close = text.size();
    out += "<span class=\"note\">" + Html(text.substr(open + 1, close - open - 1)) + "</span>";
    pos = close + 1;
  }
  return out;
}

std::string Grid(AppContext& ctx, bool outlined) {
  const PuzzleState& s = ctx.state;
  const int rows = s.Grid.Height();
  const int columns = s.Grid.Width();
  const std::string width = std::to_string(columns * kCell);
  const std::string height = std::to_string(rows * kCell);
  // With the words outlined in the print options, the page opens with its answers shown.
  std::string svg = std::string("<svg id=\"grid\"") + (outlined ? " class=\"answers-shown\"" : "") +
                    " xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + width + " " + height + "\" data-rows=\"" +
                    std::to_string(rows) + "\" data-cols=\"" + std::to_string(columns) +
                    "\" tabindex=\"0\" role=\"application\" aria-label=\"Letter "
                    "grid, " +
                    std::to_string(rows) + " rows of " + std::to_string(columns) +
                    " letters. The arrow keys move, Enter marks the first and the last letter of a word.\" "
                    "aria-describedby=\"cursor-info\">\n";
  svg += "<path id=\"selection\" d=\"M0 0\"/>\n<g id=\"marks\"></g>\n<g class=\"letters\" aria-hidden=\"true\">\n";
  for (int r = 1; r <= rows; ++r) {
    std::string xs;
    std::string letters;
    for (int c = 1; c <= columns; ++c) {
      const CellRecord& cell = s.Grid.At(r, c);
      if (cell.IsEmpty()) continue;
      // One character a cell; each stands at its own cell's middle.
      xs += (xs.empty() ? "" : " ") + Number((c - 0.5) * kCell);
      letters += Html(CharAt(ShownLetters(ctx, cell.Letter), 1));
    }
    if (letters.empty()) continue;
    svg += "<text x=\"" + xs + "\" y=\"" + Number((r - 0.5) * kCell + kBaselineDrop) + "\">" + letters + "</text>\n";
  }
  svg += "</g>\n<rect class=\"frame\" x=\"0\" y=\"0\" width=\"" + width + "\" height=\"" + height + "\"/>\n";
  svg += "<g id=\"answers\"></g>\n<g id=\"rings\"></g>\n";
  svg += "<rect id=\"cursor\" x=\"0\" y=\"0\" width=\"" + std::to_string(kCell) + "\" height=\"" +
         std::to_string(kCell) + "\"/>\n</svg>\n";
  return svg;
}

std::string WordListSection(AppContext& ctx, const std::vector<const WordRecord*>& words) {
  std::string html = "<section class=\"words\" aria-label=\"Word list\">\n<h2>" +
                     Html(WordListHeader(static_cast<int>(words.size()))) + "</h2>\n<ul id=\"word-list\">\n";
  for (std::size_t k = 0; k < words.size(); ++k) {
    const std::string entry = ShownLetters(ctx, words[k]->DisplayText);
    html += "<li id=\"w" + std::to_string(k + 1) + "\">" + ListEntry(entry) + "</li>\n";
  }
  return html + "</ul>\n</section>\n";
}

// The style sheet, less the rules that follow the print options (written before it).
constexpr std::string_view kStyle = R"css(
*{box-sizing:border-box}
body{margin:0;background:#e8e8e3;color:#000}
.sheet{margin:0 auto;padding:1.5rem;background:#fff;width:100%;max-width:calc(var(--sheet) + 3rem);min-height:100vh}
h1{margin:0 0 .8em}
.instructions p{margin:0 0 .6em}
.layout{display:flex;gap:1.2rem;margin-top:1.2rem}
.layout.below{flex-direction:column}
.layout.above{flex-direction:column-reverse}
.layout.side{flex-wrap:wrap;align-items:flex-start}
.layout.side .words{order:-1}
.grid-box{width:var(--grid);max-width:100%}
.layout.below .grid-box,.layout.above .grid-box,.layout.side .grid-box{margin-left:var(--grid-left);margin-right:var(--grid-right)}
.layout.side .grid-box{flex:0 0 auto}
#grid{display:block;width:100%;height:auto;overflow:visible;touch-action:none;user-select:none;-webkit-user-select:none;cursor:pointer;outline:none}
#grid text{font-size:7px;text-anchor:middle;fill:#000}
#grid .frame{fill:none;stroke:#000;stroke-width:.3}
#grid #selection{fill:rgba(255,196,0,.45);stroke:#b07800;stroke-width:.4}
#grid .wrong{fill:rgba(220,0,0,.35);stroke:#c00;stroke-width:.5;animation:fade .7s ease-in forwards}
#grid .ring{fill:none;stroke:#000;stroke-width:.6}
#grid .answer{fill:none;stroke:#1a5fd0;stroke-width:.5;stroke-dasharray:1.2 .8}
#grid #answers{display:none}
#grid.answers-shown #answers{display:inline}
#grid #cursor{fill:none;stroke:#1a5fd0;stroke-width:.8;visibility:hidden}
#grid:focus-visible #cursor{visibility:visible}
#grid:focus-visible .frame{stroke:#1a5fd0;stroke-width:.8}
@keyframes fade{from{opacity:1}to{opacity:0}}
.words h2{font-size:inherit;font-weight:normal;margin:0 0 .3em}
.words ul{list-style:none;margin:0;padding:0;column-width:var(--entry);column-gap:1em}
.words li{font-weight:bold;break-inside:avoid;padding:.05em 0}
.words .note{font-weight:normal}
.words li.found{text-decoration:line-through;text-decoration-thickness:.12em;color:#555}
.controls{display:flex;flex-wrap:wrap;align-items:center;gap:.5rem 1.2rem;margin-top:1.5rem;font-family:sans-serif}
.controls p{margin:0}
#count{font-weight:bold}
#done{color:#0a6a1e;font-weight:bold}
button{font:inherit;padding:.4em .9em;border:1px solid #555;border-radius:.3em;background:#f4f4f4;cursor:pointer}
button:focus-visible{outline:2px solid #1a5fd0;outline-offset:2px}
.sr{position:absolute;width:1px;height:1px;margin:-1px;overflow:hidden;clip:rect(0 0 0 0);white-space:nowrap;border:0}
@media (max-width:40em){.sheet{padding:.8rem}.layout.side{flex-direction:column}.layout.side .words{order:1}}
@media print{
body{background:none}
.sheet{max-width:none;padding:0;min-height:0}
.controls,.sr{display:none}
#grid #selection,#grid #marks,#grid #cursor{display:none}
}
)css";

// The script: marking words with the pointer (a drag from the first letter to the
// last, or a click on each), with the keys (arrows move, Enter marks), checking a marked
// line against the placed words and keeping the count.
constexpr std::string_view kScript = R"js(
(function () {
  "use strict";
  var SVG = "http://www.w3.org/2000/svg", CELL = 10, RING = 4.1;
  var sheet = document.getElementById("puzzle"), grid = document.getElementById("grid");
  var rows = +grid.getAttribute("data-rows"), cols = +grid.getAttribute("data-cols");
  var selection = document.getElementById("selection"), marks = document.getElementById("marks");
  var rings = document.getElementById("rings"), answers = document.getElementById("answers");
  var cursorMark = document.getElementById("cursor"), count = document.getElementById("count");
  var done = document.getElementById("done"), info = document.getElementById("cursor-info");
  var showButton = document.getElementById("show-answers");
  var places = unscramble(sheet.getAttribute("data-places"), +sheet.getAttribute("data-key"));
  var found = [], foundCount = 0, anchor = null, drag = null, cursor = {r: 1, c: 1};

  function unscramble(text, key) {
    var bytes = atob(text), x = key >>> 0, words = [], b = [];
    for (var i = 0; i < bytes.length; i++) {
      x ^= x << 13; x >>>= 0; x ^= x >>> 17; x ^= x << 5; x >>>= 0;
      b.push((bytes.charCodeAt(i) ^ x) & 255);
    }
    for (var k = 0; k + 3 < b.length; k += 4) words.push({r1: b[k], c1: b[k + 1], r2: b[k + 2], c2: b[k + 3]});
    return words;
  }
  function inside(r, c) { return r >= 1 && r <= rows && c >= 1 && c <= cols; }
  function same(a, b) { return a.r === b.r && a.c === b.c; }
  function letterAt(cell) {
    var row = grid.querySelectorAll(".letters text"), y = (cell.r - 0.5) * CELL, x = (cell.c - 0.5) * CELL;
    for (var i = 0; i < row.length; i++) {
      if (Math.abs(+row[i].getAttribute("y") - y) > CELL / 2) continue;
      var xs = row[i].getAttribute("x").split(" "), text = Array.from(row[i].textContent);
      for (var k = 0; k < xs.length; k++) if (+xs[k] === x) return text[k];
    }
    return "blank";
  }
  function describe(cell) { return "Row " + cell.r + ", column " + cell.c + ": " + letterAt(cell); }
  function say(text) { info.textContent = text; }

  // A ring around the cells from a to b: two lines along them closed by a half circle
  // around each end, as the answer key draws it.
  function capsule(a, b, radius) {
    var x1 = (a.c - 0.5) * CELL, y1 = (a.r - 0.5) * CELL, x2 = (b.c - 0.5) * CELL, y2 = (b.r - 0.5) * CELL;
    var dx = x2 - x1, dy = y2 - y1, length = Math.sqrt(dx * dx + dy * dy);
    if (length === 0) { dx = 1; dy = 0; } else { dx /= length; dy /= length; }
    var nx = -dy * radius, ny = dx * radius, arc = "A" + radius + " " + radius + " 0 0 0 ";
    function p(x, y) { return Math.round(x * 100) / 100 + " " + Math.round(y * 100) / 100; }
    return "M" + p(x1 + nx, y1 + ny) + "L" + p(x2 + nx, y2 + ny) + arc + p(x2 - nx, y2 - ny) +
        "L" + p(x1 - nx, y1 - ny) + arc + p(x1 + nx, y1 + ny) + "Z";
  }
  function addPath(layer, a, b, kind) {
    var path = document.createElementNS(SVG, "path");
    path.setAttribute("d", capsule(a, b, RING));
    path.setAttribute("class", kind);
    layer.appendChild(path);
    return path;
  }
  function ends(k) { var p = places[k]; return [{r: p.r1, c: p.c1}, {r: p.r2, c: p.c2}]; }

  // The far end of a straight line from a towards b: across, down or diagonal,
  // whichever is nearest to the way b lies, and inside the grid.
  function lineEnd(a, b) {
    var dr = b.r - a.r, dc = b.c - a.c;
    if (dr === 0 && dc === 0) return {r: a.r, c: a.c};
    var k = Math.round(Math.atan2(dr, dc) / (Math.PI / 4));
    var sr = Math.round(Math.sin(k * Math.PI / 4)), sc = Math.round(Math.cos(k * Math.PI / 4));
    var n = Math.max(0, Math.round((dr * sr + dc * sc) / (sr * sr + sc * sc)));
    while (n > 0 && !inside(a.r + n * sr, a.c + n * sc)) n--;
    return {r: a.r + n * sr, c: a.c + n * sc};
  }
  function showSelection(a, b) {
    if (a) selection.setAttribute("d", capsule(a, b, RING)); else selection.setAttribute("d", "M0 0");
  }
  function showCount() {
    count.textContent = foundCount + " of " + places.length + " found";
    if (foundCount === places.length && foundCount > 0) {
      done.textContent = places.length === 1 ? "Well done: you found the word!" :
          "Well done: you found all " + places.length + " words!";
    }
  }

  // A marked line: a word when it runs from a word's first letter to its last (or back).
  function check(a, b) {
    var hit = -1, again = false;
    for (var k = 0; k < places.length; k++) {
      var e = ends(k), forward = same(a, e[0]) && same(b, e[1]), back = same(a, e[1]) && same(b, e[0]);
      if (!forward && !back) continue;
      if (found[k]) { again = true; continue; }
      if (hit < 0 || forward) hit = k;
    }
    if (hit >= 0) {
      found[hit] = true;
      foundCount++;
      var e = ends(hit), item = document.getElementById("w" + (hit + 1));
      addPath(rings, e[0], e[1], "ring");
      if (item) item.classList.add("found");
      showCount();
      say((item ? item.textContent + " found. " : "Found. ") + count.textContent + ".");
    } else if (again) {
      say("That word is found already.");
    } else {
      var wrong = addPath(marks, a, b, "wrong");
      setTimeout(function () { wrong.remove(); }, 700);
      say("That is not a word of the list.");
    }
  }

  // A mark on one cell (a click, or Enter): the first letter, or with a first letter
  // marked, the last; the same cell again takes the mark away.
  function mark(cell) {
    if (!anchor) {
      anchor = cell;
      showSelection(cell, cell);
      say("First letter marked. " + describe(cell));
    } else if (same(anchor, cell)) {
      anchor = null;
      showSelection(null);
      say("Mark taken away.");
    } else {
      var a = anchor;
      anchor = null;
      showSelection(null);
      check(a, lineEnd(a, cell));
    }
  }
  function moveCursor(cell) {
    cursor = cell;
    cursorMark.setAttribute("x", (cell.c - 1) * CELL);
    cursorMark.setAttribute("y", (cell.r - 1) * CELL);
  }
  function cellAt(event) {
    var box = grid.getBoundingClientRect();
    var c = Math.floor((event.clientX - box.left) / box.width * cols) + 1;
    var r = Math.floor((event.clientY - box.top) / box.height * rows) + 1;
    return {r: Math.min(Math.max(r, 1), rows), c: Math.min(Math.max(c, 1), cols)};
  }

  grid.addEventListener("pointerdown", function (event) {
    if (event.button !== 0 || drag) return;
    event.preventDefault();
    grid.focus({preventScroll: true});
    grid.setPointerCapture(event.pointerId);
    drag = {id: event.pointerId, start: cellAt(event)};
    moveCursor(drag.start);
  });
  grid.addEventListener("pointermove", function (event) {
    if (!drag || event.pointerId !== drag.id) return;
    var end = lineEnd(drag.start, cellAt(event));
    if (!same(end, drag.start)) showSelection(drag.start, end);
    else if (anchor) showSelection(anchor, anchor);
    else showSelection(null);
  });
  grid.addEventListener("pointerup", function (event) {
    if (!drag || event.pointerId !== drag.id) return;
    var start = drag.start, end = lineEnd(start, cellAt(event));
    drag = null;
    if (same(start, end)) {
      mark(start);
    } else {
      anchor = null;
      showSelection(null);
      check(start, end);
    }
  });
  grid.addEventListener("pointercancel", function () {
    drag = null;
    showSelection(anchor, anchor);
  });
  grid.addEventListener("keydown", function (event) {
    var steps = {ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1]}[event.key];
    if (steps) {
      var next = {r: cursor.r + steps[0], c: cursor.c + steps[1]};
      if (inside(next.r, next.c)) moveCursor(next);
      if (anchor) showSelection(anchor, lineEnd(anchor, cursor));
      say(describe(cursor));
    } else if (event.key === "Enter" || event.key === " ") {
      mark({r: cursor.r, c: cursor.c});
    } else if (event.key === "Escape" && anchor) {
      anchor = null;
      showSelection(null);
      say("Mark taken away.");
    } else {
      return;
    }
    event.preventDefault();
  });
  grid.addEventListener("focus", function () { say(describe(cursor)); });

  function showAnswers(shown) {
    if (!answers.firstChild) {
      for (var k = 0; k < places.length; k++) { var e = ends(k); addPath(answers, e[0], e[1], "answer"); }
    }
    grid.classList.toggle("answers-shown", shown);
    showButton.textContent = shown ? @HIDE@ : @SHOW@;
    showButton.setAttribute("aria-pressed", shown ? "true" : "false");
  }
  showButton.addEventListener("click", function () { showAnswers(!grid.classList.contains("answers-shown")); });
  if (grid.classList.contains("answers-shown")) showAnswers(true);
  showCount();
})();
)js";

std::string JsString(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string WebPage(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  const PrintOptions& o = ctx.print;
  const std::string title = ctx.AttributesForm().Text(frmAttributes::txtPuzName);
  const std::vector<const WordRecord*> words = PlacedWords(s);

  // The words' places, scrambled. The grid is at most 99 cells a side, so a row or a
  // column fits a byte.
  std::vector<std::uint8_t> places;
  for (const WordRecord* word : words) {
    const int last = word->Length - 1;
    places.push_back(static_cast<std::uint8_t>(word->StartRow));
    places.push_back(static_cast<std::uint8_t>(word->StartCol));
    places.push_back(
        static_cast<std::uint8_t>(word->StartRow + last * kRowSteps[static_cast<std::size_t>(word->Direction)]));
    places.push_back(
        static_cast<std::uint8_t>(word->StartCol + last * kColSteps[static_cast<std::size_t>(word->Direction)]));
  }
  const std::uint32_t key = PageKey(s.Grid);

  // The page on screen is as wide as the paper between its margins; the grid is as wide
  // as its letters at the puzzle font's size, and never wider than the page.
  const double margins = (MarginTwips(o.Margins[kLeftMargin]) + MarginTwips(o.Margins[kRightMargin])) / 1440.0;
  const double sheet = std::max(o.Paper.Width / 1440.0 - margins, kNarrowestSheetInches);
  const double cell_points = std::max<int>(ctx.fonts(kPuzzleFont).Size, 1) / kLetterShare;
  const std::string grid_width = "min(100%, " + Number(cell_points * s.Grid.Width()) + "pt)";
  std::size_t longest = 4;
  for (const WordRecord* word : words) {
    std::size_t chars = 0;
    for (char32_t ch : Characters(word->DisplayText)) chars += ch != '[' && ch != ']';
    longest = std::max(longest, chars);
  }
  const bool list_above = o.Above != 0;
  const bool list_beside = !list_above && o.Left != 0 && o.PuzzleHorizontal != Align::Left;
  const char* grid_left = o.PuzzleHorizontal == Align::Left ? "0" : "auto";
  const char* grid_right = o.PuzzleHorizontal == Align::Right ? "0" : "auto";

  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Kivrel " KIVREL_VERSION "\">\n<title>" +
      Html(Trim(title).empty() ? std::string("Word search") : title) + "</title>\n<style>\n";
  page += ".sheet{--sheet:" + Number(sheet) + "in;--grid:" + grid_width + ";--grid-left:" + grid_left +
          ";--grid-right:" + grid_right + ";--entry:" + Number(static_cast<double>(longest) * 0.72 + 1) + "em}\n";
  page += "h1{" + FontRules(ctx.fonts(kTitleFont), ctx.fonts(kTitleFont).Bold != 0) + "text-align:" +
          (o.TitleAlign == Align::Left    ? "left"
           : o.TitleAlign == Align::Right ? "right"
                                          : "center") +
          "}\n";
  page += ".instructions{" + FontRules(ctx.fonts(kInstructionsFont), ctx.fonts(kInstructionsFont).Bold != 0) +
          InstructionBand(o) + "max-width:100%}\n";
  const FontRecord& puzzle_font = ctx.fonts(kPuzzleFont);
  page += "#grid text{font-family:" + FontFamily(puzzle_font.FontName) +
          ";font-weight:" + (puzzle_font.Bold ? "bold" : "normal") +
          ";font-style:" + (puzzle_font.Italic ? "italic" : "normal") + "}\n";
  page += ".words{" + FontRules(ctx.fonts(kWordListFont), false) + "}\n";
  // Printed, the page has the margins of the print options, on the printer's paper.
  page += "@page{margin:" + Number(MarginTwips(o.Margins[kTopMargin]) / 1440.0) + "in " +
          Number(MarginTwips(o.Margins[kRightMargin]) / 1440.0) + "in " +
          Number(MarginTwips(o.Margins[kBottomMargin]) / 1440.0) + "in " +
          Number(MarginTwips(o.Margins[kLeftMargin]) / 1440.0) + "in}\n";
  page += kStyle;
  page += "</style>\n</head>\n<body>\n<main class=\"sheet\" id=\"puzzle\" data-key=\"" + std::to_string(key) +
          "\" data-places=\"" + Scramble(places, key) + "\">\n";

  if (!Trim(title).empty()) page += "<h1>" + Html(title) + "</h1>\n";
  if (o.PrintInstructions != 0) {
    const std::vector<std::string> paragraphs = Paragraphs(s.PuzzleInstructions);
    if (!paragraphs.empty()) {
      page += "<div class=\"instructions\">\n";
      for (const std::string& paragraph : paragraphs) page += "<p>" + Html(paragraph) + "</p>\n";
      page += "</div>\n";
    }
  }
  page += std::string("<div class=\"layout ") + (list_above ? "above" : list_beside ? "side" : "below") + "\">\n";
  page += "<div class=\"grid-box\">\n" + Grid(ctx, o.OutlineWords != 0) + "</div>\n";
  if (o.PrintWordList != 0) page += WordListSection(ctx, words);
  page += "</div>\n";

  page += "<div class=\"controls\">\n<p id=\"count\" role=\"status\" aria-live=\"polite\">0 of " +
          std::to_string(words.size()) +
          " found</p>\n<button type=\"button\" id=\"show-answers\" aria-pressed=\"false\">" +
          Html(kShowAnswersCaption) +
          "</button>\n<p id=\"done\" role=\"status\" aria-live=\"polite\"></p>\n"
          "<p id=\"cursor-info\" class=\"sr\" aria-live=\"polite\"></p>\n</div>\n</main>\n<script>";
  std::string script(kScript);
  script.replace(script.find("@HIDE@"), 6, JsString(kHideAnswersCaption));
  script.replace(script.find("@SHOW@"), 6, JsString(kShowAnswersCaption));
  page += script + "</script>\n</body>\n</html>\n";
  return page;
}

}  // namespace kivrel
