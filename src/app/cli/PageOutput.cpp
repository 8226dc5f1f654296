#include "PageOutput.h"

#include <array>
#include <functional>
#include <iostream>

#include "forms/PrintOptionsDialog.h"
#include "model/Numbers.h"
#include "model/Text.h"
#include "print/PageDrawing.h"
#include "qt/QtPageFileDevice.h"

namespace kivrel::cli {

namespace {

// One page option: its help, and what its value (or its presence, for a flag) does to
// the page, as the control of the print options dialog of the same meaning would.
struct PageOption {
  OptionInfo Info;
  std::function<void(const std::string& value, PageSettings& page)> Apply;
};

Align ParseAlign(const std::string& option, const std::string& value) {
  if (value == "left") return Align::Left;
  if (value == "center" || value == "centre") return Align::Center;
  if (value == "right") return Align::Right;
  throw UsageError("--" + option + " takes left, center or right, not \"" + value + "\"");
}

// "top", "middle-left", "bottom-right": the place down the page, and across it (the
// centre when not given).
void ApplyPuzzlePosition(const std::string& value, PrintOptions& o) {
  const std::string error =
      "--puzzle-position takes top, middle or bottom, each alone or followed by -left or "
      "-right (top-left, ...), not \"" +
      value + "\"";
  const std::size_t dash = value.find('-');
  const std::string down = value.substr(0, dash);
  if (down == "top") {
    o.PuzzleVertical = VerticalPlace::Top;
  } else if (down == "middle") {
    o.PuzzleVertical = VerticalPlace::Middle;
  } else if (down == "bottom") {
    o.PuzzleVertical = VerticalPlace::Bottom;
  } else {
    throw UsageError(error);
  }
  o.PuzzleHorizontal =
      dash == std::string::npos ? Align::Center : ParseAlign("puzzle-position", value.substr(dash + 1));
}

void ApplyMargins(const std::string& value, PrintOptions& o) {
  const std::string error = "--margins takes four numbers of inches, top,bottom,left,right, not \"" + value + "\"";
  std::string rest = value;
  double inches[4] = {};
  for (int i = 0; i < 4; ++i) {
    std::size_t comma = rest.find(',');
    if ((comma == std::string::npos) != (i == 3)) throw UsageError(error);
    std::string field = rest.substr(0, comma);
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    if (!IsNumeric(field) || Val(field) < 0) throw UsageError(error);
    inches[i] = Val(field);
    if (inches[i] > kLargestMarginInches) {
      throw UsageError("--margins: a margin may be at most 22.75 inches, not \"" + field + "\"");
    }
  }
  for (int i = 0; i < 4; ++i) o.Margins[static_cast<std::size_t>(i)] = FormatMargin(inches[i]) + std::string(kInchMark);
}

PaperSize ParsePaper(const std::string& value) {
  const std::string name = ToLower(value);
  if (name == "letter") return kLetterPaper;
  if (name == "a4") return kA4Paper;
  if (name == "legal") return kLegalPaper;
  throw UsageError("--paper takes a4, letter or legal, not \"" + value + "\"");
}

// "Times New Roman,24,bold,italic": the family, the size in whole points, and bold or
// italic when named.
FontRecord ParseFont(const std::string& option, const std::string& value, const std::string& section) {
  const std::string error = "--" + option + " takes FAMILY,SIZE followed by ,bold and ,italic as wanted " +
                            "(\"Arial,14,bold\"), not \"" + value + "\"";
  std::vector<std::string> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = value.find(',', start);
    fields.push_back(Trim(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (fields.size() < 2 || fields[0].empty()) throw UsageError(error);
  FontRecord font{section, fields[0], static_cast<i16>(ParseNumber(fields[1], "--" + option, 1, 999)), kFalse, kFalse};
  for (std::size_t i = 2; i < fields.size(); ++i) {
    if (fields[i] == "bold") {
      font.Bold = kTrue;
    } else if (fields[i] == "italic") {
      font.Italic = kTrue;
    } else {
      throw UsageError(error);
    }
  }
  return font;
}

PageOption Font(const char* option, const char* what, int slot, const char* section) {
  return {{option, "FONT", std::string(what) + ": FAMILY,SIZE[,bold][,italic]"},
          [=](const std::string& value, PageSettings& page) {
            page.Fonts.emplace_back(slot, ParseFont(option, value, section));
          }};
}

PageOption Flag(const char* option, const char* description, std::function<void(PrintOptions&)> apply) {
  return {{option, "", description, 0}, [apply](const std::string&, PageSettings& page) { apply(page.Print); }};
}

// Every page option, in the order the help shows them (after the output files).
const std::vector<PageOption>& PageOptionTable() {
  static const std::vector<PageOption> table = {
      {{"paper", "a4|letter|legal", "the paper the page is laid out on (default letter)"},
       [](const std::string& value, PageSettings& page) { page.Print.Paper = ParsePaper(value); }},
      Flag("fill-page", "the grid as large as the page holds, with room for the title, instructions and list",
           [](PrintOptions& o) { o.FillPage = 1; }),
      Flag("outline", "outline the words on the page", [](PrintOptions& o) { o.OutlineWords = 1; }),
      Flag("no-word-list", "leave the word list off the page", [](PrintOptions& o) { o.PrintWordList = 0; }),
      Flag("no-instructions", "leave the instructions off the page", [](PrintOptions& o) { o.PrintInstructions = 0; }),
      Flag("list-left", "the word list beside the puzzle, on its left, as far as there is room",
           [](PrintOptions& o) { o.Left = 1; }),
      {{"title-align", "left|center|right", "the title's place (default center)"},
       [](const std::string& value, PageSettings& page) { page.Print.TitleAlign = ParseAlign("title-align", value); }},
      {{"instructions-align", "left|center|right", "the instructions' place (default center)"},
       [](const std::string& value, PageSettings& page) {
         page.Print.InstructionsAlign = ParseAlign("instructions-align", value);
       }},
      {{"puzzle-position", "PLACE",
        "the grid's place: top, middle or bottom, alone (centred) or with -left or -right, as in top-left "
        "(default top)"},
       [](const std::string& value, PageSettings& page) { ApplyPuzzlePosition(value, page.Print); }},
      {{"margins", "T,B,L,R",
        "top, bottom, left and right margins in inches (default 1,1,1,1); at least 2 inches of the paper must "
        "remain across and down"},
       [](const std::string& value, PageSettings& page) { ApplyMargins(value, page.Print); }},
      Font("title-font", "the title's font (default \"Times New Roman,18,bold,italic\")", kTitleFont, "Title"),
      Font("instructions-font", "the instructions' font (default \"Times New Roman,13,italic\")", kInstructionsFont,
           "Instructions"),
      Font("puzzle-font", "the grid's font, which sets the size of its cells (default Arial,16)", kPuzzleFont,
           "Puzzle"),
      Font("list-font", "the word list's font (default \"Arial,12,bold\")", kWordListFont, "Word List"),
      Font("quote-font", "the hidden message's font on an answer key (default \"Times New Roman,13,italic\")",
           kQuotationFont, "Quotation"),
  };
  return table;
}

}  // namespace

std::vector<OptionInfo> PageOptions() {
  std::vector<OptionInfo> options = {
      {"pdf", "FILE", "draw the printed page into a PDF; blanks are filled first"},
      {"png", "FILE", "the page as a PNG image (300 dots per inch)"},
      {"svg", "FILE", "the page as an SVG drawing"},
      {"html", "FILE",
       "the puzzle as a web page to solve on screen, in one file that needs no network; it shows its own "
       "answers"},
      {"answer-key", "",
       "add the answer key, the words outlined and no fill letters: a second PDF page, or a second file "
       "FILE-key.png / FILE-key.svg",
       0},
  };
  for (const PageOption& option : PageOptionTable()) options.push_back(option.Info);
  return options;
}

const CommandInfo& PrintCommand() {
  static const CommandInfo info = [] {
    CommandInfo c;
    c.Name = "print";
    c.Arguments = "PUZZLE.kvp (--pdf FILE | --png FILE | --svg FILE | --html FILE)";
    c.About =
        "Draws the page of a puzzle file as Print in the window prints it, into a file, and\n"
        "names the files written. The blanks of a puzzle saved without its fill letters are\n"
        "filled first, with random letters.\n";
    c.Options = PageOptions();
    c.Options.push_back(kLowerCaseOption);
    c.Options.push_back({"seed", "N", "the random seed of those fill letters"});
    return c;
  }();
  return info;
}

void PageSettings::ApplyTo(AppContext& ctx) const {
  ctx.print = Print;
  for (const auto& [slot, font] : Fonts) ctx.fonts(slot) = font;
}

std::optional<PageRequest> TakePageOptions(const Args& args, PageSettings& page) {
  std::optional<PageRequest> request;
  const std::pair<const char*, PageRequest::Format> outputs[] = {{"--pdf", PageRequest::Format::Pdf},
                                                                 {"--png", PageRequest::Format::Png},
                                                                 {"--svg", PageRequest::Format::Svg},
                                                                 {"--html", PageRequest::Format::Html}};
  for (const auto& [flag, format] : outputs) {
    if (auto path = args.Value(flag)) {
      if (request) throw UsageError("give only one of --pdf, --png, --svg and --html");
      request = PageRequest{format, *path, false};
    }
  }
  const bool answer_key = args.Flag("--answer-key");
  bool any = answer_key;
  for (const PageOption& option : PageOptionTable()) {
    const std::string name = "--" + option.Info.Name;
    if (!args.Flag(name)) continue;
    any = true;
    option.Apply(option.Info.ValueCount == 0 ? std::string() : *args.Value(name), page);
  }
  if (!request) {
    if (any) throw UsageError("the page options need an output file: --pdf, --png, --svg or --html");
    return std::nullopt;
  }
  if (answer_key && request->Kind == PageRequest::Format::Html) {
    throw UsageError("--answer-key does not go with --html: the web page shows its own answers");
  }
  request->AnswerKey = answer_key;
  PrintOptions& o = page.Print;
  // The list beside the puzzle only where the print options dialog offers it.
  if (o.Left != 0 && (o.PuzzleVertical == VerticalPlace::Bottom || o.PuzzleHorizontal == Align::Left)) {
    throw UsageError("--list-left needs room on the puzzle's left: not with the puzzle at the left or the bottom");
  }
  FollowPuzzlePlace(o);
  std::array<int, 4> margins{};
  for (std::size_t i = 0; i < margins.size(); ++i) margins[i] = MarginTwips(o.Margins[i]);
  if (const std::string refusal = MarginsRefusal(margins, o.Paper); !refusal.empty()) {
    throw UsageError("--margins " + args.Value("--margins").value_or("1,1,1,1") + ": t" + refusal.substr(1));
  }
  return request;
}

std::vector<std::string> WritePageFiles(AppContext& ctx, const PageRequest& request) {
  QtPageFileDevice device;
  ctx.page_files = &device;
  FileResult<std::vector<std::string>> written = WritePages(ctx, request);
  ctx.page_files = nullptr;
  if (!written) throw UsageError(PageFileFailureText(written.Error()));
  // The page is still written, without the list, as the print options dialog shows it.
  if (!ctx.printed.ListFits) std::cerr << "kivrel-cli: " << kListTooLongText << ": it is left off the page\n";
  return std::move(*written);
}

}  // namespace kivrel::cli
