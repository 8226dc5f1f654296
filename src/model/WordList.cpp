#include "model/WordList.h"

#include <algorithm>

#include "model/Text.h"

namespace kivrel {

namespace {
int PlacedLength(const std::string& entry) { return static_cast<int>(CharCount(PlacedWord(entry))); }
}  // namespace

std::string WordList::List(int index) const {
  if (index < 0 || index >= ListCount()) return {};
  return entries_[static_cast<std::size_t>(index)];
}

void WordList::SetList(int index, std::string entry) {
  if (index < 0 || index >= ListCount()) return;
  auto i = static_cast<std::size_t>(index);
  placed_letters_ += PlacedLength(entry) - lengths_[i];
  lengths_[i] = PlacedLength(entry);
  entries_[i] = std::move(entry);
  Notify(Change::Entries);
}

void WordList::AddItem(std::string entry) {
  lengths_.push_back(PlacedLength(entry));
  placed_letters_ += lengths_.back();
  entries_.push_back(std::move(entry));
  Notify(Change::Entries);
}

void WordList::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  auto i = static_cast<std::size_t>(index);
  placed_letters_ -= lengths_[i];
  entries_.erase(entries_.begin() + index);
  lengths_.erase(lengths_.begin() + index);
  if (list_index_ == index) {
    list_index_ = -1;
  } else if (list_index_ > index) {
    --list_index_;
  }
  Notify(Change::Entries);
}

void WordList::Clear() {
  entries_.clear();
  lengths_.clear();
  placed_letters_ = 0;
  list_index_ = -1;
  Notify(Change::Replaced);
}

void WordList::SetEntries(std::vector<std::string> entries) {
  entries_ = std::move(entries);
  lengths_.clear();
  placed_letters_ = 0;
  for (const std::string& entry : entries_) {
    lengths_.push_back(PlacedLength(entry));
    placed_letters_ += lengths_.back();
  }
  list_index_ = -1;
  Notify(Change::Replaced);
}

void WordList::SetEditText(std::string text) {
  if (edit_text_ == text) return;
  edit_text_ = std::move(text);
  Notify(Change::EditText);
}

void WordList::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) index = -1;
  if (list_index_ == index) return;
  list_index_ = index;
  Notify(Change::ListIndex);
}

bool WordList::Fits(const std::string& entry, int replacing) const {
  bool replaces = replacing >= 0 && replacing < ListCount();
  if (!replaces && ListCount() >= kMaxEntries) return false;
  int letters = placed_letters_ + PlacedLength(entry) - (replaces ? lengths_[static_cast<std::size_t>(replacing)] : 0);
  return letters <= kMaxLetters;
}

bool WordList::IsLeftOut(const std::string& entry) const {
  return std::find(left_out_.begin(), left_out_.end(), entry) != left_out_.end();
}

void WordList::SetLeftOut(std::vector<std::string> entries) {
  if (entries == left_out_) return;
  left_out_ = std::move(entries);
  Notify(Change::LeftOut);
}

void WordList::Notify(Change change) {
  auto listeners = listeners_;  // a listener may unsubscribe while it runs
  for (auto& [id, listener] : listeners) listener(change);
}

}  // namespace kivrel
