#pragma once
// Platform services for a program without a display: nothing yields, nothing sounds,
// and no dialog can be answered.
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Services.h"

namespace kivrel {

class NullEventPump : public EventPump {
 public:
  void Yield() override {}
  bool RunsEvents() const override { return false; }
};

class NullBeeper : public Beeper {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

/// Answers every message with its first button and cancels every other dialog; keeps
/// the messages so that a command-line caller can report them.
class NullDialogs : public Dialogs {
 public:
  MessageAnswer Message(const MessageRequest& request) override {
    messages.push_back(request);
    return request.Buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes : MessageAnswer::Ok;
  }
  std::optional<std::string> File(const FileRequest&) override { return std::nullopt; }
  std::optional<PrintChoice> Printer(int) override { return std::nullopt; }
  std::optional<FontSpec> ChooseFont(const FontSpec&, int) override { return std::nullopt; }

  std::vector<MessageRequest> messages;
};

class FixedWindowMetrics : public WindowMetrics {
 public:
  FixedWindowMetrics(int width = 1920 * 15, int height = 1080 * 15) : width_(width), height_(height) {}
  int ScreenWidth() const override { return width_; }
  int ScreenHeight() const override { return height_; }
  double TwipsPerPixelX() const override { return 15; }
  double TwipsPerPixelY() const override { return 15; }

 private:
  int width_;
  int height_;
};

}  // namespace kivrel
