#pragma once
// The user's word list: the entries in display order, the text being typed, and the
// selected position, as the word list window's combo box shows them.
#include <functional>
#include <string>
#include <vector>

namespace kivrel {

/// What the user is told when an entry would take the list past its limits.
inline constexpr const char* kListFullMessage =
    "The word list is full - a list holds at most 32767 entries and 32767 letters";

class WordList {
 public:
  /// Replaced: the whole list was emptied or replaced (nothing is selected).
  /// LeftOut: the entries a build left out changed.
  enum class Change { Entries, Replaced, EditText, ListIndex, LeftOut };
  using Listener = std::function<void(Change)>;

  /// The most entries the 16-bit counts can carry, and the most letters of placed words.
  static constexpr int kMaxEntries = 32767;
  static constexpr int kMaxLetters = 32767;

  int ListCount() const { return static_cast<int>(entries_.size()); }
  /// The entry at a position; "" one past the end (and anywhere outside the list).
  std::string List(int index) const;
  void SetList(int index, std::string entry);
  void AddItem(std::string entry);
  void RemoveItem(int index);
  void Clear();
  /// Puts other entries (or the same in a new order) in place of all of them at once;
  /// nothing stays selected.
  void SetEntries(std::vector<std::string> entries);
  const std::vector<std::string>& Entries() const { return entries_; }

  const std::string& EditText() const { return edit_text_; }
  void SetEditText(std::string text);
  /// Position of the selected entry, -1 when none.
  int ListIndex() const { return list_index_; }
  void SetListIndex(int index);

  /// The entries whose words the last build left out of the puzzle (the window marks
  /// them); empty when no puzzle is built.
  const std::vector<std::string>& LeftOut() const { return left_out_; }
  bool IsLeftOut(const std::string& entry) const;
  void SetLeftOut(std::vector<std::string> entries);

  /// Whether an entry can be added (or put at position `replacing`) without the list
  /// passing kMaxEntries entries or kMaxLetters letters.
  bool Fits(const std::string& entry, int replacing = -1) const;

  /// Listeners are told of every change (the combo box renders from them).
  int Subscribe(Listener listener) {
    listeners_.emplace_back(next_listener_, std::move(listener));
    return next_listener_++;
  }
  void Unsubscribe(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
  }

 private:
  void Notify(Change change);

  std::vector<std::string> entries_;
  std::vector<int> lengths_;  // placed letters of each entry
  std::string edit_text_;
  int list_index_ = -1;
  std::vector<std::string> left_out_;
  int placed_letters_ = 0;  // of all the entries' placed words, as the word table would count them
  std::vector<std::pair<int, Listener>> listeners_;
  int next_listener_ = 1;
};

}  // namespace kivrel
