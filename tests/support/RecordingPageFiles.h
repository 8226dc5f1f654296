#pragma once
// A page file device for core tests: each document is drawn on a recording surface,
// and its "bytes" say what was drawn, so a test can tell the page from its answer key
// by the file's contents.
#include <memory>
#include <string>
#include <vector>

#include "RecordingSurface.h"
#include "platform/PageFileDevice.h"
#include "program/AppContext.h"

namespace kivrel::testing {

class RecordingPageFiles : public PageFileDevice {
 public:
  explicit RecordingPageFiles(AppContext& ctx) : ctx_(ctx) {}

  Surface* BeginDocument(PageFormat, const std::string& title, const PaperSize& paper) override {
    pointers.push_back(ctx_.MainForm().MousePointer());
    if (cannot_draw) return nullptr;
    page_ = std::make_unique<RecordingSurface>(paper.Width, paper.Height);
    bytes_ = title + ": page 1";
    pages_ = 1;
    return page_.get();
  }
  void NewPage() override { Note(", page " + std::to_string(++pages_)); }
  /// "Cats: page 1 (12 letters), page 2 (4 letters, 1 outlined)".
  std::string EndDocument() override {
    Note("");
    ++documents;
    return bytes_;
  }

  bool cannot_draw = false;
  int documents = 0;
  std::vector<int> pointers;  // the main window's pointer as each document began

 private:
  // What the page drawn so far holds, then `next`.
  void Note(const std::string& next) {
    int letters = 0, outlines = 0;
    for (const DrawOp& op : page_->ops) {
      letters += op.kind == DrawOp::Kind::Text && op.text.size() == 1 && op.text != " ";
      outlines += op.kind == DrawOp::Kind::Arc;
    }
    bytes_ += " (" + std::to_string(letters) + " letters" +
              (outlines ? ", " + std::to_string(outlines / 2) + " outlined" : "") + ")" + next;
    page_->ops.clear();
  }

  AppContext& ctx_;
  std::unique_ptr<RecordingSurface> page_;
  std::string bytes_;
  int pages_ = 0;
};

}  // namespace kivrel::testing
