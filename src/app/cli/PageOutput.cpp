#include "PageOutput.h"

#include <iostream>

#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "print/PageDrawing.h"
#include "model/Numbers.h"
#include "qt/QtPageFileDevice.h"

namespace kivrel::cli {

std::vector<OptionInfo> PageOptions() {
  return {
      {"pdf", "FILE", "draw the printed page on Letter paper (8.5 x 11 in) into a PDF; blanks are filled first"},
      {"png", "FILE", "the page as a PNG image (300 dots per inch)"},
      {"svg", "FILE", "the page as an SVG drawing"},
      {"html", "FILE",
       "the puzzle as a web page to solve on screen, in one file that needs no network; it shows its own "
       "answers"},
      {"answer-key", "",
       "add the answer key, the words outlined and no fill letters: a second PDF page, or a second file "
       "FILE-key.png / FILE-key.svg",
       0},
      {"outline", "", "outline the words on the page", 0},
      {"no-word-list", "", "leave the word list off the page", 0},
      {"no-instructions", "", "leave the instructions off the page", 0},
      {"title-align", "left|center|right", "the title's place (default center)"},
      {"puzzle-position", "top|middle|bottom", "the grid's place (default top)"},
      {"margins", "T,B,L,R", "top, bottom, left and right margins in inches (default 1,1,1,1)"},
  };
}

const CommandInfo& PrintCommand() {
  static const CommandInfo info = [] {
    CommandInfo c;
    c.Name = "print";
    c.Arguments = "PUZZLE.kvp (--pdf FILE | --png FILE | --svg FILE | --html FILE)";
    c.About =
        "Draws the page of a puzzle file as Print in the window prints it, on a Letter page,\n"
        "into a file, and names the files written. The blanks of a puzzle saved without its\n"
        "fill letters are filled first, with random letters.\n";
    c.Options = PageOptions();
    c.Options.push_back({"seed", "N", "the random seed of those fill letters"});
    return c;
  }();
  return info;
}

namespace {

Align ParseAlign(const std::string& value) {
  if (value == "left") return Align::Left;
  if (value == "center" || value == "centre") return Align::Center;
  if (value == "right") return Align::Right;
  throw UsageError("--title-align takes left, center or right, not \"" + value + "\"");
}

void ApplyPuzzlePosition(const std::string& value, PrintOptions& o) {
  // The word list follows the puzzle as the print options dialog arranges it: below a
  // grid at the top or in the middle, above one at the bottom.
  if (value == "top" || value == "middle") {
    o.PuzzleVertical = value == "top" ? VerticalPlace::Top : VerticalPlace::Middle;
    o.Below = 1;
    o.Above = 0;
  } else if (value == "bottom") {
    o.PuzzleVertical = VerticalPlace::Bottom;
    o.Above = 1;
    o.Below = o.Left = o.Right = 0;
  } else {
    throw UsageError("--puzzle-position takes top, middle or bottom, not \"" + value + "\"");
  }
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
  // What the page keeps between the margins must hold something.
  if (inches[0] + inches[1] >= kPageHeightTwips / 1440.0 || inches[2] + inches[3] >= kPageWidthTwips / 1440.0) {
    throw UsageError("--margins " + value + " leave no room on the 8.5 x 11 inch page");
  }
  for (int i = 0; i < 4; ++i) o.Margins[static_cast<std::size_t>(i)] = FormatMargin(inches[i]) + std::string(kInchMark);
}

}  // namespace

std::optional<PageRequest> TakePageOptions(const Args& args, PrintOptions& options) {
  std::optional<PageRequest> request;
  const std::pair<const char*, PageRequest::Format> outputs[] = {
      {"--pdf", PageRequest::Format::Pdf},
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
  const bool outline = args.Flag("--outline");
  const bool no_word_list = args.Flag("--no-word-list");
  const bool no_instructions = args.Flag("--no-instructions");
  const auto title_align = args.Value("--title-align");
  const auto position = args.Value("--puzzle-position");
  const auto margins = args.Value("--margins");
  if (!request) {
    if (answer_key || outline || no_word_list || no_instructions || title_align || position || margins) {
      throw UsageError("the page options need an output file: --pdf, --png, --svg or --html");
    }
    return std::nullopt;
  }
  if (answer_key && request->Kind == PageRequest::Format::Html) {
    throw UsageError("--answer-key does not go with --html: the web page shows its own answers");
  }
  request->AnswerKey = answer_key;
  options.OutlineWords = outline ? 1 : 0;
  options.PrintWordList = no_word_list ? 0 : 1;
  options.PrintInstructions = no_instructions ? 0 : 1;
  if (title_align) options.TitleAlign = ParseAlign(*title_align);
  if (position) ApplyPuzzlePosition(*position, options);
  if (margins) ApplyMargins(*margins, options);
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
